#include "console/PythonScriptConsoleRankedCandidates.h"

#include <algorithm>

QStringList PythonScriptConsoleRankedCandidates::rank(const QStringList& found, const QStringList& history,
                                                      qsizetype limit)
{
    qsizetype start = history.isSharedWith(countedHistory) ? runStart(found) : -1;
    if (start < 0) {
        count(found, history);
        start = 0;
    }
    // Ranking a run is ranking all and keeping the run's names: equal counts stay in name order.
    const qsizetype end = start + found.size();
    QStringList shown;
    for (qsizetype index : std::as_const(order)) {
        if (index < start || index >= end)
            continue;
        shown.append(counted.at(index));
        if (shown.size() == limit)
            break;
    }
    return shown;
}

void PythonScriptConsoleRankedCandidates::count(const QStringList& found, const QStringList& history)
{
    ranking.update(history);
    countedHistory = history;
    counted = found;
    QList<qint64> counts(found.size());
    order.clear();
    for (qsizetype i = 0; i < found.size(); ++i) {
        if (PythonScriptConsoleCompletionRanking::isKept(found.at(i))) {
            counts[i] = ranking.count(found.at(i));
            order.append(i);
        }
    }
    std::stable_sort(order.begin(), order.end(), [&counts](qsizetype a, qsizetype b) { return counts.at(a) > counts.at(b); });
}

qsizetype PythonScriptConsoleRankedCandidates::runStart(const QStringList& found) const
{
    if (found.isEmpty())
        return -1;
    const auto first = std::lower_bound(counted.cbegin(), counted.cend(), found.first());
    const qsizetype start = first - counted.cbegin();
    if (start + found.size() > counted.size() || !std::equal(found.cbegin(), found.cend(), first))
        return -1;
    return start;
}
