#include "editor/PythonSyntaxHighlighter.h"

#include <QSet>

namespace {

const QSet<QString>& keywords()
{
    static const QSet<QString> words{
        "False", "None", "True", "and", "as", "assert", "async", "await", "break", "class", "continue",
        "def", "del", "elif", "else", "except", "finally", "for", "from", "global", "if", "import",
        "in", "is", "lambda", "nonlocal", "not", "or", "pass", "raise", "return", "try", "while",
        "with", "yield", "match", "case"};
    return words;
}

const QSet<QString>& builtins()
{
    static const QSet<QString> names{
        "abs", "all", "any", "bool", "bytes", "callable", "chr", "dict", "dir", "enumerate", "eval",
        "exec", "filter", "float", "format", "getattr", "hasattr", "hash", "help", "id", "input",
        "int", "isinstance", "issubclass", "iter", "len", "list", "map", "max", "min", "next",
        "object", "open", "ord", "pow", "print", "property", "range", "repr", "reversed", "round",
        "set", "setattr", "slice", "sorted", "staticmethod", "classmethod", "str", "sum", "super",
        "tuple", "type", "vars", "zip", "self", "Exception", "ValueError", "TypeError", "KeyError",
        "IndexError", "RuntimeError", "KeyboardInterrupt", "StopIteration"};
    return names;
}

bool isNameStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

bool isQuote(QChar c)
{
    return c == QLatin1Char('\'') || c == QLatin1Char('"');
}

// String prefixes such as r, b, f, rb: the length of the prefix when a quote follows it.
int prefixLength(const QString& text, int start)
{
    int end = start;
    while (end < text.size() && end - start < 2 && QStringLiteral("rRbBfFuU").contains(text.at(end)))
        ++end;
    return end > start && end < text.size() && isQuote(text.at(end)) ? end - start : 0;
}

} // namespace

PythonSyntaxHighlighter::PythonSyntaxHighlighter(QTextDocument* document, const PythonColorScheme& scheme)
    : QSyntaxHighlighter(document), scheme(scheme)
{
}

void PythonSyntaxHighlighter::highlightBlock(const QString& text)
{
    highlightPython(text, 0);
}

void PythonSyntaxHighlighter::highlightPython(const QString& text, int from)
{
    State state = previousBlockState() > 0 ? State(previousBlockState()) : Code;
    int position = from;
    if (state != Code) {
        position = scanString(text, from, 0, state);
        setFormat(from, position - from, scheme.string);
    }
    QStringView previous;
    while (position < text.size()) {
        const QChar c = text.at(position);
        if (c == QLatin1Char('#')) {
            setFormat(position, int(text.size()) - position, scheme.comment);
            break;
        }
        const int prefix = prefixLength(text, position);
        if (isQuote(c) || prefix > 0) {
            const int quote = position + prefix;
            const bool triple = text.mid(quote, 3) == QString(3, text.at(quote));
            const int end = scanString(text, quote, triple ? 3 : 1, state);
            setFormat(position, end - position, scheme.string);
            position = end;
            previous = {};
        } else if (isNameStart(c)) {
            position = scanName(text, position, previous);
        } else if (c.isDigit()) {
            const int start = position;
            while (position < text.size() && (isNameChar(text.at(position)) || text.at(position) == QLatin1Char('.')))
                ++position;
            setFormat(start, position - start, scheme.number);
        } else if (c == QLatin1Char('@') && text.left(position).trimmed().isEmpty()) {
            const int start = position++;
            while (position < text.size() && (isNameChar(text.at(position)) || text.at(position) == QLatin1Char('.')))
                ++position;
            setFormat(start, position - start, scheme.decorator);
        } else {
            ++position;
        }
    }
    setCurrentBlockState(state);
}

int PythonSyntaxHighlighter::scanName(const QString& text, int start, QStringView& previous)
{
    int end = start;
    while (end < text.size() && isNameChar(text.at(end)))
        ++end;
    const QStringView name = QStringView(text).mid(start, end - start);
    const QString word = name.toString();
    if (previous == QLatin1String("def") || previous == QLatin1String("class"))
        setFormat(start, end - start, scheme.definition);
    else if (keywords().contains(word))
        setFormat(start, end - start, scheme.keyword);
    else if (builtins().contains(word))
        setFormat(start, end - start, scheme.builtin);
    previous = name;
    return end;
}

int PythonSyntaxHighlighter::scanString(const QString& text, int start, int quoteLength, State& state)
{
    // Continuing a triple-quoted string from an earlier line: the quote is the state's.
    const bool continuing = quoteLength == 0;
    const QChar quote = continuing ? (state == InSingleTriple ? QLatin1Char('\'') : QLatin1Char('"')) : text.at(start);
    const int length = continuing ? 3 : quoteLength;
    int position = continuing ? start : start + length;
    const QString closing(length, quote);
    while (position < text.size()) {
        if (text.at(position) == QLatin1Char('\\')) {
            position += 2;
            continue;
        }
        if (QStringView(text).mid(position, length) == closing) {
            state = Code;
            return position + length;
        }
        ++position;
    }
    state = length == 3 ? (quote == QLatin1Char('\'') ? InSingleTriple : InDoubleTriple) : Code;
    return int(text.size());
}
