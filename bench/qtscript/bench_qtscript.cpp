// Cost of a script call into C++ through QScriptEngine (a slot, a native function) against the
// same slot called through a plain QJSEngine. Counters: ns_per_call and ratio_vs_qjsengine.
#include <QCoreApplication>
#include <QJSEngine>
#include <QScriptEngine>

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

constexpr int CallsPerRun = 1000;
const QString Loop = QStringLiteral(
    "(function (o) { var s = 0; for (var i = 0; i < %1; ++i) s += o.add(i, 1); return s; })")
                         .arg(CallsPerRun);

class Adder : public QObject
{
    Q_OBJECT
public slots:
    double add(double a, double b) { return a + b; }
};

QScriptValue nativeAdd(QScriptContext* ctx, QScriptEngine*)
{
    return ctx->argument(0).toNumber() + ctx->argument(1).toNumber();
}

template <typename Run>
double nanosecondsPerCall(Run&& run)
{
    const auto start = std::chrono::steady_clock::now();
    run();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    return double(std::chrono::duration_cast<std::chrono::nanoseconds>(elapsed).count()) / CallsPerRun;
}

double& baseline()
{
    static double value = 0;
    return value;
}

void report(benchmark::State& state, double total, bool isBaseline)
{
    const double perCall = total / double(state.iterations());
    if (isBaseline)
        baseline() = perCall;
    state.counters["ns_per_call"] = perCall;
    if (baseline() > 0)
        state.counters["ratio_vs_qjsengine"] = perCall / baseline();
}

void BM_QJSEngineSlot(benchmark::State& state)
{
    QJSEngine engine;
    Adder adder;
    QJSEngine::setObjectOwnership(&adder, QJSEngine::CppOwnership);
    const QJSValue loop = engine.evaluate(Loop);
    const QJSValue object = engine.newQObject(&adder);
    double total = 0;
    for (auto _ : state)
        total += nanosecondsPerCall([&] { benchmark::DoNotOptimize(loop.call({object})); });
    report(state, total, true);
}

void BM_QScriptEngineSlot(benchmark::State& state)
{
    QScriptEngine engine;
    Adder adder;
    const QScriptValue loop = engine.evaluate(Loop);
    const QScriptValue object = engine.newQObject(&adder);
    double total = 0;
    for (auto _ : state)
        total += nanosecondsPerCall([&] { benchmark::DoNotOptimize(loop.call(QScriptValue(), {object})); });
    report(state, total, false);
}

void BM_QScriptEngineNativeFunction(benchmark::State& state)
{
    QScriptEngine engine;
    const QScriptValue loop = engine.evaluate(Loop);
    QScriptValue object = engine.newObject();
    object.setProperty(QStringLiteral("add"), engine.newFunction(nativeAdd, 2));
    double total = 0;
    for (auto _ : state)
        total += nanosecondsPerCall([&] { benchmark::DoNotOptimize(loop.call(QScriptValue(), {object})); });
    report(state, total, false);
}

} // namespace

BENCHMARK(BM_QJSEngineSlot);
BENCHMARK(BM_QScriptEngineSlot);
BENCHMARK(BM_QScriptEngineNativeFunction);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#include "bench_qtscript.moc"
