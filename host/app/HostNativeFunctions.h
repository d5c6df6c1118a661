#pragma once

#include <QScriptValue>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class HostScriptCall;
class QScriptContext;
class QScriptEngine;

// Native functions of one script object whose arguments are checked: a call that fails its
// checks throws a TypeError naming the function and the reason, instead of acting.
class HostNativeFunctions
{
public:
    using Body = std::function<QScriptValue(HostScriptCall&)>;

    // objectName prefixes the function names in error messages ("Host.keyClick: ...").
    explicit HostNativeFunctions(const QString& objectName);
    ~HostNativeFunctions();

    // The functions stay callable while this object lives.
    void add(QScriptValue& object, const QString& name, Body body);

    HostNativeFunctions(const HostNativeFunctions&) = delete;
    HostNativeFunctions& operator=(const HostNativeFunctions&) = delete;

private:
    struct Function
    {
        QString name;
        Body body;
    };

    static QScriptValue call(QScriptContext* context, QScriptEngine* engine, void* function);

    QString m_objectName;
    std::vector<std::unique_ptr<Function>> m_functions;
};
