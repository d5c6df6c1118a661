#include "support/ConsoleUser.h"

#include <QRegularExpression>

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
