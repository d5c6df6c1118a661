#include "support/PluginTestCase.h"

#include <SCP_PythonEngine.h>

#include <QScriptEngine>
#include <QtTest>

PluginTestCase::PluginTestCase()
    : engine(host.startPlugin())
{
}

QScriptValue PluginTestCase::runScript(const QString& program)
{
    QScriptEngine* scripts = host.scriptEngine();
    const QScriptValue result = scripts->evaluate(program);
    if (!scripts->hasUncaughtException())
        return result;
    qWarning("script failed: %s", qPrintable(scripts->uncaughtException().toString()));
    scripts->clearExceptions();
    return QScriptValue();
}

void PluginTestCase::initTestCase()
{
    QVERIFY(engine);
}

void PluginTestCase::init()
{
    if (engine)
        engine->clearError();
}
