#include "HostModuleObject.h"

#include "HostScriptApi.h"
#include "SCP_PythonModule.h"


HostModuleObject::HostModuleObject(SCP_PythonModule* module, HostScriptApi* api)
    : QObject(api), m_module(module), m_api(api)
{
}

QString HostModuleObject::name()
{
    return m_module->name();
}

QString HostModuleObject::fileName()
{
    return m_module->fileName();
}

void HostModuleObject::reload()
{
    m_module->reload();
}

void HostModuleObject::addModule(const QScriptValue& other)
{
    if (SCP_PythonModule* module = HostScriptApi::moduleOf(other))
        m_module->addModule(module);
}

bool HostModuleObject::hasModule(const QScriptValue& other)
{
    SCP_PythonModule* module = HostScriptApi::moduleOf(other);
    return module && m_module->hasModule(module);
}

QScriptValue HostModuleObject::execute(const QString& code)
{
    return m_api->toScript(m_module->execute(code));
}

QScriptValue HostModuleObject::call(const QString& functionName, const QScriptValue& args)
{
    return m_api->toScript(m_module->call(functionName, HostScriptApi::toVariantList(args)));
}

QScriptValue HostModuleObject::functions()
{
    return m_api->wrapAll(m_module->functions());
}
