// Values that contain themselves, or nest deeper than the conversions' limit, cross between
// Python, variants and script cut off at the repeated or too-deep part, by every road: a script
// call of a Python function, a module call, a function object's call, evaluate, and Python
// writing into an object synchronised with script.
#include "support/MessageRecorder.h"
#include "support/PluginTestCase.h"
#include "support/ScriptRuns.h"
#include "support/TestFiles.h"

#include <SCP_PythonEngine.h>
#include <SCP_PythonFunction.h>
#include <SCP_PythonModule.h>

#include <PythonQtConv.h>

#include <QScriptEngine>
#include <QTemporaryDir>
#include <QtTest>

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

class ConversionLimitsTest : public PluginTestCase
{
    Q_OBJECT

private:
    QTemporaryDir folder;
    int files = 0;

    QScriptValue runScript(const QString& program) { return ::runScript(host.scriptEngine(), program); }

    // A Python file defining f() with body, loaded by the script as `o`; its module.
    SCP_PythonModule* loadForScript(const QByteArray& body)
    {
        const QString name = QStringLiteral("limits_%1").arg(++files);
        const QString path = writeFile(folder.filePath(name + QStringLiteral(".py")),
                                       "def f():\n" + body + "\n"
                                       "def show(x):\n"
                                       "    return repr(x)\n"
                                       "def depth(x):\n"
                                       "    n = 0\n"
                                       "    while isinstance(x, list):\n"
                                       "        n, x = n + 1, x[0] if x else None\n"
                                       "    return n\n");
        host.scriptEngine()->globalObject().setProperty(QStringLiteral("FILE"), path);
        runScript(QStringLiteral("var o = PythonManager.createPyObject(FILE)"));
        return engine->module(name);
    }

private slots:
    void initTestCase() { QVERIFY(folder.isValid()); }

    void pythonToScript_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("list in itself") << QByteArray("    l = [1]\n    l.append(l)\n    return l")
                                        << QVariant(QVariantList{1, QVariant()});
        QTest::newRow("dict in itself") << QByteArray("    d = {'a': 1}\n    d['me'] = d\n    return d")
                                        << QVariant(QVariantMap{{QStringLiteral("a"), 1}, {QStringLiteral("me"), QVariant()}});
        QTest::newRow("through a tuple") << QByteArray("    l = []\n    t = (l,)\n    l.append(t)\n    return t")
                                         << nested(2, QVariant());
        // The same list twice, side by side, is no cycle: both copies convert.
        QTest::newRow("shared, not cyclic") << QByteArray("    a = [1]\n    return [a, a]")
                                            << QVariant(QVariantList{QVariantList{1}, QVariantList{1}});
        QTest::newRow("too deep") << QByteArray("    d = 'leaf'\n    for _ in range(100000):\n        d = [d]\n    return d")
                                  << nested(PythonQtConv::MaxNestingDepth, QVariant());
        QTest::newRow("at the limit") << QByteArray("    d = 'leaf'\n    for _ in range(63):\n        d = [d]\n    return d")
                                      << nested(PythonQtConv::MaxNestingDepth - 1, QStringLiteral("leaf"));
    }

    void pythonToScript()
    {
        QFETCH(QByteArray, body);
        QFETCH(QVariant, expected);
        SCP_PythonModule* module = loadForScript(body);
        QVERIFY(module);

        QCOMPARE(runScript(QStringLiteral("o.py.f()")).toVariant(), expected);
        QCOMPARE(module->call(QStringLiteral("f"), {}), expected);
        const QList<SCP_PythonFunction*> functions = module->functions();
        const auto f = std::find_if(functions.cbegin(), functions.cend(),
                                    [](SCP_PythonFunction* function) { return function->name() == QLatin1String("f"); });
        QVERIFY(f != functions.cend());
        QCOMPARE((*f)->call({}), expected);
        engine->mainModule()->execute(QStringLiteral("import %1").arg(module->name()));
        QCOMPARE(engine->evaluate(module->name() + QStringLiteral(".f()")), expected);
        QVERIFY(!engine->hasError());
    }

    void scriptToPython_data()
    {
        QTest::addColumn<QString>("build"); // script code that leaves the value in v
        QTest::addColumn<QString>("function"); // what Python makes of it
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("array in itself") << QStringLiteral("var v = [1]; v.push(v);") << QStringLiteral("show")
                                         << QVariant(QStringLiteral("[1, None]"));
        QTest::newRow("object in itself") << QStringLiteral("var v = {a: 1}; v.me = v;") << QStringLiteral("show")
                                          << QVariant(QStringLiteral("{'a': 1, 'me': None}"));
        QTest::newRow("too deep") << QStringLiteral("var v = 'leaf'; for (var i = 0; i < 100000; ++i) v = [v];")
                                  << QStringLiteral("depth") << QVariant(65);
    }

    void scriptToPython()
    {
        QFETCH(QString, build);
        QFETCH(QString, function);
        QFETCH(QVariant, expected);
        QVERIFY(loadForScript("    pass"));

        QCOMPARE(runScript(build + QStringLiteral(" o.py.") + function + QStringLiteral("(v)")).toVariant(), expected);
    }

    // Python writing a list that contains itself into a published script object: the script
    // variable gets the list with the repeated part undefined.
    void selfContainingWriteToScript()
    {
        runScript(QStringLiteral("var synced = {x: 0}; PythonManager.addToGlobalJsObject('synced', synced);"));
        engine->mainModule()->execute(QStringLiteral("l = [1]\nl.append(l)\njs.synced.x = l"));
        QVERIFY(!engine->hasError());
        QCOMPARE(runScript(QStringLiteral("synced.x")).toVariant(), QVariant(QVariantList{1, QVariant()}));
    }
};

QTEST_MAIN(ConversionLimitsTest)
#include "tst_conversionlimits.moc"
