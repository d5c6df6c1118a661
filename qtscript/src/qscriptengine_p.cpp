#include "qscriptengine_p.h"

#include "qobjectbinding.h"

#include <QFile>

namespace {

// Carries an arbitrary QVariant through the script engine untouched.
const QString RuntimeFileName = QStringLiteral(":/qtscript/runtime.js");

struct VariantBox
{
    QVariant value;
};

} // namespace

Q_DECLARE_METATYPE(VariantBox)

QScriptEnginePrivate::QScriptEnginePrivate(QScriptEngine* q)
    : q(q), converter(*this), binding(new QObjectBinding(*this))
{
    QFile source(RuntimeFileName);
    source.open(QIODevice::ReadOnly);
    QJSEngine::setObjectOwnership(binding, QJSEngine::CppOwnership);
    const QJSValue factory = js.evaluate(QString::fromUtf8(source.readAll()), RuntimeFileName);
    runtime = factory.call({js.newQObject(binding)});
    m_wrap = runtime.property(QStringLiteral("wrap"));
    m_qobjectOf = runtime.property(QStringLiteral("qobjectOf"));
    m_variantOf = runtime.property(QStringLiteral("variantOf"));
    m_unwrap = runtime.property(QStringLiteral("unwrap"));
    m_dataOf = runtime.property(QStringLiteral("dataOf"));
    m_noData = runtime.property(QStringLiteral("noData"));
    m_makeVariant = runtime.property(QStringLiteral("makeVariant"));
}

QScriptEnginePrivate::~QScriptEnginePrivate()
{
    delete binding;
}

QScriptEnginePrivate* QScriptEnginePrivate::of(const QScriptValue& value)
{
    const QScriptValuePrivate* d = QScriptValuePrivate::get(value);
    return d && d->engine ? get(d->engine) : nullptr;
}

QJSValue QScriptEnginePrivate::helper(const char* name, const QJSValueList& args)
{
    // Looked up once per name: calls from C++ into the runtime are frequent.
    const QByteArray key = QByteArray::fromRawData(name, int(qstrlen(name)));
    auto it = m_helpers.constFind(key);
    if (it == m_helpers.constEnd())
        it = m_helpers.insert(QByteArray(name), runtime.property(QLatin1String(name)));
    return it->call(args);
}

QJSValue QScriptEnginePrivate::newArray(const QJSValueList& items)
{
    QJSValue array = js.newArray(uint(items.size()));
    for (qsizetype i = 0; i < items.size(); ++i)
        array.setProperty(quint32(i), items.at(i));
    return array;
}

QJSValue QScriptEnginePrivate::wrapQObject(QObject* object, QScriptEngine::ValueOwnership ownership,
                                           bool keepOwnership, QScriptEngine::QObjectWrapOptions options)
{
    if (!object)
        return QJSValue(QJSValue::NullValue);
    // QJSEngine gives parentless objects to the script side unless told otherwise.
    const QJSEngine::ObjectOwnership before = QJSEngine::objectOwnership(object);
    const QJSValue wrapper = js.newQObject(object);
    if (keepOwnership)
        QJSEngine::setObjectOwnership(object, before);
    else
        QJSEngine::setObjectOwnership(object, ownership == QScriptEngine::QtOwnership
                                                  ? QJSEngine::CppOwnership
                                                  : QJSEngine::JavaScriptOwnership);
    const int classId = classIdFor(object->metaObject());
    const bool autoCreate = options.testFlag(QScriptEngine::AutoCreateDynamicProperties);
    return m_wrap.call({wrapper, m_handlers.at(classId), autoCreate});
}

QObject* QScriptEnginePrivate::toQObject(const QJSValue& value, bool* isQObject)
{
    QJSValue wrapper = value;
    if (!value.isQObject())
        wrapper = value.isObject() ? m_qobjectOf.call({value}) : QJSValue();
    if (isQObject)
        *isQObject = wrapper.isQObject();
    return wrapper.toQObject();
}

QJSValue QScriptEnginePrivate::newVariant(const QVariant& value)
{
    const QJSValue box = js.toScriptValue(VariantBox{value});
    const int id = value.metaType().id();
    const bool primitive = id == QMetaType::Bool || id == QMetaType::QString
                        || (value.canConvert<double>() && id != QMetaType::QVariantList
                            && id != QMetaType::QStringList && id < QMetaType::User);
    // Any other type as a number: the converter would box it (a byte array, say) and come back
    // here without end.
    const bool converted = id == QMetaType::Bool || id == QMetaType::QString || id == QMetaType::QChar;
    const QJSValue primitiveValue = !primitive ? QJSValue() : converted ? converter.toScript(value) : QJSValue(value.toDouble());
    return m_makeVariant.call({box, primitiveValue});
}

bool QScriptEnginePrivate::isVariant(const QJSValue& value)
{
    return value.isObject() && !m_variantOf.call({value}).isUndefined();
}

QVariant QScriptEnginePrivate::variantOfBox(const QJSValue& box)
{
    return js.fromScriptValue<VariantBox>(box).value;
}

bool QScriptEnginePrivate::dataOf(const QJSValue& object, QJSValue* data)
{
    *data = m_dataOf.call({object});
    return !data->strictlyEquals(m_noData);
}

QJSValue QScriptEnginePrivate::call(const QJSValue& function, const QJSValue& thisObject,
                                    const QJSValueList& args)
{
    const QJSValue outcome = helper("call", {function, thisObject, newArray(args)});
    const QJSValue result = outcome.property(1);
    if (!outcome.property(0).toBool())
        setException(result);
    return result;
}

QJSValue QScriptEnginePrivate::construct(const QJSValue& function, const QJSValueList& args)
{
    const QJSValue outcome = helper("construct", {function, newArray(args)});
    const QJSValue result = outcome.property(1);
    if (!outcome.property(0).toBool())
        setException(result);
    return result;
}

void QScriptEnginePrivate::setException(const QJSValue& value, const QStringList& trace)
{
    hasException = true;
    exception = value;
    exceptionTrace = trace;
    exceptionLine = value.isError() ? value.property(QStringLiteral("lineNumber")).toInt() : -1;
    // Frames read "function:line:column:file"; the innermost one outside runtime.js is the
    // script line that failed (errors thrown by C++ helpers carry a runtime.js line).
    for (const QString& frame : trace) {
        if (!frame.endsWith(RuntimeFileName)) {
            exceptionLine = frame.section(QLatin1Char(':'), 1, 1).toInt();
            break;
        }
    }
}

int QScriptEnginePrivate::classIdFor(const QMetaObject* metaObject)
{
    auto it = m_classIds.constFind(metaObject);
    if (it != m_classIds.constEnd())
        return it.value();
    const int classId = int(m_tables.size());
    m_tables.push_back(std::make_unique<MetaClassTable>(metaObject));
    const MetaClassTable& table = *m_tables.back();
    QJSValue methods = helper("dict", {});
    const QJSValue makeMethod = runtime.property(QStringLiteral("makeMethod"));
    const QJSValue makeDirectMethod = runtime.property(QStringLiteral("makeDirectMethod"));
    for (auto group = table.groupByName().constBegin(); group != table.groupByName().constEnd(); ++group) {
        const quint32 counts = table.directCallCounts(group.value());
        methods.setProperty(group.key(), counts ? makeDirectMethod.call({classId, group.value(), group.key(), counts})
                                                : makeMethod.call({classId, group.value()}));
    }
    QJSValue properties = helper("dict", {});
    for (auto prop = table.propertyByName().constBegin(); prop != table.propertyByName().constEnd(); ++prop)
        properties.setProperty(prop.key(), prop.value());
    QJSValue signalSet = helper("dict", {});
    for (const QString& name : table.signalNames())
        signalSet.setProperty(name, true);
    m_handlers.append(helper("makeHandler", {classId, methods, properties, signalSet}));
    m_classIds.insert(metaObject, classId);
    return classId;
}

const QScriptEnginePrivate::CustomType* QScriptEnginePrivate::customType(int type) const
{
    if (customTypes.isEmpty())
        return nullptr;
    auto it = customTypes.constFind(type);
    return it == customTypes.constEnd() ? nullptr : &it.value();
}
