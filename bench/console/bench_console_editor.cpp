// Completion ranking at 2,000 history lines x 500 candidates against a direct transcription of
// its counting rule, the cost of one keystroke in a console with that history against the
// same keystroke in a plain QTextEdit, and the slowest key with a library's names in __main__.
#include "console/PythonScriptConsoleCompletionRanking.h"
#include "console/PythonScriptConsoleTextEdit.h"
#include "support/BatchTiming.h"
#include "support/BenchRun.h"
#include "support/CompletionRankingOracle.h"
#include "support/ConsoleHost.h"
#include "support/RatioBoard.h"

#include <PythonQt.h>

#include <QApplication>
#include <QRandomGenerator>
#include <QTest>
#include <QTextEdit>

#include <chrono>

namespace {

constexpr int historyLines = 2000;
constexpr int candidateCount = 500;
constexpr double rankingBudgetNanos = 5e6; // 5 ms
constexpr int libraryNames = 100000;
constexpr double frameNanos = 16e6; // no key may take longer

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

// plain belongs to main, so that it goes before the application does. With events, each key is
// followed by the events it left (the console's popup opening and closing, both editors'
// painting); without, keys come faster than the event loop turns.
void registerTyping(ConsoleHost* host, QTextEdit* plain, const char* name, const char* baseline, bool events)
{
    benchmark::RegisterBenchmark(name, [host, plain, name, baseline, events](benchmark::State& state) {
        PythonScriptConsoleTextEdit* editor = host->editor();
        plain->show();
        // The word's names are looked up once, after the first key (the lookup waits for the
        // event loop); the measured keys then filter them.
        for (QWidget* widget : {static_cast<QWidget*>(editor), static_cast<QWidget*>(plain)}) {
            QTest::keyClick(widget, Qt::Key_N);
            (void)QTest::qWaitFor([editor] { return !editor->completionPending(); });
            QTest::keyClick(widget, Qt::Key_Backspace);
            QCoreApplication::processEvents();
        }
        constexpr int keys = 20;
        auto typing = [events](QWidget* widget) {
            return [widget, events] {
                return secondsOf([widget, events] {
                    for (int i = 0; i < keys; ++i) {
                        QTest::keyClick(widget, i % 2 == 0 ? Qt::Key_N : Qt::Key_Backspace);
                        if (events)
                            QCoreApplication::processEvents();
                    }
                });
            };
        };
        const PairedFigures figures = timePaired(state, typing(editor), typing(plain), keys);
        RatioBoard::instance().compare(state, name, figures.best, baseline, figures.baselineBest);
    })->UseManualTime()->Iterations(50);
}

// The slowest key while typing names that all 100,000 names of a star-imported library start
// with, each word at a new place so that every first letter looks the names up afresh, and the
// slowest step of the event loop after a key.
void registerLibraryTyping(ConsoleHost* host, QTextEdit* plain)
{
    benchmark::RegisterBenchmark("keystroke/worst_key_100000_names", [host, plain](benchmark::State& state) {
        PythonQtObjectPtr main = PythonQt::self()->getMainModule();
        main.evalScript(QStringLiteral("globals().update({'gl%s%d' % (('Vertex', 'Color', 'Buffer', 'Draw')[i % 4], i): i "
                                       "for i in range(%1)})").arg(libraryNames));
        const QList<Qt::Key> keys{Qt::Key_G, Qt::Key_L, Qt::Key_Space, Qt::Key_G, Qt::Key_L, Qt::Key_B,
                                  Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_Backspace,
                                  Qt::Key_Backspace, Qt::Key_Backspace};
        // The slowest key, and apart from it the slowest key that does not look the names up:
        // lookups are a word's first letter and the Backspace that returns into the word
        // before; the other keys filter what was looked up. After each key the events it left
        // are handled, each turn of the event loop timed apart (the longest turn is how long
        // input waits): the console's deferred lookup and popup, both editors' painting.
        PythonScriptConsoleTextEdit* editor = host->editor();
        double laterWorst = 0;
        auto worstKey = [&keys, &laterWorst, editor](QWidget* widget, double& deferredWorst) {
            const bool console = widget == editor;
            double worst = 0;
            for (qsizetype i = 0; i < keys.size(); ++i) {
                const double seconds = secondsOf([widget, &keys, i] { QTest::keyClick(widget, keys.at(i)); });
                worst = std::max(worst, seconds);
                if (console && i != 0 && i != 3 && i != 9)
                    laterWorst = std::max(laterWorst, seconds);
                do
                    deferredWorst = std::max(deferredWorst, secondsOf([] { QCoreApplication::processEvents(); }));
                while (editor->completionPending());
            }
            return worst;
        };
        plain->show();
        double worst = 0;
        double plainWorst = 0;
        double deferredWorst = 0;
        double plainDeferredWorst = 0;
        for (auto _ : state) {
            const double seconds = worstKey(editor, deferredWorst);
            state.SetIterationTime(seconds);
            worst = std::max(worst, seconds);
            plainWorst = std::max(plainWorst, worstKey(plain, plainDeferredWorst));
        }
        main.evalScript(QStringLiteral("[globals().pop(n) for n in [n for n in globals() if n.startswith('gl')]]"));
        const double nanos = worst * 1e9;
        const double plainNanos = plainWorst * 1e9;
        RatioBoard::instance().compare(state, "keystroke/worst_key_100000_names", nanos, "worst key/plain QTextEdit",
                                       plainNanos, frameNanos / plainNanos);
        // What the keys left for the event loop must fit in a frame too, or the next key waits.
        RatioBoard::instance().compare(state, "keystroke/worst_deferred_step_100000_names", deferredWorst * 1e9,
                                       "worst step/plain QTextEdit", plainDeferredWorst * 1e9,
                                       frameNanos / (plainDeferredWorst * 1e9));
        state.counters["worst_ms"] = nanos / 1e6;
        state.counters["worst_later_ms"] = laterWorst * 1e3;
        state.counters["worst_deferred_ms"] = deferredWorst * 1e3;
    })->UseManualTime()->Iterations(5);
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
    registerTyping(&host, &plain, "keystroke/console_2000_history", "keystroke/plain QTextEdit", false);
    registerTyping(&host, &plain, "keystroke/console_2000_history_events", "keystroke+events/plain QTextEdit", true);
    registerLibraryTyping(&host, &plain);
    return runBenchmarksWithSummary(argc, argv);
}
