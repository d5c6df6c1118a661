#pragma once

#include "PythonQtExport.h"

#include <QString>

// What an embedder hands the interpreter before PythonQt::init starts it, with one meaning on
// every CPython from 3.9 to 3.13, where the legacy setters (Py_SetPath, Py_SetPythonHome,
// Py_SetProgramName) are deprecated or gone. PythonQt::init gives these to PyConfig.
// A null string means "not set". Use them on the thread that calls PythonQt::init.
class PYTHONQT_EXPORT PythonQtStartupSettings
{
public:
    // The module search path, entries separated by ";" or by the platform's separator; it
    // replaces the one the interpreter would compute.
    static void setPath(const QString& path);
    static QString path();

    // The installation prefix the interpreter takes its prefixes from.
    static void setPythonHome(const QString& home);
    static QString pythonHome();

    // The interpreter's program; an absolute path also becomes sys.executable.
    static void setExecutable(const QString& executable);
    static QString executable();
};
