#include "JsFunctionWrapper.h"

#include <QScriptEngine>

JsFunctionWrapper::JsFunctionWrapper(QScriptEngine* engine, const QScriptValue& function, const QString& thisName)
    : jsFunction(function)
    , scriptEngine(engine)
    , thisObject(thisName.isEmpty() ? engine->globalObject() : engine->globalObject().property(thisName))
{
}

QVariant JsFunctionWrapper::call(QVariantList args)
{
    return callWith(args);
}

QVariant JsFunctionWrapper::call(QVariant arg)
{
    return callWith(QVariantList{arg});
}

QVariant JsFunctionWrapper::call()
{
    return callWith(QVariantList());
}

QVariant JsFunctionWrapper::callWith(const QVariantList& args)
{
    QScriptValueList scriptArgs;
    scriptArgs.reserve(args.size());
    for (const QVariant& arg : args)
        scriptArgs.append(scriptEngine->newVariant(arg));
    // A throwing function gives its error value back like a result; nothing is tested here.
    return jsFunction.call(thisObject, scriptArgs).toVariant();
}
