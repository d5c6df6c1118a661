// How long Ctrl+C takes to end a blocking wait of console code on the main thread: from the key
// (a timer of the window's event loop presses it 300 ms into the wait) and from interrupt()
// called on another thread, to the console's prompt coming back, per kind of wait.
// Python.h first: Qt defines "slots" as a macro.
#include <PythonQtPython.h>

#include "PythonQt.h"
#include "PythonQtScriptingConsole.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto delay = std::chrono::milliseconds(300);

PythonQtScriptingConsole* s_console = nullptr;

const std::pair<const char*, const char*> waits[] = {
    {"time.sleep", "import time; time.sleep(30)"},
    {"Event.wait()", "import threading; threading.Event().wait()"},
    {"queue.get()", "import queue; queue.Queue().get()"},
    {"select", "import os, select; select.select([os.pipe()[0]], [], [])"},
    {"asyncio.sleep", "import asyncio; asyncio.run(asyncio.sleep(30))"},
};

// Runs the line; returns when its prompt is back.
void run(const QString& line)
{
    QTest::keyClicks(s_console, line);
    QTest::keyClick(s_console, Qt::Key_Return);
}

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void byKey(benchmark::State& state, const QString& line)
{
    for (auto _ : state) {
        s_console->clear();
        const Clock::time_point due = Clock::now() + delay;
        QTimer::singleShot(std::chrono::duration_cast<std::chrono::milliseconds>(delay), s_console,
                           [] { QTest::keyClick(s_console, Qt::Key_C, Qt::ControlModifier); });
        run(line);
        state.SetIterationTime(msSince(due) / 1000);
    }
}

void fromThread(benchmark::State& state, const QString& line)
{
    for (auto _ : state) {
        s_console->clear();
        Clock::time_point asked;
        std::thread interrupter([&asked] {
            std::this_thread::sleep_for(delay);
            asked = Clock::now();
            s_console->interrupt();
        });
        run(line);
        interrupter.join();
        state.SetIterationTime(msSince(asked) / 1000);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    PythonQt::init(PythonQt::RedirectStdOut | PythonQt::IgnoreSiteModule);
    if (!PythonQt::self()->initSuccessfully())
        return 1;
    PythonQt::self()->startThreads();
    PythonQtScriptingConsole console(nullptr, PythonQt::self()->getMainModule());
    console.resize(800, 600);
    console.show();
    if (!QTest::qWaitForWindowExposed(&console))
        return 1;
    console.setFocus();
    s_console = &console;
    for (const auto& [name, code] : waits) {
        const QString line = QString::fromLatin1(code);
        benchmark::RegisterBenchmark((std::string("Ctrl+C key/") + name).c_str(), byKey, line)
            ->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("interrupt() from a thread/") + name).c_str(), fromThread, line)
            ->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
