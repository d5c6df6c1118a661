#include <PythonQtPython.h>

#include "python/PyObjectPtr.h"

#include "python/PythonLockScope.h"

// Once the interpreter is finalised no lock can be taken and the objects are gone: holders then
// only remember pointers and make no Python call.

PyObjectPtr::PyObjectPtr(PyObject* object)
    : PyObjectPtr(object, true)
{
}

PyObjectPtr::PyObjectPtr(PyObject* object, bool addReference)
    : held(object)
{
    if (!Py_IsInitialized())
        return;
    PythonLockScope lock;
    if (held && addReference)
        Py_IncRef(held);
}

PyObjectPtr::~PyObjectPtr()
{
    if (!Py_IsInitialized())
        return;
    PythonLockScope lock;
    if (held)
        Py_DecRef(held);
}

void PyObjectPtr::reset(PyObject* object)
{
    PyObject* previous = held;
    held = object;
    if (!Py_IsInitialized())
        return;
    PythonLockScope lock;
    if (held)
        Py_IncRef(held);
    if (previous)
        Py_DecRef(previous);
}
