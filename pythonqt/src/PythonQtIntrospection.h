#pragma once

#include "PythonQt.h"

#include "PythonQtPython.h"

// Lists an object's attribute names by kind. The caller holds the interpreter lock.
class PythonQtIntrospection
{
public:
    // Only the names starting with prefix are listed. A name that known holds where the
    // listing has reached (a listing made before, of the same names) is shared with it, not
    // made again: listing a library's names twice then allocates nothing per name.
    static QStringList names(PyObject* object, PythonQt::ObjectType type, const QString& prefix = QString(),
                             const QStringList& known = QStringList());
    // The object reached by dottedName from module (module itself for an empty name); a new
    // reference or null (no error left pending).
    static PyObject* resolve(PyObject* module, const QString& dottedName);
};
