#pragma once

#include <QObject>
#include <QPoint>
#include <QRegularExpression>

class QTextEdit;

// Makes the file references of traceback lines (File "...", line N) in a console clickable: a
// click without dragging on one emits activated; the pointer shows a hand over them.
class PythonScriptConsoleTracebackLinks : public QObject
{
    Q_OBJECT
public:
    explicit PythonScriptConsoleTracebackLinks(QTextEdit* console);

    // Matches the reference; captures the path (1) and the line (2).
    static const QRegularExpression& pattern();

signals:
    void activated(const QString& filePath, int line);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QRegularExpressionMatch linkAt(const QPoint& viewportPosition) const;

    QTextEdit* console;
    QPoint pressPosition;
};
