#include "valueconverter.h"

#include "qscriptengine_p.h"

#include <QDateTime>
#include <QJSValueIterator>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int MaxDepth = 64;

// Whole numbers become ints, so that a script's 3 reaches C++ and Python as an integer (a Python
// range(n) refuses a float); everything else stays a double.
QVariant numberToVariant(double number)
{
    const bool whole = std::trunc(number) == number && !(number == 0 && std::signbit(number));
    if (whole && number >= std::numeric_limits<int>::min() && number <= std::numeric_limits<int>::max())
        return QVariant(int(number));
    return QVariant(number);
}

bool isNumeric(int id)
{
    switch (id) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong:
    case QMetaType::ULongLong: case QMetaType::Double: case QMetaType::Float:
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::Long: case QMetaType::ULong:
    case QMetaType::Char: case QMetaType::SChar: case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

bool isQObjectPointer(QMetaType type)
{
    return type.flags().testFlag(QMetaType::PointerToQObject);
}

void assign(QMetaType type, void* data, const void* source)
{
    type.destruct(data);
    type.construct(data, source);
}

} // namespace

QJSValue ValueConverter::toScript(QMetaType type, const void* data)
{
    const int id = type.id();
    if (const auto* custom = m_engine.customType(id); custom && custom->marshal)
        return QScriptValuePrivate::js(custom->marshal(m_engine.q, data));
    if (id == QMetaType::Void || !type.isValid())
        return QJSValue();
    if (id == qMetaTypeId<QScriptValue>())
        return QScriptValuePrivate::js(*static_cast<const QScriptValue*>(data));
    if (id == qMetaTypeId<QJSValue>())
        return *static_cast<const QJSValue*>(data);
    if (id == QMetaType::QVariant)
        return toScript(*static_cast<const QVariant*>(data));
    if (isQObjectPointer(type))
        return m_engine.wrapQObject(*static_cast<QObject* const*>(data), QScriptEngine::QtOwnership, true);
    return toScript(QVariant(type, data));
}

QJSValue ValueConverter::toScript(const QVariant& value)
{
    const QMetaType type = value.metaType();
    const int id = type.id();
    if (!value.isValid())
        return QJSValue();
    if (id == QMetaType::Bool)
        return QJSValue(value.toBool());
    if (isNumeric(id))
        return QJSValue(value.toDouble());
    if (id == QMetaType::QString || id == QMetaType::QChar)
        return QJSValue(value.toString());
    if (id == QMetaType::Nullptr)
        return QJSValue(QJSValue::NullValue);
    if (id == QMetaType::QVariantList || id == QMetaType::QStringList)
        return listToScript(value.toList());
    if (id == QMetaType::QVariantMap || id == QMetaType::QVariantHash)
        return mapToScript(value.toMap());
    if (id == QMetaType::QDateTime || id == QMetaType::QDate || id == QMetaType::QTime
        || id == QMetaType::QRegularExpression || id == QMetaType::QUrl)
        return m_engine.js.toScriptValue(value);
    if (m_engine.customType(id) || id == qMetaTypeId<QScriptValue>() || id == qMetaTypeId<QJSValue>()
        || isQObjectPointer(type))
        return toScript(type, value.constData());
    return m_engine.newVariant(value);
}

QJSValue ValueConverter::listToScript(const QVariantList& list)
{
    QJSValue array = m_engine.js.newArray(uint(list.size()));
    for (qsizetype i = 0; i < list.size(); ++i)
        array.setProperty(quint32(i), toScript(list.at(i)));
    return array;
}

QJSValue ValueConverter::mapToScript(const QVariantMap& map)
{
    QJSValue object = m_engine.js.newObject();
    for (auto it = map.constBegin(); it != map.constEnd(); ++it)
        object.setProperty(it.key(), toScript(it.value()));
    return object;
}

QVariant ValueConverter::toVariant(const QJSValue& value)
{
    QList<QJSValue> ancestors;
    return toVariant(value, ancestors);
}

QVariant ValueConverter::toVariant(const QJSValue& value, QList<QJSValue>& ancestors)
{
    if (value.isUndefined() || value.isNull())
        return QVariant();
    if (value.isBool())
        return QVariant(value.toBool());
    if (value.isNumber())
        return numberToVariant(value.toNumber());
    if (value.isString())
        return QVariant(value.toString());
    if (!value.isObject())
        return QVariant();
    if (value.isQObject())
        return QVariant::fromValue(value.toQObject());
    if (const QJSValue inner = m_engine.unwrap(value); inner.isQObject())
        return QVariant::fromValue(inner.toQObject());
    else if (!inner.isUndefined())
        return m_engine.variantOfBox(inner);
    if (value.isDate() || value.isRegExp())
        return value.toVariant();
    const bool repeated = std::any_of(ancestors.cbegin(), ancestors.cend(),
                                      [&value](const QJSValue& ancestor) { return ancestor.strictlyEquals(value); });
    if (repeated || ancestors.size() > MaxDepth)
        return QVariant();
    ancestors.append(value);
    const QVariant result = containerToVariant(value, ancestors);
    ancestors.removeLast();
    return result;
}

QVariant ValueConverter::containerToVariant(const QJSValue& value, QList<QJSValue>& ancestors)
{
    if (value.isArray()) {
        QVariantList list;
        const quint32 length = value.property(QStringLiteral("length")).toUInt();
        for (quint32 i = 0; i < length; ++i)
            list.append(toVariant(value.property(i), ancestors));
        return list;
    }
    QVariantMap map;
    QJSValueIterator it(value);
    while (it.hasNext()) {
        it.next();
        map.insert(it.name(), toVariant(it.value(), ancestors));
    }
    return map;
}

int ValueConverter::fit(const QJSValue& value, QMetaType type)
{
    const int id = type.id();
    if (m_engine.customType(id))
        return 1;
    if (id == qMetaTypeId<QScriptValue>() || id == qMetaTypeId<QJSValue>() || id == QMetaType::QVariant)
        return 2;
    if (isQObjectPointer(type)) {
        if (value.isNull() || value.isUndefined())
            return 1;
        QObject* object = m_engine.toQObject(value);
        if (!object || !object->metaObject()->inherits(type.metaObject()))
            return NoMatch;
        return object->metaObject() == type.metaObject() ? 0 : 1;
    }
    return fitBuiltin(value, type);
}

int ValueConverter::fitBuiltin(const QJSValue& value, QMetaType type)
{
    const int id = type.id();
    if (isNumeric(id)) {
        if (value.isNumber())
            return (id == QMetaType::Double || value.toNumber() == value.toInt()) ? 0 : 1;
        return value.isBool() ? 2 : (value.isString() ? 4 : NoMatch);
    }
    if (id == QMetaType::Bool)
        return value.isBool() ? 0 : (value.isNumber() ? 2 : 3);
    if (id == QMetaType::QString)
        return value.isString() ? 0 : (value.isNumber() || value.isBool() ? 2 : 4);
    if (id == QMetaType::QVariantList || id == QMetaType::QStringList)
        return value.isArray() ? 0 : NoMatch;
    if (id == QMetaType::QVariantMap || id == QMetaType::QVariantHash)
        return value.isObject() && !value.isArray() ? 1 : NoMatch;
    const QVariant variant = toVariant(value);
    if (variant.metaType() == type)
        return 0;
    return QMetaType::canConvert(variant.metaType(), type) ? 3 : NoMatch;
}

bool ValueConverter::convert(const QJSValue& value, QMetaType type, void* data)
{
    const int id = type.id();
    if (const auto* custom = m_engine.customType(id); custom && custom->demarshal) {
        custom->demarshal(m_engine.wrap(value), data);
        return true;
    }
    if (id == qMetaTypeId<QScriptValue>()) {
        *static_cast<QScriptValue*>(data) = m_engine.wrap(value);
        return true;
    }
    if (id == qMetaTypeId<QJSValue>()) {
        *static_cast<QJSValue*>(data) = value;
        return true;
    }
    if (id == QMetaType::QVariant) {
        *static_cast<QVariant*>(data) = toVariant(value);
        return true;
    }
    if (isQObjectPointer(type)) {
        QObject* object = m_engine.toQObject(value);
        const bool fits = !object || object->metaObject()->inherits(type.metaObject());
        *static_cast<QObject**>(data) = fits ? object : nullptr;
        return fits;
    }
    if (id == QMetaType::QString) {
        *static_cast<QString*>(data) = value.isUndefined() || value.isNull() ? QString() : value.toString();
        return true;
    }
    QVariant variant = toVariant(value);
    if (variant.metaType() != type && !variant.convert(type))
        return false;
    assign(type, data, variant.constData());
    return true;
}
