#pragma once

#include <QObject>
#include <QScriptValue>
#include <QVariant>

// A QObject seen from script, with overloads, default arguments and the value types a bridge uses.
class Calculator : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int total READ total WRITE setTotal NOTIFY totalChanged)
    Q_PROPERTY(QString label READ label)
public:
    using QObject::QObject;
    int total() const { return m_total; }
    void setTotal(int total) { m_total = total; emit totalChanged(total); }
    QString label() const { return QStringLiteral("calc"); }

    Q_INVOKABLE QString describe(const QString& text, int times = 1) const
    {
        return text.repeated(times);
    }

public slots:
    QString kind(int) { return QStringLiteral("int"); }
    QString kind(const QString&) { return QStringLiteral("string"); }
    QString kind(QObject*) { return QStringLiteral("object"); }
    QString kind(int, int) { return QStringLiteral("two"); }
    bool accept(const QString& name, const QScriptValue& value)
    {
        m_lastName = name;
        m_lastValue = value;
        return value.isValid() && !value.isUndefined();
    }
    QScriptValue lastValue() const { return m_lastValue; }
    QVariant echoVariant(const QVariant& v) { return v; }
    QVariantList reverse(const QVariantList& list)
    {
        return QVariantList(list.crbegin(), list.crend());
    }
    QVariantMap keys(const QVariantMap& map) { return {{"count", map.size()}}; }
    double add(double a, double b) { return a + b; }
    Calculator* makeChild(const QString& name)
    {
        auto* child = new Calculator(this);
        child->setObjectName(name);
        return child;
    }
    QObject* orphan() { return m_orphan; }
    void setOrphan(QObject* o) { m_orphan = o; }

signals:
    void totalChanged(int total);

public:
    QString m_lastName;
    QScriptValue m_lastValue;
    QObject* m_orphan = nullptr;

private:
    int m_total = 0;
};
