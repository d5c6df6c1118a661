#include "PythonQtSignalTarget.h"

#include "PythonQtConv.h"
#include "PythonQtErrors.h"
#include "PythonQtThreadStates.h"
#include "PythonQtThreadSupport.h"

#include <QMutex>
#include <QSet>

namespace {

QMutex s_targetsMutex;
QSet<PythonQtSignalTarget*> s_targets;

const int s_slotIndex = QObject::staticMetaObject.methodCount();

PyObject* argumentTuple(const QMetaMethod& signal, void** args)
{
    PyObject* tuple = PyTuple_New(signal.parameterCount());
    for (int i = 0; tuple && i < signal.parameterCount(); ++i) {
        const QMetaType type = signal.parameterMetaType(i);
        PyObject* item = type.id() == QMetaType::QVariant
            ? PythonQtConv::QVariantToPyObject(*static_cast<QVariant*>(args[i + 1]))
            : PythonQtConv::QVariantToPyObject(QVariant(type, args[i + 1]));
        if (!item)
            Py_CLEAR(tuple);
        else
            PyTuple_SET_ITEM(tuple, i, item);
    }
    return tuple;
}

} // namespace

PythonQtSignalTarget::PythonQtSignalTarget(const QMetaMethod& signal, PyObject* callable)
    : m_signal(signal)
    , m_callable(callable)
{
    QMutexLocker lock(&s_targetsMutex);
    s_targets.insert(this);
}

PythonQtSignalTarget::~PythonQtSignalTarget()
{
    QMutexLocker lock(&s_targetsMutex);
    s_targets.remove(this);
}

bool PythonQtSignalTarget::connect(QObject* sender, const QMetaMethod& signal, PyObject* callable)
{
    auto* target = new PythonQtSignalTarget(signal, callable);
    target->moveToThread(sender->thread());
    target->setParent(sender);
    if (QMetaObject::connect(sender, signal.methodIndex(), target, s_slotIndex))
        return true;
    delete target;
    return false;
}

bool PythonQtSignalTarget::disconnect(QObject* sender, const QMetaMethod& signal, PyObject* callable)
{
    bool removed = false;
    const QObjectList children = sender->children(); // deleting below changes the list
    for (QObject* child : children) {
        auto* target = dynamic_cast<PythonQtSignalTarget*>(child);
        if (!target || target->m_signal != signal)
            continue;
        if (callable && PyObject_RichCompareBool(target->m_callable, callable, Py_EQ) != 1) {
            PyErr_Clear();
            continue;
        }
        delete target;
        removed = true;
    }
    return removed;
}

void PythonQtSignalTarget::releaseAllCallables()
{
    QMutexLocker lock(&s_targetsMutex);
    for (PythonQtSignalTarget* target : std::as_const(s_targets))
        target->m_callable = nullptr;
}

int PythonQtSignalTarget::qt_metacall(QMetaObject::Call call, int id, void** args)
{
    id = QObject::qt_metacall(call, id, args);
    if (id < 0 || call != QMetaObject::InvokeMetaMethod)
        return id;
    if (id == 0)
        invoke(args);
    return id - 1;
}

void PythonQtSignalTarget::invoke(void** args)
{
    if (!PythonQtThreadStates::interpreterAlive())
        return;
    PythonQtGILScope scope;
    if (m_callable.isNull())
        return;
    PyObject* tuple = argumentTuple(m_signal, args);
    PyObject* result = tuple ? PyObject_CallObject(m_callable, tuple) : nullptr;
    Py_XDECREF(tuple);
    if (!result)
        PythonQtErrors::printAndClear();
    Py_XDECREF(result);
}
