// Fuzzed values across the bridge. The first byte picks the direction: a nested variant to
// Python and back (the conversions, a module function's call, and a host script handing it to
// Python through "PythonManager"), or a Python value to C++ and to a host script. A variant
// that has been to Python once must come back from a second trip, and from an echo, unchanged.

// Before Qt, whose "slots" macro clashes with Python's headers.
#include <PythonQtPython.h>

#include "support/FuzzBytes.h"
#include "support/FuzzHost.h"
#include "support/PyObjectBuilder.h"
#include "support/SameValue.h"
#include "support/VariantBuilder.h"

#include <PythonQtConv.h>
#include <PythonQtThreadSupport.h>
#include <SCP_PythonEngine.h>
#include <SCP_PythonModule.h>

#include <QScriptEngine>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {
const char moduleSource[] = "value = None\n"
                            "def echo(x):\n"
                            "    return x\n"
                            "def held():\n"
                            "    return value\n";

// The module a host script created through "PythonManager" as `bridge`.
class Bridge
{
public:
    Bridge()
    {
        FuzzHost& host = FuzzHost::instance();
        host.scripts()->globalObject().setProperty(QStringLiteral("FILE"), host.writeFile(QStringLiteral("fuzz_bridge.py"), moduleSource));
        run(QStringLiteral("var bridge = PythonManager.createPyObject(FILE)"));
        PythonQtGILScope lock;
        module = PyDict_GetItemString(PyImport_GetModuleDict(), "fuzz_bridge");
        if (module.isNull() || !host.engine()->module(QStringLiteral("fuzz_bridge"))) {
            std::fprintf(stderr, "fuzz: the bridge module did not load\n");
            std::abort();
        }
    }

    // Runs program in the host's script engine; the result as a variant, exceptions dropped.
    static QVariant run(const QString& program)
    {
        QScriptEngine* scripts = FuzzHost::instance().scripts();
        const QVariant result = scripts->evaluate(program).toVariant();
        scripts->clearExceptions();
        return result;
    }

    PythonQtObjectPtr module;
};

Bridge& startedBridge()
{
    static Bridge instance;
    return instance;
}

void expectSame(const QVariant& expected, const QVariant& actual, const char* road)
{
    if (sameValue(expected, actual))
        return;
    std::fprintf(stderr, "fuzz: %s changed a value\n", road);
    std::abort();
}

// A variant through Python's conversions, null (error cleared) when it cannot convert.
QVariant throughPython(const QVariant& value)
{
    PythonQtObjectPtr object;
    object.setNewRef(PythonQtConv::QVariantToPyObject(value));
    if (object.isNull()) {
        PyErr_Clear();
        return QVariant();
    }
    return PythonQtConv::PyObjToQVariant(object);
}

void variantToPython(Bridge& bridge, FuzzBytes& bytes)
{
    const QVariant value = VariantBuilder(bytes).build();
    PythonQtGILScope lock;
    const QVariant once = throughPython(value);
    expectSame(once, throughPython(once), "a second trip to Python");
    expectSame(once, bridge.module.call(QStringLiteral("echo"), {value}), "a module function's echo");
    lock.release();

    QScriptEngine* scripts = FuzzHost::instance().scripts();
    scripts->globalObject().setProperty(QStringLiteral("fuzzed"), scripts->create(value.userType(), value.constData()));
    Bridge::run(QStringLiteral("bridge.py.echo(fuzzed)"));
    Bridge::run(QStringLiteral("bridge.setObject('value', fuzzed); bridge.py.held()"));
}

void pythonToScript(Bridge& bridge, FuzzBytes& bytes)
{
    {
        PythonQtGILScope lock;
        const PythonQtObjectPtr value = PyObjectBuilder(bytes).build();
        PyObject_SetAttrString(bridge.module, "value", value);
        throughPython(PythonQtConv::PyObjToQVariant(value));
        PyErr_Clear();
    }
    FuzzHost::instance().engine()->module(QStringLiteral("fuzz_bridge"))->call(QStringLiteral("held"), {});
    Bridge::run(QStringLiteral("var held = bridge.py.held(); JSON.stringify(held); bridge.py.echo(held)"));
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Started before the first touch of Python.
    Bridge& bridge = startedBridge();
    FuzzBytes bytes(data, size);
    if (bytes.byte() % 2)
        pythonToScript(bridge, bytes);
    else
        variantToPython(bridge, bytes);

    // The next input meets none of this one's values.
    Bridge::run(QStringLiteral("fuzzed = undefined; held = undefined"));
    PythonQtGILScope lock;
    PyObject_SetAttrString(bridge.module, "value", Py_None);
    PyErr_Clear();
    lock.release();
    FuzzHost::instance().engine()->clearError();
    return 0;
}
