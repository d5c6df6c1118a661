// Cost of the layer's lock scope and variant calls against the raw C API doing the same work.
// Each layer benchmark reports "vs_raw": its time per iteration divided by the raw baseline's.
#include <PythonQtPython.h>

#include "PythonQt.h"

#include <benchmark/benchmark.h>

#include <QThread>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace {

PythonQtObjectPtr s_adder;

// Nanoseconds per iteration of body, measured on a worker thread when onWorker is set.
double nanosPerIteration(const std::function<void()>& body, bool onWorker, int iterations = 200000)
{
    double result = 0;
    auto run = [&] {
        body(); // warm-up: a worker creates its kept state here
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < iterations; ++i)
            body();
        result = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() / iterations;
    };
    if (!onWorker) {
        run();
        return result;
    }
    std::unique_ptr<QThread> worker(QThread::create(run));
    worker->start();
    worker->wait();
    return result;
}

void layerScope()
{
    PythonQtGILScope scope;
    benchmark::DoNotOptimize(PyGILState_Check());
}

void rawScope()
{
    const PyGILState_STATE state = PyGILState_Ensure();
    benchmark::DoNotOptimize(PyGILState_Check());
    PyGILState_Release(state);
}

void layerCall()
{
    PythonQtGILScope scope;
    PyObject* result = PythonQt::self()->callAndReturnPyObject(s_adder, {2, 3});
    benchmark::DoNotOptimize(result);
    Py_XDECREF(result);
}

void rawCall()
{
    const PyGILState_STATE state = PyGILState_Ensure();
    PyObject* args = PyTuple_New(2);
    PyTuple_SET_ITEM(args, 0, PyLong_FromLong(2));
    PyTuple_SET_ITEM(args, 1, PyLong_FromLong(3));
    PyObject* result = PyObject_Call(s_adder, args, nullptr);
    benchmark::DoNotOptimize(result);
    Py_XDECREF(result);
    Py_DECREF(args);
    PyGILState_Release(state);
}

struct Case
{
    void (*layer)();
    void (*raw)();
    bool onWorker;
};

const std::map<std::string, Case> s_cases = {
    {"GILScope/main", {layerScope, rawScope, false}},
    {"GILScope/worker", {layerScope, rawScope, true}},
    {"callAndReturnPyObject/main", {layerCall, rawCall, false}},
};

// Runs the case's body in the benchmark loop (on a worker thread when asked, timed manually),
// and reports the ratio of layer to raw measured the same way.
void runCase(benchmark::State& state, const std::string& name, bool layer)
{
    const Case& c = s_cases.at(name);
    void (*body)() = layer ? c.layer : c.raw;
    for (auto _ : state) {
        const double nanos = nanosPerIteration(body, c.onWorker, 20000);
        state.SetIterationTime(nanos * 20000 / 1e9);
    }
    state.SetItemsProcessed(state.iterations() * 20000);
    if (layer) {
        const double layerNanos = nanosPerIteration(c.layer, c.onWorker);
        const double rawNanos = nanosPerIteration(c.raw, c.onWorker);
        state.counters["layer_ns"] = layerNanos;
        state.counters["raw_ns"] = rawNanos;
        state.counters["vs_raw"] = layerNanos / rawNanos;
    }
}

} // namespace

int main(int argc, char** argv)
{
    PythonQt::init(PythonQt::IgnoreSiteModule);
    if (!PythonQt::self()->initSuccessfully())
        return 1;
    PythonQt::self()->startThreads();
    PythonQtObjectPtr module = PythonQt::self()->createModuleFromScript("bench", "def add(a, b):\n    return a + b\n");
    {
        PythonQtGILScope scope;
        s_adder.setNewRef(PyObject_GetAttrString(module, "add"));
    }
    for (const auto& [name, c] : s_cases) {
        benchmark::RegisterBenchmark((name + "/layer").c_str(), runCase, name, true)->UseManualTime();
        benchmark::RegisterBenchmark((name + "/raw").c_str(), runCase, name, false)->UseManualTime();
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    s_adder = nullptr;
    module = nullptr;
    PythonQt::cleanup();
    return 0;
}
