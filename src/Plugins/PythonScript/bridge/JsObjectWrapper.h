#pragma once

#include <QObject>
#include <QScriptValue>

class QScriptEngine;

// Stands for one global script object in Python: plain values are dynamic properties, methods
// are child JsFunctionWrappers. Once synchronisation is enabled, changes of the dynamic
// properties are copied back to the script variable.
class JsObjectWrapper : public QObject
{
    Q_OBJECT
public:
    JsObjectWrapper(QScriptEngine* engine, const QString& name);

    void enableSyncToScript();

protected:
    bool event(QEvent* event) override;

private:
    bool syncToScript = false;
    QScriptValue jsObject;
    QScriptEngine* scriptEngine;
};
