#pragma once

#include "PythonQtPython.h"

// The text stream installed as sys.stdout / sys.stderr (an io.TextIOBase): each write() is one
// emission of PythonQt's output signal, on the writing thread, with the text unchanged. Its
// fileno() is the process's own descriptor, so that faulthandler writes where a crash can be
// read.
class PythonQtStdStream
{
public:
    enum Channel { StdOut, StdErr };
    // A new stream object (new reference), or null with an error set.
    static PyObject* create(Channel channel);
};
