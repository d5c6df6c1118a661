#pragma once

#include <QObject>
#include <QScriptValue>
#include <QVariant>
#include <QVariantList>

class QScriptEngine;

// Carries one script function into Python: Python calls a call slot, the slot runs the
// function with a this-object fixed at construction and hands its result back as a variant.
class JsFunctionWrapper : public QObject
{
    Q_OBJECT
public:
    // An empty thisName makes the script's global object the this of every call.
    JsFunctionWrapper(QScriptEngine* engine, const QScriptValue& function, const QString& thisName);

public slots:
    QVariant call(QVariantList args);
    QVariant call(QVariant arg);
    QVariant call();

private:
    QVariant callWith(const QVariantList& args);

    QScriptValue jsFunction;
    QScriptEngine* scriptEngine;
    QScriptValue thisObject;
};
