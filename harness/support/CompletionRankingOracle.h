#pragma once

#include <QStringList>

// The console's completion ranking computed the slow, obvious way, to hold the indexed one
// against: the history split into words (empty parts kept), then, per candidate, the number of
// words containing it.
class CompletionRankingOracle
{
public:
    explicit CompletionRankingOracle(const QStringList& history);

    qint64 count(const QString& candidate) const;
    // The candidates the console keeps, highest count first; equal counts keep their order.
    QStringList rank(const QStringList& candidates) const;

private:
    QStringList words;
};
