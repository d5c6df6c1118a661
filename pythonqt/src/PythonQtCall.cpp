#include "PythonQtCall.h"

#include "PythonQtConv.h"

PyObject* PythonQtCall::call(PyObject* callable, const QVariantList& args, const QVariantMap& kwargs)
{
    if (!callable) {
        PyErr_SetString(PyExc_TypeError, "cannot call a null object");
        return nullptr;
    }
    PyObject* tuple = PythonQtConv::QVariantListToPyTuple(args);
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
