#include "PythonQtMethodInvoker.h"

#include "PythonQtConv.h"
#include "PythonQtInstanceWrapper.h"
#include "PythonQtObjectPtr.h"

#include <QObject>
#include <QStringList>

#include <climits>
#include <vector>

namespace {

constexpr int NoMatch = -1;
constexpr int Loose = 1;
constexpr int Exact = 2;

bool isIntegerType(int id)
{
    switch (id) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::Long: case QMetaType::ULong:
    case QMetaType::LongLong: case QMetaType::ULongLong: case QMetaType::Short:
    case QMetaType::UShort: case QMetaType::Char: case QMetaType::SChar: case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

bool fitsInteger(PyObject* arg, int id)
{
    int overflow = 0;
    const long long value = PyLong_AsLongLongAndOverflow(arg, &overflow);
    if (overflow != 0)
        return overflow > 0 && (id == QMetaType::ULongLong || id == QMetaType::ULong);
    switch (id) {
    case QMetaType::Int: return value >= INT_MIN && value <= INT_MAX;
    case QMetaType::UInt: return value >= 0 && value <= UINT_MAX;
    case QMetaType::Short: return value >= SHRT_MIN && value <= SHRT_MAX;
    case QMetaType::UShort: return value >= 0 && value <= USHRT_MAX;
    case QMetaType::Char: case QMetaType::SChar: return value >= SCHAR_MIN && value <= SCHAR_MAX;
    case QMetaType::UChar: return value >= 0 && value <= UCHAR_MAX;
    case QMetaType::ULong: case QMetaType::ULongLong: return value >= 0;
    default: return true;
    }
}

// How well arg fits a parameter of the given type: NoMatch, Loose or Exact.
int numberScore(PyObject* arg, int id)
{
    const bool isBool = PyBool_Check(arg);
    const bool isInt = PyLong_Check(arg) && !isBool;
    if (id == QMetaType::Bool)
        return isBool ? Exact : (isInt ? Loose : NoMatch);
    if (isIntegerType(id)) {
        if (!PyLong_Check(arg) || !fitsInteger(arg, id))
            return NoMatch;
        return isInt ? Exact : Loose;
    }
    if (PyFloat_Check(arg))
        return Exact;
    return PyLong_Check(arg) ? Loose : NoMatch;
}

bool isNumberType(int id)
{
    return id == QMetaType::Bool || id == QMetaType::Double || id == QMetaType::Float || isIntegerType(id);
}

int score(PyObject* arg, QMetaType type)
{
    const int id = type.id();
    if (id == QMetaType::QVariant || type == QMetaType::fromType<PythonQtObjectPtr>())
        return Loose;
    if (type.flags() & QMetaType::PointerToQObject) {
        if (arg == Py_None)
            return Loose;
        QObject* object = PythonQtInstanceWrapper::object(arg);
        return object && object->metaObject()->inherits(type.metaObject()) ? Exact : NoMatch;
    }
    if (isNumberType(id))
        return numberScore(arg, id);
    switch (id) {
    case QMetaType::QString:
        return PyUnicode_Check(arg) ? Exact : (arg == Py_None ? Loose : NoMatch);
    case QMetaType::QByteArray:
        return PyBytes_Check(arg) ? Exact : (PyUnicode_Check(arg) ? Loose : NoMatch);
    case QMetaType::QVariantList:
    case QMetaType::QStringList:
        return PyList_Check(arg) || PyTuple_Check(arg) ? Exact : NoMatch;
    case QMetaType::QVariantMap:
        return PyDict_Check(arg) ? Exact : NoMatch;
    default:
        break;
    }
    const QVariant natural = PythonQtConv::PyObjToQVariant(arg);
    if (natural.metaType() == type)
        return Exact;
    return natural.canConvert(type) ? Loose : NoMatch;
}

// Total fit of args to method's parameters, NoMatch when one does not fit.
int methodScore(const QMetaMethod& method, PyObject* args)
{
    const Py_ssize_t count = PyTuple_GET_SIZE(args);
    if (method.parameterCount() != count)
        return NoMatch;
    int total = 0;
    for (Py_ssize_t i = 0; i < count; ++i) {
        const int fit = score(PyTuple_GET_ITEM(args, i), method.parameterMetaType(int(i)));
        if (fit == NoMatch)
            return NoMatch;
        total += fit;
    }
    return total;
}

QVariant argumentValue(PyObject* arg, QMetaType type)
{
    if (type.id() == QMetaType::QVariant)
        return PythonQtConv::PyObjToQVariant(arg);
    if (arg == Py_None)
        return QVariant(type); // null pointer, null string
    return PythonQtConv::PyObjToQVariant(arg, type.id());
}

PyObject* returnValue(const QMetaMethod& method, const QVariant& result)
{
    if (method.returnMetaType().id() == QMetaType::Void)
        Py_RETURN_NONE;
    return PythonQtConv::QVariantToPyObject(result);
}

PyObject* invoke(QObject* object, const QMetaMethod& method, PyObject* args)
{
    const int count = method.parameterCount();
    std::vector<QVariant> values(size_t(count) + 1);
    std::vector<void*> argv(size_t(count) + 1, nullptr);
    for (int i = 0; i < count; ++i) {
        const QMetaType type = method.parameterMetaType(i);
        values[i + 1] = argumentValue(PyTuple_GET_ITEM(args, i), type);
        if (type.id() != QMetaType::QVariant && values[i + 1].metaType() != type) {
            PyErr_Format(PyExc_TypeError, "%s: argument %d cannot be converted to %s",
                         method.methodSignature().constData(), i + 1, type.name());
            return nullptr;
        }
        argv[i + 1] = type.id() == QMetaType::QVariant ? &values[i + 1] : values[i + 1].data();
    }
    const QMetaType returnType = method.returnMetaType();
    if (returnType.id() == QMetaType::QVariant)
        argv[0] = &values[0];
    else if (returnType.id() != QMetaType::Void && returnType.isValid()) {
        values[0] = QVariant(returnType);
        argv[0] = values[0].data();
    }
    QMetaObject::metacall(object, QMetaObject::InvokeMetaMethod, method.methodIndex(), argv.data());
    return returnValue(method, values[0]);
}

QByteArray signatureList(const QList<QMetaMethod>& candidates)
{
    QByteArrayList signatures;
    for (const QMetaMethod& method : candidates)
        signatures.append(method.methodSignature());
    return signatures.join(", ");
}

} // namespace

QList<QMetaMethod> PythonQtMethodInvoker::methods(const QMetaObject* meta, const QByteArray& name)
{
    QList<QMetaMethod> result;
    for (int i = 0; i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (method.access() == QMetaMethod::Public && method.name() == name)
            result.append(method);
    }
    return result;
}

bool PythonQtMethodInvoker::hasMethod(const QMetaObject* meta, const QByteArray& name)
{
    return !methods(meta, name).isEmpty();
}

PyObject* PythonQtMethodInvoker::call(QObject* object, const QByteArray& name, PyObject* args)
{
    const QList<QMetaMethod> candidates = methods(object->metaObject(), name);
    int bestScore = NoMatch;
    QMetaMethod best;
    for (const QMetaMethod& method : candidates) {
        const int fit = methodScore(method, args);
        if (fit > bestScore) {
            bestScore = fit;
            best = method;
        }
    }
    if (bestScore == NoMatch) {
        PyErr_Format(PyExc_TypeError, "%s.%s(): no overload takes these %zd argument(s); candidates: %s",
                     object->metaObject()->className(), name.constData(), PyTuple_GET_SIZE(args),
                     signatureList(candidates).constData());
        return nullptr;
    }
    return invoke(object, best, args);
}
