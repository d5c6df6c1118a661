// Memory of the bridge under load: a million script calls of a Python function with object,
// array and function arguments and a container result, the resident size printed every 100,000
// calls (flat when every conversion and call frees what it made); and the 30x30 DAG (31
// distinct lists, each holding the next one 30 times) crossing both ways: time and resident size.
#include "support/BenchHost.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QScriptEngine>

#include <chrono>
#include <cstdio>

#include <unistd.h>

namespace {

constexpr int calls = 1000000;
constexpr int callsPerReport = 100000;

QScriptEngine* s_scripts = nullptr;

double residentMb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0) : 0;
}

void millionCalls(benchmark::State& state)
{
    for (auto _ : state) {
        const double first = residentMb();
        double last = first;
        for (int done = 0; done < calls; done += callsPerReport) {
            s_scripts->evaluate(QStringLiteral("churn(%1)").arg(callsPerReport));
            last = residentMb();
            std::printf("  after %7d calls: RSS %.1f MB\n", done + callsPerReport, last);
        }
        state.counters["rss_first_mb"] = first;
        state.counters["rss_last_mb"] = last;
        state.counters["rss_growth_mb"] = last - first;
    }
}

void dag(benchmark::State& state, const char* program)
{
    for (auto _ : state) {
        const double before = residentMb();
        const auto start = std::chrono::steady_clock::now();
        const int distinct = s_scripts->evaluate(QString::fromLatin1(program)).toInt32();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        state.counters["rss_growth_mb"] = residentMb() - before;
        state.counters["distinct_lists"] = distinct;
    }
}

bool setUp(const QString& folder)
{
    const QString file = QDir(folder).filePath(QStringLiteral("bench_bridge_memory.py"));
    QFile source(file);
    if (!source.open(QIODevice::WriteOnly)
        || source.write("def f(obj, items, fn):\n    return {'n': obj['a'], 'items': [items, items], 'fn': fn is not None}\n"
                        "def dag():\n    v = [0]\n    for _ in range(30):\n        v = [v] * 30\n    return v\n"
                        "def distinct(v):\n    seen, todo = set(), [v]\n    while todo:\n        x = todo.pop()\n"
                        "        if isinstance(x, list) and id(x) not in seen:\n            seen.add(id(x))\n"
                        "            todo.extend(x)\n    return len(seen)\n")
               < 0)
        return false;
    source.close();
    s_scripts->globalObject().setProperty(QStringLiteral("FILE"), QScriptValue(file));
    s_scripts->evaluate(QStringLiteral(
        "var o = PythonManager.createPyObject(FILE);\n"
        "function callback() { return 1; }\n"
        "function churn(n) { var r; for (var i = 0; i < n; ++i) r = o.py.f({a: i, s: 'text ' + i}, [i, 'x', [1.5]], callback); return r; }\n"
        "function scriptDag() { var v = [0]; for (var i = 0; i < 30; ++i) { var w = []; for (var j = 0; j < 30; ++j) w.push(v); v = w; } return v; }\n"
        "function countArrays(v) { var seen = new Set(), todo = [v]; while (todo.length) { var x = todo.pop();"
        " if (Array.isArray(x) && !seen.has(x)) { seen.add(x); for (var k = 0; k < x.length; ++k) todo.push(x[k]); } } return seen.size; }\n"));
    return s_scripts->evaluate(QStringLiteral("churn(2).n")).toInt32() == 1;
}

} // namespace

int main(int argc, char** argv)
{
    BenchHost host(argc, argv);
    const QString folder = QDir::temp().filePath(QStringLiteral("bench_bridge_memory_%1").arg(QCoreApplication::applicationPid()));
    QDir().mkpath(folder);
    s_scripts = host.scriptEngine();
    if (!host.engine() || !setUp(folder)) {
        std::fputs("bench_bridge_memory: the plug-in did not start or PythonManager did not load the test file\n", stderr);
        QDir(folder).removeRecursively();
        return 1;
    }
    benchmark::RegisterBenchmark("1M o.py.f(object, array, function) calls", millionCalls)
        ->Iterations(1)->Unit(benchmark::kSecond);
    benchmark::RegisterBenchmark("30x30 DAG, Python to script", dag, "countArrays(o.py.dag())")
        ->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("30x30 DAG, script to Python", dag, "o.py.distinct(scriptDag())")
        ->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    QDir(folder).removeRecursively();
    return 0;
}
