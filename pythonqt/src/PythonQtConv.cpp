#include "PythonQtConv.h"

#include "PythonQtConvBudget.h"
#include "PythonQtInstanceWrapper.h"
#include "PythonQtObjectPtr.h"

#include "PythonQtPython.h"

#include <QHash>
#include <QStringList>
#include <QVarLengthArray>

#include <climits>

namespace {

QString unicodeToQString(PyObject* object)
{
    Py_ssize_t size = 0;
    if (const char* utf8 = PyUnicode_AsUTF8AndSize(object, &size))
        return QString::fromUtf8(utf8, size);
    // Lone surrogates have no UTF-8 form; UTF-16, which QString holds, keeps them as they are.
    PyErr_Clear();
    PythonQtObjectPtr utf16;
    if (!utf16.setNewRef(PyUnicode_AsEncodedString(object, "utf-16-le", "surrogatepass"))) {
        PyErr_Clear();
        return QString();
    }
    return QString(reinterpret_cast<const QChar*>(PyBytes_AS_STRING(utf16.object())),
                   PyBytes_GET_SIZE(utf16.object()) / 2);
}

// Beyond 64 bits the nearest double, which is what a script number holds anyway.
QVariant wideLongToVariant(PyObject* object)
{
    const double value = PyLong_AsDouble(object);
    if (value == -1.0 && PyErr_Occurred()) {
        PyErr_Clear();
        return QVariant(PyObject_RichCompareBool(object, Py_False, Py_LT) == 1 ? -qInf() : qInf());
    }
    return QVariant(value);
}

QVariant longToVariant(PyObject* object)
{
    int overflow = 0;
    const long long value = PyLong_AsLongLongAndOverflow(object, &overflow);
    if (overflow == 0) {
        if (value >= INT_MIN && value <= INT_MAX)
            return QVariant(int(value));
        return QVariant(qlonglong(value));
    }
    if (overflow > 0) {
        const unsigned long long big = PyLong_AsUnsignedLongLong(object);
        if (!PyErr_Occurred())
            return QVariant(qulonglong(big));
        PyErr_Clear();
    }
    return wideLongToVariant(object);
}

// One conversion of a Python value. path: the containers being converted, outermost first; a
// container met again inside itself, or one nested deeper than the limit, becomes an invalid
// variant instead of endless recursion. converted: every container converted so far, so that
// one reached twice converts once and both places share the variant's data.
struct ToVariantWalk
{
    QVarLengthArray<PyObject*, 16> path;
    QHash<PyObject*, QVariant> converted;
    QList<PythonQtObjectPtr> held; // keeps the keys of `converted` alive and their addresses unique
    PythonQtConvBudget budget;
};

QVariant naturalVariant(PyObject* object, ToVariantWalk& walk);

QVariant sequenceToVariant(PyObject* object, ToVariantWalk& walk)
{
    PythonQtObjectPtr fast;
    if (!fast.setNewRef(PySequence_Fast(object, "not a sequence")))
        return QVariant();
    const Py_ssize_t size = PySequence_Fast_GET_SIZE(fast.object());
    if (!walk.budget.spend(size, 0))
        return QVariant();
    QVariantList list;
    list.reserve(size);
    for (Py_ssize_t i = 0; i < size && !walk.budget.exceeded(); ++i)
        list.append(naturalVariant(PySequence_Fast_GET_ITEM(fast.object(), i), walk));
    return list;
}

QString keyToQString(PyObject* key)
{
    if (PyUnicode_Check(key))
        return unicodeToQString(key);
    PythonQtObjectPtr text;
    if (!text.setNewRef(PyObject_Str(key))) {
        PyErr_Clear();
        return QString();
    }
    return unicodeToQString(text.object());
}

QVariant dictToVariant(PyObject* object, ToVariantWalk& walk)
{
    if (!walk.budget.spend(PyDict_Size(object), 0))
        return QVariant();
    QVariantMap map;
    PyObject* key = nullptr;
    PyObject* value = nullptr;
    Py_ssize_t position = 0;
    while (PyDict_Next(object, &position, &key, &value) && !walk.budget.exceeded()) {
        // str() of a key may run Python code that changes the dict: hold both while they convert.
        const PythonQtObjectPtr heldKey(key);
        const PythonQtObjectPtr heldValue(value);
        map.insert(keyToQString(key), naturalVariant(value, walk));
    }
    return map;
}

bool isContainer(PyObject* object)
{
    return PyList_Check(object) || PyTuple_Check(object) || PyDict_Check(object) || PyAnySet_Check(object);
}

QVariant containerToVariant(PyObject* object, ToVariantWalk& walk)
{
    const auto done = walk.converted.constFind(object);
    if (done != walk.converted.cend())
        return *done;
    if (walk.path.size() >= PythonQtConv::MaxNestingDepth || walk.path.contains(object))
        return QVariant();
    walk.path.append(object);
    const QVariant result = PyDict_Check(object) ? dictToVariant(object, walk) : sequenceToVariant(object, walk);
    walk.path.removeLast();
    walk.held.append(PythonQtObjectPtr(object));
    walk.converted.insert(object, result);
    return result;
}

QVariant textToVariant(PyObject* object, ToVariantWalk& walk)
{
    if (PyBytes_Check(object)) {
        if (!walk.budget.spend(0, PyBytes_GET_SIZE(object)))
            return QVariant();
        return QVariant(QByteArray(PyBytes_AS_STRING(object), PyBytes_GET_SIZE(object)));
    }
    if (!walk.budget.spend(0, PyUnicode_GET_LENGTH(object)))
        return QVariant();
    return QVariant(unicodeToQString(object));
}

QVariant naturalVariant(PyObject* object, ToVariantWalk& walk)
{
    if (object == Py_None)
        return QVariant();
    if (PyBool_Check(object))
        return QVariant(object == Py_True);
    if (PyLong_Check(object))
        return longToVariant(object);
    if (PyFloat_Check(object))
        return QVariant(PyFloat_AsDouble(object));
    if (PyUnicode_Check(object) || PyBytes_Check(object))
        return textToVariant(object, walk);
    if (isContainer(object))
        return containerToVariant(object, walk);
    if (PythonQtInstanceWrapper::check(object))
        return QVariant::fromValue(PythonQtInstanceWrapper::object(object));
    return PythonQtObjectPtr(object).toVariant();
}

QVariant naturalVariant(PyObject* object)
{
    ToVariantWalk walk;
    const QVariant result = naturalVariant(object, walk);
    return walk.budget.exceeded() ? QVariant() : result;
}

QVariant toQObjectPointerType(const QVariant& natural, QMetaType type)
{
    if (natural.isValid() && natural.metaType() != QMetaType::fromType<QObject*>())
        return QVariant();
    QObject* object = natural.value<QObject*>();
    if (object && !object->metaObject()->inherits(type.metaObject()))
        return QVariant();
    QVariant result(type);
    *static_cast<QObject**>(result.data()) = object;
    return result;
}

// One conversion of a variant. converted: the Python object made for each list or map whose data
// was met before, so that a value shared by several places converts once.
struct ToPythonWalk
{
    QHash<const void*, PythonQtObjectPtr> converted;
    PythonQtConvBudget budget;
};

PyObject* toPython(const QVariant& value, ToPythonWalk& walk);

// What copies of one list or map share; null for other values and for empty containers, which
// share no data.
const void* sharedData(const QVariant& value)
{
    if (value.metaType().id() == QMetaType::QVariantList) {
        const auto& list = *static_cast<const QVariantList*>(value.constData());
        return list.isEmpty() ? nullptr : list.constData();
    }
    if (value.metaType().id() == QMetaType::QVariantMap) {
        const auto& map = *static_cast<const QVariantMap*>(value.constData());
        return map.isEmpty() ? nullptr : &map.constBegin().value();
    }
    return nullptr;
}

// Fills a new list or tuple (sized for values) with the converted values; null with the error
// pending when one does not convert.
template <typename SetItem>
PyObject* fillSequence(PyObject* sequence, const QVariantList& values, ToPythonWalk& walk, SetItem setItem)
{
    if (sequence && !walk.budget.spend(values.size(), 0))
        Py_CLEAR(sequence);
    for (qsizetype i = 0; sequence && i < values.size(); ++i) {
        PyObject* item = toPython(values.at(i), walk);
        if (!item) {
            Py_CLEAR(sequence);
            break;
        }
        setItem(sequence, i, item);
    }
    return sequence;
}

PyObject* listToPython(const QVariantList& values, ToPythonWalk& walk)
{
    return fillSequence(PyList_New(values.size()), values, walk,
                        [](PyObject* list, Py_ssize_t i, PyObject* item) { PyList_SET_ITEM(list, i, item); });
}

PyObject* stringToPython(const QString& text, ToPythonWalk& walk)
{
    if (!walk.budget.spend(0, text.size()))
        return nullptr;
    // From UTF-16, so that a lone surrogate arrives as itself (UTF-8 has no form for it).
    int littleEndian = -1;
    return PyUnicode_DecodeUTF16(reinterpret_cast<const char*>(text.utf16()), text.size() * 2, "surrogatepass",
                                 &littleEndian);
}

template <typename Map>
PyObject* mapToPython(const Map& map, ToPythonWalk& walk)
{
    PyObject* result = walk.budget.spend(map.size(), 0) ? PyDict_New() : nullptr;
    for (auto it = map.constBegin(); result && it != map.constEnd(); ++it) {
        PythonQtObjectPtr key;
        PythonQtObjectPtr value;
        // A key goes in whole: a NUL inside it is part of the name.
        if (!key.setNewRef(stringToPython(it.key(), walk)) || !value.setNewRef(toPython(it.value(), walk))
            || PyDict_SetItem(result, key.object(), value.object()) < 0)
            Py_CLEAR(result);
    }
    return result;
}

PyObject* bytesToPython(const QByteArray& bytes, ToPythonWalk& walk)
{
    if (!walk.budget.spend(0, bytes.size()))
        return nullptr;
    return PyBytes_FromStringAndSize(bytes.constData(), bytes.size());
}

template <typename T>
T stored(const QVariant& value)
{
    return *static_cast<const T*>(value.constData());
}

// Numbers are read straight from the variant: its generic conversions cost more than the call
// they feed.
PyObject* numberToPython(const QVariant& value)
{
    switch (value.metaType().id()) {
    case QMetaType::Int:
        return PyLong_FromLong(stored<int>(value));
    case QMetaType::Bool:
        return PyBool_FromLong(stored<bool>(value));
    case QMetaType::Double:
        return PyFloat_FromDouble(stored<double>(value));
    case QMetaType::Float:
        return PyFloat_FromDouble(stored<float>(value));
    case QMetaType::LongLong:
        return PyLong_FromLongLong(stored<qlonglong>(value));
    case QMetaType::Long:
        return PyLong_FromLong(stored<long>(value));
    case QMetaType::Short:
        return PyLong_FromLong(stored<short>(value));
    case QMetaType::Char:
        return PyLong_FromLong(stored<char>(value));
    case QMetaType::SChar:
        return PyLong_FromLong(stored<signed char>(value));
    case QMetaType::ULongLong:
        return PyLong_FromUnsignedLongLong(stored<qulonglong>(value));
    case QMetaType::ULong:
        return PyLong_FromUnsignedLong(stored<unsigned long>(value));
    case QMetaType::UInt:
        return PyLong_FromUnsignedLong(stored<uint>(value));
    case QMetaType::UShort:
        return PyLong_FromUnsignedLong(stored<ushort>(value));
    case QMetaType::UChar:
        return PyLong_FromUnsignedLong(stored<uchar>(value));
    default:
        return nullptr;
    }
}

} // namespace

QVariant PythonQtConv::PyObjToQVariant(PyObject* object, int type)
{
    if (!object)
        return QVariant();
    if (type == -1)
        return naturalVariant(object);
    if (type == qMetaTypeId<PythonQtObjectPtr>())
        return PythonQtObjectPtr(object).toVariant();
    const QVariant natural = naturalVariant(object);
    if (type == QMetaType::QVariant || natural.metaType().id() == type)
        return natural;
    const QMetaType target(type);
    if (!target.isValid())
        return QVariant();
    if (target.flags() & QMetaType::PointerToQObject)
        return toQObjectPointerType(natural, target);
    QVariant converted = natural;
    if (natural.isValid() && converted.convert(target))
        return converted;
    return QVariant();
}

namespace {

PyObject* unsharedToPython(const QVariant& value, ToPythonWalk& walk)
{
    const QMetaType type = value.metaType();
    switch (type.id()) {
    case QMetaType::QString:
        return stringToPython(*static_cast<const QString*>(value.constData()), walk);
    case QMetaType::QByteArray:
        return bytesToPython(*static_cast<const QByteArray*>(value.constData()), walk);
    case QMetaType::QStringList:
    case QMetaType::QVariantList:
        return listToPython(value.toList(), walk);
    case QMetaType::QVariantMap:
        return mapToPython(*static_cast<const QVariantMap*>(value.constData()), walk);
    case QMetaType::QVariantHash:
        return mapToPython(*static_cast<const QVariantHash*>(value.constData()), walk);
    case QMetaType::Nullptr:
        Py_RETURN_NONE;
    default:
        break;
    }
    if (type == QMetaType::fromType<PythonQtObjectPtr>()) {
        PyObject* object = value.value<PythonQtObjectPtr>().object();
        object = object ? object : Py_None;
        Py_INCREF(object);
        return object;
    }
    if (type.flags() & QMetaType::PointerToQObject)
        return PythonQtInstanceWrapper::wrap(*static_cast<QObject* const*>(value.constData()));
    if (value.canConvert<QVariantList>())
        return listToPython(value.toList(), walk);
    if (value.canConvert<QString>())
        return stringToPython(value.toString(), walk);
    PyErr_Format(PyExc_TypeError, "cannot convert a value of C++ type '%s' to Python", type.name());
    return nullptr;
}

PyObject* toPython(const QVariant& value, ToPythonWalk& walk)
{
    if (!value.isValid())
        Py_RETURN_NONE;
    if (PyObject* number = numberToPython(value))
        return number;
    const void* shared = sharedData(value);
    if (!shared)
        return unsharedToPython(value, walk);
    PythonQtObjectPtr converted = walk.converted.value(shared);
    if (converted.isNull()) {
        if (!converted.setNewRef(unsharedToPython(value, walk)))
            return nullptr;
        walk.converted.insert(shared, converted);
    }
    Py_INCREF(converted.object());
    return converted.object();
}

} // namespace

PyObject* PythonQtConv::QVariantToPyObject(const QVariant& value)
{
    ToPythonWalk walk;
    return toPython(value, walk);
}

PyObject* PythonQtConv::QVariantListToPyTuple(const QVariantList& values)
{
    ToPythonWalk walk;
    return fillSequence(PyTuple_New(values.size()), values, walk,
                        [](PyObject* tuple, Py_ssize_t i, PyObject* item) { PyTuple_SET_ITEM(tuple, i, item); });
}
