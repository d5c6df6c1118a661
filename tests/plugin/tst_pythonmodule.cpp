// Module wrappers and their functions: caches, lifetimes across execute() and reload(), calls,
// and binding modules into one another.
#include "support/MessageRecorder.h"
#include "support/TestFiles.h"
#include "support/PluginTestCase.h"

#include <MSG_Action.h>
#include "python/PythonModuleImpl.h"

#include <SCP_PythonEngine.h>
#include <SCP_PythonFunction.h>
#include <SCP_PythonModule.h>

#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QStringList namesOf(const QList<SCP_PythonFunction*>& functions)
{
    QStringList names;
    for (SCP_PythonFunction* function : functions)
        names << function->name();
    return names;
}

QPointer<QObject> tracked(SCP_PythonFunction* function)
{
    return QPointer<QObject>(dynamic_cast<QObject*>(function));
}
}

class PythonModuleTest : public PluginTestCase
{
    Q_OBJECT

private:
    SCP_PythonModule* freshModule(const QString& code)
    {
        SCP_PythonModule* module = engine->createModule(QStringLiteral("module_test_%1").arg(++moduleCount));
        module->execute(code);
        return module;
    }

    QTemporaryDir folder;
    int moduleCount = 0;

private slots:
    void initTestCase()
    {
        QVERIFY(engine);
        engine->addSysPath(folder.path());
    }

    void functionsAreCachedUntilCodeRuns()
    {
        SCP_PythonModule* module = freshModule(QStringLiteral(
            "import os\nfrom os.path import join\ndef b():\n  return 'b'\na = lambda: 'a'\nalias = b\nclass K:\n  pass\n"
            "value = 3\nbuiltin = len\n"));
        const QList<SCP_PythonFunction*> first = module->functions();
        QCOMPARE(namesOf(first), QStringList({QStringLiteral("join"), QStringLiteral("b"), QStringLiteral("a"), QStringLiteral("alias")}));
        QCOMPARE(module->functions(), first);

        module->execute(QStringLiteral("def c():\n  return 'c'"));
        const QList<SCP_PythonFunction*> second = module->functions();
        QCOMPARE(second.size(), 5);
        for (SCP_PythonFunction* function : second)
            QVERIFY(!first.contains(function));
        // Dropped from the list, the earlier objects still work.
        QCOMPARE(first.at(1)->call({}).toString(), QStringLiteral("b"));
        QCOMPARE(first.at(3)->name(), QStringLiteral("alias"));
    }

    void reloadDestroysOnlyTheCurrentList()
    {
        writeFile(folder.filePath(QStringLiteral("reloaded_mod.py")), "def f():\n  return 1\n");
        SCP_PythonModule* module = engine->importModule(QStringLiteral("reloaded_mod"), false);
        QVERIFY(module);
        const QPointer<QObject> dropped = tracked(module->functions().value(0));
        module->execute(QString());
        SCP_PythonFunction* current = module->functions().value(0);
        const QPointer<QObject> listed = tracked(current);
        QVERIFY(dropped && listed);

        writeFile(folder.filePath(QStringLiteral("reloaded_mod.py")), "def f():\n  return 2\n");
        QVERIFY(makeNewer(folder.filePath(QStringLiteral("reloaded_mod.py"))));
        module->reload();
        QVERIFY(!engine->hasError());
        QVERIFY(!listed);
        QVERIFY(dropped);
        QCOMPARE(dynamic_cast<SCP_PythonFunction*>(dropped.data())->call({}).toInt(), 1);
        QCOMPARE(module->call(QStringLiteral("f"), {}).toInt(), 2);
        QCOMPARE(module->name(), QStringLiteral("reloaded_mod"));
    }

    void failedReloadKeepsTheModuleAndTheError()
    {
        writeFile(folder.filePath(QStringLiteral("breaks_on_reload.py")), "x = 1\n");
        SCP_PythonModule* module = engine->importModule(QStringLiteral("breaks_on_reload"), false);
        QVERIFY(module);
        writeFile(folder.filePath(QStringLiteral("breaks_on_reload.py")), "x = 2\nraise ValueError('bad')\n");
        QVERIFY(makeNewer(folder.filePath(QStringLiteral("breaks_on_reload.py"))));
        module->reload();
        QVERIFY(engine->hasError());
        engine->clearError();
        QCOMPARE(module->execute(QStringLiteral("y = x")), QVariant());
        QCOMPARE(engine->evaluate(QStringLiteral("__import__('breaks_on_reload').x")).toInt(), 2);
    }

    void reloadOfAModuleWithoutSourceLeavesAnError()
    {
        SCP_PythonModule* module = freshModule(QStringLiteral("def f():\n  return 1"));
        module->functions();
        module->reload();
        QVERIFY(engine->hasError());
        QVERIFY(module->functions().size() == 1);
    }

    void callTakesOnlyPlainFunctions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("def") << QStringLiteral("add") << QVariant(5);
        QTest::newRow("lambda") << QStringLiteral("twice") << QVariant(4);
        QTest::newRow("class") << QStringLiteral("Klass") << QVariant();
        QTest::newRow("builtin") << QStringLiteral("length") << QVariant();
        QTest::newRow("bound method") << QStringLiteral("bound") << QVariant();
        QTest::newRow("callable instance") << QStringLiteral("instance") << QVariant();
        QTest::newRow("missing") << QStringLiteral("nothing_here") << QVariant();
    }

    void callTakesOnlyPlainFunctions()
    {
        QFETCH(QString, name);
        QFETCH(QVariant, expected);
        SCP_PythonModule* module = freshModule(QStringLiteral(
            "calls = []\n"
            "def add(a, b):\n  return a + b\n"
            "twice = lambda a, b=None: 2 * a\n"
            "class Klass:\n  def __init__(self, *a):\n    calls.append('class')\n"
            "  def __call__(self, *a):\n    calls.append('instance')\n  def method(self, *a):\n    calls.append('method')\n"
            "length = len\ninstance = Klass()\nbound = instance.method\ncalls.clear()\n"));
        const QVariantList args = name == QStringLiteral("twice") ? QVariantList{2} : QVariantList{2, 3};
        QCOMPARE(module->call(name, args), expected);
        QVERIFY(!engine->hasError());
        QCOMPARE(engine->evaluate(QStringLiteral("__import__('%1').calls").arg(module->name())).toList(), QVariantList());
    }

    void raisingCallLeavesTheErrorPending()
    {
        SCP_PythonModule* module = freshModule(QStringLiteral("def boom():\n  raise SystemExit(2)\ndef deep():\n  return deep()"));
        QVERIFY(!module->call(QStringLiteral("boom"), {}).isValid());
        QVERIFY(engine->hasError());
        engine->clearError();
        SCP_PythonFunction* deep = module->functions().value(1);
        QVERIFY(!deep->call({}).isValid());
        QVERIFY(engine->hasError());
        MessageRecorder recorder;
        QVERIFY(engine->reportError());
        QVERIFY(recorder.messages(MSG_Action::Error).last().startsWith(QStringLiteral("RecursionError")));
    }

    void callWithoutArgumentsPassesNone()
    {
        SCP_PythonModule* module = freshModule(QStringLiteral("def count(*a, **k):\n  return len(a) + len(k)"));
        auto* impl = dynamic_cast<PythonModuleImpl*>(module);
        QVERIFY(impl);
        QCOMPARE(impl->call(QStringLiteral("count")).toInt(), 0);
        QCOMPARE(module->functions().value(0)->call({1, QStringLiteral("x")}).toInt(), 2);
    }

    void functionKeepsItsObjectWhenTheNameIsRebound()
    {
        SCP_PythonModule* module = freshModule(QStringLiteral("def f():\n  return 'old'"));
        SCP_PythonFunction* f = module->functions().value(0);
        module->execute(QStringLiteral("def f():\n  return 'new'"));
        QCOMPARE(f->call({}).toString(), QStringLiteral("old"));
        QCOMPARE(module->call(QStringLiteral("f"), {}).toString(), QStringLiteral("new"));
    }

    void functionsWithNonStringKeysHaveEmptyNames()
    {
        SCP_PythonModule* module = freshModule(QStringLiteral("def f():\n  return 1\nglobals()[7] = f"));
        QCOMPARE(namesOf(module->functions()), QStringList({QStringLiteral("f"), QString()}));
    }

    void executeRunsStatementsAndReportsFailuresOnce()
    {
        SCP_PythonModule* module = freshModule(QString());
        QVERIFY(!engine->hasError());
        MessageRecorder recorder;
        QVERIFY(!module->execute(QStringLiteral("before = 1\nraise ValueError('stop')\nafter = 1")).isValid());
        QVERIFY(!engine->hasError());
        QCOMPARE(recorder.messages(MSG_Action::Error).filter(QStringLiteral("ValueError: stop")).size(), 1);
        QCOMPARE(module->call(QStringLiteral("nothing"), {}), QVariant());
        QCOMPARE(engine->evaluate(QStringLiteral("__import__('%1').__dict__.get('before')").arg(module->name())).toInt(), 1);
        QVERIFY(!engine->evaluate(QStringLiteral("__import__('%1').__dict__.get('after')").arg(module->name())).isValid());

        recorder.clear();
        QVERIFY(!module->execute(QStringLiteral("def (:")).isValid());
        QVERIFY(recorder.messages(MSG_Action::Error).filter(QStringLiteral("SyntaxError")).size() == 1);
    }

    void executeClearsAnEarlierError()
    {
        SCP_PythonModule* module = freshModule(QString());
        module->call(QStringLiteral("missing"), {});
        engine->importModule(QStringLiteral("no_module_by_that_name"), false);
        QVERIFY(engine->hasError());
        MessageRecorder recorder;
        module->execute(QStringLiteral("x = 1"));
        QVERIFY(!engine->hasError());
        QVERIFY(recorder.messages(MSG_Action::Error).isEmpty());
    }

    void addModuleBindsByIdentity()
    {
        SCP_PythonModule* host = freshModule(QString());
        SCP_PythonModule* guest = freshModule(QString());
        QVERIFY(!host->hasModule(guest));
        host->addModule(guest);
        QVERIFY(host->hasModule(guest));
        host->execute(QStringLiteral("%1 = 'rebound'").arg(guest->name()));
        QVERIFY(!host->hasModule(guest));
        host->execute(QStringLiteral("import sys\nother_name = sys.modules['%1']\ndel %1").arg(guest->name()));
        QVERIFY(!host->hasModule(guest));
        QVERIFY(!host->hasModule(nullptr));
        host->addModule(nullptr);
    }

    void nameAndFileNameAreCached()
    {
        const QString real = writeFile(folder.filePath(QStringLiteral("real/linked_mod.py")), "x = 1\n");
        const QString link = folder.filePath(QStringLiteral("linked_mod.py"));
        QVERIFY(QFile::link(real, link));
        SCP_PythonModule* module = engine->importModule(QStringLiteral("linked_mod"), false);
        QVERIFY(module);
        QCOMPARE(module->name(), QStringLiteral("linked_mod"));
        QCOMPARE(module->fileName(), QFileInfo(real).canonicalFilePath());
        module->execute(QStringLiteral("__name__ = 'renamed'\n__file__ = 'elsewhere.py'"));
        QCOMPARE(module->name(), QStringLiteral("linked_mod"));
        QCOMPARE(module->fileName(), QFileInfo(real).canonicalFilePath());

        SCP_PythonModule* nameless = freshModule(QStringLiteral("del __name__"));
        nameless->fileName();
        engine->clearError();
        QVERIFY(nameless->fileName().isEmpty());
        QVERIFY(engine->hasError());
    }
};

QTEST_MAIN(PythonModuleTest)
#include "tst_pythonmodule.moc"
