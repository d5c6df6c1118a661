#include <PythonQtPython.h>

#include "PyObjectWrapper.h"

#include "JsObjectWrapper.h"
#include "ScriptLockScope.h"
#include "bridge/PythonScript.h"

#include <QScriptEngine>

PyObjectWrapper::PyObjectWrapper(PythonQtObjectPtr module, PythonScript* owner)
    : pyObject(std::move(module))
    , owner(owner)
{
}

bool PyObjectWrapper::hasObject(QString name)
{
    ScriptLockScope scope;
    if (pyObject.isNull() || !PyModule_Check(pyObject.object()))
        return false;
    PyObject* dict = PyModule_GetDict(pyObject.object());
    return dict && PyDict_GetItemString(dict, name.toUtf8().constData()) != nullptr;
}

bool PyObjectWrapper::addObject(QString name, QScriptValue value)
{
    ScriptLockScope scope;
    if (hasObject(name))
        return true;
    ScriptLockScope bindScope;
    bind(name, value);
    return hasObject(name);
}

bool PyObjectWrapper::setObject(QString name, QScriptValue value)
{
    ScriptLockScope scope;
    bind(name, value);
    return hasObject(name);
}

void PyObjectWrapper::bind(const QString& name, const QScriptValue& value)
{
    if (value.isQObject())
        pyObject.addObject(name, value.toQObject());
    else if (value.isObject())
        pyObject.addObject(name, owner->wrapObject(name, value));
    else
        pyObject.addVariable(name, value.toVariant());
}

QScriptValue pyObjectWrapperToScript(QScriptEngine* engine, const void* wrapper)
{
    return engine->newQObject(*static_cast<PyObjectWrapper* const*>(wrapper), QScriptEngine::ScriptOwnership);
}

void pyObjectWrapperFromScript(const QScriptValue& value, void* wrapper)
{
    *static_cast<PyObjectWrapper**>(wrapper) = qobject_cast<PyObjectWrapper*>(value.toQObject());
}
