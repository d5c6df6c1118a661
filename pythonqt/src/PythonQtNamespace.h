#pragma once

#include "PythonQtPython.h"

// Name lookup in a "namespace" object: a module's dictionary, a dictionary itself, or else the
// object's attributes. Callers hold the interpreter lock.
class PythonQtNamespace
{
public:
    // The dictionary code runs in (borrowed), or null when object has none.
    static PyObject* globals(PyObject* object);
    // A new reference, or null (with no error left pending) when name is unbound.
    static PyObject* get(PyObject* object, const char* name);
    // False with an error pending on failure.
    static bool set(PyObject* object, const char* name, PyObject* value);
    // Unbinding a name that is not bound is not an error.
    static void remove(PyObject* object, const char* name);
};
