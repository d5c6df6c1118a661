#pragma once

#include <QObject>
#include <QScriptValue>

class HostScriptApi;
class SCP_PythonModule;

// Script face of one Python module of the engine.
class HostModuleObject : public QObject
{
    Q_OBJECT
public:
    HostModuleObject(SCP_PythonModule* module, HostScriptApi* api);

    SCP_PythonModule* module() const { return m_module; }

public slots:
    QString name();
    QString fileName();
    void reload();
    // other: a module object; anything else is ignored (false for hasModule).
    void addModule(const QScriptValue& other);
    bool hasModule(const QScriptValue& other);
    QScriptValue execute(const QString& code);
    QScriptValue call(const QString& functionName, const QScriptValue& args = QScriptValue());
    QScriptValue functions();

private:
    SCP_PythonModule* m_module;
    HostScriptApi* m_api;
};
