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
    // An uncaught exception becomes a warning and an invalid value, so that a failing check on
    // the result shows the script's reason beside it.
    QScriptValue runScript(const QString& program);

    TestHost host;
    SCP_PythonEngine* const engine;

private slots:
    void initTestCase();
    // Every test function starts without a pending Python error.
    void init();
};
