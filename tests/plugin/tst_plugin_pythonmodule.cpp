// Module wrappers and their functions: caches, lifetimes across execute() and reload(), calls,
// and binding modules into one another.
#include "support/MessageRecorder.h"
#include "support/PluginTestCase.h"
#include "support/TestFiles.h"

#include "python/PythonModuleImpl.h"

#include <SCP_PythonEngine.h>
#include <SCP_PythonFunction.h>
#include <SCP_PythonModule.h>

#include <QtTest>

namespace {
QStringList namesOf(const QList<SCP_PythonFunction*>& functions)
{
    QStringList names;
    for (SCP_PythonFunction* function : functions)
        names << function->name();
    return names;
}
}

class tst_plugin_pythonmodule : public PluginTestCase
{
    Q_OBJECT

    SCP_PythonModule* freshModule(const QString& code)
    {
        SCP_PythonModule* module = engine->createModule(QString("module_test_%1").arg(++moduleCount));
        module->execute(code);
        return module;
    }

    // An imported module of a file whose content then changes to after, with a newer time.
    SCP_PythonModule* importChanging(const QString& name, const QByteArray& before, const QByteArray& after)
    {
        const QString path = writeFile(folder.filePath(name + ".py"), before);
        SCP_PythonModule* module = engine->importModule(name, false);
        writeFile(path, after);
        return makeNewer(path) ? module : nullptr;
    }

    QTemporaryDir folder;
    int moduleCount = 0;

private slots:
    void initTestCase()
    {
        QVERIFY(engine);
        engine->addSysPath(folder.path());
    }

    // Function objects hold their function: dropped from the list or rebound, they still call it.
    void functionsAreCachedUntilCodeRuns()
    {
        SCP_PythonModule* module = freshModule("import os\nfrom os.path import join\ndef b():\n  return 'b'\na = lambda: 'a'\n"
                                               "alias = b\nclass K:\n  pass\nvalue = 3\nbuiltin = len\nglobals()[7] = b\n");
        const QList<SCP_PythonFunction*> first = module->functions();
        QCOMPARE(namesOf(first), QStringList({"join", "b", "a", "alias", QString()}));
        QCOMPARE(module->functions(), first);

        module->execute("def b():\n  return 'new b'");
        const QList<SCP_PythonFunction*> second = module->functions();
        QCOMPARE(second.size(), 5);
        for (SCP_PythonFunction* function : second)
            QVERIFY(!first.contains(function));
        QCOMPARE(first.at(1)->call({}).toString(), "b");
        QCOMPARE(second.at(1)->call({}).toString(), "new b");
    }

    void reloadDestroysOnlyTheCurrentList()
    {
        SCP_PythonModule* module = importChanging("reloaded_mod", "def f():\n  return 1\n", "def f():\n  return 2\n");
        QVERIFY(module);
        auto tracked = [](SCP_PythonFunction* function) { return QPointer<QObject>(dynamic_cast<QObject*>(function)); };
        const QPointer<QObject> dropped = tracked(module->functions().value(0));
        module->execute(QString());
        const QPointer<QObject> listed = tracked(module->functions().value(0));
        QVERIFY(dropped && listed);

        module->reload();
        QVERIFY(!engine->hasError());
        QVERIFY(!listed && dropped);
        QCOMPARE(dynamic_cast<SCP_PythonFunction*>(dropped.data())->call({}).toInt(), 1);
        QCOMPARE(module->call("f", {}).toInt(), 2);
        QCOMPARE(module->name(), "reloaded_mod");
    }

    void failedReloadKeepsTheModuleAndTheError()
    {
        SCP_PythonModule* module = importChanging("breaks_on_reload", "x = 1\n", "x = 2\nraise ValueError('bad')\n");
        QVERIFY(module);
        module->reload();
        QVERIFY(engine->hasError());
        engine->clearError();
        QCOMPARE(module->execute("y = x"), QVariant());
        QCOMPARE(engine->evaluate("__import__('breaks_on_reload').x").toInt(), 2);
    }

    void reloadOfAModuleWithoutSourceLeavesAnError()
    {
        SCP_PythonModule* module = freshModule("def f():\n  return 1");
        module->functions();
        module->reload();
        QVERIFY(engine->hasError());
        QCOMPARE(module->functions().size(), 1);
    }

    void callTakesOnlyPlainFunctions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("def") << "add" << QVariant(5);
        QTest::newRow("lambda") << "twice" << QVariant(4);
        for (const char* name : {"Klass", "length", "bound", "instance", "nothing_here"})
            QTest::newRow(name) << name << QVariant();
    }

    void callTakesOnlyPlainFunctions()
    {
        QFETCH(QString, name);
        QFETCH(QVariant, expected);
        SCP_PythonModule* module = freshModule(
            "calls = []\n"
            "def add(a, b):\n  return a + b\n"
            "twice = lambda a, b=None: 2 * a\n"
            "class Klass:\n  def __init__(self, *a):\n    calls.append('class')\n"
            "  def __call__(self, *a):\n    calls.append('instance')\n  def method(self, *a):\n    calls.append('method')\n"
            "length = len\ninstance = Klass()\nbound = instance.method\ncalls.clear()\n");
        QCOMPARE(module->call(name, name == "twice" ? QVariantList{2} : QVariantList{2, 3}), expected);
        QVERIFY(!engine->hasError());
        QCOMPARE(engine->evaluate(QString("__import__('%1').calls").arg(module->name())).toList(), QVariantList());
    }

    void callWithoutArgumentsPassesNone()
    {
        SCP_PythonModule* module = freshModule("def count(*a, **k):\n  return len(a) + len(k)");
        auto* impl = dynamic_cast<PythonModuleImpl*>(module);
        QVERIFY(impl);
        QCOMPARE(impl->call("count").toInt(), 0);
        QCOMPARE(module->functions().value(0)->call({1, "x"}).toInt(), 2);
    }

    void executeClearsAnEarlierError()
    {
        SCP_PythonModule* module = freshModule(QString());
        engine->importModule("no_module_by_that_name", false);
        QVERIFY(engine->hasError());
        MessageRecorder recorder;
        module->execute("x = 1");
        QVERIFY(!engine->hasError());
        QVERIFY(recorder.entries().isEmpty());
    }

    void addModuleBindsByIdentity()
    {
        SCP_PythonModule* host = freshModule(QString());
        SCP_PythonModule* guest = freshModule(QString());
        QVERIFY(!host->hasModule(guest));
        host->addModule(guest);
        QVERIFY(host->hasModule(guest));
        host->execute(QString("%1 = 'rebound'").arg(guest->name()));
        QVERIFY(!host->hasModule(guest));
        host->execute(QString("import sys\nother_name = sys.modules['%1']\ndel %1").arg(guest->name()));
        QVERIFY(!host->hasModule(guest));
        QVERIFY(!host->hasModule(nullptr));
        host->addModule(nullptr);
    }

    void nameAndFileNameAreCached()
    {
        const QString real = writeFile(folder.filePath("real/linked_mod.py"), "x = 1\n");
        QVERIFY(QFile::link(real, folder.filePath("linked_mod.py")));
        SCP_PythonModule* module = engine->importModule("linked_mod", false);
        QVERIFY(module);
        for (const char* code : {"", "__name__ = 'renamed'\n__file__ = 'elsewhere.py'"}) {
            module->execute(code);
            QCOMPARE(module->name(), "linked_mod");
            QCOMPARE(module->fileName(), QFileInfo(real).canonicalFilePath());
        }

        SCP_PythonModule* nameless = freshModule("del __name__");
        nameless->fileName();
        engine->clearError();
        QVERIFY(nameless->fileName().isEmpty());
        QVERIFY(engine->hasError());
    }
};

QTEST_MAIN(tst_plugin_pythonmodule)
#include "tst_plugin_pythonmodule.moc"
