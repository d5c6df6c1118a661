// The docked plug-in console under floods of output, as a user sees it. Per case: the process's
// CPU time against the same code printing into a discarding stream, and the longest wait of the
// event loop meanwhile (a click or a repaint waits that long). The peer is a plain QPlainTextEdit
// appending the same lines on a timer. Cases: 100,000 and 1,000,000 printed lines, one 100 MB
// line, and 1,000 carriage-return progress updates, which must show as one line.
// Python.h first: Qt defines "slots" as a macro.
#include <PythonQtPython.h>

#include "EventLoopGapMeter.h"
#include "TypedLineRun.h"
#include "console/PythonScriptConsoleTextEdit.h"
#include "support/BenchRun.h"
#include "support/ConsoleHost.h"
#include "support/RatioBoard.h"

#include <PythonQt.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>

#include <ctime>
#include <functional>
#include <limits>

namespace {

constexpr double cpuGoal = 2;
constexpr double gapGoalMs = 50;
constexpr int scrollback = 20000;

ConsoleHost* s_host = nullptr;

double cpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

struct Figures
{
    double cpuSeconds = std::numeric_limits<double>::max();
    double longestGapMs = std::numeric_limits<double>::max();

    void keepBest(const Figures& other)
    {
        cpuSeconds = std::min(cpuSeconds, other.cpuSeconds);
        longestGapMs = std::min(longestGapMs, other.longestGapMs);
    }
};

Figures measured(const std::function<void()>& body)
{
    EventLoopGapMeter meter;
    meter.start();
    const double start = cpuSeconds();
    body();
    Figures figures;
    figures.cpuSeconds = cpuSeconds() - start;
    figures.longestGapMs = meter.stopLongestGapMs();
    return figures;
}

// Typed into the docked console; the Return that ends the line and the empty line after it are
// measured, as a console may run a one-line compound statement at either.
Figures inConsole(const QString& code)
{
    PythonScriptConsoleTextEdit* editor = s_host->editor();
    editor->clear();
    QTest::qWait(20);
    QTest::keyClicks(editor, code);
    return measured([editor] {
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::keyClick(editor, Qt::Key_Return);
    });
}

// The same code run straight through the interpreter, sys.stdout discarding.
Figures inInterpreter(const QString& code)
{
    return measured([&code] {
        const PyGILState_STATE state = PyGILState_Ensure();
        {
            TypedLineRun line(code, TypedLineRun::Discarded);
            line.run();
        }
        PyGILState_Release(state);
    });
}

// The peer: the same lines appended to a QPlainTextEdit keeping as many lines, a thousand per
// turn of the event loop.
Figures inPlainTextEdit(int lines)
{
    QPlainTextEdit peer;
    peer.setMaximumBlockCount(scrollback);
    peer.resize(s_host->editor()->size());
    peer.show();
    QTest::qWait(20);
    return measured([&peer, lines] {
        QEventLoop loop;
        QTimer ticker;
        int next = 0;
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            QStringList batch;
            for (const int end = std::min(lines, next + 1000); next < end; ++next)
                batch << QString::number(next);
            peer.appendPlainText(batch.join(QLatin1Char('\n')));
            if (next == lines)
                loop.quit();
        });
        ticker.start(0);
        loop.exec();
    });
}

void report(benchmark::State& state, const std::string& name, const Figures& console, const Figures& baseline,
            const Figures* peer, double goal = cpuGoal)
{
    RatioBoard& board = RatioBoard::instance();
    board.compare(state, name + "/cpu", console.cpuSeconds * 1e9, "same code, stdout discarded",
                  baseline.cpuSeconds * 1e9, goal);
    if (peer) {
        board.compare(state, name + "/cpu vs peer", console.cpuSeconds * 1e9, "QPlainTextEdit on a timer",
                      peer->cpuSeconds * 1e9);
        board.compare(state, name + "/longest gap", console.longestGapMs * 1e6, "QPlainTextEdit on a timer",
                      peer->longestGapMs * 1e6, gapGoalMs / peer->longestGapMs);
    }
    state.counters["console_cpu_ms"] = console.cpuSeconds * 1e3;
    state.counters["baseline_cpu_ms"] = baseline.cpuSeconds * 1e3;
    state.counters["longest_gap_ms"] = console.longestGapMs;
    state.counters["gap_goal_met"] = console.longestGapMs <= gapGoalMs;
}

// Each iteration: the code in the console, then in the interpreter, then the extra measurement
// (the peer, or another command); the best of each.
struct Rounds
{
    Figures console;
    Figures baseline;
    Figures extra;
};

Rounds measureRounds(benchmark::State& state, const QString& code, const std::function<Figures()>& extra = {})
{
    Rounds rounds;
    for (auto _ : state) {
        const Figures once = inConsole(code);
        state.SetIterationTime(once.cpuSeconds);
        rounds.console.keepBest(once);
        rounds.baseline.keepBest(inInterpreter(code));
        if (extra)
            rounds.extra.keepBest(extra());
    }
    return rounds;
}

void registerLines(int lines, const std::string& name)
{
    benchmark::RegisterBenchmark(name.c_str(), [lines, name](benchmark::State& state) {
        const Rounds rounds = measureRounds(state, QStringLiteral("for i in range(%1): print(i)").arg(lines),
                                            [lines] { return inPlainTextEdit(lines); });
        report(state, name, rounds.console, rounds.baseline, &rounds.extra);
    })->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
}

void registerLongLine()
{
    benchmark::RegisterBenchmark("flood/one_100MB_line", [](benchmark::State& state) {
        const Rounds rounds = measureRounds(state, QStringLiteral("print('x' * 10**8)"));
        report(state, "flood/one_100MB_line", rounds.console, rounds.baseline, nullptr);
        // One print() of it blocks Python itself that long: the console may add as much again.
        RatioBoard::instance().compare(state, "flood/one_100MB_line/longest gap", rounds.console.longestGapMs * 1e6,
                                       "the print alone, stdout discarded", rounds.baseline.cpuSeconds * 1e9, cpuGoal);
    })->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
}

void registerProgress()
{
    benchmark::RegisterBenchmark("flood/1000_progress_updates", [](benchmark::State& state) {
        const Rounds rounds = measureRounds(state, QStringLiteral("for i in range(1000): print(f'\\r{i:5d} of 1000', end='')"),
                                            [] { return inConsole(QStringLiteral("pass")); });
        // What any command costs (prompt, history, highlighting) is most of it: shown, no goal.
        report(state, "flood/1000_progress_updates", rounds.console, rounds.baseline, nullptr, 0);
        state.counters["pass_command_cpu_ms"] = rounds.extra.cpuSeconds * 1e3;
        const QStringList shown = s_host->editor()->toPlainText().split(QLatin1Char('\n')).filter(
            QRegularExpression(QStringLiteral("^ *\\d+ of 1000$")));
        if (shown != QStringList{QStringLiteral("  999 of 1000")})
            state.SkipWithError("the updates did not show as one line");
    })->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // The console's menu and toolbar are read from the resources beside the plug-in.
    qputenv("BELLWICK_BIN_DIR", QCoreApplication::applicationDirPath().toUtf8());
    ConsoleHost host;
    s_host = &host;
    host.editor()->setFocus();
    registerLines(100000, "flood/100k_lines");
    registerLines(1000000, "flood/1M_lines");
    registerLongLine();
    registerProgress();
    return runBenchmarksWithSummary(argc, argv);
}
