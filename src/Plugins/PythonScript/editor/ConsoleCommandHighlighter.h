#pragma once

#include "editor/PythonSyntaxHighlighter.h"

#include <QRegularExpression>
#include <QStringList>

// Highlights a console's command lines (the lines that start with a prompt) as Python, and
// underlines the file references of its output. The rest of the output keeps its own colours.
class ConsoleCommandHighlighter : public PythonSyntaxHighlighter
{
public:
    ConsoleCommandHighlighter(QTextDocument* document, const QStringList& prompts, const QRegularExpression& linkPattern);

protected:
    void highlightBlock(const QString& text) override;

private:
    const QStringList prompts;
    const QRegularExpression linkPattern;
};
