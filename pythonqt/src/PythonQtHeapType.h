#pragma once

#include "PythonQtPython.h"

// A heap type made from a static spec once per interpreter generation, with the allocation and
// deallocation its instances share. Used under the interpreter lock.
class PythonQtHeapType
{
public:
    explicit PythonQtHeapType(PyType_Spec& spec)
        : m_spec(spec)
    {
    }

    // The type in the running interpreter, made on first use; null with the error set when it
    // cannot be made. Borrowed: the interpreter's finalisation releases it.
    PyTypeObject* type();
    // The type if this generation has made it already; never makes it.
    PyTypeObject* existing() const;
    // A new, zeroed instance; null with the error set.
    PyObject* alloc();
    // The tail of every instance's tp_dealloc: frees self and its reference to the type.
    static void free(PyObject* self);

private:
    PyType_Spec& m_spec;
    PyTypeObject* m_type = nullptr;
    unsigned m_generation = 0;
};
