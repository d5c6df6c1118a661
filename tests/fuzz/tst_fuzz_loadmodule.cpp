// Fuzzed module sources through the engine's loadModule, then a call of every function the
// module defines. Each input gets a module of its own, which is emptied and dropped after. The
// module must hold what Python's own exec of the source leaves in a fresh namespace (the same
// names, of the same types), or fail with the error that exec raises.

// Before Qt, whose "slots" macro clashes with Python's headers.
#include <PythonQtPython.h>

#include "support/FuzzHost.h"

#include <PythonQtObjectPtr.h>
#include <PythonQtThreadSupport.h>
#include <SCP_PythonEngine.h>
#include <SCP_PythonFunction.h>
#include <SCP_PythonModule.h>

#include <QDeadlineTimer>
#include <QStringList>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

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

// The names a namespace holds (not the "__" ones Python adds, which inputs cannot name) with the
// names of their types, one "name: type" a line, sorted.
QString namesAndTypes(PyObject* dict)
{
    QStringList lines;
    Py_ssize_t position = 0;
    PyObject* key = nullptr;
    PyObject* value = nullptr;
    while (PyDict_Next(dict, &position, &key, &value)) {
        const char* name = PyUnicode_Check(key) ? PyUnicode_AsUTF8(key) : nullptr;
        if (name && !QByteArray(name).startsWith("__"))
            lines << QStringLiteral("%1: %2").arg(QString::fromUtf8(name), QString::fromUtf8(Py_TYPE(value)->tp_name));
    }
    PyErr_Clear();
    lines.sort();
    return lines.join(QLatin1Char('\n'));
}

QString pendingError()
{
    PyObject* type = PyErr_Occurred();
    return QStringLiteral("error ") + (type ? QString::fromUtf8(reinterpret_cast<PyTypeObject*>(type)->tp_name) : QStringLiteral("none"));
}

// What the engine's module of that name holds, or the error its loading left pending.
QString loadedOutcome(const QString& name, bool loaded)
{
    PythonQtGILScope lock;
    if (!loaded)
        return pendingError();
    PyObject* module = PyDict_GetItemString(PyImport_GetModuleDict(), name.toUtf8().constData());
    return module && PyModule_Check(module) ? namesAndTypes(PyModule_GetDict(module)) : QStringLiteral("no module");
}

// Python's own exec of source, as module name, in a fresh namespace.
QString referenceOutcome(const QString& name, const QByteArray& source)
{
    if (source.contains('\0'))
        return QStringLiteral("error SyntaxError"); // as compile() says from Python 3.12 on
    PythonQtGILScope lock;
    PythonQtObjectPtr globals, code, result;
    globals.setNewRef(PyDict_New());
    PyDict_SetItemString(globals.object(), "__builtins__", PyEval_GetBuiltins());
    PythonQtObjectPtr moduleName;
    moduleName.setNewRef(PyUnicode_FromString(name.toUtf8().constData()));
    PyDict_SetItemString(globals.object(), "__name__", moduleName.object());
    code.setNewRef(Py_CompileString(source.constData(), "reference", Py_file_input));
    if (code.object())
        result.setNewRef(PyEval_EvalCode(code.object(), globals.object(), globals.object()));
    const QString outcome = result.object() ? namesAndTypes(globals.object()) : pendingError();
    PyErr_Clear();
    return outcome;
}

// Errors of the run rather than of the source: the time limit, the allocation cap and the stack,
// which the engine's deeper calls reach sooner.
bool isCircumstantial(const QString& outcome)
{
    return outcome == QLatin1String("error KeyboardInterrupt") || outcome == QLatin1String("error MemoryError")
        || outcome == QLatin1String("error RecursionError");
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
    const QString expected = referenceOutcome(name, source);
    limitTime(true);
    SCP_PythonModule* module = engine->loadModule(host.writeFile(name + ".py", source), false, QString());
    const QString actual = loadedOutcome(name, module != nullptr);
    if (actual != expected && !isCircumstantial(actual) && !isCircumstantial(expected)) {
        std::fprintf(stderr, "loadModule of\n%s\nleft\n%s\nwhere exec leaves\n%s\n", source.constData(), qPrintable(actual),
                     qPrintable(expected));
        std::abort();
    }
    if (module) {
        for (SCP_PythonFunction* function : module->functions())
            function->call({});
    }
    limitTime(false);
    engine->reportError();
    engine->clearError();
    forget(name);
    return 0;
}
