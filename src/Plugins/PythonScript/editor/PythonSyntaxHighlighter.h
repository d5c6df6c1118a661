#pragma once

#include "editor/PythonColorScheme.h"

#include <QSyntaxHighlighter>

// Highlights Python: keywords, built-ins, names being defined, strings (triple-quoted ones
// across lines), numbers, comments and decorators. Each block is scanned once, by hand, so
// that typing rehighlights only the lines whose state changes.
class PythonSyntaxHighlighter : public QSyntaxHighlighter
{
public:
    explicit PythonSyntaxHighlighter(QTextDocument* document, const PythonColorScheme& scheme = PythonColorScheme::current());

protected:
    void highlightBlock(const QString& text) override;
    // Highlights text from position from on as Python and sets the block's state.
    void highlightPython(const QString& text, int from);

    const PythonColorScheme scheme;

private:
    enum State { Code = 0, InSingleTriple = 1, InDoubleTriple = 2 };
    // From a string's opening quote at position start: the position after it ends (text size when
    // it runs on) and the state it leaves.
    int scanString(const QString& text, int start, int quoteLength, State& state);
    int scanName(const QString& text, int start, QStringView& previous);
};
