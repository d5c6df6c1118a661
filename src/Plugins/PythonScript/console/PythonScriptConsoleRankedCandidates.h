#pragma once

#include "console/PythonScriptConsoleCompletionRanking.h"

#include <QList>
#include <QStringList>

// Completion candidates ranked by the history, counted once per lookup of the console base:
// while the word grows or shrinks back, the base offers some of the names it looked up, in the
// lookup's order and sharing their strings, and their counts are read off the first list. Only
// the shown part of the order is sorted: a library's names number tens of thousands.
class PythonScriptConsoleRankedCandidates
{
public:
    // PythonScriptConsoleCompletionRanking::rank(found, history, limit) for found in
    // QStringList::sort()'s order, whatever found's order (a limit of 0 or less keeps all).
    QStringList rank(const QStringList& found, const QStringList& history, qsizetype limit);

private:
    // The indexes in counted of found's kept names; false when found is not drawn from counted
    // in its order.
    bool pick(const QStringList& found, QList<qsizetype>& picked) const;
    void count(const QStringList& found, const QStringList& history);

    PythonScriptConsoleCompletionRanking ranking;
    QStringList countedHistory;
    QStringList counted;
    QList<qint64> counts; // -1 for the names the console drops
};
