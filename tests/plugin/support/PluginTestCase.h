#pragma once

#include "support/TestHost.h"

#include <QObject>
#include <QScriptValue>

class SCP_PythonEngine;

// Base of the test cases that run against the plug-in as a host starts it: PLUG_Init in a test
// host, then the session's engine.
class PluginTestCase : public QObject
{
    Q_OBJECT
public:
    PluginTestCase();

protected:
    // Evaluates program in the host's script engine. An uncaught exception becomes a warning and
    // an invalid value, so that a check on the result fails with the script's reason beside it.
    QScriptValue runScript(const QString& program);

    TestHost host;
    SCP_PythonEngine* const engine;

private slots:
    // Derived cases with start-up steps of their own verify the engine themselves.
    void initTestCase();
    // Every test function starts without a pending Python error.
    void init();
};
