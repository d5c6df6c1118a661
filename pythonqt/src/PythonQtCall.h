#pragma once

#include "PythonQtPython.h"

#include <QVariantList>
#include <QVariantMap>

// Calls a Python callable with variant arguments. The caller holds the interpreter lock.
class PythonQtCall
{
public:
    // A new reference, or null with the error pending.
    static PyObject* call(PyObject* callable, const QVariantList& args, const QVariantMap& kwargs);
};
