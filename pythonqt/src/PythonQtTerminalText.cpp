#include "PythonQtTerminalText.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

constexpr QChar escape(0x1b);
constexpr QChar bell(0x07);
// An escape sequence left open for this long is no sequence: it is dropped.
constexpr qsizetype partialLimit = 4096;

// The xterm colours of SGR 30-37 and 90-97 (and of the first 16 of 256).
const QColor& basicColor(int index)
{
    static const QColor colors[16] = {
        QColor(0x00, 0x00, 0x00), QColor(0xcd, 0x00, 0x00), QColor(0x00, 0xcd, 0x00), QColor(0xcd, 0xcd, 0x00),
        QColor(0x00, 0x00, 0xee), QColor(0xcd, 0x00, 0xcd), QColor(0x00, 0xcd, 0xcd), QColor(0xe5, 0xe5, 0xe5),
        QColor(0x7f, 0x7f, 0x7f), QColor(0xff, 0x00, 0x00), QColor(0x00, 0xff, 0x00), QColor(0xff, 0xff, 0x00),
        QColor(0x5c, 0x5c, 0xff), QColor(0xff, 0x00, 0xff), QColor(0x00, 0xff, 0xff), QColor(0xff, 0xff, 0xff),
    };
    return colors[index];
}

// Colour n of the 256-colour palette: 16 basic, a 6x6x6 cube, 24 greys.
QColor paletteColor(int n)
{
    if (n < 16)
        return basicColor(n);
    if (n < 232) {
        const auto level = [](int step) { return step == 0 ? 0 : 55 + 40 * step; };
        n -= 16;
        return QColor(level(n / 36), level(n / 6 % 6), level(n % 6));
    }
    const int grey = 8 + 10 * (n - 232);
    return QColor(grey, grey, grey);
}

// The index just after the escape sequence starting at start, or -1 while it is incomplete.
qsizetype sequenceEnd(const QString& text, qsizetype start)
{
    const qsizetype size = text.size();
    if (start + 1 >= size)
        return -1;
    const QChar kind = text.at(start + 1);
    if (kind == QLatin1Char('[')) {
        for (qsizetype at = start + 2; at < size; ++at) {
            const ushort code = text.at(at).unicode();
            if (code >= 0x40 && code <= 0x7e)
                return at + 1;
            if (code < 0x20 || code > 0x3f)
                return at; // not a control sequence: dropped up to here
        }
        return -1;
    }
    if (kind == QLatin1Char(']')) {
        for (qsizetype at = start + 2; at < size; ++at) {
            if (text.at(at) == bell)
                return at + 1;
            if (text.at(at) == escape && at + 1 < size && text.at(at + 1) == QLatin1Char('\\'))
                return at + 2;
        }
        return -1;
    }
    if (kind == QLatin1Char('(') || kind == QLatin1Char(')'))
        return start + 3 <= size ? start + 3 : -1;
    return start + 2;
}

const QRegularExpression& escapeSequences()
{
    static const QRegularExpression sequences(QStringLiteral("\\x1b(\\[[0-?]*[ -/]*[@-~]|\\][^\\x07\\x1b]*(\\x07|\\x1b\\\\)|[()].|.)"));
    return sequences;
}

qsizetype visibleLength(const QString& text)
{
    qsizetype hidden = 0;
    for (const QRegularExpressionMatch& match : escapeSequences().globalMatch(text))
        hidden += match.capturedLength();
    return text.size() - hidden;
}

QString sequencesOf(const QString& text)
{
    QString kept;
    for (const QRegularExpressionMatch& match : escapeSequences().globalMatch(text))
        kept += match.captured();
    return kept;
}

// One line: the text before its first carriage return continues the document's line and stays;
// of the rest, a part that a later part is at least as long as leaves only its sequences.
QString collapseLine(const QString& line)
{
    const QStringList parts = line.split(QLatin1Char('\r'));
    if (parts.size() <= 2)
        return line;
    QVector<qsizetype> longestAfter(parts.size(), -1);
    for (qsizetype at = parts.size() - 2; at >= 0; --at)
        longestAfter[at] = std::max(longestAfter[at + 1], visibleLength(parts.at(at + 1)));
    QStringList kept{parts.first()};
    QString carried;
    for (qsizetype at = 1; at < parts.size(); ++at) {
        if (longestAfter.at(at) >= visibleLength(parts.at(at))) {
            carried += sequencesOf(parts.at(at));
            continue;
        }
        kept.append(carried + parts.at(at));
        carried.clear();
    }
    return kept.join(QLatin1Char('\r'));
}

} // namespace

void PythonQtTerminalText::collapseOverwrites(QString& text)
{
    if (!text.contains(QLatin1Char('\r')))
        return;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        line = collapseLine(line);
    text = lines.join(QLatin1Char('\n'));
}

PythonQtTerminalText::Span PythonQtTerminalText::startSpan(bool fromLineStart) const
{
    Span span;
    span.foreground = m_foreground;
    span.background = m_background;
    span.bold = m_bold;
    span.fromLineStart = fromLineStart;
    return span;
}

QVector<PythonQtTerminalText::Span> PythonQtTerminalText::parse(const QString& text)
{
    QString input = std::exchange(m_partial, QString()) + text;
    input.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QVector<Span> spans;
    Span current = startSpan(false);
    const auto finish = [&](bool fromLineStart) {
        if (!current.text.isEmpty() || current.fromLineStart)
            spans.append(current);
        current = startSpan(fromLineStart);
    };
    const qsizetype size = input.size();
    qsizetype at = 0;
    while (at < size) {
        qsizetype next = at;
        while (next < size && input.at(next) != QLatin1Char('\r') && input.at(next) != escape)
            ++next;
        current.text += QStringView(input).mid(at, next - at);
        if (next == size)
            break;
        if (input.at(next) == QLatin1Char('\r')) {
            if (next + 1 == size) { // may be the first half of a line break
                m_partial = QStringLiteral("\r");
                break;
            }
            finish(true);
            at = next + 1;
            continue;
        }
        const qsizetype end = sequenceEnd(input, next);
        if (end < 0) {
            if (size - next < partialLimit)
                m_partial = input.mid(next);
            break;
        }
        if (input.at(next + 1) == QLatin1Char('[') && input.at(end - 1) == QLatin1Char('m')) {
            const bool fromLineStart = current.fromLineStart && current.text.isEmpty();
            if (!fromLineStart)
                finish(false);
            applySgr(input.mid(next + 2, end - next - 3));
            current = startSpan(fromLineStart);
        }
        at = end;
    }
    finish(false);
    return spans;
}

void PythonQtTerminalText::applySgr(const QString& parameters)
{
    const QStringList parts = parameters.split(QLatin1Char(';'));
    for (qsizetype at = 0; at < parts.size(); ++at) {
        const int code = parts.at(at).toInt(); // empty is 0, a reset
        if (code == 0) {
            m_foreground = m_background = QColor();
            m_bold = false;
        } else if (code == 1) {
            m_bold = true;
        } else if (code == 22) {
            m_bold = false;
        } else if (code >= 30 && code <= 37) {
            m_foreground = basicColor(code - 30);
        } else if (code >= 90 && code <= 97) {
            m_foreground = basicColor(code - 90 + 8);
        } else if (code >= 40 && code <= 47) {
            m_background = basicColor(code - 40);
        } else if (code >= 100 && code <= 107) {
            m_background = basicColor(code - 100 + 8);
        } else if (code == 39) {
            m_foreground = QColor();
        } else if (code == 49) {
            m_background = QColor();
        } else if ((code == 38 || code == 48) && at + 1 < parts.size()) {
            QColor& target = code == 38 ? m_foreground : m_background;
            const int mode = parts.at(at + 1).toInt();
            if (mode == 5 && at + 2 < parts.size()) {
                target = paletteColor(qBound(0, parts.at(at + 2).toInt(), 255));
                at += 2;
            } else if (mode == 2 && at + 4 < parts.size()) {
                target = QColor(qBound(0, parts.at(at + 2).toInt(), 255), qBound(0, parts.at(at + 3).toInt(), 255),
                                qBound(0, parts.at(at + 4).toInt(), 255));
                at += 4;
            }
        }
    }
}
