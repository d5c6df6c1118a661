// Values that contain themselves, or nest deeper than the conversions' limit, cross between
// Python, variants and script cut off at the repeated or too-deep part, by every road: a script
// call of a Python function, a module call, a function object's call, evaluate, and Python
// writing into an object synchronised with script.
#include "support/PluginTestCase.h"
#include "support/TestFiles.h"

#include <SCP_PythonFunction.h>
#include <SCP_PythonModule.h>

#include <PythonQtConv.h>

namespace {
// depth lists around an innermost value.
QVariant nested(int depth, const QVariant& innermost)
{
    QVariant value = innermost;
    for (int i = 0; i < depth; ++i)
        value = QVariantList{value};
    return value;
}
}

class tst_reliability_conversionlimits : public PluginTestCase
{
    Q_OBJECT

    QTemporaryDir folder;
    int files = 0;

    // A Python file defining f() with body, loaded by the script as `o`; its module.
    SCP_PythonModule* loadForScript(const QByteArray& body)
    {
        const QString name = QString("limits_%1").arg(++files);
        const QString path = writeFile(folder.filePath(name + ".py"),
                                       "def f():\n" + body + "\ndef show(x):\n    return repr(x)\ndef depth(x):\n    n = 0\n"
                                       "    while isinstance(x, list):\n        n, x = n + 1, x[0] if x else None\n    return n\n");
        host.scriptEngine()->globalObject().setProperty("FILE", path);
        runScript("var o = PythonManager.createPyObject(FILE)");
        return engine->module(name);
    }

private slots:
    void pythonToScript_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("list in itself") << QByteArray("    l = [1]\n    l.append(l)\n    return l") << QVariant(QVariantList{1, QVariant()});
        QTest::newRow("dict in itself") << QByteArray("    d = {'a': 1}\n    d['me'] = d\n    return d")
                                        << QVariant(QVariantMap{{"a", 1}, {"me", QVariant()}});
        QTest::newRow("through a tuple") << QByteArray("    l = []\n    t = (l,)\n    l.append(t)\n    return t") << nested(2, QVariant());
        // The same list twice, side by side, is no cycle: both copies convert.
        QTest::newRow("shared, not cyclic") << QByteArray("    a = [1]\n    return [a, a]")
                                            << QVariant(QVariantList{QVariantList{1}, QVariantList{1}});
        QTest::newRow("too deep") << QByteArray("    d = 'leaf'\n    for _ in range(100000):\n        d = [d]\n    return d")
                                  << nested(PythonQtConv::MaxNestingDepth, QVariant());
        QTest::newRow("at the limit") << QByteArray("    d = 'leaf'\n    for _ in range(63):\n        d = [d]\n    return d")
                                      << nested(PythonQtConv::MaxNestingDepth - 1, "leaf");
    }

    void pythonToScript()
    {
        QFETCH(QByteArray, body);
        QFETCH(QVariant, expected);
        SCP_PythonModule* module = loadForScript(body);
        QVERIFY(module);
        QCOMPARE(runScript("o.py.f()").toVariant(), expected);
        QCOMPARE(module->call("f", {}), expected);
        QCOMPARE(module->functions().value(0)->name(), "f");
        QCOMPARE(module->functions().value(0)->call({}), expected);
        engine->mainModule()->execute("import " + module->name());
        QCOMPARE(engine->evaluate(module->name() + ".f()"), expected);
        QVERIFY(!engine->hasError());
    }

    void scriptToPython_data()
    {
        QTest::addColumn<QString>("build");    // script code that leaves the value in v
        QTest::addColumn<QString>("function"); // what Python makes of it
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("array in itself") << "var v = [1]; v.push(v);" << "show" << QVariant("[1, None]");
        QTest::newRow("object in itself") << "var v = {a: 1}; v.me = v;" << "show" << QVariant("{'a': 1, 'me': None}");
        QTest::newRow("too deep") << "var v = 'leaf'; for (var i = 0; i < 100000; ++i) v = [v];" << "depth" << QVariant(65);
    }

    void scriptToPython()
    {
        QFETCH(QString, build);
        QFETCH(QString, function);
        QFETCH(QVariant, expected);
        QVERIFY(loadForScript("    pass"));
        QCOMPARE(runScript(build + " o.py." + function + "(v)").toVariant(), expected);
    }

    // Python writing a list that contains itself into a published script object: the script
    // variable gets the list with the repeated part undefined.
    void selfContainingWriteToScript()
    {
        runScript("var synced = {x: 0}; PythonManager.addToGlobalJsObject('synced', synced);");
        engine->mainModule()->execute("l = [1]\nl.append(l)\njs.synced.x = l");
        QVERIFY(!engine->hasError());
        QCOMPARE(runScript("synced.x").toVariant(), QVariant(QVariantList{1, QVariant()}));
    }
};

QTEST_MAIN(tst_reliability_conversionlimits)
#include "tst_reliability_conversionlimits.moc"
