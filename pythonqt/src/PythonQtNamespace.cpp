#include "PythonQtNamespace.h"

PyObject* PythonQtNamespace::globals(PyObject* object)
{
    if (!object)
        return nullptr;
    if (PyModule_Check(object))
        return PyModule_GetDict(object);
    if (PyDict_Check(object))
        return object;
    return nullptr;
}

PyObject* PythonQtNamespace::get(PyObject* object, const char* name)
{
    if (PyObject* dict = globals(object)) {
        PyObject* value = PyDict_GetItemString(dict, name);
        Py_XINCREF(value);
        return value;
    }
    PyObject* value = PyObject_GetAttrString(object, name);
    if (!value)
        PyErr_Clear();
    return value;
}

bool PythonQtNamespace::set(PyObject* object, const char* name, PyObject* value)
{
    if (PyObject* dict = globals(object))
        return PyDict_SetItemString(dict, name, value) == 0;
    return PyObject_SetAttrString(object, name, value) == 0;
}

void PythonQtNamespace::remove(PyObject* object, const char* name)
{
    PyObject* dict = globals(object);
    if (dict ? PyDict_DelItemString(dict, name) : PyObject_DelAttrString(object, name))
        PyErr_Clear();
}
