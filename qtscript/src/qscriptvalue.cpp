#include "qscriptvalue.h"

#include "qscriptengine_p.h"

namespace {

QScriptValue primitive(QJSValue value)
{
    return QScriptValuePrivate::make(std::move(value), nullptr);
}

QJSValueList toScriptList(const QScriptValueList& values)
{
    QJSValueList list;
    list.reserve(values.size());
    for (const QScriptValue& value : values)
        list.append(QScriptValuePrivate::js(value));
    return list;
}

} // namespace

QScriptValue::QScriptValue() = default;
QScriptValue::QScriptValue(std::shared_ptr<const QScriptValuePrivate> d) : d(std::move(d)) {}
QScriptValue::QScriptValue(SpecialValue value)
    : QScriptValue(primitive(value == NullValue ? QJSValue(QJSValue::NullValue) : QJSValue()))
{
}
QScriptValue::QScriptValue(bool value) : QScriptValue(primitive(QJSValue(value))) {}
QScriptValue::QScriptValue(int value) : QScriptValue(primitive(QJSValue(value))) {}
QScriptValue::QScriptValue(uint value) : QScriptValue(primitive(QJSValue(value))) {}
QScriptValue::QScriptValue(qsreal value) : QScriptValue(primitive(QJSValue(value))) {}
QScriptValue::QScriptValue(const QString& value) : QScriptValue(primitive(QJSValue(value))) {}
QScriptValue::QScriptValue(const QLatin1String& value) : QScriptValue(primitive(QJSValue(value))) {}
QScriptValue::QScriptValue(const char* value)
    : QScriptValue(primitive(QJSValue(QString::fromUtf8(value))))
{
}
QScriptValue::QScriptValue(const QScriptValue& other) = default;
QScriptValue::QScriptValue(QScriptValue&& other) noexcept = default;
QScriptValue::~QScriptValue() = default;
QScriptValue& QScriptValue::operator=(const QScriptValue& other) = default;
QScriptValue& QScriptValue::operator=(QScriptValue&& other) noexcept = default;

QScriptEngine* QScriptValue::engine() const
{
    const QScriptValuePrivate* p = QScriptValuePrivate::get(*this);
    return p ? p->engine.data() : nullptr;
}

bool QScriptValue::isValid() const { return QScriptValuePrivate::get(*this) != nullptr; }
bool QScriptValue::isBool() const { return isValid() && QScriptValuePrivate::js(*this).isBool(); }
bool QScriptValue::isBoolean() const { return isBool(); }
bool QScriptValue::isNumber() const { return isValid() && QScriptValuePrivate::js(*this).isNumber(); }
bool QScriptValue::isString() const { return isValid() && QScriptValuePrivate::js(*this).isString(); }
bool QScriptValue::isNull() const { return isValid() && QScriptValuePrivate::js(*this).isNull(); }
bool QScriptValue::isUndefined() const
{
    return isValid() && QScriptValuePrivate::js(*this).isUndefined();
}
bool QScriptValue::isObject() const { return isValid() && QScriptValuePrivate::js(*this).isObject(); }
bool QScriptValue::isFunction() const
{
    return isValid() && QScriptValuePrivate::js(*this).isCallable();
}
bool QScriptValue::isArray() const { return isValid() && QScriptValuePrivate::js(*this).isArray(); }
bool QScriptValue::isError() const { return isValid() && QScriptValuePrivate::js(*this).isError(); }
bool QScriptValue::isDate() const { return isValid() && QScriptValuePrivate::js(*this).isDate(); }
bool QScriptValue::isRegExp() const { return isValid() && QScriptValuePrivate::js(*this).isRegExp(); }

bool QScriptValue::isVariant() const
{
    QScriptEnginePrivate* e = QScriptEnginePrivate::of(*this);
    return e && e->isVariant(QScriptValuePrivate::js(*this));
}

bool QScriptValue::isQObject() const
{
    QScriptEnginePrivate* e = QScriptEnginePrivate::of(*this);
    bool result = false;
    if (e && isObject())
        e->toQObject(QScriptValuePrivate::js(*this), &result);
    return result;
}

QString QScriptValue::toString() const
{
    return isValid() ? QScriptValuePrivate::js(*this).toString() : QString();
}

qsreal QScriptValue::toNumber() const
{
    return isValid() ? QScriptValuePrivate::js(*this).toNumber() : qQNaN();
}

bool QScriptValue::toBool() const { return isValid() && QScriptValuePrivate::js(*this).toBool(); }
bool QScriptValue::toBoolean() const { return toBool(); }

qsreal QScriptValue::toInteger() const
{
    const qsreal n = toNumber();
    return qIsNaN(n) ? 0 : (qIsInf(n) ? n : std::trunc(n));
}

qint32 QScriptValue::toInt32() const { return isValid() ? QScriptValuePrivate::js(*this).toInt() : 0; }
quint32 QScriptValue::toUInt32() const
{
    return isValid() ? QScriptValuePrivate::js(*this).toUInt() : 0;
}
quint16 QScriptValue::toUInt16() const { return quint16(toUInt32()); }

QVariant QScriptValue::toVariant() const
{
    const QScriptValuePrivate* p = QScriptValuePrivate::get(*this);
    if (!p)
        return QVariant();
    if (QScriptEnginePrivate* e = QScriptEnginePrivate::of(*this))
        return e->converter.toVariant(p->value);
    return p->value.toVariant();
}

QObject* QScriptValue::toQObject() const
{
    QScriptEnginePrivate* e = QScriptEnginePrivate::of(*this);
    return e && isObject() ? e->toQObject(QScriptValuePrivate::js(*this)) : nullptr;
}

bool QScriptValue::equals(const QScriptValue& other) const
{
    if (!isValid() || !other.isValid())
        return isValid() == other.isValid();
    QScriptEnginePrivate* e = QScriptEnginePrivate::of(*this);
    if (!e)
        e = QScriptEnginePrivate::of(other);
    if (!e)
        return QScriptValuePrivate::js(*this).equals(QScriptValuePrivate::js(other));
    return e->helper("looseEquals", {QScriptValuePrivate::js(*this), QScriptValuePrivate::js(other)})
        .toBool();
}

bool QScriptValue::strictlyEquals(const QScriptValue& other) const
{
    if (!isValid() || !other.isValid())
        return isValid() == other.isValid();
    return QScriptValuePrivate::js(*this).strictlyEquals(QScriptValuePrivate::js(other));
}

QScriptValue QScriptValue::prototype() const
{
    QScriptEnginePrivate* e = QScriptEnginePrivate::of(*this);
    return e && isObject() ? e->wrap(QScriptValuePrivate::js(*this).prototype()) : QScriptValue();
}

void QScriptValue::setPrototype(const QScriptValue& prototype)
{
    if (isObject() && prototype.isValid())
        QScriptValuePrivate::js(*this).setPrototype(QScriptValuePrivate::js(prototype));
}

QScriptValue QScriptValue::property(const QString& name, const ResolveFlags& mode) const
{
    QScriptEnginePrivate* e = QScriptEnginePrivate::of(*this);
    if (!e || !isObject())
        return QScriptValue();
    const QJSValue object = QScriptValuePrivate::js(*this);
    const char* test = mode.testFlag(ResolvePrototype) ? "has" : "hasOwn";
    if (!e->helper(test, {object, name}).toBool())
        return QScriptValue();
    return e->wrap(object.property(name));
}

QScriptValue QScriptValue::property(quint32 arrayIndex, const ResolveFlags& mode) const
{
    return property(QString::number(arrayIndex), mode);
}

void QScriptValue::setProperty(const QString& name, const QScriptValue& value, const PropertyFlags& flags)
{
    QScriptEnginePrivate* e = QScriptEnginePrivate::of(*this);
    if (!e || !isObject())
        return;
    const QJSValue object = QScriptValuePrivate::js(*this);
    if (!value.isValid()) {
        e->helper("remove", {object, name});
        return;
    }
    const QJSValue v = QScriptValuePrivate::js(value);
    if (flags.testFlag(PropertyGetter) || flags.testFlag(PropertySetter))
        e->helper("defineAccessor", {object, name, v, flags.testFlag(PropertyGetter)});
    else if (flags.testFlag(KeepExistingFlags))
        QJSValue(object).setProperty(name, v);
    else
        e->helper("define", {object, name, v, !flags.testFlag(ReadOnly),
                             !flags.testFlag(SkipInEnumeration), !flags.testFlag(Undeletable)});
}

void QScriptValue::setProperty(quint32 arrayIndex, const QScriptValue& value, const PropertyFlags& flags)
{
    setProperty(QString::number(arrayIndex), value, flags);
}

QScriptValue::PropertyFlags QScriptValue::propertyFlags(const QString& name, const ResolveFlags& mode) const
{
    QScriptEnginePrivate* e = QScriptEnginePrivate::of(*this);
    if (!e || !isObject())
        return {};
    const QJSValue object = QScriptValuePrivate::js(*this);
    if (!mode.testFlag(ResolvePrototype) && !e->helper("hasOwn", {object, name}).toBool())
        return {};
    const QJSValue descriptor = e->helper("descriptor", {object, name});
    if (!descriptor.isObject())
        return {};
    PropertyFlags result;
    if (descriptor.hasProperty(QStringLiteral("get")) || descriptor.hasProperty(QStringLiteral("set"))) {
        result |= descriptor.property(QStringLiteral("get")).isCallable() ? PropertyGetter : PropertyFlags();
        result |= descriptor.property(QStringLiteral("set")).isCallable() ? PropertySetter : PropertyFlags();
    } else if (!descriptor.property(QStringLiteral("writable")).toBool()) {
        result |= ReadOnly;
    }
    if (!descriptor.property(QStringLiteral("enumerable")).toBool())
        result |= SkipInEnumeration;
    if (!descriptor.property(QStringLiteral("configurable")).toBool())
        result |= Undeletable;
    return result;
}

QScriptValue QScriptValue::data() const
{
    QScriptEnginePrivate* e = QScriptEnginePrivate::of(*this);
    if (!e || !isObject())
        return QScriptValue();
    QJSValue data;
    return e->dataOf(QScriptValuePrivate::js(*this), &data) ? e->wrap(data) : QScriptValue();
}

void QScriptValue::setData(const QScriptValue& data)
{
    QScriptEnginePrivate* e = QScriptEnginePrivate::of(*this);
    if (!e || !isObject())
        return;
    const QJSValue object = QScriptValuePrivate::js(*this);
    if (data.isValid())
        e->helper("setData", {object, QScriptValuePrivate::js(data)});
    else
        e->helper("clearData", {object});
}

QScriptValue QScriptValue::call(const QScriptValue& thisObject, const QScriptValueList& args) const
{
    QScriptEnginePrivate* e = QScriptEnginePrivate::of(*this);
    if (!e || !isFunction())
        return QScriptValue();
    const QJSValue self = thisObject.isObject() ? QScriptValuePrivate::js(thisObject) : e->js.globalObject();
    return e->wrap(e->call(QScriptValuePrivate::js(*this), self, toScriptList(args)));
}

QScriptValue QScriptValue::construct(const QScriptValueList& args) const
{
    QScriptEnginePrivate* e = QScriptEnginePrivate::of(*this);
    if (!e || !isFunction())
        return QScriptValue();
    return e->wrap(e->construct(QScriptValuePrivate::js(*this), toScriptList(args)));
}
