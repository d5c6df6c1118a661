#pragma once

#include <QObject>
#include <QScriptValue>

class HostScriptApi;
class SCP_PythonEngine;

// Script face of the session's Python engine (Host.engine()).
class HostEngineObject : public QObject
{
    Q_OBJECT
public:
    HostEngineObject(SCP_PythonEngine* engine, HostScriptApi* api);

public slots:
    QScriptValue mainModule();
    QScriptValue createModule(const QString& name);
    QScriptValue importModule(const QString& name, bool reload = false);
    QScriptValue loadModule(const QString& filePath, bool reload = false, const QString& moduleName = QString());
    QScriptValue module(const QString& name);
    QScriptValue modules();
    void addSysPath(const QString& path);
    bool hasError();
    void clearError();
    bool reportError();
    void writeStdOut(const QString& text);
    void writeStdErr(const QString& text);
    QScriptValue evaluate(const QString& code);

private:
    SCP_PythonEngine* m_engine;
    HostScriptApi* m_api;
};
