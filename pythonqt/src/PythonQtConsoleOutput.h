#pragma once

#include "PythonQtTerminalText.h"

#include <QString>
#include <QTextCharFormat>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <QVector>

class PythonQtScriptingConsole;

// The console's output on its way into the document: text gathered between flushes, inserted in
// one edit per flush so that a flood of small writes costs one layout, with a bounded scrollback
// and giant lines shortened to their ends. Terminal conventions hold: colour sequences give
// formats and a carriage return rewrites the line, and a flood of rewrites is collapsed before
// it reaches the document.
class PythonQtConsoleOutput
{
public:
    enum Kind { Out, Err, Message };

    explicit PythonQtConsoleOutput(PythonQtScriptingConsole* console);

    // Gathers text. While running it is inserted at the latest one interval later (or by
    // flush()), otherwise at once.
    void append(Kind kind, const QString& text);
    // Inserts what was gathered: at the end of the document while running (the command line
    // has been submitted and no prompt shows yet), above the prompt line otherwise.
    void flush();
    // While running: inserts the oldest lines gathered, as many as fit in one step's time, so
    // that a flood of output leaves the event loop time to paint. True when lines remain.
    bool flushStep();
    // Steps that insert a whole scrollback at the most.
    int stepsForScrollback() const;
    // The scrollback is trimmed to its bound when a run ends.
    void setRunning(bool running);
    bool hasPending() const { return !m_pending.isEmpty(); }
    // The next insertion at the end starts on a line of its own.
    void startNewLine()
    {
        m_newLineOwed = true;
        m_overwriting = false;
    }
    // While the user answers input(), the answer's line stays the last one: output goes above
    // it, as above the prompt, so that no thread's text mixes into the answer.
    void setAnswering(bool answering);
    // The longest gap between two insertions while batching.
    static constexpr int flushIntervalMs = 50;

    void setMaximumLines(int lines);
    int maximumLines() const { return m_maximumLines; }

    // A line longer than this is shown as its start and end with a note of what was left out.
    static constexpr int longLineLimit = 100000;

private:
    struct Chunk
    {
        Kind kind;
        QString text;
    };

    void dropLinesBeyondScrollback();
    // Removes the oldest lines when, with coming more lines, more than slack lines would be
    // beyond the scrollback.
    void trimScrollback(int slack, qsizetype coming = 0);
    // The lines the gathered text adds to the document once inserted, or fewer.
    qsizetype pendingLinesAtLeast() const;
    QVector<Chunk> takeLines(qsizetype lines);
    void insert(const QVector<Chunk>& chunks);
    void insertChunks(QTextCursor& cursor, bool atEnd, const QVector<Chunk>& chunks);
    // Output above the prompt line (not running, or the user answering input()) goes into a line
    // of its own there.
    void openLineAbovePrompt(QTextCursor& cursor);
    void closeLineAbovePrompt(QTextCursor& cursor);
    void insertTerminalText(QTextCursor& cursor, Kind kind, const QString& text, const QTextCharFormat& format);
    void collapsePending();
    static QString shortenLongLines(const QString& text);
    // The same for a line of the document that grew long over several insertions.
    static void shortenGrowingLine(const QTextBlock& block);

    PythonQtScriptingConsole* m_console;
    QVector<Chunk> m_pending;
    qsizetype m_pendingSize = 0;
    QTimer m_timer;
    int m_maximumLines = 20000;
    bool m_newLineOwed = false;
    // The line break after text that did not end its line above the prompt, which the next
    // text continues.
    QTextCursor m_openLineEnd;
    bool m_running = false;
    bool m_answering = false;
    // Per kind of output, as each stream of a terminal keeps its own state.
    PythonQtTerminalText m_terminal[3];
    // Text goes over the current line since a carriage return, until the next line feed.
    bool m_overwriting = false;
    // Where the rewrite of the current line goes on.
    QTextCursor m_rewritePosition;
};
