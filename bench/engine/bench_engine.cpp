// Cost of the engine's lock scope and calls against the raw C API doing the same work and against
// pybind11 (the peer people would otherwise embed with), and how calls from several host threads
// share the interpreter.
#include "engine/EngineGILScope.h"
#include <PythonQtPython.h>
#ifdef BELLWICK_BENCH_PYBIND11
#include <pybind11/pybind11.h>
#endif
#include "support/BatchTiming.h"
#include "support/BenchHost.h"
#include "support/BenchRun.h"
#include "support/RatioBoard.h"

#include <SCP_PythonEngine.h>
#include <SCP_PythonFunction.h>
#include <SCP_PythonModule.h>

#include <QSemaphore>

#include <algorithm>
#include <array>
#include <limits>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace {

constexpr int batchSize = 500;
constexpr double scopeGoal = 2.0;
constexpr double callGoal = 1.5;
// Against pybind11 doing the same work.
constexpr double peerScopeGoal = 1.05;
constexpr double peerCallGoal = 1.0;
constexpr double peerHeldCallGoal = 1.2;
constexpr double peerModuleCallGoal = 1.2;
// At least 70% of one thread's throughput.
constexpr double threadGoal = 1 / 0.7;
constexpr int maxThreads = 8;
constexpr int callsPerThread = 2000;

struct Fixture
{
    SCP_PythonModule* module = nullptr;
    SCP_PythonFunction* function = nullptr;
    PyObject* adder = nullptr;      // borrowed from the module, which lives as long as the engine
    PyObject* namespaceDict = nullptr;
    std::array<std::unique_ptr<BenchWorker>, maxThreads> workers;
    std::unique_ptr<BenchWorker> untouchedWorker; // never opens an engine scope
    // The arguments every call passes, made once as a host keeps them: the list the API takes by
    // value is then shared, not rebuilt, and the figures time the call itself.
    const QVariantList args{1, 2};
#ifdef BELLWICK_BENCH_PYBIND11
    pybind11::handle peerAdder;   // borrowed, as adder
    pybind11::handle peerModule;
#endif
};

Fixture s;

// --- bodies --------------------------------------------------------------------------------

void bareGILPair()
{
    const PyGILState_STATE state = PyGILState_Ensure();
    benchmark::DoNotOptimize(state);
    PyGILState_Release(state);
}

void engineScope()
{
    PythonEngineImpl::EngineGILScope scope;
    benchmark::DoNotOptimize(&scope);
}

// The conversions PythonFunctionImpl::call makes, written out by hand.
QVariant rawCall(PyObject* callable, const QVariantList& args)
{
    const PyGILState_STATE state = PyGILState_Ensure();
    PyObject* tuple = PyTuple_New(args.size());
    for (int i = 0; i < args.size(); ++i)
        PyTuple_SET_ITEM(tuple, i, PyLong_FromLong(args.at(i).toInt()));
    PyObject* result = PyObject_Call(callable, tuple, nullptr);
    Py_DECREF(tuple);
    QVariant value;
    if (result) {
        value = QVariant(int(PyLong_AsLong(result)));
        Py_DECREF(result);
    }
    PyGILState_Release(state);
    return value;
}

void rawFunctionCall()
{
    benchmark::DoNotOptimize(rawCall(s.adder, s.args));
}

// The same, with the function looked up by name as the module's call does.
void rawModuleCall()
{
    const QString name = QStringLiteral("add");
    const PyGILState_STATE state = PyGILState_Ensure();
    PyObject* function = PyDict_GetItemString(s.namespaceDict, name.toUtf8().constData());
    PyGILState_Release(state);
    benchmark::DoNotOptimize(rawCall(function, s.args));
}

void functionCall()
{
    benchmark::DoNotOptimize(s.function->call(s.args));
}

void moduleCall()
{
    benchmark::DoNotOptimize(s.module->call(QStringLiteral("add"), s.args));
}

#ifdef BELLWICK_BENCH_PYBIND11
void peerScope()
{
    pybind11::gil_scoped_acquire gil;
    benchmark::DoNotOptimize(&gil);
}

// Called with the lock already held, as the pybind11 idiom inside a bound function.
void peerCallHeld()
{
    benchmark::DoNotOptimize(s.peerAdder(1, 2).cast<long>());
}

void peerCall()
{
    pybind11::gil_scoped_acquire gil;
    peerCallHeld();
}

void peerModuleCall()
{
    pybind11::gil_scoped_acquire gil;
    benchmark::DoNotOptimize(s.peerModule.attr("add")(1, 2).cast<long>());
}
#endif

// --- cases ---------------------------------------------------------------------------------

using Body = void (*)();

// Each batch of a held case runs inside one engine scope opened before its timing starts: the
// calls find the lock already taken by their thread.
enum class Lock { Taken, Held };

template <typename Measure>
auto underLock(Measure measure, Lock lock)
{
    return [=] {
        std::optional<PythonEngineImpl::EngineGILScope> outer;
        if (lock == Lock::Held)
            outer.emplace();
        return measure();
    };
}

// body on caseWorker against baseline on baselineWorker (null: the main thread).
void registerCase(const std::string& name, Body body, BenchWorker* caseWorker, const std::string& baselineName,
                  Body baseline, BenchWorker* baselineWorker, double goal = 0, Lock lock = Lock::Taken)
{
    benchmark::RegisterBenchmark(name.c_str(), [=](benchmark::State& state) {
        const PairedFigures figures = timePaired(state, underLock(batchOf(body, batchSize, caseWorker), lock),
                                                 underLock(batchOf(baseline, batchSize, baselineWorker), lock),
                                                 batchSize);
        state.counters["mean_ns"] = figures.mean;
        RatioBoard::instance().compare(state, name, figures.best, baselineName, figures.baselineBest, goal);
    })->UseManualTime();
}

// A measurement of threads workers making callsPerThread calls each at the same time; seconds
// of wall time.
auto concurrentRun(Body body, int threads)
{
    return [=] {
        QSemaphore done;
        const auto start = std::chrono::steady_clock::now();
        for (int t = 0; t < threads; ++t) {
            s.workers[t]->post([&done, body] {
                for (int i = 0; i < callsPerThread; ++i)
                    body();
                done.release();
            });
        }
        done.acquire(threads);
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
}

// Wall time per call with threads callers against one caller making as many calls.
void registerThreadCase(const std::string& prefix, Body body, int threads, double goal)
{
    const std::string name = prefix + "/threads:" + std::to_string(threads);
    benchmark::RegisterBenchmark(name.c_str(), [=](benchmark::State& state) {
        auto oneThread = [body, threads] {
            double seconds = 0;
            for (int round = 0; round < threads; ++round)
                seconds += concurrentRun(body, 1)();
            return seconds;
        };
        const PairedFigures figures = timePaired(state, concurrentRun(body, threads), oneThread,
                                                 double(threads) * callsPerThread);
        state.counters["mean_ns"] = figures.mean;
        state.counters["throughput_vs_1_thread"] = figures.baselineBest / figures.best;
        RatioBoard::instance().compare(state, name, figures.best, prefix + "/threads:1", figures.baselineBest, goal);
    })->UseManualTime();
}

void registerAll()
{
    BenchWorker* worker = s.workers[0].get();
    registerCase("EngineGILScope/main", engineScope, nullptr, "raw_gil_pair/main", bareGILPair, nullptr, scopeGoal);
    registerCase("EngineGILScope/worker", engineScope, worker, "raw_gil_pair/main", bareGILPair, nullptr, scopeGoal);
    registerCase("EngineGILScope/worker (vs main)", engineScope, worker, "EngineGILScope/main", engineScope, nullptr);
    registerCase("raw_gil_pair/worker", bareGILPair, worker, "raw_gil_pair/main", bareGILPair, nullptr);
    // A thread without a Python state of its own: each bare pair makes and deletes one.
    registerCase("raw_gil_pair/stateless_worker", bareGILPair, s.untouchedWorker.get(), "raw_gil_pair/main",
                 bareGILPair, nullptr);

    registerCase("PythonFunctionImpl::call/main", functionCall, nullptr, "raw_call/main", rawFunctionCall, nullptr,
                 callGoal);
    registerCase("PythonFunctionImpl::call/worker", functionCall, worker, "raw_call/worker", rawFunctionCall, worker,
                 callGoal);
    registerCase("PythonModuleImpl::call/main", moduleCall, nullptr, "raw_module_call/main", rawModuleCall, nullptr,
                 callGoal);
#ifdef BELLWICK_BENCH_PYBIND11
    registerCase("EngineGILScope/main (vs pybind11)", engineScope, nullptr, "pybind11_gil_scoped_acquire/main",
                 peerScope, nullptr, peerScopeGoal);
    registerCase("PythonFunctionImpl::call/main (vs pybind11)", functionCall, nullptr, "pybind11_call/main", peerCall,
                 nullptr, peerCallGoal);
    registerCase("PythonFunctionImpl::call/held (vs pybind11)", functionCall, nullptr, "pybind11_call/held",
                 peerCallHeld, nullptr, peerHeldCallGoal, Lock::Held);
    registerCase("PythonModuleImpl::call/main (vs pybind11)", moduleCall, nullptr, "pybind11_attr_call/main",
                 peerModuleCall, nullptr, peerModuleCallGoal);
#endif

    for (int threads = 2; threads <= maxThreads; threads *= 2)
        registerThreadCase("raw_call", rawFunctionCall, threads, 0);
    for (int threads = 2; threads <= maxThreads; threads *= 2)
        registerThreadCase("PythonFunctionImpl::call", functionCall, threads, threadGoal);
}

bool setUp(SCP_PythonEngine* engine)
{
    if (!engine)
        return false;
    s.module = engine->createModule(QStringLiteral("bench_engine"));
    s.module->execute(QStringLiteral("def add(a, b):\n    return a + b\n"));
    const QList<SCP_PythonFunction*> functions = s.module->functions();
    if (functions.size() != 1)
        return false;
    s.function = functions.first();
    {
        PythonEngineImpl::EngineGILScope scope;
        PyObject* moduleObject = PyImport_AddModule("bench_engine");
        s.namespaceDict = moduleObject ? PyModule_GetDict(moduleObject) : nullptr;
        s.adder = s.namespaceDict ? PyDict_GetItemString(s.namespaceDict, "add") : nullptr;
#ifdef BELLWICK_BENCH_PYBIND11
        // pybind11 sets up its own per-thread bookkeeping the first time, under the lock.
        s.peerAdder = s.adder;
        s.peerModule = moduleObject;
        if (s.peerAdder(1, 2).cast<long>() != 3)
            return false;
#endif
    }
    for (auto& worker : s.workers) {
        worker = std::make_unique<BenchWorker>();
        worker->run(engineScope); // the thread keeps its Python state from here on
    }
    s.untouchedWorker = std::make_unique<BenchWorker>();
    return s.adder && s.function->call({1, 2}).toInt() == 3 && s.module->call(QStringLiteral("add"), {1, 2}).toInt() == 3
        && rawCall(s.adder, {1, 2}).toInt() == 3;
}

} // namespace

int main(int argc, char** argv)
{
    BenchHost host(argc, argv);
    if (!setUp(host.engine())) {
        std::fputs("bench_engine: the plug-in did not start or the test module is wrong\n", stderr);
        return 1;
    }
    registerAll();
    const int code = runBenchmarksWithSummary(argc, argv);
    for (auto& worker : s.workers)
        worker.reset();
    s.untouchedWorker.reset();
    return code;
}
