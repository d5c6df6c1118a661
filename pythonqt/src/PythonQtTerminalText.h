#pragma once

#include <QColor>
#include <QString>
#include <QVector>

// What a terminal makes of a program's output, for one output stream: ANSI SGR sequences
// (colours, bold) become text formats, other escape sequences are dropped, and a carriage
// return starts overwriting the current line. A sequence split between two writes is joined.
class PythonQtTerminalText
{
public:
    // A piece of text with the look that the escape sequences before it set.
    struct Span
    {
        QString text;
        // Invalid: the stream's own colour.
        QColor foreground;
        QColor background;
        bool bold = false;
        // The span starts at the beginning of the current line, overwriting what stands there.
        bool fromLineStart = false;
    };

    QVector<Span> parse(const QString& text);

    // Drops what later text on the same line overwrites wholly, so that a flood of progress
    // updates costs as much as its last one. Escape sequences are kept.
    static void collapseOverwrites(QString& text);

private:
    void applySgr(const QString& parameters);
    Span startSpan(bool fromLineStart) const;

    QString m_partial;
    QColor m_foreground;
    QColor m_background;
    bool m_bold = false;
};
