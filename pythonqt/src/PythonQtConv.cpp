#include "PythonQtConv.h"

#include "PythonQtInstanceWrapper.h"
#include "PythonQtObjectPtr.h"

#include "PythonQtPython.h"

#include <QStringList>
#include <QVarLengthArray>

#include <climits>

namespace {

QString unicodeToQString(PyObject* object)
{
    Py_ssize_t size = 0;
    if (const char* utf8 = PyUnicode_AsUTF8AndSize(object, &size))
        return QString::fromUtf8(utf8, size);
    // Lone surrogates have no UTF-8 form; keep the rest of the text.
    PyErr_Clear();
    PyObject* bytes = PyUnicode_AsEncodedString(object, "utf-8", "replace");
    if (!bytes) {
        PyErr_Clear();
        return QString();
    }
    const QString text = QString::fromUtf8(PyBytes_AS_STRING(bytes), PyBytes_GET_SIZE(bytes));
    Py_DECREF(bytes);
    return text;
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
    // Too wide for 64 bits: keep the Python object itself.
    return PythonQtObjectPtr(object).toVariant();
}

// The containers being converted, outermost first: a container met again inside itself, or
// one nested deeper than the limit, becomes an invalid variant instead of endless recursion.
using ContainerPath = QVarLengthArray<PyObject*, 16>;

QVariant naturalVariant(PyObject* object, ContainerPath& path);

QVariant sequenceToVariant(PyObject* object, ContainerPath& path)
{
    PyObject* fast = PySequence_Fast(object, "not a sequence");
    if (!fast)
        return QVariant();
    QVariantList list;
    const Py_ssize_t size = PySequence_Fast_GET_SIZE(fast);
    list.reserve(size);
    for (Py_ssize_t i = 0; i < size; ++i)
        list.append(naturalVariant(PySequence_Fast_GET_ITEM(fast, i), path));
    Py_DECREF(fast);
    return list;
}

QVariant dictToVariant(PyObject* object, ContainerPath& path)
{
    QVariantMap map;
    PyObject* key = nullptr;
    PyObject* value = nullptr;
    Py_ssize_t position = 0;
    while (PyDict_Next(object, &position, &key, &value)) {
        if (!PyUnicode_Check(key))
            return PythonQtObjectPtr(object).toVariant(); // a map needs string keys
        map.insert(unicodeToQString(key), naturalVariant(value, path));
    }
    return map;
}

QVariant containerToVariant(PyObject* object, ContainerPath& path)
{
    if (path.size() >= PythonQtConv::MaxNestingDepth || path.contains(object))
        return QVariant();
    path.append(object);
    const QVariant result = PyDict_Check(object) ? dictToVariant(object, path) : sequenceToVariant(object, path);
    path.removeLast();
    return result;
}

QVariant naturalVariant(PyObject* object, ContainerPath& path)
{
    if (object == Py_None)
        return QVariant();
    if (PyBool_Check(object))
        return QVariant(object == Py_True);
    if (PyLong_Check(object))
        return longToVariant(object);
    if (PyFloat_Check(object))
        return QVariant(PyFloat_AsDouble(object));
    if (PyUnicode_Check(object))
        return QVariant(unicodeToQString(object));
    if (PyBytes_Check(object))
        return QVariant(QByteArray(PyBytes_AS_STRING(object), PyBytes_GET_SIZE(object)));
    if (PyList_Check(object) || PyTuple_Check(object) || PyDict_Check(object))
        return containerToVariant(object, path);
    if (PythonQtInstanceWrapper::check(object))
        return QVariant::fromValue(PythonQtInstanceWrapper::object(object));
    return PythonQtObjectPtr(object).toVariant();
}

QVariant naturalVariant(PyObject* object)
{
    ContainerPath path;
    return naturalVariant(object, path);
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

// Fills a new list or tuple (sized for values) with the converted values; null with the error
// pending when one does not convert.
template <typename SetItem>
PyObject* fillSequence(PyObject* sequence, const QVariantList& values, SetItem setItem)
{
    for (qsizetype i = 0; sequence && i < values.size(); ++i) {
        PyObject* item = PythonQtConv::QVariantToPyObject(values.at(i));
        if (!item) {
            Py_CLEAR(sequence);
            break;
        }
        setItem(sequence, i, item);
    }
    return sequence;
}

PyObject* listToPython(const QVariantList& values)
{
    return fillSequence(PyList_New(values.size()), values,
                        [](PyObject* list, Py_ssize_t i, PyObject* item) { PyList_SET_ITEM(list, i, item); });
}

template <typename Map>
PyObject* mapToPython(const Map& map)
{
    PyObject* result = PyDict_New();
    for (auto it = map.constBegin(); result && it != map.constEnd(); ++it) {
        PyObject* value = PythonQtConv::QVariantToPyObject(it.value());
        const QByteArray key = it.key().toUtf8();
        if (!value || PyDict_SetItemString(result, key.constData(), value) < 0)
            Py_CLEAR(result);
        Py_XDECREF(value);
    }
    return result;
}

PyObject* stringToPython(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return PyUnicode_FromStringAndSize(utf8.constData(), utf8.size());
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

PyObject* PythonQtConv::QVariantToPyObject(const QVariant& value)
{
    if (!value.isValid())
        Py_RETURN_NONE;
    const QMetaType type = value.metaType();
    if (PyObject* number = numberToPython(value))
        return number;
    switch (type.id()) {
    case QMetaType::QString:
        return stringToPython(value.toString());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return PyBytes_FromStringAndSize(bytes.constData(), bytes.size());
    }
    case QMetaType::QStringList:
    case QMetaType::QVariantList:
        return listToPython(value.toList());
    case QMetaType::QVariantMap:
        return mapToPython(value.toMap());
    case QMetaType::QVariantHash:
        return mapToPython(value.toHash());
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
        return listToPython(value.toList());
    if (value.canConvert<QString>())
        return stringToPython(value.toString());
    PyErr_Format(PyExc_TypeError, "cannot convert a value of C++ type '%s' to Python", type.name());
    return nullptr;
}

PyObject* PythonQtConv::QVariantListToPyTuple(const QVariantList& values)
{
    return fillSequence(PyTuple_New(values.size()), values,
                        [](PyObject* tuple, Py_ssize_t i, PyObject* item) { PyTuple_SET_ITEM(tuple, i, item); });
}
