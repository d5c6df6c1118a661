#include "qscriptengine.h"

#include "qscriptengine_p.h"

#include <QCoreApplication>
#include <QEvent>

QScriptEngine::QScriptEngine(QObject* parent)
    : QObject(parent), d(std::make_unique<QScriptEnginePrivate>(this))
{
}

QScriptEngine::~QScriptEngine()
{
    d.reset();
}

QScriptValue QScriptEngine::globalObject() const
{
    return d->wrap(d->js.globalObject());
}

QScriptValue QScriptEngine::evaluate(const QString& program, const QString& fileName, int lineNumber)
{
    clearExceptions();
    QStringList trace;
    const QJSValue result = d->js.evaluate(program, fileName, lineNumber, &trace);
    // Only what escapes the program counts: a script function that threw inside a nested call()
    // from C++ was already answered there.
    if (!trace.isEmpty() || result.isError())
        d->setException(result, trace);
    else
        clearExceptions();
    return d->wrap(result);
}

bool QScriptEngine::hasUncaughtException() const
{
    return d->hasException;
}

QScriptValue QScriptEngine::uncaughtException() const
{
    return d->hasException ? d->wrap(d->exception) : QScriptValue();
}

int QScriptEngine::uncaughtExceptionLineNumber() const
{
    return d->hasException ? d->exceptionLine : -1;
}

QStringList QScriptEngine::uncaughtExceptionBacktrace() const
{
    return d->hasException ? d->exceptionTrace : QStringList();
}

void QScriptEngine::clearExceptions()
{
    d->hasException = false;
    d->exception = QJSValue();
    d->exceptionLine = -1;
    d->exceptionTrace.clear();
}

QScriptValue QScriptEngine::nullValue()
{
    return d->wrap(QJSValue(QJSValue::NullValue));
}

QScriptValue QScriptEngine::undefinedValue()
{
    return d->wrap(QJSValue(QJSValue::UndefinedValue));
}

QScriptValue QScriptEngine::newObject()
{
    return d->wrap(d->js.newObject());
}

QScriptValue QScriptEngine::newArray(uint length)
{
    return d->wrap(d->js.newArray(length));
}

QScriptValue QScriptEngine::newVariant(const QVariant& value)
{
    return d->wrap(d->newVariant(value));
}

QScriptValue QScriptEngine::newQObject(QObject* object, ValueOwnership ownership,
                                       const QObjectWrapOptions& options)
{
    return d->wrap(d->wrapQObject(object, ownership, false, options));
}

QScriptValue QScriptEngine::newFunction(FunctionSignature function, int length)
{
    d->natives.push_back({function, nullptr, nullptr});
    QJSValue f = d->helper("makeNative", {int(d->natives.size()) - 1});
    if (length > 0)
        d->helper("define", {f, QStringLiteral("length"), length, false, false, true});
    return d->wrap(f);
}

QScriptValue QScriptEngine::newFunction(FunctionWithArgSignature function, void* arg)
{
    d->natives.push_back({nullptr, function, arg});
    return d->wrap(d->helper("makeNative", {int(d->natives.size()) - 1}));
}

QScriptValue QScriptEngine::newError(const QString& message)
{
    return d->wrap(d->js.newErrorObject(QJSValue::GenericError, message));
}

void QScriptEngine::registerCustomType(int type, MarshalFunction marshal, DemarshalFunction demarshal,
                                       const QScriptValue& prototype)
{
    registerCustomTypeFunctions(type, marshal ? Marshaller(marshal) : Marshaller(),
                                demarshal ? Demarshaller(demarshal) : Demarshaller(), prototype);
}

void QScriptEngine::registerCustomTypeFunctions(int type, Marshaller marshal, Demarshaller demarshal,
                                                const QScriptValue& prototype)
{
    d->customTypes.insert(type, {std::move(marshal), std::move(demarshal), prototype});
}

QScriptValue QScriptEngine::defaultPrototype(int metaTypeId) const
{
    const auto* custom = d->customType(metaTypeId);
    return custom ? custom->prototype : QScriptValue();
}

QScriptValue QScriptEngine::create(int type, const void* ptr)
{
    const QMetaType metaType(type);
    if (!ptr || !metaType.isValid())
        return QScriptValue();
    return d->wrap(d->converter.toScript(metaType, ptr));
}

bool QScriptEngine::convert(const QScriptValue& value, int type, void* ptr)
{
    const QMetaType metaType(type);
    if (!ptr || !metaType.isValid() || !value.isValid())
        return false;
    return d->converter.convert(QScriptValuePrivate::js(value), metaType, ptr);
}

void QScriptEngine::collectGarbage()
{
    d->js.collectGarbage();
    // Collected script-owned QObjects may be queued for deletion.
    if (QCoreApplication::instance())
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QScriptContext* QScriptEngine::currentContext() const
{
    return d->contexts.isEmpty() ? nullptr : d->contexts.last();
}
