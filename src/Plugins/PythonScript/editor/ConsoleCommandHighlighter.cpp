#include "editor/ConsoleCommandHighlighter.h"

ConsoleCommandHighlighter::ConsoleCommandHighlighter(QTextDocument* document, const QStringList& prompts,
                                                     const QRegularExpression& linkPattern)
    : PythonSyntaxHighlighter(document), prompts(prompts), linkPattern(linkPattern)
{
}

void ConsoleCommandHighlighter::highlightBlock(const QString& text)
{
    for (const QString& prompt : prompts) {
        if (text.startsWith(prompt)) {
            highlightPython(text, int(prompt.size()));
            return;
        }
    }
    setCurrentBlockState(0);
    // Most output has no reference; the cheap test spares floods of it the expression.
    if (!text.contains(QLatin1String("File \"")))
        return;
    QRegularExpressionMatchIterator links = linkPattern.globalMatch(text);
    while (links.hasNext()) {
        const QRegularExpressionMatch link = links.next();
        setFormat(int(link.capturedStart()), int(link.capturedLength()), scheme.link);
    }
}
