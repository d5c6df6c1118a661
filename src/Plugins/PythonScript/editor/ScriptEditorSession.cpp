#include "editor/ScriptEditorSession.h"

#include <PR_Preference.h>

namespace {

const QString filesKey = QStringLiteral("PYTHONSCRIPT_EDITOR_OPEN_FILES");
const QString positionsKey = QStringLiteral("PYTHONSCRIPT_EDITOR_CURSOR_POSITIONS");
const QString currentKey = QStringLiteral("PYTHONSCRIPT_EDITOR_CURRENT_TAB");
const QString recentKey = QStringLiteral("PYTHONSCRIPT_EDITOR_RECENT_FILES");
const int recentLimit = 10;

} // namespace

ScriptEditorSession ScriptEditorSession::load()
{
    ScriptEditorSession session;
    const QStringList files = lxPref.getStringListValue(filesKey);
    const QStringList positions = lxPref.getStringListValue(positionsKey);
    for (int index = 0; index < files.size(); ++index)
        session.openFiles.append({files.at(index), positions.value(index).toInt()});
    session.currentIndex = lxPref.getIntValue(currentKey, 0);
    session.recentFiles = lxPref.getStringListValue(recentKey);
    return session;
}

void ScriptEditorSession::save() const
{
    QStringList files;
    QStringList positions;
    for (const OpenFile& file : openFiles) {
        files << file.filePath;
        positions << QString::number(file.cursorPosition);
    }
    lxPref.setStringListValue(filesKey, files);
    lxPref.setStringListValue(positionsKey, positions);
    lxPref.setIntValue(currentKey, currentIndex);
    lxPref.setStringListValue(recentKey, recentFiles);
}

void ScriptEditorSession::addRecent(const QString& filePath)
{
    recentFiles.removeAll(filePath);
    recentFiles.prepend(filePath);
    while (recentFiles.size() > recentLimit)
        recentFiles.removeLast();
}
