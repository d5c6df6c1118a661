#pragma once

#include "PythonQt.h"

#include "PythonQtPython.h"

// Lists an object's attribute names by kind. The caller holds the interpreter lock.
class PythonQtIntrospection
{
public:
    static QStringList names(PyObject* object, PythonQt::ObjectType type);
    // The object reached by dottedName from module (module itself for an empty name); a new
    // reference or null (no error left pending).
    static PyObject* resolve(PyObject* module, const QString& dottedName);
};
