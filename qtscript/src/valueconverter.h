#pragma once

#include <QHash>
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
    static constexpr qsizetype MaxElements = 4 * 1024 * 1024;
    static constexpr qsizetype MaxTextSize = 128 * 1024 * 1024;

    explicit ValueConverter(QScriptEnginePrivate& engine) : m_engine(engine) {}

    QJSValue toScript(const QVariant& value);
    QJSValue toScript(QMetaType type, const void* data);
    // Arrays and objects nested too deep, or met again inside themselves, become invalid variants;
    // one met twice elsewhere converts once and both places share the variant's data. A value
    // of more than MaxElements elements or MaxTextSize characters in all throws a RangeError.
    QVariant toVariant(const QJSValue& value);

    // 0 is a perfect fit, larger is worse, NoMatch when the value cannot become the type.
    int fit(const QJSValue& value, QMetaType type);
    // Stores the value into `data`, an existing object of `type`.
    bool convert(const QJSValue& value, QMetaType type, void* data);

private:
    // One conversion of a script value: the variant made for each object met so far, by the
    // index `seen` gave it (invalid while the object is still being converted, which is what a
    // value inside itself becomes), the nesting depth, and what it has produced in all.
    struct ToVariantWalk
    {
        QJSValue seen;
        QList<QVariant> converted;
        int depth = 0;
        qsizetype elements = 0;
        qsizetype textSize = 0;
        bool exceeded = false;
    };

    QVariant toVariant(const QJSValue& value, ToVariantWalk& walk);
    QVariant objectToVariant(const QJSValue& value, ToVariantWalk& walk);
    QVariant containerToVariant(const QJSValue& value, ToVariantWalk& walk);
    // False, with a RangeError thrown, once the conversion has produced more than its limits.
    bool spend(ToVariantWalk& walk, qsizetype elements, qsizetype textSize);
    QJSValue listToScript(const QVariantList& list);
    QJSValue mapToScript(const QVariantMap& map);
    QJSValue sharedToScript(const QVariant& value, const void* shared);
    int fitBuiltin(const QJSValue& value, QMetaType type);

    QScriptEnginePrivate& m_engine;
    // The script value made for each list or map whose data the current toScript met before:
    // copies of one variant list share their data, and convert to one script array.
    QHash<const void*, QJSValue> m_scriptForData;
    int m_toScriptDepth = 0;
};
