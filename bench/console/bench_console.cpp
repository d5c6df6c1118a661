// The console base while it runs code, each figure against a raw baseline of the same run: a
// million printed lines against the same loop printing to a discarding stream; the longest wait
// for a repaint meanwhile against the console repainting with nothing running; the memory the
// document keeps afterwards against a plain text edit holding the same text; and the cost of
// staying responsive on a pure-Python loop against the same loop run without the console.
// Python.h first: Qt defines "slots" as a macro.
#include <PythonQtPython.h>

#include "BareConsole.h"
#include "PaintGapMeter.h"
#include "PythonQt.h"
#include "PythonQtScriptingConsole.h"
#include "TypedLineRun.h"
#include "support/BatchTiming.h"
#include "support/BenchRun.h"
#include "support/RatioBoard.h"

#include <QApplication>
#include <QFile>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <malloc.h>

#include <chrono>
#include <functional>

namespace {

const QString printLoop = QStringLiteral("for i in range(10**6): print(i)");
const QString pureLoop = QStringLiteral("for i in range(3 * 10**6): x = i * 2");
constexpr double printGoal = 2;
constexpr double repaintGoalMs = 100;
constexpr double responsivenessGoal = 1.05;

PythonQtScriptingConsole* s_console = nullptr;

double secondsOf(const std::function<void()>& body)
{
    const auto start = std::chrono::steady_clock::now();
    body();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Types a one-line compound statement and times the Return that ends it and the empty line after
// it: a console that runs such a line at once runs it at the first, another at the second, and
// the other Return costs next to nothing either way.
double secondsInConsole(const QString& code)
{
    s_console->clear();
    QTest::keyClicks(s_console, code);
    return secondsOf([] {
        QTest::keyClick(s_console, Qt::Key_Return);
        QTest::keyClick(s_console, Qt::Key_Return);
    });
}

// The same code run straight through the interpreter.
double secondsInInterpreter(const QString& code, TypedLineRun::Stdout stdoutKind = TypedLineRun::Kept)
{
    PythonQtGILScope lock;
    TypedLineRun line(code, stdoutKind);
    return secondsOf([&line] { line.run(); });
}

size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

long residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLong() * 4096 : 0;
}

void registerPrinting()
{
    benchmark::RegisterBenchmark("print_1M_lines", [](benchmark::State& state) {
        const PairedFigures figures = timePaired(
            state, [] { return secondsInConsole(printLoop); },
            [] { return secondsInInterpreter(printLoop, TypedLineRun::Discarded); }, 1e6);
        RatioBoard::instance().compare(state, "print_1M_lines/console", figures.best, "same loop, stdout to os.devnull",
                                       figures.baselineBest, printGoal);
    })->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
}

// The baseline: the console showing a line every 16 ms with nothing running, for a second.
double idleRepaintGapMs(PaintGapMeter& meter)
{
    QTimer ticker;
    int line = 0;
    QObject::connect(&ticker, &QTimer::timeout, [&] { s_console->stdOut(QStringLiteral("idle %1\n").arg(++line)); });
    ticker.start(16);
    meter.start();
    QTest::qWait(1000);
    return meter.longestGapMs();
}

void registerRepaintGap()
{
    benchmark::RegisterBenchmark("repaint_gap_while_printing", [](benchmark::State& state) {
        PaintGapMeter meter(s_console->viewport());
        double worstMs = 0;
        double idleMs = 1e9;
        for (auto _ : state) {
            s_console->clear();
            QTest::keyClicks(s_console, printLoop);
            meter.start();
            QTest::keyClick(s_console, Qt::Key_Return);
            QTest::keyClick(s_console, Qt::Key_Return);
            worstMs = std::max(worstMs, meter.longestGapMs());
            state.counters["paints"] = meter.paints();
            idleMs = std::min(idleMs, idleRepaintGapMs(meter));
            state.SetIterationTime(worstMs / 1e3);
        }
        state.counters["longest_gap_ms"] = worstMs;
        RatioBoard::instance().compare(state, "repaint_gap/longest (ns)", worstMs * 1e6, "idle console, line every 16 ms",
                                       idleMs * 1e6, repaintGoalMs / idleMs);
    })->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
}

void registerMemory()
{
    benchmark::RegisterBenchmark("document_after_1M_lines", [](benchmark::State& state) {
        for (auto _ : state) {
            s_console->clear();
            QTest::qWait(50);
            const size_t heapBefore = heapInUse();
            const long rssBefore = residentBytes();
            secondsInConsole(printLoop);
            QTest::qWait(50);
            const double consoleHeap = double(heapInUse()) - double(heapBefore);
            state.counters["rss_delta_kb"] = double(residentBytes() - rssBefore) / 1024;
            state.counters["characters"] = s_console->document()->characterCount();
            state.counters["blocks"] = s_console->document()->blockCount();

            const size_t plainBefore = heapInUse();
            auto plain = std::make_unique<QTextEdit>();
            plain->resize(s_console->size());
            plain->setPlainText(s_console->toPlainText());
            plain->show();
            QTest::qWait(50);
            const double plainHeap = double(heapInUse()) - double(plainBefore);
            state.counters["heap_delta_kb"] = consoleHeap / 1024;
            RatioBoard::instance().compare(state, "document_after_1M/heap (bytes)", consoleHeap,
                                           "plain QTextEdit, same text", plainHeap);
        }
    })->Iterations(1)->Unit(benchmark::kMillisecond);
}

void registerResponsiveness()
{
    benchmark::RegisterBenchmark("pure_python_loop", [](benchmark::State& state) {
        const PairedFigures figures = timePaired(
            state, [] { return secondsInConsole(pureLoop); }, [] { return secondsInInterpreter(pureLoop); }, 3e6);
        RatioBoard::instance().compare(state, "pure_python_loop/console", figures.best, "same loop run directly, no pump",
                                       figures.baselineBest, responsivenessGoal);
    })->UseManualTime()->Iterations(7)->Unit(benchmark::kMillisecond);
}

} // namespace

int main(int argc, char** argv)
{
    BareConsole bare(argc, argv);
    s_console = bare.console();
    if (!s_console)
        return 1;
    registerPrinting();
    registerRepaintGap();
    registerMemory();
    registerResponsiveness();
    return runBenchmarksWithSummary(argc, argv);
}
