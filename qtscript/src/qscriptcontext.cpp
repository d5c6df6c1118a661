#include "qscriptcontext_p.h"

QScriptContextPrivate::QScriptContextPrivate(QScriptEnginePrivate& engine, const QJSValue& callee,
                                             const QJSValue& thisObject, const QJSValue& args,
                                             bool asConstructor)
    : engine(engine), callee(callee), thisObject(thisObject), args(args),
      argumentCount(args.property(QStringLiteral("length")).toInt()), asConstructor(asConstructor)
{
}

QScriptValue QScriptContextPrivate::run(const QScriptEnginePrivate::Native& native)
{
    QScriptContext context(this);
    engine.contexts.append(&context);
    const QScriptValue result = native.function ? native.function(&context, engine.q)
                                                : native.functionWithArg(&context, engine.q, native.arg);
    engine.contexts.removeLast();
    return result;
}

void QScriptContextPrivate::setThrown(const QJSValue& value)
{
    m_hasThrown = true;
    m_thrown = value;
}

QScriptContext::QScriptContext(QScriptContextPrivate* d) : d(d) {}

QScriptContext::~QScriptContext() = default;

QScriptEngine* QScriptContext::engine() const
{
    return d->engine.q;
}

QScriptValue QScriptContext::callee() const
{
    return d->engine.wrap(d->callee);
}

QScriptValue QScriptContext::thisObject() const
{
    return d->engine.wrap(d->thisObject);
}

QScriptValue QScriptContext::argument(int index) const
{
    if (index < 0 || index >= d->argumentCount)
        return d->engine.wrap(QJSValue());
    return d->engine.wrap(d->args.property(quint32(index)));
}

int QScriptContext::argumentCount() const
{
    return d->argumentCount;
}

QScriptValue QScriptContext::argumentsObject() const
{
    return d->engine.wrap(d->args);
}

bool QScriptContext::isCalledAsConstructor() const
{
    return d->asConstructor;
}

QScriptContext::ExecutionState QScriptContext::state() const
{
    return d->hasThrown() ? ExceptionState : NormalState;
}

QScriptValue QScriptContext::throwError(Error error, const QString& text)
{
    static const QJSValue::ErrorType types[] = {QJSValue::GenericError, QJSValue::ReferenceError,
                                                QJSValue::SyntaxError,  QJSValue::TypeError,
                                                QJSValue::RangeError,   QJSValue::URIError};
    const QJSValue value = d->engine.js.newErrorObject(types[error], text);
    d->setThrown(value);
    return d->engine.wrap(value);
}

QScriptValue QScriptContext::throwError(const QString& text)
{
    return throwError(UnknownError, text);
}

QScriptValue QScriptContext::throwValue(const QScriptValue& value)
{
    d->setThrown(QScriptValuePrivate::js(value));
    return value;
}
