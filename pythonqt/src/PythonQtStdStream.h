#pragma once

#include "PythonQtPython.h"

// File-like object installed as sys.stdout / sys.stderr: each write() is one emission of
// PythonQt's output signal, on the writing thread, with the text unchanged.
class PythonQtStdStream
{
public:
    enum Channel { StdOut, StdErr };
    // A new stream object (new reference), or null with an error set.
    static PyObject* create(Channel channel);
};
