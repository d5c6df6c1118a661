#pragma once

#include "qscriptvalue.h"

#include <QJSValue>
#include <QPointer>

class QScriptEngine;

// The script value behind a QScriptValue handle. Values made from primitives have no engine;
// others keep a guarded pointer and count as invalid once their engine is gone.
class QScriptValuePrivate
{
public:
    QScriptValuePrivate(QJSValue value, QScriptEngine* engine)
        : value(std::move(value)), engine(engine), bound(engine != nullptr) {}

    static QScriptValue make(QJSValue value, QScriptEngine* engine)
    {
        return QScriptValue(std::make_shared<const QScriptValuePrivate>(std::move(value), engine));
    }
    static const QScriptValuePrivate* get(const QScriptValue& v)
    {
        const QScriptValuePrivate* d = v.d.get();
        return d && (!d->bound || d->engine) ? d : nullptr;
    }
    // The script value, or undefined for an invalid handle.
    static QJSValue js(const QScriptValue& v)
    {
        const QScriptValuePrivate* d = get(v);
        return d ? d->value : QJSValue();
    }

    QJSValue value;
    QPointer<QScriptEngine> engine;
    bool bound;
};
