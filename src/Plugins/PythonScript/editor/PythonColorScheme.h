#pragma once

#include <QColor>
#include <QTextCharFormat>

// The colours of Python code in the host's dark or light style, matching the console's command
// and error colours.
class PythonColorScheme
{
public:
    // The scheme of the style the host shows (dark while there is no host application).
    static PythonColorScheme current();
    explicit PythonColorScheme(bool dark);

    bool dark;
    QTextCharFormat keyword;
    QTextCharFormat builtin;
    QTextCharFormat definition;
    QTextCharFormat string;
    QTextCharFormat number;
    QTextCharFormat comment;
    QTextCharFormat decorator;
    QTextCharFormat link;
    QColor background;
    QColor text;
    QColor currentLine;
    QColor matchingBracket;
    QColor lineNumbers;
};
