#include "console/PythonScriptConsoleTracebackLinks.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextEdit>

PythonScriptConsoleTracebackLinks::PythonScriptConsoleTracebackLinks(QTextEdit* console)
    : QObject(console), console(console)
{
    console->viewport()->installEventFilter(this);
    console->viewport()->setMouseTracking(true);
}

const QRegularExpression& PythonScriptConsoleTracebackLinks::pattern()
{
    static const QRegularExpression reference(QStringLiteral("File \"([^\"<>]+)\", line (\\d+)"));
    return reference;
}

QRegularExpressionMatch PythonScriptConsoleTracebackLinks::linkAt(const QPoint& viewportPosition) const
{
    const QTextCursor cursor = console->cursorForPosition(viewportPosition);
    // Past the end of a line the cursor still lands on its last character.
    if (console->cursorRect(cursor).left() + 2 * console->fontMetrics().averageCharWidth() < viewportPosition.x())
        return {};
    const QTextBlock block = cursor.block();
    const int column = cursor.position() - block.position();
    QRegularExpressionMatchIterator matches = pattern().globalMatch(block.text());
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        if (match.capturedStart() <= column && column <= match.capturedEnd())
            return match;
    }
    return {};
}

bool PythonScriptConsoleTracebackLinks::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseMove: {
        const auto* move = static_cast<QMouseEvent*>(event);
        const bool overLink = move->buttons() == Qt::NoButton && linkAt(move->position().toPoint()).hasMatch();
        console->viewport()->setCursor(overLink ? Qt::PointingHandCursor : Qt::IBeamCursor);
        break;
    }
    case QEvent::MouseButtonPress:
        pressPosition = static_cast<QMouseEvent*>(event)->position().toPoint();
        break;
    case QEvent::MouseButtonRelease: {
        const auto* release = static_cast<QMouseEvent*>(event);
        const QPoint position = release->position().toPoint();
        if (release->button() != Qt::LeftButton || (position - pressPosition).manhattanLength() > 4)
            break;
        const QRegularExpressionMatch link = linkAt(position);
        if (link.hasMatch() && QFileInfo(link.captured(1)).isFile())
            emit activated(QFileInfo(link.captured(1)).absoluteFilePath(), link.captured(2).toInt());
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
