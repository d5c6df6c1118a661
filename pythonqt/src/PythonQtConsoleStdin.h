#pragma once

#include "PythonQtPython.h"

// What console code finds in the interpreter: a sys.stdin that reads lines typed into the
// console, and help(), exit() and quit() where the site module did not provide them. The caller
// holds the interpreter lock.
class PythonQtConsoleStdin
{
public:
    // Adds help, exit and quit to builtins when missing; once per interpreter is enough.
    static void provideInteractiveBuiltins();
    // The console's stdin object (a new reference), or null with no error left behind.
    static PyObject* create();
};
