#pragma once

#include <PythonQtPython.h>

class PythonModuleImpl;

// Looks at Python objects from a test, under the engine's lock.
Py_ssize_t referenceCount(PyObject* object);
// The object bound to name in module's namespace (borrowed), or null.
PyObject* globalOf(PythonModuleImpl* module, const char* name);
