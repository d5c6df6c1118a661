#pragma once

#include "PythonQtExport.h"
#include "PythonQtPython.h"

#include <QString>

// Reporting of pending Python exceptions without ever ending the process.
class PYTHONQT_EXPORT PythonQtErrors
{
public:
    // Prints the pending exception to sys.stderr and clears it. SystemExit is printed like any
    // other exception (PyErr_Print would call exit() for it). Returns the exception's one-line
    // summary, "Type: message" (empty when none was pending), for callers whose sys.stderr may
    // swallow the print.
    static QString printAndClear();
    // Sets a Python exception of the given type with text as its message.
    static void set(PyObject* type, const QString& text);
    // The pending exception formatted as Python prints it (traceback included), cleared; SystemExit
    // too. Empty when none is pending.
    static QString takeFormatted();
};
