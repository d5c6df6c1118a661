#pragma once

#include "PythonQtPython.h"

class QObject;

// The Python face of a QObject: properties, dynamic properties, methods, signals and named
// children as attributes. One Python object per live QObject. Callers hold the lock.
class PythonQtInstanceWrapper
{
public:
    // A new reference: the wrapper of object (the same one while it is alive), None for null.
    static PyObject* wrap(QObject* object);
    static bool check(PyObject* object);
    // Whether object has a wrapper and is alive. object is never dereferenced: any address may
    // be asked.
    static bool isWrapped(const QObject* object);
    // The wrapped object; null when it has been deleted (or object is no wrapper).
    static QObject* object(PyObject* wrapper);
    // Like object(), but sets RuntimeError naming the class when the QObject is gone.
    static QObject* liveObject(PyObject* wrapper);
};
