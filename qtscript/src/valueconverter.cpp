#include "valueconverter.h"

#include "qscriptcontext.h"
#include "qscriptengine_p.h"

#include <QDateTime>
#include <QJSValueIterator>
#include <QRegularExpression>
#include <QUrl>

#include <cmath>
#include <limits>

namespace {

constexpr int MaxDepth = 64;
// What the runtime's seenIndex answers for an object not met before, and for bytes.
constexpr int NewObject = -1;
constexpr int ArrayBufferObject = -2;

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

// What copies of one variant list or map share; null for other values and for empty
// containers, which share no data.
const void* sharedData(const QVariant& value)
{
    if (value.metaType().id() == QMetaType::QVariantList) {
        const auto& list = *static_cast<const QVariantList*>(value.constData());
        return list.isEmpty() ? nullptr : list.constData();
    }
    if (value.metaType().id() == QMetaType::QVariantMap) {
        const auto& map = *static_cast<const QVariantMap*>(value.constData());
        return map.isEmpty() ? nullptr : &map.constBegin().value();
    }
    return nullptr;
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
    if (const void* shared = sharedData(value))
        return sharedToScript(value, shared);
    if (id == QMetaType::QByteArray)
        return m_engine.js.toScriptValue(value.toByteArray()); // an ArrayBuffer
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

QJSValue ValueConverter::sharedToScript(const QVariant& value, const void* shared)
{
    const auto done = m_scriptForData.constFind(shared);
    if (done != m_scriptForData.cend())
        return *done;
    ++m_toScriptDepth;
    const QJSValue result = value.metaType().id() == QMetaType::QVariantList ? listToScript(value.toList())
                                                                              : mapToScript(value.toMap());
    m_scriptForData.insert(shared, result);
    if (--m_toScriptDepth == 0)
        m_scriptForData.clear();
    return result;
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
    ToVariantWalk walk;
    const QVariant result = toVariant(value, walk);
    return walk.exceeded ? QVariant() : result;
}

QVariant ValueConverter::toVariant(const QJSValue& value, ToVariantWalk& walk)
{
    if (value.isUndefined() || value.isNull())
        return QVariant();
    if (value.isBool())
        return QVariant(value.toBool());
    if (value.isNumber())
        return numberToVariant(value.toNumber());
    if (value.isString()) {
        const QString text = value.toString();
        return spend(walk, 0, text.size()) ? QVariant(text) : QVariant();
    }
    if (!value.isObject())
        return QVariant();
    return objectToVariant(value, walk);
}

QVariant ValueConverter::objectToVariant(const QJSValue& value, ToVariantWalk& walk)
{
    if (value.isQObject())
        return QVariant::fromValue(value.toQObject());
    if (const QJSValue inner = m_engine.unwrap(value); inner.isQObject())
        return QVariant::fromValue(inner.toQObject());
    else if (!inner.isUndefined())
        return m_engine.variantOfBox(inner);
    if (value.isDate() || value.isRegExp())
        return value.toVariant();
    if (walk.seen.isUndefined())
        walk.seen = m_engine.helper("newMap", {});
    const qsizetype next = walk.converted.size();
    const int index = m_engine.helper("seenIndex", {walk.seen, value, int(next)}).toInt();
    if (index == ArrayBufferObject) {
        const QByteArray bytes = m_engine.js.fromScriptValue<QByteArray>(value);
        return spend(walk, 0, bytes.size()) ? QVariant(bytes) : QVariant();
    }
    if (index != NewObject)
        return walk.converted.at(index);
    walk.converted.append(QVariant());
    if (walk.depth > MaxDepth)
        return QVariant();
    ++walk.depth;
    const QVariant result = containerToVariant(value, walk);
    --walk.depth;
    walk.converted[next] = result;
    return result;
}

QVariant ValueConverter::containerToVariant(const QJSValue& value, ToVariantWalk& walk)
{
    if (value.isArray()) {
        const quint32 length = value.property(QStringLiteral("length")).toUInt();
        if (!spend(walk, length, 0))
            return QVariant();
        QVariantList list;
        list.reserve(length);
        for (quint32 i = 0; i < length && !walk.exceeded; ++i)
            list.append(toVariant(value.property(i), walk));
        return list;
    }
    QVariantMap map;
    QJSValueIterator it(value);
    while (it.hasNext() && spend(walk, 1, 0)) {
        it.next();
        map.insert(it.name(), toVariant(it.value(), walk));
    }
    return map;
}

bool ValueConverter::spend(ToVariantWalk& walk, qsizetype elements, qsizetype textSize)
{
    if (walk.exceeded)
        return false;
    walk.elements += elements;
    walk.textSize += textSize;
    if (walk.elements <= MaxElements && walk.textSize <= MaxTextSize)
        return true;
    walk.exceeded = true;
    const QString message = QStringLiteral("value too large to convert: more than %1 elements or %2 characters "
                                           "of text in all")
                                .arg(MaxElements)
                                .arg(MaxTextSize);
    // Inside a native function the error waits for its return, and the function sees it in its
    // context's state; elsewhere it is the script engine's pending error.
    if (!m_engine.contexts.isEmpty())
        m_engine.contexts.last()->throwError(QScriptContext::RangeError, message);
    else
        m_engine.js.throwError(QJSValue::RangeError, message);
    return false;
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
