#pragma once

#include "support/TestHost.h"

#include <QApplication>
#include <QTemporaryDir>

class SCP_PythonEngine;

// The plug-in started once per fuzz process, as the unit tests start it, with a low recursion
// limit and capped allocations so that no input can exhaust the stack or the memory.
class FuzzHost
{
public:
    static FuzzHost& instance();

    SCP_PythonEngine* engine() const { return pythonEngine; }
    QScriptEngine* scripts() const { return host.scriptEngine(); }
    QString writeFile(const QString& name, const QByteArray& content) const;

private:
    FuzzHost();

    QApplication application;
    TestHost host;
    SCP_PythonEngine* pythonEngine;
    QTemporaryDir folder;
};
