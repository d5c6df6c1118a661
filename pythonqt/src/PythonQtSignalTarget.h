#pragma once

#include "PythonQtObjectPtr.h"

#include <QMetaMethod>
#include <QObject>

// Receives one signal of one sender and calls a Python callable with its arguments, on the
// sender's thread. It is a child of the sender, so it goes when the sender goes.
class PythonQtSignalTarget : public QObject
{
public:
    static bool connect(QObject* sender, const QMetaMethod& signal, PyObject* callable);
    // Removes the targets of signal that call callable (all of them when callable is null).
    static bool disconnect(QObject* sender, const QMetaMethod& signal, PyObject* callable);
    // Drops every target's callable; used before the interpreter is finalised.
    static void releaseAllCallables();

    ~PythonQtSignalTarget() override;

    // Receives the signal through the slot index just past QObject's own methods.
    int qt_metacall(QMetaObject::Call call, int id, void** args) override;

private:
    PythonQtSignalTarget(const QMetaMethod& signal, PyObject* callable);
    void invoke(void** args);

    QMetaMethod m_signal;
    PythonQtObjectPtr m_callable;
};
