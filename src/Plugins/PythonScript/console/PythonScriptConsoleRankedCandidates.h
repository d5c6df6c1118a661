#pragma once

#include "console/PythonScriptConsoleCompletionRanking.h"

#include <QStringList>

// Completion candidates ranked by the history once per lookup of the console base: while the
// word grows or shrinks back, the base offers a run of the sorted names it looked up, and the
// run's ranking is read off the first one, stopping at the limit.
class PythonScriptConsoleRankedCandidates
{
public:
    // PythonScriptConsoleCompletionRanking::rank(found, history, limit), for found sorted
    // (a limit of 0 or less keeps all).
    QStringList rank(const QStringList& found, const QStringList& history, qsizetype limit);

private:
    // Where found starts in the counted names, or -1 when it is not a run of them.
    qsizetype runStart(const QStringList& found) const;
    void count(const QStringList& found, const QStringList& history);

    PythonScriptConsoleCompletionRanking ranking;
    QStringList countedHistory;
    QStringList counted; // sorted
    QList<qsizetype> order; // the kept names of counted, as indexes, in ranked order
};
