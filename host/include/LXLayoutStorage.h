#pragma once

#include "BellwickHostExport.h"

#include <QHash>
#include <QStringList>

class PR_Preference;

// Toolbar configurations of views (ordered lists of toolbar item ids), kept in the preference
// store. Each view has a default configuration and a current (user) one.
class BELLWICK_HOST_EXPORT LXLayoutStorage
{
public:
    explicit LXLayoutStorage(PR_Preference* preferences);

    // Null when none is stored. The list stays valid until the next call for the same view.
    const QStringList* getViewToolbarConfig(const QString& viewId, bool defaultConfig);
    void setViewToolbarConfig(const QString& viewId, const QStringList& itemIds, bool defaultConfig);

    static QString preferenceKey(const QString& viewId, bool defaultConfig);

private:
    PR_Preference* m_preferences;
    QHash<QString, QStringList> m_lastRead;
};
