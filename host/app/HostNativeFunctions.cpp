#include "HostNativeFunctions.h"

#include "HostScriptCall.h"

#include <QScriptContext>
#include <QScriptEngine>

HostNativeFunctions::HostNativeFunctions(const QString& objectName)
    : m_objectName(objectName)
{
}

HostNativeFunctions::~HostNativeFunctions() = default;

void HostNativeFunctions::add(QScriptValue& object, const QString& name, Body body)
{
    m_functions.push_back(std::make_unique<Function>(Function{m_objectName + QLatin1Char('.') + name, std::move(body)}));
    object.setProperty(name, object.engine()->newFunction(&HostNativeFunctions::call, m_functions.back().get()));
}

QScriptValue HostNativeFunctions::call(QScriptContext* context, QScriptEngine* engine, void* function)
{
    const auto* called = static_cast<const Function*>(function);
    HostScriptCall arguments(context);
    const QScriptValue result = called->body(arguments);
    if (arguments.failed())
        return context->throwError(QScriptContext::TypeError, QStringLiteral("%1: %2").arg(called->name, arguments.error()));
    return result.isValid() ? result : engine->undefinedValue();
}
