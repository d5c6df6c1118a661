#pragma once

#include "qscriptvalue.h"

class QScriptEngine;
class QScriptContextPrivate;

// The call of a native function (QScriptEngine::newFunction); valid only during that call.
class QTSCRIPTCOMPAT_EXPORT QScriptContext
{
public:
    enum Error { UnknownError, ReferenceError, SyntaxError, TypeError, RangeError, URIError };
    enum ExecutionState { NormalState, ExceptionState };

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
    // ExceptionState once an error has been thrown in this call (by the function or by a
    // conversion of its arguments).
    ExecutionState state() const;

    // The error is thrown in the script once the native function returns.
    QScriptValue throwError(Error error, const QString& text);
    QScriptValue throwError(const QString& text);
    QScriptValue throwValue(const QScriptValue& value);

private:
    friend class QScriptContextPrivate;
    explicit QScriptContext(QScriptContextPrivate* d);
    QScriptContextPrivate* d;
};
