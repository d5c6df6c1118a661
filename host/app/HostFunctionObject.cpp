#include "HostFunctionObject.h"

#include "HostScriptApi.h"
#include "SCP_PythonFunction.h"

HostFunctionObject::HostFunctionObject(SCP_PythonFunction* function, HostScriptApi* api)
    : QObject(api), m_function(function), m_api(api)
{
}

QString HostFunctionObject::name()
{
    return m_function->name();
}

QScriptValue HostFunctionObject::call(const QScriptValue& args)
{
    return m_api->toScript(m_function->call(HostScriptApi::toVariantList(args)));
}
