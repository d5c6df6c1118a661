#pragma once

#include "BellwickHostExport.h"

#include <QString>

class QObject;
class QScriptEngine;

// The host's scripting registry: its script engine, and QObjects published as script globals.
class BELLWICK_HOST_EXPORT PLUG_ScriptingInterface
{
public:
    explicit PLUG_ScriptingInterface(QScriptEngine* engine);

    QScriptEngine* scriptEngine() const { return m_engine; }
    // Publishes object as the global name of the script engine; false without an engine.
    bool registerObject(QObject* object, const QString& name);

private:
    QScriptEngine* m_engine;
};
