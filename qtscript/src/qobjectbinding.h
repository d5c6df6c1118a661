#pragma once

#include <QJSValue>
#include <QObject>

class QScriptEnginePrivate;

// The C++ end of runtime.js: QObject proxies and native functions call these. Failures become
// script exceptions.
class QObjectBinding : public QObject
{
    Q_OBJECT
public:
    explicit QObjectBinding(QScriptEnginePrivate& engine) : m_engine(engine) {}

    Q_INVOKABLE QJSValue invoke(const QJSValue& target, int classId, int group, const QJSValue& args);
    Q_INVOKABLE QJSValue readProperty(const QJSValue& target, int index);
    Q_INVOKABLE void writeProperty(const QJSValue& target, int index, const QJSValue& value);
    Q_INVOKABLE bool hasExtra(const QJSValue& target, const QString& name);
    Q_INVOKABLE QJSValue readExtra(const QJSValue& target, const QString& name);
    // Writes an existing dynamic property, or creates one when create is set; false when the
    // name belongs to the script side instead.
    Q_INVOKABLE bool writeExtra(const QJSValue& target, const QString& name, const QJSValue& value, bool create);
    Q_INVOKABLE bool deleteExtra(const QJSValue& target, const QString& name);
    Q_INVOKABLE QJSValue keys(const QJSValue& target, int classId);
    Q_INVOKABLE QJSValue callNative(int id, const QJSValue& callee, const QJSValue& thisObject,
                                    const QJSValue& args, bool asConstructor);

private:
    // The live QObject behind a proxy target; throws and gives null when it was deleted.
    QObject* objectOf(const QJSValue& target, const QString& member);
    QJSValue fail(const QString& message);

    QScriptEnginePrivate& m_engine;
};
