// Python.h before Qt: Qt defines "slots" as a macro.
#include <PythonQtPython.h>

#include "support/ConsoleUser.h"

#include "PythonQt.h"
#include "PythonQtScriptingConsole.h"

#include <QTest>
#include <QTimer>

ConsoleUser::ConsoleUser(PythonQtScriptingConsole* console)
    : m_console(console)
{
}

bool ConsoleUser::show() const
{
    m_console->resize(640, 400);
    m_console->show();
    m_console->activateWindow();
    m_console->setFocus();
    return QTest::qWaitForWindowExposed(m_console);
}

bool ConsoleUser::startInterpreter()
{
    PythonQt::init(PythonQt::RedirectStdOut | PythonQt::IgnoreSiteModule);
    if (!PythonQt::self()->initSuccessfully())
        return false;
    PythonQt::self()->startThreads();
    return true;
}

void ConsoleUser::submit(const QString& line, bool shiftReturn) const
{
    QTest::keyClicks(m_console, line);
    QTest::keyClick(m_console, Qt::Key_Return, shiftReturn ? Qt::ShiftModifier : Qt::NoModifier);
}

void ConsoleUser::submitBlock(const QStringList& lines) const
{
    for (const QString& line : lines)
        submit(line);
    submit(QString());
}

void ConsoleUser::whileRunning(const QObject* scope, int ms, const std::function<void()>& action)
{
    QTimer::singleShot(ms, scope, action);
}

QString ConsoleUser::commandLine() const
{
    return m_console->toPlainText().mid(m_console->commandPromptPosition());
}

QString ConsoleUser::lastLines(int count) const
{
    const QStringList lines = m_console->toPlainText().split(QLatin1Char('\n'));
    return lines.mid(lines.size() - count).join(QLatin1Char('\n'));
}

bool ConsoleUser::pythonErrorPending()
{
    PythonQtGILScope lock;
    return PyErr_Occurred() != nullptr;
}
