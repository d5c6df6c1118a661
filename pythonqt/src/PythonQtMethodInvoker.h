#pragma once

#include "PythonQtPython.h"

#include <QByteArray>
#include <QList>
#include <QMetaMethod>

class QObject;

// Calls slots, Q_INVOKABLE methods and signals by name with Python arguments: the overload
// whose parameters take the arguments best wins; moc's cloned methods supply the defaults.
class PythonQtMethodInvoker
{
public:
    // Public methods, slots and signals called name, in meta-object order.
    static QList<QMetaMethod> methods(const QMetaObject* meta, const QByteArray& name);
    static bool hasMethod(const QMetaObject* meta, const QByteArray& name);
    // A new reference (None for void), or null with TypeError when no overload fits.
    static PyObject* call(QObject* object, const QByteArray& name, PyObject* args);
};
