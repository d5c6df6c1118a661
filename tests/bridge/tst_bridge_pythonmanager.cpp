// Host scripts reach Python through "PythonManager": created objects and their cache, the "py"
// functions, bindings into the module, and Python calling back into script.
#include "support/PluginTestCase.h"
#include "support/TestFiles.h"

#include <SCP_PythonModule.h>

namespace {

// Counts its runs in the sys module, so that tests see whether a file was executed again.
const QByteArray toolsBody = "import sys\nsys.runs = getattr(sys, 'runs', 0) + 1\ncalls = 0\n"
                             "def add(a, b):\n    global calls\n    calls += 1\n    return a + b\n"
                             "def none():\n    return 'nothing given'\n"
                             "def kinds(*args):\n    return ','.join(type(a).__name__ for a in args)\n";

// Script expression that creates the object of path (with an optional module name).
QString create(const QString& path, const QString& moduleName = QString())
{
    return QString("PythonManager.createPyObject('%1'%2)").arg(path, moduleName.isNull() ? QString() : ", '" + moduleName + "'");
}
}

class tst_bridge_pythonmanager : public PluginTestCase
{
    Q_OBJECT

    QTemporaryDir folder;

    QString file(const QString& name, const QByteArray& content) { return writeFile(folder.filePath(name), content); }
    int runs() { return engine->evaluate("getattr(__import__('sys'), 'runs', 0)").toInt(); }

private slots:
    void cacheAnswersUnchangedFileWithSameObject()
    {
        const QString path = file("cached/tools.py", toolsBody);
        runScript("var first = " + create(path));
        const int before = runs();
        QVERIFY(runScript("first.py.add(1, 2) === 3 && first === " + create(path)).toBool());
        // An older modification time still counts as cached; a newer one reloads.
        QVERIFY(setModificationTime(path, -86400));
        QVERIFY(runScript("first === " + create(path)).toBool());
        QCOMPARE(runs(), before);
        QVERIFY(setModificationTime(path, 60));
        QVERIFY(runScript("first !== " + create(path)).toBool());
        QCOMPARE(runs(), before + 1);
    }

    void pathDifferingInCaseIsACacheMiss()
    {
        const QString path = file("case/lower/tools.py", toolsBody);
        QVERIFY(QFile::link(folder.filePath("case/lower"), folder.filePath("case/LOWER")));
        runScript("var lower = " + create(path, "casetools"));
        const int before = runs();
        QVERIFY(runScript("lower !== " + create(folder.filePath("case/LOWER/tools.py"), "casetools")).toBool());
        QCOMPARE(runs(), before + 1);
    }

    void keyComesFromModuleNameOrBaseName()
    {
        const QString path = file("keys/tools.old.py", "def f():\n    return __name__\n");
        QCOMPARE(runScript(create(path) + ".py.f()").toString(), "tools");
        QCOMPARE(runScript(create(path, "  ") + ".py.f()").toString(), "tools");
        QCOMPARE(runScript(create(path, " spaced ") + ".py.f()").toString(), "spaced");
        runScript(create(file("keys/alpha.py", "def f():\n    pass\n")));
        // Listed by key, not by age.
        const QStringList listed = runScript("var keys = []; for (var k in PythonManager.getPyObjects()) keys.push(k); keys.join()")
                                       .toString().split(',');
        QStringList sorted = listed;
        sorted.sort();
        QVERIFY(listed.contains("alpha"));
        QVERIFY(listed.contains("spaced"));
        QCOMPARE(listed, sorted);

        const QString mainPath = file("keys/inmain.py", "def defined_in_main():\n    return 7\n");
        QCOMPARE(runScript(create(mainPath, "__main__") + ".py.defined_in_main()").toInt32(), 7);
        QCOMPARE(engine->evaluate("defined_in_main()").toInt(), 7);
    }

    void pyFunctionsTakeTheirArgumentsAndNeedTheirObject()
    {
        runScript("var calls = " + create(file("calls/calls.py", toolsBody)));
        QCOMPARE(runScript("calls.py.none()").toString(), "nothing given");
        QCOMPARE(runScript("calls.py.add(40, 2)").toInt32(), 42);
        QCOMPARE(runScript("calls.py.kinds(1, 2.5, 's', true, [1], {a: 1}, null)").toString(),
                 "int,float,str,bool,list,dict,NoneType");
        // A function copied out of its "py" object has no module to call.
        const int callsBefore = engine->evaluate("__import__('calls').calls").toInt();
        QVERIFY(runScript("var detached = calls.py.add; detached(1, 2) === undefined").toBool());
        QCOMPARE(engine->evaluate("__import__('calls').calls").toInt(), callsBefore);
    }

    // A newer file that fails to compile leaves the cached object in place.
    void failedReloadKeepsTheCachedObject()
    {
        const QString path = file("fail/broken.py", "def ok():\n    return 1\n");
        runScript("var good = " + create(path));
        writeFile(path, "def broken(:\n");
        QVERIFY(setModificationTime(path, 60));
        QVERIFY(runScript(create(path) + " === undefined").toBool());
        QVERIFY(runScript("PythonManager.getPyObjects().broken === good").toBool());
        writeFile(path, "def fixed():\n    return 2\n");
        QVERIFY(setModificationTime(path, 120));
        QCOMPARE(runScript(create(path) + ".py.fixed()").toInt32(), 2);
    }

    void bindingsIntoTheModule()
    {
        runScript("var target = " + create(file("bind/target.py", "def get(name):\n    return globals().get(name)\n")));
        QVERIFY(runScript("target.setObject('n', 5) && target.py.get('n') === 5").toBool());
        // addObject keeps an existing binding; setObject replaces it.
        QVERIFY(runScript("target.addObject('n', 6) && target.py.get('n') === 5").toBool());
        QVERIFY(runScript("target.setObject('n', 6) && target.py.get('n') === 6").toBool());

        // A plain object becomes an object wrapper: values as properties, methods as children.
        QVERIFY(runScript("var plain = {a: 1, f: function () { return 'f ran'; }}; target.addObject('plain', plain)").toBool());
        SCP_PythonModule* module = engine->module("target");
        module->execute("result = (plain.objectName, plain.a, plain.f.call())");
        QCOMPARE(engine->evaluate("__import__('target').result").toList(), (QVariantList{"plain", 1, "f ran"}));

        // The wrapper value of another created object binds that wrapper itself.
        runScript("var other = " + create(file("bind/other.py", "def hello():\n    return 'other'\n")));
        QVERIFY(runScript("target.addObject('other', other)").toBool());
        module->execute("other_has_hello = other.hasObject('hello')");
        QCOMPARE(engine->evaluate("__import__('target').other_has_hello").toBool(), true);
        QVERIFY(runScript("target.hasObject('other') && !target.hasObject('absent')").toBool());

        // A script function handed over as is arrives as an object wrapper, not a callable.
        QVERIFY(runScript("target.setObject('fn', function () { return 1; })").toBool());
        QCOMPARE(engine->evaluate("(__import__('target').fn.objectName, callable(__import__('target').fn))").toList(),
                 (QVariantList{"fn", false}));
    }

    void pythonCallsBackIntoScript()
    {
        runScript("var cb = " + create(file("back/back.py", "def twice(x):\n    return callback.call([x, x])\n"
                                                           "def none():\n    return silent.call()\n")));
        QVERIFY(runScript("PythonManager.wrapFunction(3) === undefined").toBool());
        QVERIFY(runScript("var global = this, seen = []; function sum(a, b) { seen.push(this === global); return a + b; }"
                          "cb.setObject('callback', PythonManager.wrapFunction(sum))").toBool());
        QCOMPARE(runScript("cb.py.twice(21)").toInt32(), 42);
        QVERIFY(runScript("seen[0] === true").toBool());
        // A script function that returns nothing gives None to Python, and undefined back.
        QVERIFY(runScript("cb.setObject('silent', PythonManager.wrapFunction(function () {}))").toBool());
        QVERIFY(runScript("cb.py.none() === undefined").toBool());
    }

    void globalJsObjectSynchronisesBack()
    {
        runScript("var settings = {level: 1, bump: function () { this.level += 10; return this.level; }};"
                  "PythonManager.addToGlobalJsObject('settings', settings);"
                  "PythonManager.addToGlobalJsObject('ignored', 5);");
        engine->mainModule()->execute("js.settings.level = 4\nbumped = js.settings.bump.call()");
        QCOMPARE(runScript("settings.level").toInt32(), 14);
        QCOMPARE(engine->evaluate("bumped").toInt(), 14);
        QCOMPARE(engine->evaluate("hasattr(js, 'ignored')").toBool(), false);
    }
};

QTEST_MAIN(tst_bridge_pythonmanager)
#include "tst_bridge_pythonmanager.moc"
