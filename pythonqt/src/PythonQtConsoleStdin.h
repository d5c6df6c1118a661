#pragma once

#include "PythonQtPython.h"

// What console code finds in the interpreter: a sys.stdin that reads lines typed into the
// console, and the set-up of an interactive interpreter (prompts in sys.ps1 and sys.ps2, help,
// exit, quit, copyright, credits, license) where the site module did not provide it. The caller
// holds the interpreter lock.
class PythonQtConsoleStdin
{
public:
    // Once per interpreter is enough.
    static void setUpInteractive(const char* primaryPrompt, const char* continuationPrompt);
    // The console's stdin object (a new reference), or null with no error left behind.
    static PyObject* create();
};
