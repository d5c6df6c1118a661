#pragma once

#include "support/TestHost.h"

#include <QApplication>

class SCP_PythonEngine;

// An offscreen application with the plug-in started in it as a host starts it, and the
// session's engine.
class BenchHost
{
public:
    BenchHost(int& argc, char** argv);

    SCP_PythonEngine* engine() const { return pythonEngine; }
    QScriptEngine* scriptEngine() const { return host.scriptEngine(); }

private:
    QApplication application;
    TestHost host;
    SCP_PythonEngine* const pythonEngine;
};
