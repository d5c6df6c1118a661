// The engine's module registry and search path: one wrapper per name, imports and loads by name
// or file, the failures that leave (or do not leave) a Python error pending, and addSysPath().
#include "support/PluginTestCase.h"
#include "support/TestFiles.h"

#include <SCP_PythonEngine.h>
#include <SCP_PythonModule.h>

#include <QtTest>

namespace {
// A module body that counts how often it ran, per module name.
const QByteArray countingBody = "import sys\n"
                                "sys.loads = getattr(sys, 'loads', {})\n"
                                "sys.loads[__name__] = sys.loads.get(__name__, 0) + 1\n"
                                "def answer():\n"
                                "    return 42\n";
}

class tst_plugin_moduleregistry : public PluginTestCase
{
    Q_OBJECT

    int loadCount(const QString& name)
    {
        return engine->evaluate(QString("__import__('sys').__dict__.get('loads', {}).get('%1', 0)").arg(name)).toInt();
    }
    void runInMain(const QString& code) { engine->mainModule()->execute(code); }
    QStringList sysPath() { return engine->evaluate("__import__('sys').path").toStringList(); }

    QTemporaryDir folder;

private slots:
    void initTestCase()
    {
        QVERIFY(engine && folder.isValid());
        engine->addSysPath(folder.path());
    }

    void createModuleRegistersAnEmptyModule()
    {
        SCP_PythonModule* created = engine->createModule("registry_fresh");
        QVERIFY(created);
        QCOMPARE(engine->module("registry_fresh"), created);
        QCOMPARE(engine->createModule("registry_fresh"), created);
        QCOMPARE(engine->evaluate("__import__('sys').modules['registry_fresh'].__name__").toString(), "registry_fresh");
        QCOMPARE(engine->createModule("sys"), engine->module("sys"));
        QCOMPARE(engine->module("sys")->name(), "sys");
        QCOMPARE(engine->mainModule()->name(), "__main__");
        QVERIFY(!engine->module("no_such_module_loaded") && !engine->hasError());
    }

    void importModuleImportsOnceAndReloadsOnRequest()
    {
        writeFile(folder.filePath("counted_import.py"), countingBody);
        SCP_PythonModule* first = engine->importModule("counted_import", false);
        QVERIFY(first);
        QCOMPARE(engine->importModule("counted_import", false), first);
        QCOMPARE(loadCount("counted_import"), 1);
        QCOMPARE(engine->importModule("counted_import", true), first);
        QCOMPARE(loadCount("counted_import"), 2);
        QCOMPARE(first->call("answer", {}).toInt(), 42);
    }

    void importModuleOfDottedNameGivesTheSubmodule()
    {
        SCP_PythonModule* dom = engine->importModule("xml.dom", false);
        QVERIFY(dom);
        QCOMPARE(dom->name(), "xml.dom");
        QCOMPARE(engine->module("xml.dom"), dom);
    }

    void failedImportLeavesTheErrorPending_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("missing_module") << QByteArray();
        QTest::newRow("raising_body") << QByteArray("raise RuntimeError('no')\n");
        QTest::newRow("system_exit_in_body") << QByteArray("raise SystemExit(4)\n");
    }

    void failedImportLeavesTheErrorPending()
    {
        QFETCH(QByteArray, body);
        const QString name = QString("failing_") + QTest::currentDataTag();
        if (!body.isEmpty())
            writeFile(folder.filePath(name + ".py"), body);
        QVERIFY(!engine->importModule(name, false));
        QVERIFY(engine->hasError());
        QVERIFY(!engine->module(name));
    }

    void loadModuleNamesTheModuleAfterTheFileBaseName()
    {
        const QString path = writeFile(folder.filePath("tool.beta.py"), countingBody);
        SCP_PythonModule* tool = engine->loadModule(path, false, QString());
        QVERIFY(tool);
        QCOMPARE(tool->name(), "tool");
        QCOMPARE(engine->module("tool"), tool);
        QCOMPARE(tool->fileName(), QFileInfo(path).canonicalFilePath());
        // Loaded modules are answered from the registry: the file is not read again.
        writeFile(path, "raise RuntimeError('read twice')\n");
        QCOMPARE(engine->loadModule(path, false, QString()), tool);
        QVERIFY(QFile::remove(path));
        QCOMPARE(engine->loadModule(path, false, QString()), tool);
        QCOMPARE(loadCount("tool"), 1);
        QVERIFY(!engine->hasError());

        SCP_PythonModule* custom = engine->loadModule(writeFile(folder.filePath("named.py"), countingBody), false, "custom_name");
        QVERIFY(custom);
        QCOMPARE(custom->name(), "custom_name");
        QVERIFY(!engine->module("named"));
    }

    void loadModuleNeverRunsAFileWhoseNameIsLoaded()
    {
        engine->importModule("os", false);
        const QString path = writeFile(folder.filePath("shadow/os.py"), "raise RuntimeError('ran')\n");
        QCOMPARE(engine->loadModule(path, false, QString()), engine->module("os"));
        QVERIFY(!engine->hasError());
    }

    // Entries of sys.modules that are no modules are not listed, and their wrappers answer empty.
    void nonModulesInSysModules()
    {
        runInMain("import sys\nsys.modules['odd_int'] = 42\nsys.modules['odd_none'] = None");
        const QList<SCP_PythonModule*> listed = engine->modules();
        QCOMPARE(engine->modules(), listed);
        QStringList names;
        for (SCP_PythonModule* module : listed)
            names << module->name();
        QVERIFY(names.contains("sys") && names.contains("__main__") && !names.contains(QString()));
        for (const char* name : {"odd_int", "odd_none"}) {
            SCP_PythonModule* odd = engine->module(name);
            QVERIFY(odd && !listed.contains(odd));
            QVERIFY(odd->name().isEmpty() && odd->fileName().isEmpty() && odd->functions().isEmpty());
            QVERIFY(!odd->execute("x = 1").isValid());
            QVERIFY(!odd->call("f", {}).isValid());
            QVERIFY(!odd->hasModule(engine->mainModule()));
            odd->addModule(engine->mainModule());
            engine->mainModule()->addModule(odd);
            odd->reload();
            engine->clearError();
        }
    }

    void registryOutlivesTheInterpretersModuleDictionary()
    {
        SCP_PythonModule* created = engine->createModule("soon_deleted");
        runInMain("import sys\ndel sys.modules['soon_deleted']");
        QCOMPARE(engine->module("soon_deleted"), created);
        QCOMPARE(engine->importModule("soon_deleted", false), created);
        QVERIFY(!engine->hasError());
    }

    void replacedMainStaysAnsweredByItsWrapper()
    {
        SCP_PythonModule* main = engine->mainModule();
        SCP_PythonModule* replacing = engine->createModule("replacement");
        replacing->execute("import sys\nreal_main = sys.modules['__main__']\nsys.modules['__main__'] = 7");
        QCOMPARE(engine->mainModule(), main);
        QCOMPARE(engine->module("__main__"), main);
        replacing->execute("sys.modules['__main__'] = real_main");
    }

    void sysPathGetsEachDirectoryOnceHoweverWritten()
    {
        const QString target = folder.filePath("target");
        QVERIFY(QDir().mkpath(target));
        QVERIFY(QFile::link(target, folder.filePath("link")));
        QVERIFY(QDir::setCurrent(folder.path()));
        const QStringList before = sysPath();
        for (const QString& entry : before)
            engine->addSysPath(entry);
        engine->addSysPath(QString());
        engine->addSysPath(folder.filePath("does/not/exist"));
        engine->addSysPath("relative_that_does_not_exist");
        QCOMPARE(sysPath(), before);

        for (const QString& path : {QString("target"), target, folder.filePath("link"), QString("./target/../target/")})
            engine->addSysPath(path);
        QCOMPARE(sysPath().size(), before.size() + 1);
        QCOMPARE(sysPath().count("target"), 1);
        QVERIFY(!engine->hasError());
    }
};

QTEST_MAIN(tst_plugin_moduleregistry)
#include "tst_plugin_moduleregistry.moc"
