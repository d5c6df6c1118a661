#pragma once

#include <QObject>
#include <QScriptValue>

class HostScriptApi;
class SCP_PythonFunction;

// Script face of one Python function of a module.
class HostFunctionObject : public QObject
{
    Q_OBJECT
public:
    HostFunctionObject(SCP_PythonFunction* function, HostScriptApi* api);

public slots:
    QString name();
    QScriptValue call(const QScriptValue& args = QScriptValue());

private:
    SCP_PythonFunction* m_function;
    HostScriptApi* m_api;
};
