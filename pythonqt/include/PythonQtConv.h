#pragma once

#include "PythonQtExport.h"

#include <QVariant>

// Conversions between Python objects and variants. Callers hold the interpreter lock.
class PYTHONQT_EXPORT PythonQtConv
{
public:
    // Lists, tuples and dicts nested deeper than this, or met again inside themselves, convert
    // to invalid variants: such values reach C++ and script cut off, never as endless recursion.
    static constexpr int MaxNestingDepth = 64;

    // A container reached twice within one value converts once: both places share the result.
    // A value past PythonQtConvBudget's limits converts to an invalid variant or null, with a
    // Python ValueError pending.

    // type -1 asks for the natural conversion; otherwise the result is converted to that
    // meta-type id when possible.
    static QVariant PyObjToQVariant(PyObject* object, int type = -1);
    // A new reference; Python's None for an invalid variant, null (with an error set) when the
    // value cannot be converted.
    static PyObject* QVariantToPyObject(const QVariant& value);
    // A new tuple of the converted values (arguments for a call); null with the error set when
    // one of them cannot be converted.
    static PyObject* QVariantListToPyTuple(const QVariantList& values);
};
