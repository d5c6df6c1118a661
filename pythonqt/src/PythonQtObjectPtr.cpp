#include "PythonQtObjectPtr.h"

#include "PythonQtCall.h"
#include "PythonQtConv.h"
#include "PythonQtErrors.h"
#include "PythonQtNamespace.h"
#include "PythonQtThreadStates.h"
#include "PythonQtThreadSupport.h"

namespace {

// Registered by name too, so that queued connections and QVariant users find it.
const int s_metaTypeId = qRegisterMetaType<PythonQtObjectPtr>("PythonQtObjectPtr");

void retain(PyObject* object)
{
    if (!object || !PythonQtThreadStates::interpreterAlive())
        return;
    PythonQtGILScope scope;
    Py_INCREF(object);
}

void dispose(PyObject* object)
{
    if (!object || !PythonQtThreadStates::interpreterAlive())
        return;
    PythonQtGILScope scope;
    Py_DECREF(object);
}

QVariant toVariantAndRelease(PyObject* result)
{
    if (!result) {
        PythonQtErrors::printAndClear();
        return QVariant();
    }
    const QVariant value = PythonQtConv::PyObjToQVariant(result);
    Py_DECREF(result);
    if (PyErr_Occurred()) // a result too large to convert
        PythonQtErrors::printAndClear();
    return value;
}

} // namespace

PythonQtObjectPtr::PythonQtObjectPtr(PyObject* object)
    : m_object(object)
{
    retain(m_object);
}

PythonQtObjectPtr::PythonQtObjectPtr(const PythonQtObjectPtr& other)
    : m_object(other.m_object)
{
    retain(m_object);
}

PythonQtObjectPtr::PythonQtObjectPtr(PythonQtObjectPtr&& other) noexcept
    : m_object(other.m_object)
{
    other.m_object = nullptr;
}

PythonQtObjectPtr::~PythonQtObjectPtr()
{
    dispose(m_object);
}

PythonQtObjectPtr& PythonQtObjectPtr::operator=(const PythonQtObjectPtr& other)
{
    setObject(other.m_object);
    return *this;
}

PythonQtObjectPtr& PythonQtObjectPtr::operator=(PythonQtObjectPtr&& other) noexcept
{
    if (this != &other) {
        dispose(m_object);
        m_object = other.m_object;
        other.m_object = nullptr;
    }
    return *this;
}

PythonQtObjectPtr& PythonQtObjectPtr::operator=(PyObject* object)
{
    setObject(object);
    return *this;
}

bool PythonQtObjectPtr::setNewRef(PyObject* object)
{
    // When object is already held, the old reference is the surplus one.
    dispose(m_object);
    m_object = object;
    return m_object != nullptr;
}

void PythonQtObjectPtr::setObject(PyObject* object)
{
    if (object == m_object)
        return;
    retain(object);
    dispose(m_object);
    m_object = object;
}

QVariant PythonQtObjectPtr::evalCode(PyObject* code)
{
    if (!m_object || !code || !PythonQtThreadStates::interpreterAlive())
        return QVariant();
    PythonQtGILScope scope;
    PyObject* globals = PythonQtNamespace::globals(m_object);
    if (!globals)
        return QVariant();
    return toVariantAndRelease(PyEval_EvalCode(code, globals, globals));
}

QVariant PythonQtObjectPtr::evalScript(const QString& script, int start)
{
    if (!m_object || !PythonQtThreadStates::interpreterAlive())
        return QVariant();
    PythonQtGILScope scope;
    PyObject* globals = PythonQtNamespace::globals(m_object);
    if (!globals)
        return QVariant();
    const QByteArray source = script.toUtf8();
    return toVariantAndRelease(PyRun_String(source.constData(), start, globals, globals));
}

void PythonQtObjectPtr::addObject(const QString& name, QObject* object)
{
    addVariable(name, QVariant::fromValue(object)); // converted to its wrapper
}

void PythonQtObjectPtr::addVariable(const QString& name, const QVariant& value)
{
    if (!m_object || !PythonQtThreadStates::interpreterAlive())
        return;
    PythonQtGILScope scope;
    PyObject* object = PythonQtConv::QVariantToPyObject(value);
    if (!object || !PythonQtNamespace::set(m_object, name.toUtf8().constData(), object))
        PythonQtErrors::printAndClear();
    Py_XDECREF(object);
}

void PythonQtObjectPtr::removeVariable(const QString& name)
{
    if (!m_object || !PythonQtThreadStates::interpreterAlive())
        return;
    PythonQtGILScope scope;
    PythonQtNamespace::remove(m_object, name.toUtf8().constData());
}

QVariant PythonQtObjectPtr::getVariable(const QString& name)
{
    if (!m_object || !PythonQtThreadStates::interpreterAlive())
        return QVariant();
    PythonQtGILScope scope;
    PyObject* value = PythonQtNamespace::get(m_object, name.toUtf8().constData());
    if (!value)
        return QVariant();
    return toVariantAndRelease(value);
}

QVariant PythonQtObjectPtr::call(const QString& callable, const QVariantList& args, const QVariantMap& kwargs)
{
    if (!m_object || !PythonQtThreadStates::interpreterAlive())
        return QVariant();
    PythonQtGILScope scope;
    PyObject* function = PythonQtNamespace::get(m_object, callable.toUtf8().constData());
    if (!function)
        return QVariant();
    PyObject* result = PythonQtCall::call(function, args, kwargs);
    Py_DECREF(function);
    return toVariantAndRelease(result);
}

QVariant PythonQtObjectPtr::call(const QVariantList& args, const QVariantMap& kwargs)
{
    if (!m_object || !PythonQtThreadStates::interpreterAlive())
        return QVariant();
    PythonQtGILScope scope;
    return toVariantAndRelease(PythonQtCall::call(m_object, args, kwargs));
}

QVariant PythonQtObjectPtr::toVariant() const
{
    return QVariant::fromValue(*this);
}

bool PythonQtObjectPtr::fromVariant(const QVariant& variant)
{
    if (variant.metaType() == QMetaType::fromType<PythonQtObjectPtr>()) {
        *this = variant.value<PythonQtObjectPtr>();
        return !isNull();
    }
    if (!variant.isValid() || !PythonQtThreadStates::interpreterAlive()) {
        setObject(nullptr);
        return false;
    }
    PythonQtGILScope scope;
    PyObject* object = PythonQtConv::QVariantToPyObject(variant);
    if (!object)
        PyErr_Clear();
    return setNewRef(object);
}
