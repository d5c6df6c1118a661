#pragma once

#include <PythonQtObjectPtr.h>

#include <vector>

class FuzzBytes;

// A Python value read off fuzz bytes: None, bools, ints of any size, floats, complex numbers,
// str (with lone surrogates), bytes, bytearray, tuples, lists, dicts, sets, a type and a
// built-in function, where a container may also hold one made before it or itself. At most
// maxNodes values in all; the caller holds the interpreter lock.
class PyObjectBuilder
{
public:
    explicit PyObjectBuilder(FuzzBytes& bytes);

    PythonQtObjectPtr build();

private:
    PyObject* value();
    PyObject* scalar(int kind);
    PyObject* container(int kind);
    // A container made earlier (a cycle when it is still being filled), or None.
    PyObject* earlier();

    FuzzBytes& bytes;
    int nodes = 0;
    std::vector<PythonQtObjectPtr> containers;
};
