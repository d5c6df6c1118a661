#pragma once

#include <PythonQtExport.h>

#include <QVariant>
#include <QVariantList>

// Calls callable with args as positional arguments and converts its result. A failed call gives
// an invalid QVariant and leaves its Python error pending.
QVariant callPythonCallable(PyObject* callable, const QVariantList& args);
