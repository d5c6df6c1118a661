#include <PythonQtPython.h>

#include "python/PythonFunctionImpl.h"

#include "python/PythonLockScope.h"

#include <PythonQt.h>
#include <PythonQtConv.h>

#include <QVarLengthArray>

#include <climits>

namespace {

// Calls of the host mostly pass and return small numbers, flags and short texts. These take them
// straight to and from Python; every other value goes through the general conversions, which give
// the same results for these.
PyObject* toPython(const QVariant& value)
{
    switch (value.metaType().id()) {
    case QMetaType::Int:
        return PyLong_FromLong(*static_cast<const int*>(value.constData()));
    case QMetaType::Double:
        return PyFloat_FromDouble(*static_cast<const double*>(value.constData()));
    case QMetaType::Bool:
        return PyBool_FromLong(*static_cast<const bool*>(value.constData()));
    default:
        return PythonQtConv::QVariantToPyObject(value);
    }
}

QVariant toVariant(PyObject* object)
{
    if (PyLong_CheckExact(object)) {
        int overflow = 0;
        const long value = PyLong_AsLongAndOverflow(object, &overflow);
        if (!overflow && value >= INT_MIN && value <= INT_MAX)
            return QVariant(int(value));
    } else if (PyFloat_CheckExact(object)) {
        return QVariant(PyFloat_AS_DOUBLE(object));
    } else if (PyBool_Check(object)) {
        return QVariant(object == Py_True);
    } else if (PyUnicode_CheckExact(object) && PyUnicode_IS_ASCII(object)) {
        return QVariant(QString::fromLatin1(static_cast<const char*>(PyUnicode_DATA(object)),
                                            qsizetype(PyUnicode_GET_LENGTH(object))));
    }
    return PythonQtConv::PyObjToQVariant(object, -1);
}

// The converted arguments of one call, released with it.
class CallArguments
{
public:
    // False, with the Python error pending, when an argument does not convert.
    bool convert(const QVariantList& args)
    {
        for (const QVariant& arg : args) {
            PyObject* item = toPython(arg);
            if (!item)
                return false;
            items.append(item);
        }
        return true;
    }
    ~CallArguments()
    {
        for (PyObject* item : items)
            Py_DECREF(item);
    }
    PyObject* const* data() const { return items.constData(); }
    size_t size() const { return size_t(items.size()); }

private:
    QVarLengthArray<PyObject*, 8> items;
};

} // namespace

PythonFunctionImpl::PythonFunctionImpl(PyObject* pyFunction, const QString& name, QObject* parent)
    : QObject(parent)
    , function(pyFunction)
    , functionName(name)
{
}

PythonFunctionImpl::~PythonFunctionImpl() = default;

const QString& PythonFunctionImpl::name()
{
    return functionName;
}

QVariant PythonFunctionImpl::call(QVariantList args)
{
    return callObject(function.object(), args);
}

QVariant PythonFunctionImpl::callObject(PyObject* callable, const QVariantList& args)
{
    // One scope for the whole call: arguments, the call and the result's release.
    PythonLockScope lock;
    if (!PythonQt::self())
        return QVariant();
    if (!callable) {
        PyErr_SetString(PyExc_TypeError, "cannot call a null object");
        return QVariant();
    }
    CallArguments arguments;
    if (!arguments.convert(args))
        return QVariant();
    PyObject* result = PyObject_Vectorcall(callable, arguments.data(), arguments.size(), nullptr);
    if (!result)
        return QVariant();
    QVariant value = toVariant(result);
    Py_DECREF(result);
    return value;
}
