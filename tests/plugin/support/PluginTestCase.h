#pragma once

#include "support/TestHost.h"

#include <QObject>

class SCP_PythonEngine;

// Base of the test cases that run against the plug-in as a host starts it: PLUG_Init in a test
// host, then the session's engine.
class PluginTestCase : public QObject
{
    Q_OBJECT
public:
    PluginTestCase();

protected:
    TestHost host;
    SCP_PythonEngine* const engine;

private slots:
    // Derived cases with start-up steps of their own verify the engine themselves.
    void initTestCase();
    // Every test function starts without a pending Python error.
    void init();
};
