// Completion ranking at 2,000 history lines x 500 candidates against a direct transcription of
// its counting rule, and the cost of one keystroke in a console with that history against the
// same keystroke in a plain QTextEdit.
#include "console/PythonScriptConsoleCompletionRanking.h"
#include "console/PythonScriptConsoleTextEdit.h"
#include "support/BatchTiming.h"
#include "support/BenchRun.h"
#include "support/CompletionRankingOracle.h"
#include "support/ConsoleHost.h"
#include "support/RatioBoard.h"

#include <QApplication>
#include <QRandomGenerator>
#include <QTest>
#include <QTextEdit>

#include <chrono>

namespace {

constexpr int historyLines = 2000;
constexpr int candidateCount = 500;
constexpr double rankingBudgetNanos = 5e6; // 5 ms

QStringList s_history;
QStringList s_candidates;

// Lines of the kind people type at a console, over a vocabulary of a few hundred names.
void makeWorkload()
{
    QRandomGenerator random(7);
    QStringList names;
    for (int i = 0; i < 600; ++i)
        names << QStringLiteral("name%1_%2").arg(i).arg(QChar(u'a' + i % 26));
    for (int i = 0; i < historyLines; ++i) {
        const QString& a = names.at(random.bounded(int(names.size())));
        const QString& b = names.at(random.bounded(int(names.size())));
        s_history << QStringLiteral("%1 = math.%2(%3, %4) + scene.objects[%5].%2").arg(a, b).arg(i).arg(a).arg(i % 7);
    }
    s_candidates = names.mid(0, candidateCount);
}

QStringList directRanking(const QStringList& candidates, const QStringList& history)
{
    return CompletionRankingOracle(history).rank(candidates);
}

double secondsOf(const std::function<void()>& body)
{
    const auto start = std::chrono::steady_clock::now();
    body();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void registerRanking()
{
    // Warm: the index already holds the history; each call ranks a new candidate list.
    benchmark::RegisterBenchmark("ranking/indexed_2000x500", [](benchmark::State& state) {
        PythonScriptConsoleCompletionRanking ranking;
        ranking.rank({}, s_history);
        const PairedFigures figures = timePaired(
            state, [&] { return secondsOf([&] { benchmark::DoNotOptimize(ranking.rank(s_candidates, s_history)); }); },
            [] { return secondsOf([] { benchmark::DoNotOptimize(directRanking(s_candidates, s_history)); }); }, 1);
        RatioBoard::instance().compare(state, "ranking/indexed_2000x500", figures.best, "direct algorithm",
                                       figures.baselineBest, rankingBudgetNanos / figures.baselineBest);
        state.counters["budget_ms"] = 5;
    })->UseManualTime()->Iterations(10);
    // Cold: the whole history is indexed inside the measured call (the first completion).
    benchmark::RegisterBenchmark("ranking/first_call_2000x500", [](benchmark::State& state) {
        const PairedFigures figures = timePaired(
            state, [] { return secondsOf([] { PythonScriptConsoleCompletionRanking fresh; benchmark::DoNotOptimize(fresh.rank(s_candidates, s_history)); }); },
            [] { return secondsOf([] { benchmark::DoNotOptimize(directRanking(s_candidates, s_history)); }); }, 1);
        RatioBoard::instance().compare(state, "ranking/first_call_2000x500", figures.best, "direct algorithm",
                                       figures.baselineBest);
    })->UseManualTime()->Iterations(10);
}

// plain belongs to main, so that it goes before the application does.
void registerTyping(ConsoleHost* host, QTextEdit* plain)
{
    benchmark::RegisterBenchmark("keystroke/console_2000_history", [host, plain](benchmark::State& state) {
        PythonScriptConsoleTextEdit* editor = host->editor();
        plain->show();
        constexpr int keys = 20;
        auto typing = [](QWidget* widget) {
            return [widget] {
                return secondsOf([widget] {
                    for (int i = 0; i < keys / 2; ++i) {
                        QTest::keyClick(widget, Qt::Key_N);
                        QTest::keyClick(widget, Qt::Key_Backspace);
                    }
                });
            };
        };
        const PairedFigures figures = timePaired(state, typing(editor), typing(plain), keys);
        RatioBoard::instance().compare(state, "keystroke/console_2000_history", figures.best, "keystroke/plain QTextEdit",
                                       figures.baselineBest);
    })->UseManualTime()->Iterations(50);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // The console's menu and toolbar are read from the resources beside the plug-in.
    qputenv("BELLWICK_BIN_DIR", QCoreApplication::applicationDirPath().toUtf8());
    makeWorkload();
    ConsoleHost host;
    host.editor()->setHistory(s_history);
    host.editor()->setFocus();
    registerRanking();
    QTextEdit plain;
    registerTyping(&host, &plain);
    return runBenchmarksWithSummary(argc, argv);
}
