#pragma once

#include "PythonQtScriptingConsole.h"

#include <QTest>

// Drives a shown console the way a user does: real key and mouse events, offscreen.
class ConsoleUser
{
public:
    explicit ConsoleUser(PythonQtScriptingConsole* console = nullptr) : m_console(console) {}

    // Presses keys: "\n" is Return, "{Name}" the key QKeySequence names ("{Shift+Home}",
    // "{Ctrl+C}"; names start with a capital), anything else is typed.
    static void press(QWidget* widget, const QString& keys);
    void press(const QString& keys) const { press(m_console, keys); }
    void submit(const QString& line) const { press(line + QLatin1Char('\n')); }
    // Each line of a block, then the empty line that ends it.
    void submitBlock(const QStringList& lines) const { press(lines.join(QLatin1Char('\n')) + QStringLiteral("\n\n")); }
    // The mouse's left button at a document position.
    void mouse(QTest::MouseAction action, int position) const;
    void drag(int from, int to) const;

    QString text() const { return m_console->toPlainText(); }
    QString commandLine() const { return text().mid(m_console->commandPromptPosition()); }
    QString lastLines(int count) const { return text().section(QLatin1Char('\n'), -count); }
    // What the console shows after the last line submitted at the primary prompt.
    QString outputAfter(const QString& line) const
    {
        const QString echo = QStringLiteral(">>> ") + line + QLatin1Char('\n');
        return text().mid(text().lastIndexOf(echo) + echo.size());
    }

private:
    PythonQtScriptingConsole* m_console;
};
