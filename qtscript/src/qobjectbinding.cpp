#include "qobjectbinding.h"

#include "methodcall.h"
#include "qscriptcontext_p.h"
#include "qscriptengine_p.h"

#include <QMetaProperty>

QObject* QObjectBinding::objectOf(const QJSValue& target, const QString& member)
{
    QObject* object = target.toQObject();
    if (!object)
        fail(QStringLiteral("cannot access member '%1' of a deleted QObject").arg(member));
    return object;
}

QJSValue QObjectBinding::fail(const QString& message)
{
    m_engine.js.throwError(QJSValue::TypeError, message);
    return QJSValue();
}

QJSValue QObjectBinding::invoke(const QJSValue& target, int classId, int group, const QJSValue& args)
{
    const MetaClassTable& table = m_engine.table(classId);
    const QString name = table.groupName(group);
    if (target.isUndefined())
        return fail(QStringLiteral("%1() must be called on a QObject").arg(name));
    QObject* object = objectOf(target, name);
    if (!object)
        return QJSValue();
    MethodCall call(m_engine, table.groups().at(group), args);
    if (!call.resolve())
        return fail(QStringLiteral("%1::%2(): %3")
                        .arg(QString::fromLatin1(object->metaObject()->className()), name, call.error()));
    return call.invoke(object);
}

QJSValue QObjectBinding::readProperty(const QJSValue& target, int index)
{
    QObject* object = objectOf(target, QStringLiteral("property"));
    if (!object)
        return QJSValue();
    const QMetaProperty property = object->metaObject()->property(index);
    const QVariant value = property.read(object);
    return m_engine.converter.toScript(property.metaType(), value.constData());
}

void QObjectBinding::writeProperty(const QJSValue& target, int index, const QJSValue& value)
{
    QObject* object = target.toQObject();
    const QMetaProperty property = object ? object->metaObject()->property(index) : QMetaProperty();
    if (!objectOf(target, QString::fromLatin1(property.name())))
        return;
    if (!property.isWritable()) {
        fail(QStringLiteral("property '%1' is read-only").arg(QString::fromLatin1(property.name())));
        return;
    }
    QVariant converted(property.metaType());
    if (property.metaType().id() == QMetaType::QVariant)
        converted = m_engine.converter.toVariant(value);
    else if (!m_engine.converter.convert(value, property.metaType(), converted.data())) {
        fail(QStringLiteral("cannot assign %1 to property '%2' of type %3")
                 .arg(value.toString(), QString::fromLatin1(property.name()),
                      QString::fromLatin1(property.metaType().name())));
        return;
    }
    property.write(object, converted);
}

bool QObjectBinding::hasExtra(const QJSValue& target, const QString& name)
{
    QObject* object = target.toQObject();
    if (!object)
        return false;
    const QByteArray latin = name.toUtf8();
    return object->dynamicPropertyNames().contains(latin)
        || object->findChild<QObject*>(name, Qt::FindDirectChildrenOnly);
}

QJSValue QObjectBinding::readExtra(const QJSValue& target, const QString& name)
{
    QObject* object = objectOf(target, name);
    if (!object)
        return QJSValue();
    const QByteArray utf8 = name.toUtf8();
    if (object->dynamicPropertyNames().contains(utf8))
        return m_engine.converter.toScript(object->property(utf8.constData()));
    QObject* child = object->findChild<QObject*>(name, Qt::FindDirectChildrenOnly);
    return m_engine.wrapQObject(child, QScriptEngine::QtOwnership, true);
}

bool QObjectBinding::writeExtra(const QJSValue& target, const QString& name, const QJSValue& value, bool create)
{
    QObject* object = objectOf(target, name);
    const QByteArray utf8 = name.toUtf8();
    if (!object || !(create || object->dynamicPropertyNames().contains(utf8)))
        return false;
    object->setProperty(utf8.constData(), m_engine.converter.toVariant(value));
    return true;
}

bool QObjectBinding::deleteExtra(const QJSValue& target, const QString& name)
{
    QObject* object = objectOf(target, name);
    const QByteArray utf8 = name.toUtf8();
    if (!object || !object->dynamicPropertyNames().contains(utf8))
        return false;
    object->setProperty(utf8.constData(), QVariant());
    return true;
}

QJSValue QObjectBinding::keys(const QJSValue& target, int classId)
{
    QJSValueList names;
    for (const QString& name : m_engine.table(classId).propertyNames())
        names.append(name);
    if (QObject* object = target.toQObject()) {
        for (const QByteArray& name : object->dynamicPropertyNames())
            names.append(QString::fromUtf8(name));
    }
    return m_engine.newArray(names);
}

QJSValue QObjectBinding::callNative(int id, const QJSValue& callee, const QJSValue& thisObject,
                                    const QJSValue& args, bool asConstructor)
{
    const QScriptEnginePrivate::Native& native = m_engine.natives.at(size_t(id));
    QScriptContextPrivate context(m_engine, callee, thisObject, args, asConstructor);
    const QScriptValue result = context.run(native);
    if (context.hasThrown()) {
        m_engine.js.throwError(context.thrown());
        return QJSValue();
    }
    return QScriptValuePrivate::js(result);
}
