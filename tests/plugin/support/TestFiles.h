#pragma once

#include <QByteArray>
#include <QString>

// Writes content to path (creating its folder) and returns path.
QString writeFile(const QString& path, const QByteArray& content);
bool setModificationTime(const QString& path, int secondsFromNow);
