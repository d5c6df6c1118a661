#pragma once

#include <QObject>

class QTextEdit;

// What happens in the consoles that views outside the console want to follow: the plug-in
// connects them once, before any console exists.
class PythonScriptConsoleEvents : public QObject
{
    Q_OBJECT
public:
    static PythonScriptConsoleEvents* instance();

signals:
    // A console editor was made (its document may get a highlighter).
    void consoleCreated(QTextEdit* editor);
    // A traceback's file reference was clicked; line counts from 1.
    void fileLinkActivated(const QString& filePath, int line);
    // Console code ran to its end (it may have imported or reloaded modules).
    void codeExecuted();
};
