#pragma once

#include "qscriptvalue.h"

class QScriptEngine;
class QScriptContextPrivate;

// The call of a native function (QScriptEngine::newFunction); valid only during that call.
class QTSCRIPTCOMPAT_EXPORT QScriptContext
{
public:
    enum Error { UnknownError, ReferenceError, SyntaxError, TypeError, RangeError, URIError };

    ~QScriptContext();
    QScriptContext(const QScriptContext&) = delete;
    QScriptContext& operator=(const QScriptContext&) = delete;

    QScriptEngine* engine() const;
    QScriptValue callee() const;
    QScriptValue thisObject() const;
    QScriptValue argument(int index) const;
    int argumentCount() const;
    QScriptValue argumentsObject() const;
    bool isCalledAsConstructor() const;

    // The error is thrown in the script once the native function returns.
    QScriptValue throwError(Error error, const QString& text);
    QScriptValue throwError(const QString& text);
    QScriptValue throwValue(const QScriptValue& value);

private:
    friend class QScriptContextPrivate;
    explicit QScriptContext(QScriptContextPrivate* d);
    QScriptContextPrivate* d;
};
