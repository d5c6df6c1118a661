#pragma once

#include <QList>
#include <QStringList>

// The editor's open files with their cursor positions, the current tab and the recent files, kept in
// the host's preferences from one session to the next.
class ScriptEditorSession
{
public:
    struct OpenFile
    {
        QString filePath;
        int cursorPosition = 0;
    };

    static ScriptEditorSession load();
    void save() const;
    // Puts filePath first in recentFiles, keeping at most ten.
    void addRecent(const QString& filePath);

    QList<OpenFile> openFiles;
    int currentIndex = 0;
    QStringList recentFiles;
};
