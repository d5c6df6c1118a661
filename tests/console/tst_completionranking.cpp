// Completion ranking: the counts of the indexed history against a direct count of the words.
#include "console/PythonScriptConsoleCompletionRanking.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

namespace {

// Counts as the console defines them: history split into words (empty parts kept), then the
// number of words containing the candidate.
qint64 directCount(const QString& candidate, const QStringList& history)
{
    static const QRegularExpression splitter(QStringLiteral("[^a-zA-Z0-9]+"));
    QStringList words;
    for (const QString& entry : history)
        words += entry.split(splitter, Qt::KeepEmptyParts);
    return words.filter(candidate, Qt::CaseSensitive).size();
}

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

class TestCompletionRanking : public QObject
{
    Q_OBJECT

private slots:
    void candidatesAreFilteredAndOrderedByHistoryWords()
    {
        PythonScriptConsoleCompletionRanking ranking;
        const QStringList history{QStringLiteral("x = math.sqrt(2)"), QStringLiteral("math.floor(y)")};
        const QStringList ranked = ranking.rank({QStringLiteral("floor"), QStringLiteral("pi"), QStringLiteral("sqrt"),
                                                 QStringLiteral("__doc__"), QStringLiteral("QVariantMap"),
                                                 QStringLiteral("__init"), QStringLiteral("qvariant")},
                                                history);
        QCOMPARE(ranked, (QStringList{QStringLiteral("floor"), QStringLiteral("sqrt"), QStringLiteral("pi"),
                                      QStringLiteral("__init"), QStringLiteral("qvariant")}));
        QCOMPARE(ranking.count(QStringLiteral("at")), 2);
        QCOMPARE(ranking.count(QString()), directCount(QString(), history));

        QCOMPARE(ranking.rank({QStringLiteral("b"), QStringLiteral("a")}, {}), (QStringList{QStringLiteral("b"), QStringLiteral("a")}));
        QCOMPARE(ranking.count(QStringLiteral("a")), 0);
    }

    void countsMatchTheDirectCountOnRandomHistories()
    {
        QRandomGenerator random(20261206);
        PythonScriptConsoleCompletionRanking ranking;
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
            const QStringList ranked = ranking.rank(candidates, history);
            qint64 previous = std::numeric_limits<qint64>::max();
            for (const QString& candidate : ranked) {
                const qint64 expected = directCount(candidate, history);
                QCOMPARE(ranking.count(candidate), expected);
                QVERIFY(expected <= previous);
                previous = expected;
            }
            for (const QString& candidate : candidates)
                QCOMPARE(ranked.contains(candidate), PythonScriptConsoleCompletionRanking::isKept(candidate));
        }
    }
};

QTEST_MAIN(TestCompletionRanking)
#include "tst_completionranking.moc"
