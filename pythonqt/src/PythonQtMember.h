#pragma once

#include "PythonQtPython.h"

#include <QByteArray>
#include <QStringList>

// A method, slot or signal of a wrapped QObject, bound to it: calling it calls the best
// overload; signals also offer connect(callable), disconnect([callable]) and emit(*args).
class PythonQtMember
{
public:
    // A new reference bound to wrapper (a QObject wrapper) and name.
    static PyObject* create(PyObject* wrapper, const QByteArray& name);
    static bool check(PyObject* object);
    // The signatures of the overloads, for introspection.
    static QStringList signatures(PyObject* member);
};
