#pragma once

#include <QByteArray>
#include <QString>

// Writes content to path (creating its folder) and returns path.
QString writeFile(const QString& path, const QByteArray& content);
// Moves the file's modification time ahead, so that cached byte code counts as stale.
bool makeNewer(const QString& path);
