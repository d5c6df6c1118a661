#pragma once

#include "BellwickHostExport.h"

#include <QIcon>
#include <QStringList>

// Finds icons by name in the folders the host and its plug-ins register. Main thread only.
class BELLWICK_HOST_EXPORT WID_IconManager
{
public:
    // Never null.
    static WID_IconManager* instance();

    void addSearchDirectory(const QString& path);
    const QStringList& searchDirectories() const { return m_directories; }

    // The file of an icon: name itself, or name with ".svg" or ".png", in the most recently added
    // folder that has it; empty when none does. An absolute name is taken as it is.
    QString iconPath(const QString& name) const;
    QIcon icon(const QString& name) const;

private:
    QStringList m_directories;
};
