// The engine: its module registry (one wrapper per name, imports and loads by name or file, the
// failures that leave a Python error pending), the search path, the wrappers and their functions
// (caches, lifetimes across execute() and reload(), calls, binding into one another), and
// Python's output and errors (the message log with its prefixes, a redirect, reportError()).
#include "support/MessageRecorder.h"
#include "support/PluginTestCase.h"
#include "support/TestFiles.h"

#include <MSG_Action.h>
#include <SCP_PythonFunction.h>
#include <SCP_PythonModule.h>
#include <SCP_PythonRedirect.h>

namespace {
class RecordingRedirect : public SCP_PythonRedirect
{
public:
    using SCP_PythonRedirect::SCP_PythonRedirect;
    void writeStdOut(const QString& text) override { out += text; }
    void writeStdErr(const QString& text) override { err += text; }
    QString out;
    QString err;
};

// A module body that counts how often it ran, per module name.
const QByteArray countingBody = "import sys\nsys.loads = getattr(sys, 'loads', []) + [__name__]\ndef answer():\n    return 42\n";
}

class tst_plugin_engine : public PluginTestCase
{
    Q_OBJECT

    QTemporaryDir folder;
    int moduleCount = 0;
    MessageRecorder recorder;

    QStringList errors() const { return recorder.messages(MSG_Action::Error); }

    int loadCount(const QString& name) { return engine->evaluate(QString("__import__('sys').loads.count('%1')").arg(name)).toInt(); }

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
        return setModificationTime(path, 10) ? module : nullptr;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(engine);
        QVERIFY(folder.isValid());
        engine->addSysPath(folder.path());
    }

    void init()
    {
        engine->clearError();
        recorder.clear();
    }

    void createModuleRegistersAnEmptyModule()
    {
        SCP_PythonModule* created = engine->createModule("registry_fresh");
        QVERIFY(created);
        QCOMPARE(engine->createModule("registry_fresh"), created);
        QCOMPARE(engine->createModule("sys"), engine->module("sys"));
        QCOMPARE(engine->evaluate("__import__('sys').modules['registry_fresh'].__name__").toString(), "registry_fresh");
        QVERIFY(!engine->module("no_such_module_loaded"));
        QVERIFY(!engine->hasError());
    }

    void importModuleImportsOnceAndReloadsOnRequest()
    {
        writeFile(folder.filePath("counted_import.py"), countingBody);
        SCP_PythonModule* first = engine->importModule("counted_import", false);
        QVERIFY(first);
        QCOMPARE(engine->importModule("counted_import", false), first);
        QCOMPARE(engine->importModule("counted_import", true), first);
        QCOMPARE(loadCount("counted_import"), 2);
        QCOMPARE(first->call("answer", {}).toInt(), 42);
        SCP_PythonModule* dom = engine->importModule("xml.dom", false);
        QVERIFY(dom);
        QCOMPARE(dom->name(), "xml.dom");
        QCOMPARE(engine->module("xml.dom"), dom);
    }

    void failedImportLeavesTheErrorPending()
    {
        writeFile(folder.filePath("failing_body.py"), "raise RuntimeError('no')\n");
        for (const char* name : {"failing_missing", "failing_body"}) {
            QVERIFY(!engine->importModule(name, false));
            QVERIFY(engine->hasError());
            QVERIFY(!engine->module(name));
            engine->clearError();
        }
    }

    // Loaded modules are answered from the registry by name: the file is not read again, nor
    // one whose base name is already a module.
    void loadModuleNamesTheModuleAfterTheFileBaseName()
    {
        const QString path = writeFile(folder.filePath("tool.beta.py"), countingBody);
        SCP_PythonModule* tool = engine->loadModule(path, false, QString());
        QVERIFY(tool);
        QCOMPARE(tool->name(), "tool");
        QCOMPARE(engine->module("tool"), tool);
        QCOMPARE(tool->fileName(), QFileInfo(path).canonicalFilePath());
        writeFile(path, "raise RuntimeError('read twice')\n");
        QCOMPARE(engine->loadModule(path, false, QString()), tool);
        QVERIFY(QFile::remove(path));
        QCOMPARE(engine->loadModule(path, false, QString()), tool);
        QCOMPARE(loadCount("tool"), 1);
        engine->importModule("os", false);
        QCOMPARE(engine->loadModule(writeFile(folder.filePath("shadow/os.py"), "raise RuntimeError('ran')\n"), false, QString()),
                 engine->module("os"));
        QVERIFY(!engine->hasError());

        SCP_PythonModule* custom = engine->loadModule(writeFile(folder.filePath("named.py"), countingBody), false, "custom_name");
        QVERIFY(custom);
        QCOMPARE(custom->name(), "custom_name");
        QVERIFY(!engine->module("named"));
    }

    // Entries of sys.modules that are no modules are not listed, and their wrappers answer empty;
    // modules taken out of sys.modules, or a replaced __main__, stay answered by their wrappers.
    void registryOutlivesOddModuleDictionaries()
    {
        SCP_PythonModule* created = engine->createModule("soon_deleted");
        SCP_PythonModule* main = engine->mainModule();
        created->execute("import sys\nsys.modules['odd_int'] = 42\nsys.modules['odd_none'] = None\ndel sys.modules['soon_deleted']\n"
                         "real_main = sys.modules['__main__']\nsys.modules['__main__'] = 7");
        QCOMPARE(engine->importModule("soon_deleted", false), created);
        QCOMPARE(engine->mainModule(), main);
        QCOMPARE(engine->module("__main__"), main);
        QVERIFY(!engine->hasError());
        created->execute("sys.modules['__main__'] = real_main");
        const QList<SCP_PythonModule*> listed = engine->modules();
        QVERIFY(listed.contains(engine->module("sys")));
        QVERIFY(listed.contains(main));
        for (const char* name : {"odd_int", "odd_none"}) {
            SCP_PythonModule* odd = engine->module(name);
            QVERIFY(odd);
            QVERIFY(!listed.contains(odd));
            QVERIFY(odd->name().isEmpty());
            QVERIFY(odd->fileName().isEmpty());
            QVERIFY(odd->functions().isEmpty());
            QVERIFY(!odd->execute("x = 1").isValid());
            QVERIFY(!odd->call("f", {}).isValid());
            QVERIFY(!odd->hasModule(main));
            odd->addModule(main);
            main->addModule(odd);
            odd->reload();
            engine->clearError();
        }
    }

    // A function list is kept until code runs. Its objects hold their function: dropped from the
    // list or rebound, they still call it, also after reload() has destroyed the current list.
    void functionListsAcrossExecuteAndReload()
    {
        SCP_PythonModule* module = importChanging("reloaded_mod",
                                                  "import os\nfrom os.path import join\ndef b():\n  return 'b'\na = lambda: 'a'\nalias = b\n"
                                                  "class K:\n  pass\nvalue = 3\nbuiltin = len\nglobals()[7] = b\n",
                                                  "def b():\n  return 'reloaded'\n");
        QVERIFY(module);
        const QList<SCP_PythonFunction*> first = module->functions();
        QStringList names;
        for (SCP_PythonFunction* function : first)
            names << function->name();
        QCOMPARE(names, QStringList({"join", "b", "a", "alias", QString()}));
        QCOMPARE(module->functions(), first);

        module->execute("def b():\n  return 'new b'");
        const QList<SCP_PythonFunction*> second = module->functions();
        QCOMPARE(second.size(), 5);
        for (SCP_PythonFunction* function : second)
            QVERIFY(!first.contains(function));
        QCOMPARE(second.at(1)->call({}).toString(), "new b");
        const QPointer<QObject> dropped(dynamic_cast<QObject*>(first.at(1))), listed(dynamic_cast<QObject*>(second.at(1)));
        module->reload();
        QVERIFY(!engine->hasError());
        QVERIFY(dropped);
        QVERIFY(!listed);
        QCOMPARE(first.at(1)->call({}).toString(), "b");
        QCOMPARE(module->call("b", {}).toString(), "reloaded");
    }

    // A failing reload, or one of a module without source, keeps the module and leaves the error.
    void failedReloadKeepsTheModule()
    {
        SCP_PythonModule* module = importChanging("breaks_on_reload", "x = 1\n", "x = 2\nraise ValueError('bad')\n");
        QVERIFY(module);
        module->reload();
        QVERIFY(engine->hasError());
        QCOMPARE(module->execute("y = x"), QVariant());
        QCOMPARE(engine->evaluate("__import__('breaks_on_reload').x").toInt(), 2);

        SCP_PythonModule* sourceless = freshModule("def f():\n  return 1");
        sourceless->functions();
        sourceless->reload();
        QVERIFY(engine->hasError());
        QCOMPARE(sourceless->functions().size(), 1);
    }

    // Classes, built-ins, bound methods and callable instances are not called at all.
    void callTakesOnlyPlainFunctions()
    {
        SCP_PythonModule* module = freshModule(
            "calls = []\n"
            "def add(a, b):\n  return a + b\n"
            "twice = lambda a, b=None: 2 * a\n"
            "class Klass:\n  def __init__(self, *a):\n    calls.append('class')\n"
            "  def __call__(self, *a):\n    calls.append('instance')\n  def method(self, *a):\n    calls.append('method')\n"
            "length = len\ninstance = Klass()\nbound = instance.method\ncalls.clear()\n");
        QCOMPARE(module->call("add", {2, 3}), QVariant(5));
        QCOMPARE(module->call("twice", {2}), QVariant(4));
        for (const char* name : {"Klass", "length", "bound", "instance", "nothing_here"})
            QVERIFY2(!module->call(name, {2, 3}).isValid(), name);
        QVERIFY(!engine->hasError());
        QCOMPARE(engine->evaluate(QString("__import__('%1').calls").arg(module->name())).toList(), QVariantList());
    }

    void executeClearsAnEarlierError()
    {
        SCP_PythonModule* module = freshModule(QString());
        engine->importModule("no_module_by_that_name", false);
        module->execute("x = 1");
        QVERIFY(!engine->hasError());
        QVERIFY(recorder.entries().isEmpty());
    }

    void addModuleBindsByIdentity()
    {
        SCP_PythonModule* host = freshModule(QString());
        SCP_PythonModule* guest = freshModule(QString());
        host->addModule(guest);
        QVERIFY(host->hasModule(guest));
        host->execute(QString("%1 = 'rebound'").arg(guest->name()));
        QVERIFY(!host->hasModule(guest));
        QVERIFY(!host->hasModule(nullptr));
        host->addModule(nullptr);
    }

    // Standard output keeps its pieces as written; standard error is simplified, blank pieces dropped.
    void outputReachesTheLogWithPrefixes()
    {
        freshModule("print('hi')\nimport sys\nsys.stdout.write('  two  words ')\nsys.stderr.write('  a\\n  b\\t c ')\n"
                    "sys.stderr.write(' \\n\\t')");
        engine->writeStdErr("\n");
        engine->writeStdOut("from host");
        QCOMPARE(recorder.messages(MSG_Action::PythonOutput),
                 QStringList({"[PY STDOUT] : hi", "[PY STDOUT] : \n", "[PY STDOUT] :   two  words ", "[PY STDERR] : a b c",
                              "[PY STDOUT] : from host"}));
        QCOMPARE(recorder.entries().size(), 5);
    }

    void reportErrorLogsOneMessagePerTracebackLine()
    {
        QVERIFY(!engine->reportError());
        QVERIFY(recorder.entries().isEmpty());
        freshModule("raise ValueError('x')");
        QCOMPARE(errors(), QStringList({"Traceback (most recent call last):", "File \"<string>\", line 1, in <module>",
                                        "ValueError: x"}));
        QCOMPARE(recorder.entries().size(), 3);
        QVERIFY(!engine->hasError());
    }

    // Raised by a call, through the module or a function object, the exception is left pending
    // for reportError(). (Raised by execute(), it is reported at once: the reliability suite.)
    void exceptionsThatWouldEndTheProcessAreReported()
    {
        for (const char* raised : {"SystemExit(3)", "KeyboardInterrupt"}) {
            SCP_PythonModule* holder = freshModule(QString("def pending():\n  raise ") + raised);
            SCP_PythonFunction* pending = holder->functions().value(0);
            QVERIFY(pending);
            for (bool throughModule : {true, false}) {
                recorder.clear();
                QVERIFY(!(throughModule ? holder->call("pending", {}) : pending->call({})).isValid());
                QVERIFY(engine->hasError());
                QVERIFY(engine->reportError());
                QVERIFY(!engine->hasError());
                QCOMPARE(errors().value(0), "Traceback (most recent call last):");
                QCOMPARE(errors().last(), QString(raised).replace("(3)", ": 3"));
            }
        }
    }

    void redirectReceivesEverythingInstead()
    {
        RecordingRedirect redirect(engine);
        engine->pushRedirectObject(&redirect);
        SCP_PythonModule* module = freshModule("print('shown')\nimport sys\nsys.stderr.write(' raw ')\nraise KeyError('k')");
        engine->writeStdOut("host out");
        engine->importModule("not_there_at_all", false);
        QVERIFY(engine->reportError());
        engine->popRedirectObject();

        QVERIFY(recorder.entries().isEmpty());
        QCOMPARE(redirect.out, "shown\nhost out");
        QVERIFY(redirect.err.startsWith(" raw Traceback (most recent call last):\n"));
        QVERIFY(redirect.err.contains("KeyError: 'k'\n"));
        QVERIFY(redirect.err.contains("ModuleNotFoundError"));
        module->execute("print('back')");
        QCOMPARE(recorder.messages(MSG_Action::PythonOutput).value(0), "[PY STDOUT] : back");
    }
};

QTEST_MAIN(tst_plugin_engine)
#include "tst_plugin_engine.moc"
