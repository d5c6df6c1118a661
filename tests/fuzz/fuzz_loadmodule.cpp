// Fuzzed module sources through the engine's loadModule, then a call of every function the
// module defines. Each input gets a module of its own, which is emptied and dropped after.

// Before Qt, whose "slots" macro clashes with Python's headers.
#include <PythonQtPython.h>

#include "support/FuzzHost.h"
#include "support/SourceFilter.h"
#include "support/TimeLimit.h"

#include <PythonQtThreadSupport.h>
#include <SCP_PythonEngine.h>
#include <SCP_PythonFunction.h>
#include <SCP_PythonModule.h>

#include <cstddef>
#include <cstdint>

namespace {
constexpr int timeLimitMs = 2000;

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
    const QByteArray source(reinterpret_cast<const char*>(data), static_cast<int>(size));
    if (!isRunnableSource(source))
        return -1;
    FuzzHost& host = FuzzHost::instance();
    SCP_PythonEngine* engine = host.engine();
    static int inputs = 0;
    const QString name = QStringLiteral("fuzzed_%1").arg(++inputs);
    const QString path = host.writeFile(name + QStringLiteral(".py"), source);
    {
        TimeLimit limit(timeLimitMs);
        if (SCP_PythonModule* module = engine->loadModule(path, false, QString())) {
            for (SCP_PythonFunction* function : module->functions())
                function->call({});
        }
        engine->reportError();
    }
    engine->clearError();
    forget(name);
    return 0;
}
