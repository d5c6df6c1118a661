#include "PythonQtConsoleOutput.h"

#include "PythonQtScriptingConsole.h"

#include <QElapsedTimer>
#include <QLocale>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// Beyond this much gathered text, lines that the scrollback would drop anyway are dropped
// before they reach the document.
constexpr qsizetype pendingTrimSize = 4 * 1024 * 1024;
// What a shortened line keeps of its start and of its end.
constexpr int longLineKeep = 5000;

// What a shortened line shows in place of what it leaves out.
QString leftOutNote(qsizetype characters)
{
    QLocale grouped = QLocale::c(); // "190,000": the C locale leaves groups out by default
    grouped.setNumberOptions(QLocale::DefaultNumberOptions);
    return QStringLiteral(" [... %1 characters left out ...] ").arg(grouped.toString(qlonglong(characters)));
}

// How many characters the note at the start of text says were left out, or -1.
qsizetype leftOutIn(QStringView text)
{
    static const QRegularExpression note(QStringLiteral("^ \\[\\.\\.\\. ([0-9,]+) characters left out \\.\\.\\.\\] "));
    const QRegularExpressionMatch match = note.match(text.left(64).toString());
    return match.hasMatch() ? match.captured(1).remove(QLatin1Char(',')).toLongLong() : -1;
}
// A step inserts slices of lines until its share of time is used (a tenth of the interval):
// painting and the running code get the rest. In a flood most lines inserted while the code
// runs are pushed out again before it ends, so the share is small.
constexpr qsizetype sliceLines = 500;
constexpr qsizetype sliceCharacters = 64 * 1024;
constexpr qint64 stepBudgetNs = 5 * 1000 * 1000;

} // namespace

PythonQtConsoleOutput::PythonQtConsoleOutput(PythonQtScriptingConsole* console)
    : m_console(console)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(flushIntervalMs);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { flushStep(); });
}

void PythonQtConsoleOutput::setMaximumLines(int lines)
{
    m_maximumLines = qMax(1, lines);
    trimScrollback(0);
}

void PythonQtConsoleOutput::setRunning(bool running)
{
    m_running = running;
    if (running)
        return;
    trimScrollback(0);
    // A line the run's output left open is continued by later output (of its threads).
    QTextDocument* document = m_console->document();
    if (!m_newLineOwed && document->blockCount() > 1) {
        m_openLineEnd = QTextCursor(document);
        m_openLineEnd.setPosition(document->lastBlock().position() - 1);
    }
}

void PythonQtConsoleOutput::setAnswering(bool answering)
{
    flush();
    if (answering && m_newLineOwed) {
        QTextCursor cursor(m_console->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(QStringLiteral("\n"));
        m_newLineOwed = false;
    }
    m_openLineEnd = QTextCursor();
    m_answering = answering;
}

void PythonQtConsoleOutput::trimScrollback(int slack, qsizetype coming)
{
    QTextDocument* document = m_console->document();
    const int blocks = document->blockCount();
    const qsizetype beyond = blocks + coming - m_maximumLines;
    // While code runs the last line is output too: when the coming lines push out every line,
    // the document starts afresh and the line feed owed to its last line is not.
    const bool everything = beyond >= blocks && m_running && !m_answering;
    const int excess = everything ? blocks : int(qMin<qsizetype>(beyond, blocks - 1));
    // Removing lines at the top makes the layout move every line below them: within the slack
    // that waits, unless the lines that stay are fewer than those that go.
    if (excess <= 0 || (excess <= slack && blocks - excess > excess))
        return;
    QTextCursor cursor(document);
    if (everything) {
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        m_newLineOwed = false;
    } else {
        cursor.setPosition(document->findBlockByNumber(excess).position(), QTextCursor::KeepAnchor);
    }
    cursor.removeSelectedText();
}

qsizetype PythonQtConsoleOutput::pendingLinesAtLeast() const
{
    if (m_pending.isEmpty())
        return 0;
    qsizetype feeds = 0;
    for (const Chunk& chunk : m_pending)
        feeds += chunk.text.count(QLatin1Char('\n'));
    // At the end a trailing line feed is held back, and an owed one goes first; above the
    // prompt a new line may be opened, and one ended there is closed again.
    const bool endsLine = m_pending.last().text.endsWith(QLatin1Char('\n'));
    const bool atEnd = m_running && !m_answering;
    return feeds - (endsLine ? 1 : 0) + (atEnd && m_newLineOwed ? 1 : 0);
}

void PythonQtConsoleOutput::append(Kind kind, const QString& text)
{
    if (text.isEmpty())
        return;
    if (!m_pending.isEmpty() && m_pending.last().kind == kind)
        m_pending.last().text += text;
    else
        m_pending.append({kind, text});
    m_pendingSize += text.size();
    if (m_pendingSize > pendingTrimSize) {
        collapsePending();
        dropLinesBeyondScrollback();
    }
    if (!m_running)
        flush();
    else if (!m_timer.isActive())
        m_timer.start();
}

void PythonQtConsoleOutput::collapsePending()
{
    m_pendingSize = 0;
    for (Chunk& chunk : m_pending) {
        PythonQtTerminalText::collapseOverwrites(chunk.text);
        // A giant line is shortened now, so that it is not copied on its way to the document.
        chunk.text = shortenLongLines(chunk.text);
        m_pendingSize += chunk.text.size();
    }
}

void PythonQtConsoleOutput::insertTerminalText(QTextCursor& cursor, Kind kind, const QString& text,
                                               const QTextCharFormat& format)
{
    for (const PythonQtTerminalText::Span& span : m_terminal[kind].parse(text)) {
        QTextCharFormat look = format;
        if (span.foreground.isValid())
            look.setForeground(span.foreground);
        if (span.background.isValid())
            look.setBackground(span.background);
        if (span.bold)
            look.setFontWeight(QFont::Bold);
        if (span.fromLineStart) {
            cursor.movePosition(QTextCursor::StartOfBlock);
            m_overwriting = true;
        }
        const QStringList lines = span.text.split(QLatin1Char('\n'));
        for (qsizetype index = 0; index < lines.size(); ++index) {
            if (index > 0) {
                // A line feed leaves what the rewrite did not reach on the line.
                if (m_overwriting)
                    cursor.movePosition(QTextCursor::EndOfBlock);
                m_overwriting = false;
                cursor.insertText(QStringLiteral("\n"), look);
            }
            const QString& line = lines.at(index);
            if (m_overwriting) {
                const QTextBlock block = cursor.block();
                const int available = block.position() + block.length() - 1 - cursor.position();
                cursor.movePosition(QTextCursor::Right, QTextCursor::KeepAnchor, int(qMin<qsizetype>(line.size(), available)));
            }
            cursor.insertText(line, look);
        }
    }
    m_rewritePosition = cursor;
}

void PythonQtConsoleOutput::dropLinesBeyondScrollback()
{
    qsizetype lines = 0;
    for (qsizetype chunk = m_pending.size() - 1; chunk >= 0; --chunk) {
        QString& text = m_pending[chunk].text;
        for (qsizetype at = text.size() - 1; at >= 0; --at) {
            if (text.at(at) != QLatin1Char('\n') || ++lines <= m_maximumLines)
                continue;
            text.remove(0, at + 1);
            m_pending.remove(0, chunk);
            m_pendingSize = 0;
            for (const Chunk& kept : std::as_const(m_pending))
                m_pendingSize += kept.text.size();
            return;
        }
    }
}

QString PythonQtConsoleOutput::shortenLongLines(const QString& text)
{
    if (text.size() <= longLineLimit)
        return text;
    // Only the long lines are rebuilt: a flood of short ones passes through unchanged.
    QString shortened;
    qsizetype copied = 0;
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype feed = text.indexOf(QLatin1Char('\n'), start);
        if (feed < 0)
            feed = text.size();
        if (feed - start > longLineLimit) {
            shortened += QStringView(text).mid(copied, start + longLineKeep - copied);
            shortened += leftOutNote(feed - start - 2 * longLineKeep);
            copied = feed - longLineKeep;
        }
        start = feed + 1;
    }
    if (copied == 0)
        return text;
    shortened += QStringView(text).mid(copied);
    return shortened;
}

void PythonQtConsoleOutput::shortenGrowingLine(const QTextBlock& block)
{
    const qsizetype length = block.length() - 1;
    if (length <= 2 * longLineKeep)
        return;
    // Once shortened, the line keeps only its last characters after the note, as if it had
    // been printed at once; the note counts in what it said was left out before.
    const QString text = block.text();
    const qsizetype earlier = leftOutIn(QStringView(text).mid(longLineKeep));
    const qsizetype earlierNote = earlier < 0 ? 0 : leftOutNote(earlier).size();
    const qsizetype cutEnd = length - longLineKeep;
    if (earlier < 0 ? length <= longLineLimit : cutEnd <= longLineKeep + earlierNote)
        return;
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + longLineKeep);
    cursor.setPosition(block.position() + int(cutEnd), QTextCursor::KeepAnchor);
    cursor.insertText(leftOutNote(cutEnd - longLineKeep - earlierNote + qMax<qsizetype>(earlier, 0)));
}

QVector<PythonQtConsoleOutput::Chunk> PythonQtConsoleOutput::takeLines(qsizetype lines)
{
    // Long lines count by their size too, so that one step never lays out much text.
    QVector<Chunk> taken;
    qsizetype characters = sliceCharacters;
    while (!m_pending.isEmpty() && lines > 0 && characters > 0) {
        Chunk& first = m_pending.first();
        qsizetype end = 0;
        while (lines > 0 && characters > 0 && end < first.text.size()) {
            const qsizetype feed = first.text.indexOf(QLatin1Char('\n'), end);
            const qsizetype lineEnd = feed < 0 ? first.text.size() : feed + 1;
            characters -= lineEnd - end;
            end = lineEnd;
            lines -= feed < 0 ? 0 : 1;
        }
        m_pendingSize -= end;
        if (end == first.text.size()) {
            taken.append(first);
            m_pending.removeFirst();
        } else {
            taken.append({first.kind, first.text.left(end)});
            first.text.remove(0, end);
        }
    }
    return taken;
}

void PythonQtConsoleOutput::insertChunks(QTextCursor& cursor, bool atEnd, const QVector<Chunk>& chunks)
{
    QColor out;
    QColor err;
    const QColor plain = m_console->palette().color(QPalette::Text);
    if (!m_console->outputColor(out))
        out = plain;
    if (!m_console->errorColor(err))
        err = plain;
    for (qsizetype index = 0; index < chunks.size(); ++index) {
        const Chunk& chunk = chunks.at(index);
        QString text = chunk.text;
        PythonQtTerminalText::collapseOverwrites(text);
        if (atEnd) {
            // A trailing line feed is owed to the next text, so that the prompt that follows the
            // run does not stand below an empty line.
            if (m_newLineOwed)
                text.prepend(QLatin1Char('\n'));
            m_newLineOwed = text.endsWith(QLatin1Char('\n'));
            if (m_newLineOwed)
                text.chop(1);
        }
        QTextCharFormat format;
        format.setForeground(chunk.kind == Out ? out : chunk.kind == Err ? err : plain);
        format.setFontWeight(QFont::Normal);
        insertTerminalText(cursor, chunk.kind, shortenLongLines(text), format);
    }
}

void PythonQtConsoleOutput::flush()
{
    m_timer.stop();
    if (m_pending.isEmpty())
        return;
    dropLinesBeyondScrollback();
    trimScrollback(0, pendingLinesAtLeast());
    m_pendingSize = 0;
    insert(std::exchange(m_pending, {}));
}

bool PythonQtConsoleOutput::flushStep()
{
    m_timer.stop();
    // Lines the scrollback would drop never reach the document. Until the run ends, the document
    // may then show a jump between two steps; the lines skipped there are beyond the scrollback.
    dropLinesBeyondScrollback();
    // Lines of the document that what is gathered will push out go first, while few lines
    // stay below them.
    trimScrollback(m_running ? m_maximumLines / 4 : 0, pendingLinesAtLeast());
    QElapsedTimer clock;
    clock.start();
    do
        insert(takeLines(sliceLines));
    while (!m_pending.isEmpty() && clock.nsecsElapsed() < stepBudgetNs);
    if (m_pending.isEmpty())
        return false;
    m_timer.start();
    return true;
}

int PythonQtConsoleOutput::stepsForScrollback() const
{
    return int(m_maximumLines / sliceLines) + 1;
}

void PythonQtConsoleOutput::openLineAbovePrompt(QTextCursor& cursor)
{
    QTextDocument* document = m_console->document();
    const int promptLine = document->lastBlock().position();
    if (!m_openLineEnd.isNull() && m_openLineEnd.position() == promptLine - 1) {
        cursor.setPosition(m_openLineEnd.position()); // the text goes on where it stopped
        return;
    }
    cursor.setPosition(promptLine);
    cursor.insertText(QStringLiteral("\n"));
    cursor.movePosition(QTextCursor::PreviousCharacter);
    m_overwriting = false;
}

void PythonQtConsoleOutput::closeLineAbovePrompt(QTextCursor& cursor)
{
    // Text that ended its line leaves an empty line above the prompt, which goes; a line left
    // open is continued by the next text.
    m_openLineEnd = QTextCursor();
    if (cursor.block().length() == 1) {
        cursor.deleteChar();
        return;
    }
    m_openLineEnd = cursor;
    m_openLineEnd.movePosition(QTextCursor::EndOfBlock);
}

void PythonQtConsoleOutput::insert(const QVector<Chunk>& chunks)
{
    if (chunks.isEmpty())
        return;
    QScrollBar* bar = m_console->verticalScrollBar();
    const bool followEnd = bar->value() >= bar->maximum();
    QTextDocument* document = m_console->document();
    QTextCursor cursor(document);
    const bool atEnd = m_running && !m_answering;
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    if (!atEnd)
        openLineAbovePrompt(cursor);
    if (m_overwriting && !m_rewritePosition.isNull())
        cursor.setPosition(m_rewritePosition.position());
    QTextCursor start = cursor;
    start.setKeepPositionOnInsert(true);
    insertChunks(cursor, atEnd, chunks);
    // A line continued insertion after insertion ends as if printed at once: shortened past the
    // limit, and each insertion does not lay a giant line out again.
    shortenGrowingLine(start.block());
    if (cursor.block() != start.block())
        shortenGrowingLine(cursor.block());
    if (!atEnd)
        closeLineAbovePrompt(cursor);
    cursor.endEditBlock();
    // While code runs, lines in excess are removed a quarter of the scrollback at a time.
    trimScrollback(m_running ? m_maximumLines / 4 : 0);
    if (followEnd)
        bar->setValue(bar->maximum());
}
