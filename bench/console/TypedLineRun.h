#pragma once

// Python.h first: Qt defines "slots" as a macro.
#include <PythonQtPython.h>

#include <PythonQtObjectPtr.h>

#include <QString>

// The console benchmarks' baseline: code compiled as the console compiles a typed line, run
// straight through the interpreter in __main__, with sys.stdout (when asked) discarding. Made
// and run with the interpreter lock held; sys.stdout is put back and any error cleared when it
// goes.
class TypedLineRun
{
public:
    enum Stdout { Kept, Discarded };

    TypedLineRun(const QString& code, Stdout stdoutKind);
    ~TypedLineRun();

    void run();

    TypedLineRun(const TypedLineRun&) = delete;
    TypedLineRun& operator=(const TypedLineRun&) = delete;

private:
    PyObject* m_globals;
    PythonQtObjectPtr m_savedStdout;
    PythonQtObjectPtr m_compiled;
};
