#include "PythonQtCall.h"

#include "PythonQtConv.h"

namespace {

PyObject* argumentTuple(const QVariantList& args)
{
    PyObject* tuple = PyTuple_New(args.size());
    for (qsizetype i = 0; tuple && i < args.size(); ++i) {
        PyObject* item = PythonQtConv::QVariantToPyObject(args.at(i));
        if (!item) {
            Py_CLEAR(tuple);
            break;
        }
        PyTuple_SET_ITEM(tuple, i, item);
    }
    return tuple;
}

} // namespace

PyObject* PythonQtCall::call(PyObject* callable, const QVariantList& args, const QVariantMap& kwargs)
{
    if (!callable) {
        PyErr_SetString(PyExc_TypeError, "cannot call a null object");
        return nullptr;
    }
    PyObject* tuple = argumentTuple(args);
    if (!tuple)
        return nullptr;
    PyObject* keywords = nullptr;
    if (!kwargs.isEmpty()) {
        keywords = PythonQtConv::QVariantToPyObject(kwargs);
        if (!keywords) {
            Py_DECREF(tuple);
            return nullptr;
        }
    }
    PyObject* result = PyObject_Call(callable, tuple, keywords);
    Py_DECREF(tuple);
    Py_XDECREF(keywords);
    return result;
}
