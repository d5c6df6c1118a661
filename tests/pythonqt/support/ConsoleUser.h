#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class PythonQtScriptingConsole;
class QObject;

// Drives a console the way a user does: real key events to a shown console, offscreen. The
// interpreter is started once per process by the first ConsoleUser.
class ConsoleUser
{
public:
    explicit ConsoleUser(PythonQtScriptingConsole* console);

    static bool startInterpreter();
    // Shows the console as a window with the keyboard focus; false when it never got exposed.
    bool show() const;

    // Types text and presses Return (Shift+Return with shiftReturn).
    void submit(const QString& line, bool shiftReturn = false) const;
    // Each line of a block, then the empty line that ends it.
    void submitBlock(const QStringList& lines) const;
    // Runs action once the next submitted code has been running for ms milliseconds, unless
    // scope is gone by then.
    static void whileRunning(const QObject* scope, int ms, const std::function<void()>& action);

    QString commandLine() const;
    QString lastLines(int count) const;
    static bool pythonErrorPending();

private:
    PythonQtScriptingConsole* m_console;
};
