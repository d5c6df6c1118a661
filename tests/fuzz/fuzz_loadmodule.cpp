// Fuzzed module sources through the engine's loadModule, then a call of every function the
// module defines. Each input gets a module of its own, which is emptied and dropped after.

// Before Qt, whose "slots" macro clashes with Python's headers.
#include <PythonQtPython.h>

#include "support/FuzzHost.h"

#include <PythonQtThreadSupport.h>
#include <SCP_PythonEngine.h>
#include <SCP_PythonFunction.h>
#include <SCP_PythonModule.h>

#include <QDeadlineTimer>

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {
// Words through which a source could loop, catch the time limit's interrupt, reach the disk or
// other modules, or escape these checks by building names at run time.
const char* const forbidden[] = {"while", "for", "try", "import", "open", "exec", "eval", "compile", "__", "getattr", "setattr",
                                 "delattr", "globals", "vars", "locals", "input", "breakpoint", "help", "exit", "quit"};

// Without loops, only calls can run long: past the deadline each call raises KeyboardInterrupt,
// so that a fuzzed endless recursion ends instead of hanging.
QDeadlineTimer deadline;

int interruptLateCalls(PyObject*, PyFrameObject*, int what, PyObject*)
{
    if (what != PyTrace_CALL || !deadline.hasExpired())
        return 0;
    PyErr_SetString(PyExc_KeyboardInterrupt, "fuzz input ran too long");
    return -1;
}

void limitTime(bool on)
{
    PythonQtGILScope lock;
    deadline.setRemainingTime(2000);
    PyEval_SetProfile(on ? interruptLateCalls : nullptr, nullptr);
}

// Empties the module and takes it out of sys.modules: the next input meets none of its names.
void forget(const QString& name)
{
    PythonQtGILScope lock;
    const QByteArray key = name.toUtf8();
    if (PyObject* module = PyDict_GetItemString(PyImport_GetModuleDict(), key.constData())) {
        if (PyModule_Check(module))
            PyDict_Clear(PyModule_GetDict(module));
        PyDict_DelItemString(PyImport_GetModuleDict(), key.constData());
    }
    PyErr_Clear();
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray source(reinterpret_cast<const char*>(data), int(size));
    if (source.size() > 4096 || std::any_of(std::begin(forbidden), std::end(forbidden), [&source](const char* word) { return source.contains(word); }))
        return -1;
    FuzzHost& host = FuzzHost::instance();
    SCP_PythonEngine* engine = host.engine();
    static int inputs = 0;
    const QString name = QString("fuzzed_%1").arg(++inputs);
    limitTime(true);
    if (SCP_PythonModule* module = engine->loadModule(host.writeFile(name + ".py", source), false, QString())) {
        for (SCP_PythonFunction* function : module->functions())
            function->call({});
    }
    limitTime(false);
    engine->reportError();
    engine->clearError();
    forget(name);
    return 0;
}
