// Completion ranking: the indexed history against the direct count of its words.
#include "console/PythonScriptConsoleCompletionRanking.h"
#include "console/PythonScriptConsoleRankedCandidates.h"
#include "support/CompletionRankingOracle.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

namespace {

QString randomText(QRandomGenerator& random, int maxLength)
{
    static const QString alphabet = QStringLiteral("abcmathsqrtAB019_. ()=,:\u00e9\u4e2d");
    QString text;
    const int length = random.bounded(maxLength + 1);
    for (int i = 0; i < length; ++i)
        text += alphabet.at(random.bounded(int(alphabet.size())));
    return text;
}

} // namespace

class tst_console_completionranking : public QObject
{
    Q_OBJECT

private slots:
    void candidatesAreFilteredAndOrderedByHistoryWords()
    {
        PythonScriptConsoleCompletionRanking ranking;
        const QStringList history{"x = math.sqrt(2)", "math.floor(y)"};
        QCOMPARE(ranking.rank({"floor", "pi", "sqrt", "__doc__", "QVariantMap", "__init", "qvariant"}, history),
                 (QStringList{"floor", "sqrt", "pi", "__init", "qvariant"}));
        QCOMPARE(ranking.count("at"), 2);
        QCOMPARE(ranking.count(QString()), CompletionRankingOracle(history).count(QString()));
        QCOMPARE(ranking.rank({"b", "a"}, {}), (QStringList{"b", "a"}));
        QCOMPARE(ranking.count("a"), 0);
    }

    void countsMatchTheDirectCountOnRandomHistories()
    {
        QRandomGenerator random(20261206);
        PythonScriptConsoleCompletionRanking ranking;
        PythonScriptConsoleRankedCandidates rankedRuns;
        QStringList history;
        for (int round = 0; round < 200; ++round) {
            if (random.bounded(10) == 0)
                history.clear(); // a history that is not an extension of the indexed one
            else if (random.bounded(10) == 0 && !history.isEmpty())
                history.replace(random.bounded(int(history.size())), randomText(random, 20));
            for (int added = random.bounded(4); added > 0; --added)
                history.append(randomText(random, 40));
            QStringList candidates;
            for (int i = 0; i < 30; ++i)
                candidates.append(random.bounded(3) == 0 && !history.isEmpty()
                                      ? history.at(random.bounded(int(history.size()))).mid(random.bounded(5), random.bounded(1, 40))
                                      : randomText(random, 6));
            candidates.append(QString(40, QLatin1Char('a'))); // longer than what is indexed
            const CompletionRankingOracle oracle(history);
            const QStringList ranked = ranking.rank(candidates, history);
            QCOMPARE(ranked, oracle.rank(candidates));
            const int limit = random.bounded(1, 35);
            QCOMPARE(ranking.rank(candidates, history, limit), oracle.rank(candidates).mid(0, limit));
            // Counted once per lookup, whose order is the namespace's, then reused for the names
            // a growing or shrinking word keeps (drawn from the lookup in its order); shown as
            // the sorted names ranked.
            QStringList lookup = candidates;
            std::shuffle(lookup.begin(), lookup.end(), random);
            QStringList kept;
            for (const QString& name : std::as_const(lookup)) {
                if (random.bounded(2) == 0)
                    kept.append(name);
            }
            candidates.sort();
            QStringList keptSorted = kept;
            keptSorted.sort();
            QCOMPARE(rankedRuns.rank(lookup, history, limit), oracle.rank(candidates).mid(0, limit));
            QCOMPARE(rankedRuns.rank(kept, history, limit), oracle.rank(keptSorted).mid(0, limit));
            for (const QString& candidate : ranked)
                QCOMPARE(ranking.count(candidate), oracle.count(candidate));
        }
    }
};

QTEST_MAIN(tst_console_completionranking)
#include "tst_console_completionranking.moc"
