#include "HostEngineObject.h"

#include "HostScriptApi.h"
#include "SCP_PythonEngine.h"

HostEngineObject::HostEngineObject(SCP_PythonEngine* engine, HostScriptApi* api)
    : QObject(api), m_engine(engine), m_api(api)
{
}

QScriptValue HostEngineObject::mainModule()
{
    return m_api->wrap(m_engine->mainModule());
}

QScriptValue HostEngineObject::createModule(const QString& name)
{
    return m_api->wrap(m_engine->createModule(name));
}

QScriptValue HostEngineObject::importModule(const QString& name, bool reload)
{
    return m_api->wrap(m_engine->importModule(name, reload));
}

QScriptValue HostEngineObject::loadModule(const QString& filePath, bool reload, const QString& moduleName)
{
    return m_api->wrap(m_engine->loadModule(filePath, reload, moduleName));
}

QScriptValue HostEngineObject::module(const QString& name)
{
    return m_api->wrap(m_engine->module(name));
}

QScriptValue HostEngineObject::modules()
{
    return m_api->wrapAll(m_engine->modules());
}

void HostEngineObject::addSysPath(const QString& path)
{
    m_engine->addSysPath(path);
}

bool HostEngineObject::hasError()
{
    return m_engine->hasError();
}

void HostEngineObject::clearError()
{
    m_engine->clearError();
}

bool HostEngineObject::reportError()
{
    return m_engine->reportError();
}

void HostEngineObject::writeStdOut(const QString& text)
{
    m_engine->writeStdOut(text);
}

void HostEngineObject::writeStdErr(const QString& text)
{
    m_engine->writeStdErr(text);
}

QScriptValue HostEngineObject::evaluate(const QString& code)
{
    return m_api->toScript(m_engine->evaluate(code));
}
