#include "metaclasstable.h"

#include <QMetaObject>
#include <QMetaProperty>

MetaClassTable::MetaClassTable(const QMetaObject* metaObject)
    : m_metaObject(metaObject)
{
    for (int i = 0; i < metaObject->methodCount(); ++i) {
        const QMetaMethod method = metaObject->method(i);
        if (method.methodType() == QMetaMethod::Signal)
            m_signalNames.append(QString::fromLatin1(method.name()));
        else if (method.access() == QMetaMethod::Public
                 && method.methodType() != QMetaMethod::Constructor)
            addMethod(method);
    }
    m_signalNames.removeDuplicates();
    for (int i = 0; i < metaObject->propertyCount(); ++i) {
        const QString name = QString::fromLatin1(metaObject->property(i).name());
        m_propertyByName.insert(name, i);
        m_propertyNames.append(name);
    }
}

void MetaClassTable::addMethod(const QMetaMethod& method)
{
    Method entry;
    entry.index = method.methodIndex();
    entry.returnType = method.returnMetaType();
    for (int p = 0; p < method.parameterCount(); ++p)
        entry.parameterTypes.append(method.parameterMetaType(p));
    m_groups[groupFor(QString::fromLatin1(method.name()))].append(entry);
    // A full signature picks one overload: obj["f(int)"](1).
    m_groups[groupFor(QString::fromLatin1(method.methodSignature()))].append(entry);
}

namespace {

// Types the script engine's own binding converts the way ours does.
bool isSimple(QMetaType type, bool asResult)
{
    switch (type.id()) {
    case QMetaType::Void:
        return asResult;
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::QString:
        return true;
    default:
        return false;
    }
}

} // namespace

quint32 MetaClassTable::directCallCounts(int group) const
{
    if (m_groupNames.value(group).contains(QLatin1Char('(')))
        return 0;
    quint32 counts = 0;
    for (const Method& method : m_groups.at(group)) {
        const qsizetype count = method.parameterTypes.size();
        if (count > 31 || (counts >> count) & 1u || !isSimple(method.returnType, true))
            return 0;
        for (QMetaType parameter : method.parameterTypes) {
            if (!isSimple(parameter, false))
                return 0;
        }
        counts |= 1u << count;
    }
    return counts;
}

int MetaClassTable::groupFor(const QString& name)
{
    auto it = m_groupByName.constFind(name);
    if (it != m_groupByName.constEnd())
        return it.value();
    m_groups.append(QList<Method>());
    m_groupNames.append(name);
    const int group = int(m_groups.size()) - 1;
    m_groupByName.insert(name, group);
    return group;
}
