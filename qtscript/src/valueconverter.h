#pragma once

#include <QJSValue>
#include <QList>
#include <QMetaType>
#include <QVariant>

class QScriptEnginePrivate;

// Conversions between script values and C++ values of any meta-type, registered custom types
// first. Also rates how well a script value fits a parameter type, for overload choice.
class ValueConverter
{
public:
    static constexpr int NoMatch = -1;

    explicit ValueConverter(QScriptEnginePrivate& engine) : m_engine(engine) {}

    QJSValue toScript(const QVariant& value);
    QJSValue toScript(QMetaType type, const void* data);
    // Arrays and objects nested too deep, or met again inside themselves, become invalid variants.
    QVariant toVariant(const QJSValue& value);

    // 0 is a perfect fit, larger is worse, NoMatch when the value cannot become the type.
    int fit(const QJSValue& value, QMetaType type);
    // Stores the value into `data`, an existing object of `type`.
    bool convert(const QJSValue& value, QMetaType type, void* data);

private:
    // ancestors: the arrays and objects being converted, outermost first.
    QVariant toVariant(const QJSValue& value, QList<QJSValue>& ancestors);
    QVariant containerToVariant(const QJSValue& value, QList<QJSValue>& ancestors);
    QJSValue listToScript(const QVariantList& list);
    QJSValue mapToScript(const QVariantMap& map);
    int fitBuiltin(const QJSValue& value, QMetaType type);

    QScriptEnginePrivate& m_engine;
};
