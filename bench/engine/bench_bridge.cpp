// Cost of host scripts reaching Python through "PythonManager", against native script functions
// that do the same work with the raw C API.
#include "engine/EngineGILScope.h"
#include <PythonQtPython.h>
#include "support/BatchTiming.h"
#include "support/BenchHost.h"
#include "support/BenchRun.h"
#include "support/RatioBoard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScriptContext>
#include <QScriptEngine>

#include <chrono>
#include <cstdio>

namespace {

constexpr int callsPerScriptRun = 2000;
constexpr double scriptLoopGoal = 2.0;
const char* const moduleName = "bench_bridge_adder";

QScriptEngine* s_scripts = nullptr;
PyObject* s_adder = nullptr; // borrowed from its module, which the bridge keeps alive
QString s_file;
QScriptValue s_cachedAnswer;

// The raw C API call that o.py.f(a, b) makes: a native script function.
QScriptValue rawAdd(QScriptContext* context, QScriptEngine*)
{
    const long a = context->argument(0).toInt32();
    const long b = context->argument(1).toInt32();
    const PyGILState_STATE state = PyGILState_Ensure();
    PyObject* args = PyTuple_New(2);
    PyTuple_SET_ITEM(args, 0, PyLong_FromLong(a));
    PyTuple_SET_ITEM(args, 1, PyLong_FromLong(b));
    PyObject* result = PyObject_Call(s_adder, args, nullptr);
    Py_DECREF(args);
    const int sum = result ? int(PyLong_AsLong(result)) : 0;
    Py_XDECREF(result);
    PyGILState_Release(state);
    return QScriptValue(sum);
}

// What answering createPyObject from a cache needs at least: open the file, read its
// modification time, hand out the stored value.
QScriptValue rawCachedObject(QScriptContext* context, QScriptEngine*)
{
    QFile file(context->argument(0).toString());
    if (!file.open(QIODevice::ReadOnly))
        return QScriptValue();
    benchmark::DoNotOptimize(QFileInfo(file.fileName()).fileTime(QFileDevice::FileModificationTime));
    return s_cachedAnswer;
}

// Seconds for one run of a script function defined by setUp (it loops callsPerScriptRun times).
auto scriptRun(const char* function)
{
    const QString program = QStringLiteral("%1(%2)").arg(QLatin1String(function)).arg(callsPerScriptRun);
    return [program] {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(s_scripts->evaluate(program));
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
}

void registerScriptCase(const std::string& name, const char* function, const std::string& baselineName,
                        const char* baseline, double goal)
{
    benchmark::RegisterBenchmark(name.c_str(), [=](benchmark::State& state) {
        const PairedFigures figures = timePaired(state, scriptRun(function), scriptRun(baseline), callsPerScriptRun);
        state.counters["mean_ns"] = figures.mean;
        RatioBoard::instance().compare(state, name, figures.best, baselineName, figures.baselineBest, goal);
    })->UseManualTime();
}

bool setUp(QScriptEngine* scripts, const QString& folder)
{
    s_scripts = scripts;
    s_file = QDir(folder).filePath(QString::fromLatin1(moduleName) + QStringLiteral(".py"));
    QFile file(s_file);
    if (!file.open(QIODevice::WriteOnly) || file.write("def f(a, b):\n    return a + b\n") < 0)
        return false;
    file.close();

    QScriptValue global = scripts->globalObject();
    global.setProperty(QStringLiteral("FILE"), QScriptValue(s_file));
    QScriptValue native = scripts->newObject();
    native.setProperty(QStringLiteral("f"), scripts->newFunction(rawAdd, 2));
    global.setProperty(QStringLiteral("native"), native);
    global.setProperty(QStringLiteral("nativeCachedObject"), scripts->newFunction(rawCachedObject, 1));
    scripts->evaluate(QStringLiteral(
        "var o = PythonManager.createPyObject(FILE);\n"
        "function pythonLoop(n) { var s = 0; for (var i = 0; i < n; ++i) s += o.py.f(1, 2); return s; }\n"
        "function nativeLoop(n) { var s = 0; for (var i = 0; i < n; ++i) s += native.f(1, 2); return s; }\n"
        "function createLoop(n) { var x; for (var i = 0; i < n; ++i) x = PythonManager.createPyObject(FILE); return x; }\n"
        "function nativeCacheLoop(n) { var x; for (var i = 0; i < n; ++i) x = nativeCachedObject(FILE); return x; }\n"));
    s_cachedAnswer = scripts->evaluate(QStringLiteral("o"));
    {
        PythonEngineImpl::EngineGILScope scope;
        PyObject* module = PyImport_AddModule(moduleName);
        s_adder = module ? PyDict_GetItemString(PyModule_GetDict(module), "f") : nullptr;
    }
    return s_adder && scripts->evaluate(QStringLiteral("pythonLoop(10)")).toInt32() == 30
        && scripts->evaluate(QStringLiteral("nativeLoop(10)")).toInt32() == 30
        && scripts->evaluate(QStringLiteral("createLoop(3) === o")).toBool();
}

} // namespace

int main(int argc, char** argv)
{
    BenchHost host(argc, argv);
    const QString folder = QDir::temp().filePath(QStringLiteral("bench_bridge_%1").arg(QCoreApplication::applicationPid()));
    QDir().mkpath(folder);
    const bool ready = host.engine() && setUp(host.scriptEngine(), folder);
    int code = 1;
    if (ready) {
        registerScriptCase("script o.py.f(1, 2)", "pythonLoop", "script native.f(1, 2), raw C API", "nativeLoop",
                           scriptLoopGoal);
        registerScriptCase("script createPyObject, cached", "createLoop", "script native open + file time",
                           "nativeCacheLoop", 0);
        code = runBenchmarksWithSummary(argc, argv);
    } else {
        std::fputs("bench_bridge: the plug-in did not start or PythonManager did not load the test file\n", stderr);
    }
    QDir(folder).removeRecursively();
    return code;
}
