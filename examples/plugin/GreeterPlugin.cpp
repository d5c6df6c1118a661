// The Greeter plug-in gives the host's scripts one function, greet(name).
#include <PLUG_EntryPoint.h>
#include <PLUG_ScriptingInterface.h>
#include <PLUG_Services.h>

#include <QScriptContext>
#include <QScriptEngine>

namespace {

QScriptValue greet(QScriptContext* context, QScriptEngine*)
{
    const QString name = context->argumentCount() > 0 ? context->argument(0).toString() : QStringLiteral("world");
    return QScriptValue(QStringLiteral("Hello, %1, from the Greeter plug-in!").arg(name));
}

} // namespace

// The host's services may be absent; without a script engine the plug-in offers nothing.
PLUG_EXPORT void PLUG_Init()
{
    PLUG_guarded([] {
        PLUG_ScriptingInterface* scripting = PLUG_Services::getScriptingInterface();
        if (QScriptEngine* engine = scripting ? scripting->scriptEngine() : nullptr)
            engine->globalObject().setProperty(QStringLiteral("greet"), engine->newFunction(greet, 1));
    });
}

PLUG_EXPORT void PLUG_Polish()
{
}

PLUG_EXPORT void PLUG_Unpolish()
{
}
