#pragma once

#include "PythonQtPython.h"

// The Python half of the embedding layer (its text streams, the console's input, the
// interactive set-up) lives in one private module, "_pythonqt", kept out of every user
// namespace. Its code carries a file name of its own, so that its frames can be left out of
// the tracebacks users see. Call with the interpreter lock held.
class PythonQtPrivateModule
{
public:
    // The file name of the module's code.
    static const char* const fileName;

    // Calls a function of the module with the given arguments (a tuple, may be null); a new
    // reference, or null with the Python error set.
    static PyObject* call(const char* function, PyObject* arguments = nullptr);

private:
    // The module of the running interpreter, made on first use; borrowed, or null with the
    // Python error set.
    static PyObject* module();
};
