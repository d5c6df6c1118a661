#include "LXLayoutStorage.h"

#include "PR_Preference.h"

LXLayoutStorage::LXLayoutStorage(PR_Preference* preferences)
    : m_preferences(preferences)
{
}

QString LXLayoutStorage::preferenceKey(const QString& viewId, bool defaultConfig)
{
    QString key = viewId;
    key.replace(QLatin1Char('/'), QLatin1Char('_'));
    return QStringLiteral("LayoutToolbars/%1/%2").arg(key, defaultConfig ? QStringLiteral("default") : QStringLiteral("current"));
}

const QStringList* LXLayoutStorage::getViewToolbarConfig(const QString& viewId, bool defaultConfig)
{
    const QString key = preferenceKey(viewId, defaultConfig);
    if (!m_preferences || !m_preferences->contains(key))
        return nullptr;
    auto entry = m_lastRead.insert(key, m_preferences->getStringListValue(key));
    return &entry.value();
}

void LXLayoutStorage::setViewToolbarConfig(const QString& viewId, const QStringList& itemIds, bool defaultConfig)
{
    if (m_preferences)
        m_preferences->setStringListValue(preferenceKey(viewId, defaultConfig), itemIds);
}
