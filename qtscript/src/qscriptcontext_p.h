#pragma once

#include "qscriptcontext.h"
#include "qscriptengine_p.h"

// The state of one native-function call; lives on the C++ stack for the duration of the call.
class QScriptContextPrivate
{
public:
    QScriptContextPrivate(QScriptEnginePrivate& engine, const QJSValue& callee,
                          const QJSValue& thisObject, const QJSValue& args, bool asConstructor);

    // Calls the native function with this context as the engine's current one.
    QScriptValue run(const QScriptEnginePrivate::Native& native);
    bool hasThrown() const { return m_hasThrown; }
    QJSValue thrown() const { return m_thrown; }

    void setThrown(const QJSValue& value);

    QScriptEnginePrivate& engine;
    QJSValue callee;
    QJSValue thisObject;
    QJSValue args;
    int argumentCount;
    bool asConstructor;

private:
    bool m_hasThrown = false;
    QJSValue m_thrown;
};
