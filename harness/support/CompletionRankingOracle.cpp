#include "support/CompletionRankingOracle.h"

#include "console/PythonScriptConsoleCompletionRanking.h"

#include <QRegularExpression>

#include <algorithm>

CompletionRankingOracle::CompletionRankingOracle(const QStringList& history)
{
    static const QRegularExpression splitter(QStringLiteral("[^a-zA-Z0-9]+"));
    for (const QString& entry : history)
        words += entry.split(splitter, Qt::KeepEmptyParts);
}

qint64 CompletionRankingOracle::count(const QString& candidate) const
{
    return words.filter(candidate, Qt::CaseSensitive).size();
}

QStringList CompletionRankingOracle::rank(const QStringList& candidates) const
{
    QList<std::pair<QString, qint64>> ranked;
    for (const QString& candidate : candidates) {
        if (PythonScriptConsoleCompletionRanking::isKept(candidate))
            ranked.append({candidate, count(candidate)});
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    QStringList result;
    for (const auto& entry : std::as_const(ranked))
        result << entry.first;
    return result;
}
