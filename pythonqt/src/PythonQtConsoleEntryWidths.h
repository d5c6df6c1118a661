#pragma once

#include <QFont>
#include <QHash>
#include <QString>

class QAbstractItemView;

// The widths of the completion popup's entries, each name measured once: while a word is typed
// the popup lists the same names again and again, and laying out a thousand names through the
// delegate costs more than a frame.
class PythonQtConsoleEntryWidths
{
public:
    // The widest entry of the popup's first column, as sizeHintForColumn(0) measures it (give
    // or take the rounding of a text's width).
    int widest(const QAbstractItemView* popup);

private:
    // Names kept at most; beyond, the widths are measured afresh.
    static constexpr qsizetype remembered = 100000;

    QFont measuredFont;
    int margins = 0; // around an entry's text
    QHash<QString, int> widths;
};
