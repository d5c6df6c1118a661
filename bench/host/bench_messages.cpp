// The Messages dock showing 1,000 prints of Python output (four writes each, as print(i, "x")
// makes them), logged from the main thread or from another thread: the longest stall of the
// window's event loop until the last row is shown, and the time until then.
#include "HostMessagesView.h"
#include "MSG_Log.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

#include <functional>

namespace {

constexpr int prints = 1000;

void logPrints()
{
    MSG_Log* log = MSG_Log::instance();
    for (int i = 0; i < prints; ++i) {
        for (const QString& piece : {QString::number(i), QStringLiteral(" "), QStringLiteral("x"), QStringLiteral("\n")})
            log->addMessage(7, QStringLiteral("[PY STDOUT] : ") + piece);
    }
}

// Runs the event loop until the view shows the last print; records the longest gap between two
// turns of the loop (a zero timer fires once per turn).
void measure(benchmark::State& state, const std::function<void()>& produce)
{
    for (auto _ : state) {
        MSG_Log::instance()->clear();
        HostMessagesView view;
        view.resize(600, 400);
        view.show();
        QElapsedTimer clock;
        qint64 last = 0;
        qint64 longest = 0;
        QTimer turn;
        QObject::connect(&turn, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            longest = qMax(longest, now - last);
            last = now;
        });
        turn.start(0);
        clock.start();
        produce();
        const QString lastRow = QStringLiteral("[7] [PY STDOUT] : %1 x").arg(prints - 1);
        while (view.model()->rowCount() == 0
               || view.model()->index(view.model()->rowCount() - 1, 0).data().toString() != lastRow) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            if (clock.elapsed() > 600000)
                break;
        }
        const qint64 total = clock.nsecsElapsed();
        longest = qMax(longest, total - last);
        state.SetIterationTime(double(total) / 1e9);
        state.counters["longest_stall_ms"] = double(longest) / 1e6;
        state.counters["rows"] = view.model()->rowCount();
    }
}

void mainThread(benchmark::State& state)
{
    measure(state, logPrints);
}

void otherThread(benchmark::State& state)
{
    measure(state, [] {
        QThread* writer = QThread::create(logPrints);
        QObject::connect(writer, &QThread::finished, writer, &QObject::deleteLater);
        writer->start();
    });
}

} // namespace

BENCHMARK(mainThread)->Name("messages dock, 1000 prints on the main thread")->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(otherThread)->Name("messages dock, 1000 prints from a thread")->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
