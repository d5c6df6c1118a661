// Python.h before Qt: Qt defines "slots" as a macro.
#include <PythonQtPython.h>

#include "support/ConsoleUser.h"

#include "PythonQt.h"

#include <QRegularExpression>

bool ConsoleUser::startInterpreter()
{
    PythonQt::init(PythonQt::RedirectStdOut | PythonQt::IgnoreSiteModule);
    if (!PythonQt::self()->initSuccessfully())
        return false;
    PythonQt::self()->startThreads();
    return true;
}

bool ConsoleUser::show() const
{
    m_console->resize(640, 400);
    m_console->show();
    m_console->activateWindow();
    m_console->setFocus();
    return QTest::qWaitForWindowExposed(m_console);
}

void ConsoleUser::press(QWidget* widget, const QString& keys)
{
    static const QRegularExpression named(QStringLiteral("\\{([A-Z][A-Za-z+]*)\\}|\\n"));
    qsizetype typed = 0;
    for (const QRegularExpressionMatch& key : named.globalMatch(keys)) {
        QTest::keyClicks(widget, keys.mid(typed, key.capturedStart() - typed));
        const QKeyCombination combination = key.hasCaptured(1) ? QKeySequence::fromString(key.captured(1))[0]
                                                               : QKeyCombination(Qt::Key_Return);
        QTest::keyClick(widget, combination.key(), combination.keyboardModifiers());
        typed = key.capturedEnd();
    }
    QTest::keyClicks(widget, keys.mid(typed));
}

void ConsoleUser::mouse(QTest::MouseAction action, int position) const
{
    QTextCursor cursor(m_console->document());
    cursor.setPosition(position);
    QTest::mouseEvent(action, m_console->viewport(), action == QTest::MouseMove ? Qt::NoButton : Qt::LeftButton, {},
                      m_console->cursorRect(cursor).center());
}

void ConsoleUser::drag(int from, int to) const
{
    mouse(QTest::MousePress, from);
    mouse(QTest::MouseMove, to);
    mouse(QTest::MouseRelease, to);
}

bool ConsoleUser::pythonErrorPending()
{
    PythonQtGILScope lock;
    return PyErr_Occurred() != nullptr;
}
