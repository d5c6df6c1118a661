#include "console/PythonScriptConsoleRankedCandidates.h"

#include <algorithm>

namespace {

bool sameText(const QString& a, const QString& b)
{
    return a.constData() == b.constData() && a.size() == b.size();
}

} // namespace

QStringList PythonScriptConsoleRankedCandidates::rank(const QStringList& found, const QStringList& history,
                                                      qsizetype limit)
{
    QList<qsizetype> picked;
    if (!history.isSharedWith(countedHistory) || !pick(found, picked)) {
        count(found, history);
        pick(found, picked);
    }
    // Highest count first, equal counts in name order: the sorted list ranked stably.
    const auto before = [this](qsizetype a, qsizetype b) {
        const qint64 left = counts.at(a);
        const qint64 right = counts.at(b);
        return left != right ? left > right : counted.at(a) < counted.at(b);
    };
    if (limit > 0 && picked.size() > limit) {
        std::nth_element(picked.begin(), picked.begin() + limit, picked.end(), before);
        picked.resize(limit);
    }
    std::sort(picked.begin(), picked.end(), before);
    QStringList shown;
    shown.reserve(picked.size());
    for (qsizetype index : std::as_const(picked))
        shown.append(counted.at(index));
    return shown;
}

bool PythonScriptConsoleRankedCandidates::pick(const QStringList& found, QList<qsizetype>& picked) const
{
    picked.clear();
    picked.reserve(found.size());
    qsizetype index = 0;
    for (const QString& name : found) {
        // The base's lists share their strings: a name drawn from counted is the same text in
        // memory.
        while (index < counted.size() && !sameText(counted.at(index), name))
            ++index;
        if (index == counted.size())
            return false;
        if (counts.at(index) >= 0)
            picked.append(index);
        ++index;
    }
    return true;
}

void PythonScriptConsoleRankedCandidates::count(const QStringList& found, const QStringList& history)
{
    ranking.update(history);
    countedHistory = history;
    counted = found;
    counts.resize(found.size());
    for (qsizetype i = 0; i < found.size(); ++i) {
        const QString& name = found.at(i);
        counts[i] = PythonScriptConsoleCompletionRanking::isKept(name) ? ranking.count(name) : -1;
    }
}
