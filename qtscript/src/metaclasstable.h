#pragma once

#include <QHash>
#include <QList>
#include <QMetaMethod>
#include <QMetaType>
#include <QStringList>

// What scripts see of one QObject class, read once from its meta-object: the callable methods
// grouped by name (overloads and moc's clones for default arguments together), the properties
// and the signals.
class MetaClassTable
{
public:
    struct Method
    {
        int index = -1;
        QMetaType returnType;
        QList<QMetaType> parameterTypes;
    };

    explicit MetaClassTable(const QMetaObject* metaObject);

    const QMetaObject* metaObject() const { return m_metaObject; }
    const QList<QList<Method>>& groups() const { return m_groups; }
    const QHash<QString, int>& groupByName() const { return m_groupByName; }
    const QHash<QString, int>& propertyByName() const { return m_propertyByName; }
    const QStringList& signalNames() const { return m_signalNames; }
    const QStringList& propertyNames() const { return m_propertyNames; }
    QString groupName(int group) const { return m_groupNames.value(group); }
    // For a group the script engine can call by itself (plain name, simple types, one
    // signature per argument count): bit n set when a signature takes n arguments; else 0.
    quint32 directCallCounts(int group) const;

private:
    void addMethod(const QMetaMethod& method);
    int groupFor(const QString& name);

    const QMetaObject* m_metaObject;
    QList<QList<Method>> m_groups;
    QStringList m_groupNames;
    QHash<QString, int> m_groupByName;
    QHash<QString, int> m_propertyByName;
    QStringList m_propertyNames;
    QStringList m_signalNames;
};
