#pragma once

#include <PythonQtExport.h>

// Owns one strong reference to a Python object (or nothing). Reference counts change inside the
// engine's lock scope; once the interpreter is finalised the reference is simply forgotten.
class PyObjectPtr
{
public:
    // Takes a new reference to a borrowed object.
    explicit PyObjectPtr(PyObject* object);
    // With addReference false, adopts a reference the caller already owns.
    PyObjectPtr(PyObject* object, bool addReference);
    virtual ~PyObjectPtr();

    // Takes the new reference before releasing the old one, so resetting to the held object is
    // harmless.
    void reset(PyObject* object);
    PyObject* object() const { return held; }

    PyObjectPtr(const PyObjectPtr&) = delete;
    PyObjectPtr& operator=(const PyObjectPtr&) = delete;

private:
    PyObject* held;
};
