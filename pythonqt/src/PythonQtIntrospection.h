#pragma once

#include "PythonQt.h"

#include "PythonQtPython.h"

// Lists an object's attribute names by kind. The caller holds the interpreter lock.
class PythonQtIntrospection
{
public:
    // Only the names starting with prefix are listed.
    static QStringList names(PyObject* object, PythonQt::ObjectType type, const QString& prefix = QString());
    // The object reached by dottedName from module (module itself for an empty name); a new
    // reference or null (no error left pending).
    static PyObject* resolve(PyObject* module, const QString& dottedName);
};
