#include "BAPP_SharedSpecialFolders.h"

#include <QMutex>
#include <QMutexLocker>
#include <QStandardPaths>

namespace {

QMutex folderMutex;
QString configuredFolder;

} // namespace

QString BAPP_SharedSpecialFolders()
{
    QMutexLocker lock(&folderMutex);
    if (!configuredFolder.isEmpty())
        return configuredFolder;
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/bellwick");
}

void BAPP_SetSharedSpecialFolders(const QString& folder)
{
    QMutexLocker lock(&folderMutex);
    configuredFolder = folder;
}
