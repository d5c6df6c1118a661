#include "WID_IconManager.h"

#include <QDir>
#include <QFileInfo>

WID_IconManager* WID_IconManager::instance()
{
    static WID_IconManager manager;
    return &manager;
}

void WID_IconManager::addSearchDirectory(const QString& path)
{
    if (!path.isEmpty() && !m_directories.contains(path))
        m_directories.append(path);
}

QString WID_IconManager::iconPath(const QString& name) const
{
    if (name.isEmpty())
        return QString();
    if (QDir::isAbsolutePath(name))
        return QFileInfo(name).isFile() ? name : QString();
    const QStringList candidates{name, name + QStringLiteral(".svg"), name + QStringLiteral(".png")};
    for (auto folder = m_directories.crbegin(); folder != m_directories.crend(); ++folder) {
        for (const QString& candidate : candidates) {
            const QString path = QDir(*folder).filePath(candidate);
            if (QFileInfo(path).isFile())
                return path;
        }
    }
    return QString();
}

QIcon WID_IconManager::icon(const QString& name) const
{
    const QString path = iconPath(name);
    return path.isEmpty() ? QIcon() : QIcon(path);
}
