// Host scripts reach Python through "PythonManager": created objects and their cache, the "py"
// functions, bindings into the module, and Python calling back into script.
#include "support/MessageRecorder.h"
#include "support/PluginTestCase.h"
#include "support/TestFiles.h"

#include <SCP_PythonEngine.h>
#include <SCP_PythonModule.h>

#include <QDateTime>
#include <QFile>
#include <QScriptEngine>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const int errorAction = 2;

// Counts its runs in the sys module, so that tests see whether a file was executed again.
const QByteArray toolsBody = "import sys\n"
                             "sys.runs = getattr(sys, 'runs', 0) + 1\n"
                             "calls = 0\n"
                             "def add(a, b):\n"
                             "    global calls\n"
                             "    calls += 1\n"
                             "    return a + b\n"
                             "def none():\n"
                             "    global calls\n"
                             "    calls += 1\n"
                             "    return 'nothing given'\n"
                             "def kinds(*args):\n"
                             "    return ','.join(type(a).__name__ for a in args)\n";

bool setModificationTime(const QString& path, const QDateTime& time)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.setFileTime(time, QFileDevice::FileModificationTime);
}
}

class BridgeTest : public PluginTestCase
{
    Q_OBJECT

private:
    QScriptValue run(const QString& program)
    {
        QScriptEngine* scripts = host.scriptEngine();
        const QScriptValue result = scripts->evaluate(program);
        if (scripts->hasUncaughtException()) {
            const QString error = scripts->uncaughtException().toString();
            scripts->clearExceptions();
            qWarning("script failed: %s", qPrintable(error));
            return QScriptValue();
        }
        return result;
    }
    QString file(const QString& name, const QByteArray& content)
    {
        return writeFile(folder.filePath(name), content);
    }
    // Script expression that creates the object of path (with an optional module name).
    static QString create(const QString& path, const QString& moduleName = QString())
    {
        return moduleName.isNull() ? QStringLiteral("PythonManager.createPyObject('%1')").arg(path)
                                   : QStringLiteral("PythonManager.createPyObject('%1', '%2')").arg(path, moduleName);
    }
    int runs() { return engine->evaluate("getattr(__import__('sys'), 'runs', 0)").toInt(); }

    QTemporaryDir folder;
    MessageRecorder recorder;

private slots:
    void init()
    {
        engine->clearError();
        recorder.clear();
    }

    void cacheAnswersUnchangedFileWithSameObject()
    {
        const QString path = file("cached/tools.py", toolsBody);
        run("var first = " + create(path));
        const int before = runs();
        QVERIFY(run("first.py.add(1, 2) === 3").toBool());
        QVERIFY(run("first === " + create(path)).toBool());
        QCOMPARE(runs(), before);

        // An older modification time still counts as cached; a newer one reloads.
        QVERIFY(setModificationTime(path, QDateTime::currentDateTime().addDays(-1)));
        QVERIFY(run("first === " + create(path)).toBool());
        QCOMPARE(runs(), before);
        QVERIFY(setModificationTime(path, QDateTime::currentDateTime().addSecs(60)));
        QVERIFY(run("first !== " + create(path)).toBool());
        QCOMPARE(runs(), before + 1);
        QVERIFY(recorder.messages(errorAction).isEmpty());
    }

    void pathDifferingInCaseIsACacheMiss()
    {
        const QString path = file("case/lower/tools.py", toolsBody);
        const QString upper = folder.filePath("case/LOWER");
        QVERIFY(QFile::link(folder.filePath("case/lower"), upper));
        run("var lower = " + create(path, "casetools"));
        const int before = runs();
        QVERIFY(run("lower !== " + create(upper + "/tools.py", "casetools")).toBool());
        QCOMPARE(runs(), before + 1);
    }

    void keyComesFromModuleNameOrBaseName()
    {
        const QString path = file("keys/tools.old.py", "def f():\n    return __name__\n");
        QCOMPARE(run(create(path) + ".py.f()").toString(), QStringLiteral("tools"));
        QCOMPARE(run(create(path, "  ") + ".py.f()").toString(), QStringLiteral("tools"));
        QCOMPARE(run(create(path, " spaced ") + ".py.f()").toString(), QStringLiteral("spaced"));
        QVERIFY(run("var keys = []; for (var k in PythonManager.getPyObjects()) keys.push(k); keys.join(',')")
                    .toString()
                    .contains(QStringLiteral("spaced")));

        const QString mainPath = file("keys/inmain.py", "def defined_in_main():\n    return 7\n");
        QCOMPARE(run(create(mainPath, "__main__") + ".py.defined_in_main()").toInt32(), 7);
        QCOMPARE(engine->evaluate("defined_in_main()").toInt(), 7);
    }

    void pyFunctionsTakeTheirArgumentsAndNeedTheirObject()
    {
        const QString path = file("calls/calls.py", toolsBody);
        run("var calls = " + create(path));
        QCOMPARE(run("calls.py.none()").toString(), QStringLiteral("nothing given"));
        QCOMPARE(run("calls.py.add(40, 2)").toInt32(), 42);
        QCOMPARE(run("calls.py.add('a', 'b')").toString(), QStringLiteral("ab"));
        QCOMPARE(run("calls.py.kinds(1, 2.5, 's', true, [1], {a: 1}, null)").toString(),
                 QStringLiteral("int,float,str,bool,list,dict,NoneType"));

        // A function copied out of its "py" object has no module to call.
        const int callsBefore = engine->evaluate("__import__('calls').calls").toInt();
        QVERIFY(run("var detached = calls.py.add; detached(1, 2) === undefined").toBool());
        QCOMPARE(engine->evaluate("__import__('calls').calls").toInt(), callsBefore);
    }

    void getPyObjectsListsKeysInOrder()
    {
        run(create(file("order/zeta.py", "def f():\n    pass\n")));
        run(create(file("order/alpha.py", "def f():\n    pass\n")));
        const QString keys = run("var keys = []; for (var k in PythonManager.getPyObjects()) keys.push(k); keys.join(',')")
                                 .toString();
        QVERIFY(keys.indexOf("alpha") < keys.indexOf("zeta"));
        QVERIFY(keys.indexOf("alpha") >= 0);
    }

    void failuresReportTheirMessagesAndKeepTheCache()
    {
        const QString missing = folder.filePath("fail/missing.py");
        QVERIFY(run(create(missing) + " === undefined").toBool());
        QCOMPARE(recorder.messages(errorAction).value(0),
                 "The following file does not exist or cannot be open : " + missing);

        const QString path = file("fail/broken.py", "def ok():\n    return 1\n");
        run("var good = " + create(path));
        recorder.clear();
        writeFile(path, "def broken(:\n");
        QVERIFY(makeNewer(path));
        QVERIFY(run(create(path) + " === undefined").toBool());
        QCOMPARE(recorder.messages(errorAction), QStringList{"Error while creating PyObject from file : " + path});
        QVERIFY(run("PythonManager.getPyObjects().broken === good").toBool());

        writeFile(path, "def fixed():\n    return 2\n");
        QVERIFY(setModificationTime(path, QDateTime::currentDateTime().addSecs(120)));
        QCOMPARE(run(create(path) + ".py.fixed()").toInt32(), 2);
    }

    void filesWithoutFunctionsFailWithTwoMessages_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("variables and classes") << QByteArray("x = 1\nclass C:\n    def m(self):\n        pass\n");
        QTest::newRow("raises before any function") << QByteArray("raise ValueError('early')\ndef late():\n    pass\n");
        QTest::newRow("missing import") << QByteArray("import no_such_module_here\ndef f():\n    pass\n");
    }

    void filesWithoutFunctionsFailWithTwoMessages()
    {
        QFETCH(QByteArray, body);
        const QString path = file(QStringLiteral("nofunc/%1.py").arg(QTest::currentDataTag()).remove(' '), body);
        QVERIFY(run(create(path) + " === undefined").toBool());
        const QStringList errors = recorder.messages(errorAction);
        QVERIFY(errors.size() >= 2);
        QCOMPARE(errors.at(errors.size() - 2), "No function were found in the following file : " + path);
        QVERIFY(errors.last().startsWith("This can happen if the file does not contain any function"));
    }

    void bindingsIntoTheModule()
    {
        run("var target = " + create(file("bind/target.py", "def get(name):\n    return globals().get(name)\n"
                                                         )));
        QVERIFY(run("target.setObject('n', 5) && target.py.get('n') === 5").toBool());
        QVERIFY(run("target.setObject('s', 'text') && target.py.get('s') === 'text'").toBool());
        // addObject keeps an existing binding; setObject replaces it.
        QVERIFY(run("target.addObject('n', 6)").toBool());
        QCOMPARE(run("target.py.get('n')").toInt32(), 5);
        QVERIFY(run("target.setObject('n', 6)").toBool());
        QCOMPARE(run("target.py.get('n')").toInt32(), 6);

        // A plain object becomes an object wrapper: values as properties, methods as children.
        QVERIFY(run("var plain = {a: 1, f: function () { return 'f ran'; }}; target.addObject('plain', plain)").toBool());
        SCP_PythonModule* module = engine->module("target");
        module->execute("result = (plain.objectName, plain.a, plain.f.call())");
        QCOMPARE(engine->evaluate("__import__('target').result").toList(), (QVariantList{"plain", 1, "f ran"}));

        // The wrapper value of another created object binds that wrapper itself.
        run("var other = " + create(file("bind/other.py", "def hello():\n    return 'other'\n")));
        QVERIFY(run("target.addObject('other', other)").toBool());
        module->execute("other_has_hello = other.hasObject('hello')");
        QCOMPARE(engine->evaluate("__import__('target').other_has_hello").toBool(), true);
        QVERIFY(run("target.hasObject('other') && !target.hasObject('absent')").toBool());

        // A script function handed over as is arrives as an object wrapper, not a callable.
        QVERIFY(run("target.setObject('fn', function () { return 1; })").toBool());
        QCOMPARE(engine->evaluate("(__import__('target').fn.objectName, callable(__import__('target').fn))").toList(),
                 (QVariantList{"fn", false}));
    }

    void pythonCallsBackIntoScript()
    {
        run("var cb = " + create(file("back/back.py", "def twice(x):\n    return callback.call([x, x])\n"
                                                     "def none():\n    return silent.call()\n")));
        QVERIFY(run("PythonManager.wrapFunction(3) === undefined").toBool());
        QVERIFY(run("var global = this, seen = []; function sum(a, b) { seen.push(this === global); return a + b; }"
                    "cb.setObject('callback', PythonManager.wrapFunction(sum))")
                    .toBool());
        QCOMPARE(run("cb.py.twice(21)").toInt32(), 42);
        QVERIFY(run("seen[0] === true").toBool());
        // A script function that returns nothing gives None to Python, and undefined back.
        QVERIFY(run("cb.setObject('silent', PythonManager.wrapFunction(function () {}))").toBool());
        QVERIFY(run("cb.py.none() === undefined").toBool());
    }

    void globalJsObjectSynchronisesBack()
    {
        run("var settings = {level: 1, bump: function () { this.level += 10; return this.level; }};"
            "PythonManager.addToGlobalJsObject('settings', settings);"
            "PythonManager.addToGlobalJsObject('ignored', 5);");
        SCP_PythonModule* main = engine->mainModule();
        main->execute("js.settings.level = 4\nbumped = js.settings.bump.call()");
        QCOMPARE(run("settings.level").toInt32(), 14);
        QCOMPARE(engine->evaluate("bumped").toInt(), 14);
        QCOMPARE(engine->evaluate("hasattr(js, 'ignored')").toBool(), false);
    }
};

QTEST_MAIN(BridgeTest)
#include "tst_bridge.moc"
