#include "PythonQtMember.h"

#include "PythonQtInstanceWrapper.h"
#include "PythonQtMethodInvoker.h"
#include "PythonQtSignalTarget.h"
#include "PythonQtHeapType.h"

#include <QObject>

namespace {

struct MemberObject
{
    PyObject_HEAD
    PyObject* wrapper;
    QByteArray* name;
};

MemberObject* asMember(PyObject* self)
{
    return reinterpret_cast<MemberObject*>(self);
}

// The signal called like the member, or an invalid method (with TypeError set).
QMetaMethod signalOf(QObject* object, const QByteArray& name)
{
    QMetaMethod signal;
    for (const QMetaMethod& method : PythonQtMethodInvoker::methods(object->metaObject(), name)) {
        // The full signature, not one of moc's clones that drop defaulted parameters.
        if (method.methodType() == QMetaMethod::Signal && !(method.attributes() & QMetaMethod::Cloned)) {
            signal = method;
            break;
        }
    }
    if (!signal.isValid())
        PyErr_Format(PyExc_TypeError, "%s.%s is not a signal", object->metaObject()->className(), name.constData());
    return signal;
}

PyObject* memberCall(PyObject* self, PyObject* args, PyObject* kwargs)
{
    if (kwargs && PyDict_Size(kwargs) > 0) {
        PyErr_SetString(PyExc_TypeError, "Qt methods take no keyword arguments");
        return nullptr;
    }
    QObject* object = PythonQtInstanceWrapper::liveObject(asMember(self)->wrapper);
    if (!object)
        return nullptr;
    return PythonQtMethodInvoker::call(object, *asMember(self)->name, args);
}

PyObject* memberEmit(PyObject* self, PyObject* args)
{
    return memberCall(self, args, nullptr);
}

PyObject* memberConnect(PyObject* self, PyObject* callable)
{
    QObject* object = PythonQtInstanceWrapper::liveObject(asMember(self)->wrapper);
    if (!object)
        return nullptr;
    if (!PyCallable_Check(callable)) {
        PyErr_Format(PyExc_TypeError, "connect() needs a callable, not '%s'", Py_TYPE(callable)->tp_name);
        return nullptr;
    }
    const QMetaMethod signal = signalOf(object, *asMember(self)->name);
    if (!signal.isValid())
        return nullptr;
    return PyBool_FromLong(PythonQtSignalTarget::connect(object, signal, callable));
}

PyObject* memberDisconnect(PyObject* self, PyObject* args)
{
    PyObject* callable = nullptr;
    if (!PyArg_ParseTuple(args, "|O:disconnect", &callable))
        return nullptr;
    QObject* object = PythonQtInstanceWrapper::liveObject(asMember(self)->wrapper);
    if (!object)
        return nullptr;
    const QMetaMethod signal = signalOf(object, *asMember(self)->name);
    if (!signal.isValid())
        return nullptr;
    return PyBool_FromLong(PythonQtSignalTarget::disconnect(object, signal, callable));
}

PyObject* memberRepr(PyObject* self)
{
    return PyUnicode_FromFormat("<Qt member %s of %R>", asMember(self)->name->constData(), asMember(self)->wrapper);
}

PyObject* memberDoc(PyObject* self, void*)
{
    const QByteArray text = PythonQtMember::signatures(self).join(QLatin1Char('\n')).toUtf8();
    return PyUnicode_FromStringAndSize(text.constData(), text.size());
}

void memberDealloc(PyObject* self)
{
    Py_XDECREF(asMember(self)->wrapper);
    delete asMember(self)->name;
    PythonQtHeapType::free(self);
}

PyMethodDef memberMethods[] = {
    {"connect", memberConnect, METH_O, "Calls the callable whenever the signal is emitted."},
    {"disconnect", memberDisconnect, METH_VARARGS, "Removes one callable, or all of them."},
    {"emit", memberEmit, METH_VARARGS, "Emits the signal."},
    {nullptr, nullptr, 0, nullptr},
};

PyGetSetDef memberGetSets[] = {
    {"__doc__", memberDoc, nullptr, "The overloads' signatures.", nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

PyType_Slot memberSlots[] = {
    {Py_tp_call, reinterpret_cast<void*>(memberCall)},
    {Py_tp_repr, reinterpret_cast<void*>(memberRepr)},
    {Py_tp_dealloc, reinterpret_cast<void*>(memberDealloc)},
    {Py_tp_methods, memberMethods},
    {Py_tp_getset, memberGetSets},
    {0, nullptr},
};

PyType_Spec memberSpec = {"PythonQt.Member", sizeof(MemberObject), 0, Py_TPFLAGS_DEFAULT, memberSlots};

PythonQtHeapType memberType(memberSpec);

} // namespace

PyObject* PythonQtMember::create(PyObject* wrapper, const QByteArray& name)
{
    PyObject* member = memberType.alloc();
    if (!member)
        return nullptr;
    Py_INCREF(wrapper);
    asMember(member)->wrapper = wrapper;
    asMember(member)->name = new QByteArray(name);
    return member;
}

bool PythonQtMember::check(PyObject* object)
{
    return object && Py_TYPE(object) == memberType.existing();
}

QStringList PythonQtMember::signatures(PyObject* member)
{
    QStringList result;
    QObject* object = check(member) ? PythonQtInstanceWrapper::object(asMember(member)->wrapper) : nullptr;
    if (!object)
        return result;
    for (const QMetaMethod& method : PythonQtMethodInvoker::methods(object->metaObject(), *asMember(member)->name))
        result.append(QString::fromUtf8(method.methodSignature()));
    return result;
}
