#pragma once

#include "support/TestHost.h"

#include <SCP_PythonEngine.h>

#include <QScriptEngine>
#include <QtTest>

// Base of the test cases that run against the plug-in as a host starts it: PLUG_Init in a test
// host, then the session's engine.
class PluginTestCase : public QObject
{
    Q_OBJECT
public:
    PluginTestCase() : engine(host.startPlugin()) {}

protected:
    // An uncaught exception becomes a warning and an invalid value, so that a failing check on
    // the result shows the script's reason beside it.
    QScriptValue runScript(const QString& program)
    {
        QScriptEngine* scripts = host.scriptEngine();
        const QScriptValue result = scripts->evaluate(program);
        if (!scripts->hasUncaughtException())
            return result;
        qWarning("script failed: %s", qPrintable(scripts->uncaughtException().toString()));
        scripts->clearExceptions();
        return QScriptValue();
    }

    TestHost host;
    SCP_PythonEngine* const engine;

private slots:
    void initTestCase() { QVERIFY(engine); }
    // Every test function starts without a pending Python error.
    void init()
    {
        if (engine)
            engine->clearError();
    }
};
