#pragma once

#include "qtscriptcompat_global.h"

#include <QFlags>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariant>

#include <memory>

class QObject;
class QScriptEngine;
class QScriptValue;
class QScriptValuePrivate;

typedef QList<QScriptValue> QScriptValueList;

// A handle on a script value. A default-constructed value is invalid, which is not the same as
// undefined. Values that belong to an engine become invalid once that engine is destroyed.
class QTSCRIPTCOMPAT_EXPORT QScriptValue
{
public:
    enum ResolveFlag {
        ResolveLocal = 0x00,
        ResolvePrototype = 0x01,
        ResolveScope = 0x02,
        ResolveFull = ResolvePrototype | ResolveScope
    };
    Q_DECLARE_FLAGS(ResolveFlags, ResolveFlag)

    enum PropertyFlag {
        ReadOnly = 0x00000001,
        Undeletable = 0x00000002,
        SkipInEnumeration = 0x00000004,
        PropertyGetter = 0x00000008,
        PropertySetter = 0x00000010,
        QObjectMember = 0x00000020,
        KeepExistingFlags = 0x00000800,
        UserRange = 0xff000000
    };
    Q_DECLARE_FLAGS(PropertyFlags, PropertyFlag)

    enum SpecialValue { NullValue, UndefinedValue };

    QScriptValue();
    QScriptValue(SpecialValue value);
    QScriptValue(bool value);
    QScriptValue(int value);
    QScriptValue(uint value);
    QScriptValue(qsreal value);
    QScriptValue(const QString& value);
    QScriptValue(const QLatin1String& value);
    QScriptValue(const char* value);
    QScriptValue(const QScriptValue& other);
    QScriptValue(QScriptValue&& other) noexcept;
    ~QScriptValue();
    QScriptValue& operator=(const QScriptValue& other);
    QScriptValue& operator=(QScriptValue&& other) noexcept;

    QScriptEngine* engine() const;

    bool isValid() const;
    bool isBool() const;
    bool isBoolean() const;
    bool isNumber() const;
    bool isString() const;
    bool isNull() const;
    bool isUndefined() const;
    bool isObject() const;
    bool isFunction() const;
    bool isArray() const;
    bool isError() const;
    bool isDate() const;
    bool isRegExp() const;
    bool isVariant() const;
    bool isQObject() const;

    QString toString() const;
    qsreal toNumber() const;
    bool toBool() const;
    bool toBoolean() const;
    qsreal toInteger() const;
    qint32 toInt32() const;
    quint32 toUInt32() const;
    quint16 toUInt16() const;
    QVariant toVariant() const;
    QObject* toQObject() const;

    bool equals(const QScriptValue& other) const;
    bool strictlyEquals(const QScriptValue& other) const;

    QScriptValue prototype() const;
    void setPrototype(const QScriptValue& prototype);

    QScriptValue property(const QString& name, const ResolveFlags& mode = ResolvePrototype) const;
    QScriptValue property(quint32 arrayIndex, const ResolveFlags& mode = ResolvePrototype) const;
    void setProperty(const QString& name, const QScriptValue& value,
                     const PropertyFlags& flags = KeepExistingFlags);
    void setProperty(quint32 arrayIndex, const QScriptValue& value,
                     const PropertyFlags& flags = KeepExistingFlags);
    PropertyFlags propertyFlags(const QString& name, const ResolveFlags& mode = ResolvePrototype) const;

    // A hidden value attached to an object or function; invisible to scripts.
    QScriptValue data() const;
    void setData(const QScriptValue& data);

    QScriptValue call(const QScriptValue& thisObject = QScriptValue(),
                      const QScriptValueList& args = QScriptValueList()) const;
    QScriptValue construct(const QScriptValueList& args = QScriptValueList()) const;

private:
    friend class QScriptValuePrivate;
    explicit QScriptValue(std::shared_ptr<const QScriptValuePrivate> d);
    std::shared_ptr<const QScriptValuePrivate> d;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(QScriptValue::ResolveFlags)
Q_DECLARE_OPERATORS_FOR_FLAGS(QScriptValue::PropertyFlags)
Q_DECLARE_METATYPE(QScriptValue)
