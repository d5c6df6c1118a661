// Values crossing between host scripts and Python through "PythonManager": what each kind of
// value becomes on the other side, shared parts staying shared, and values too large to convert
// refused with an error instead of exhausting memory.
#include "support/MessageRecorder.h"
#include "support/PluginTestCase.h"
#include "support/TestFiles.h"

#include <MSG_Action.h>

namespace {
// Python helpers the script calls: v() gives the value under test, the others describe what a
// script value became in Python.
const QByteArray helpers = "def show(x):\n    return repr(x)\n"
                           "def same(a, b):\n    return a is b\n"
                           "def first_two_same(x):\n    return x[0] is x[1]\n"
                           "def distinct_lists(x):\n    seen = {}\n    todo = [x]\n    while todo:\n"
                           "        v = todo.pop()\n        if isinstance(v, list) and id(v) not in seen:\n"
                           "            seen[id(v)] = v\n            todo.extend(v)\n    return len(seen)\n";

// Script code building a DAG of 31 distinct arrays: each holds the next one 30 times.
const QString scriptDag = "var v = [0]; for (var i = 0; i < 30; ++i) { var w = []; for (var j = 0; j < 30; ++j) w.push(v); v = w; }";
}

class tst_bridge_values : public PluginTestCase
{
    Q_OBJECT

    QTemporaryDir folder;
    int files = 0;

    // Loads a module whose v() runs body, as the script's `o`.
    void load(const QByteArray& body)
    {
        const QString path = writeFile(folder.filePath(QString("values_%1.py").arg(++files)),
                                       "def v(*args):\n" + body + "\n" + helpers);
        host.scriptEngine()->globalObject().setProperty("FILE", path);
        runScript("var o = PythonManager.createPyObject(FILE)");
    }

private slots:
    void pythonValueInScript_data()
    {
        QTest::addColumn<QByteArray>("body");  // the body of v()
        QTest::addColumn<QString>("describe"); // script expression on its result r
        QTest::addColumn<QString>("expected");
        QTest::newRow("NUL in a string") << QByteArray("    return 'a\\0b'") << "r.length" << "3";
        QTest::newRow("NUL in a key") << QByteArray("    return {'a\\0b': 1}") << "Object.keys(r)[0].length" << "3";
        QTest::newRow("int beyond 64 bits") << QByteArray("    return 2**70") << "r === Math.pow(2, 70)" << "true";
        QTest::newRow("int beyond doubles") << QByteArray("    return -10**400") << "r" << "-Infinity";
        QTest::newRow("NaN") << QByteArray("    return float('nan')") << "typeof r + ' ' + r" << "number NaN";
        QTest::newRow("infinity") << QByteArray("    return float('inf')") << "typeof r + ' ' + r" << "number Infinity";
        QTest::newRow("tuple") << QByteArray("    return (1, 'a')") << "Array.isArray(r) + JSON.stringify(r)" << "true[1,\"a\"]";
        QTest::newRow("set") << QByteArray("    return {3}") << "Array.isArray(r) + JSON.stringify(r)" << "true[3]";
        QTest::newRow("frozenset") << QByteArray("    return frozenset([4])") << "JSON.stringify(r)" << "[4]";
        QTest::newRow("bytes") << QByteArray("    return b'\\x01\\xff'")
                               << "Object.prototype.toString.call(r) + new Uint8Array(r).join()" << "[object ArrayBuffer]1,255";
        QTest::newRow("non-string keys") << QByteArray("    return {1: 'a', (2, 3): 'b', None: 'c'}") << "JSON.stringify(r)"
                                         << "{\"1\":\"a\",\"(2, 3)\":\"b\",\"None\":\"c\"}";
        QTest::newRow("lone surrogate") << QByteArray("    return '\\ud800x'") << "r.charCodeAt(0).toString(16) + r.length"
                                        << "d8002";
        QTest::newRow("shared list") << QByteArray("    a = [1]\n    return [a, a]") << "r[0] === r[1]" << "true";
        QTest::newRow("shared dict") << QByteArray("    a = {'k': 1}\n    return {'x': a, 'y': [a]}") << "r.x === r.y[0]"
                                     << "true";
        QTest::newRow("30x30 DAG") << QByteArray("    d = [0]\n    for _ in range(30):\n        d = [d] * 30\n    return d")
                                   << "r[0][0] === r[29][29]" << "true";
    }

    void pythonValueInScript()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, describe);
        load(body);
        QTEST(runScript("var r = o.py.v(); String(" + describe + ")").toString(), "expected");
    }

    void scriptValueInPython_data()
    {
        QTest::addColumn<QString>("call"); // script code ending in a call of o.py
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("NUL in key and string") << "o.py.show({'a\\0b': 'c\\0d'})" << QVariant("{'a\\x00b': 'c\\x00d'}");
        QTest::newRow("lone surrogate") << "o.py.show('\\ud800')" << QVariant("'\\ud800'");
        QTest::newRow("NaN and infinities") << "o.py.show([NaN, Infinity, -Infinity])" << QVariant("[nan, inf, -inf]");
        QTest::newRow("ArrayBuffer") << "o.py.show(new Uint8Array([1, 255]).buffer)" << QVariant("b'\\x01\\xff'");
        QTest::newRow("shared array") << "var a = [1]; o.py.first_two_same([a, a])" << QVariant(true);
        QTest::newRow("shared object") << "var a = {k: 1}; o.py.first_two_same([a, a])" << QVariant(true);
        QTest::newRow("one array as two arguments") << "var a = [1]; o.py.same(a, a)" << QVariant(true);
        QTest::newRow("30x30 DAG") << scriptDag + "o.py.distinct_lists(v)" << QVariant(31);
    }

    void scriptValueInPython()
    {
        QFETCH(QString, call);
        load("    pass");
        QTEST(runScript(call).toVariant(), "expected");
    }

    // A result past the conversion budget: the script gets undefined and the Python error
    // reaches the message log as Python's standard error.
    void tooLargeForScript_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("elements") << QByteArray("    return [0] * (4 * 1024 * 1024 + 1)");
        QTest::newRow("elements of nested lists") << QByteArray("    return [[0] * 1024 for _ in range(4 * 1024 + 1)]");
        QTest::newRow("text") << QByteArray("    return 'x' * (128 * 1024 * 1024 + 1)");
    }

    void tooLargeForScript()
    {
        QFETCH(QByteArray, body);
        load(body);
        MessageRecorder recorder;
        QVERIFY(runScript("o.py.v()").isUndefined());
        const QString output = recorder.messages(MSG_Action::PythonOutput).join('\n');
        QVERIFY2(output.contains("value too large to convert"), qPrintable(output));
    }

    // An argument past the budget throws a RangeError in the script; Python is not called.
    void tooLargeForPython()
    {
        load("    global called\n    called = True");
        const QString caught = runScript("var e = null; try { o.py.v(new Array(4 * 1024 * 1024 + 1).fill(0)); }"
                                         " catch (error) { e = error; } String(e)").toString();
        QVERIFY2(caught.startsWith("RangeError: value too large to convert"), qPrintable(caught));
        QVERIFY(!runScript("o.hasObject('called')").toBool());
    }
};

QTEST_MAIN(tst_bridge_values)
#include "tst_bridge_values.moc"
