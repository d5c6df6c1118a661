// The engine's module registry: one wrapper per name, imports and loads by name or file, and the
// failures that leave (or do not leave) a Python error pending.
#include "support/TestFiles.h"
#include "support/PluginTestCase.h"

#include <SCP_PythonEngine.h>
#include <SCP_PythonFunction.h>
#include <SCP_PythonModule.h>

#include <QTemporaryDir>
#include <QtTest>

namespace {
// A module body that counts how often it ran, per module name.
const QByteArray countingBody = "import sys\n"
                                "sys.loads = getattr(sys, 'loads', {})\n"
                                "sys.loads[__name__] = sys.loads.get(__name__, 0) + 1\n"
                                "def answer():\n"
                                "    return 42\n";
}

class ModuleRegistryTest : public PluginTestCase
{
    Q_OBJECT

private:
    int loadCount(const QString& name)
    {
        return engine->evaluate(QStringLiteral("__import__('sys').__dict__.get('loads', {}).get('%1', 0)").arg(name)).toInt();
    }
    void runInMain(const QString& code) { engine->mainModule()->execute(code); }

    QTemporaryDir folder;

private slots:
    void initTestCase()
    {
        QVERIFY(engine);
        QVERIFY(folder.isValid());
        engine->addSysPath(folder.path());
    }

    void moduleAnswersEachNameWithOneWrapper()
    {
        SCP_PythonModule* sys = engine->module(QStringLiteral("sys"));
        QVERIFY(sys);
        QCOMPARE(engine->module(QStringLiteral("sys")), sys);
        QCOMPARE(sys->name(), QStringLiteral("sys"));

        QVERIFY(!engine->module(QStringLiteral("no_such_module_loaded")));
        QVERIFY(!engine->hasError());

        SCP_PythonModule* main = engine->mainModule();
        QVERIFY(main);
        QCOMPARE(main->name(), QStringLiteral("__main__"));
        QCOMPARE(engine->module(QStringLiteral("__main__")), main);
    }

    void createModuleRegistersAnEmptyModule()
    {
        SCP_PythonModule* created = engine->createModule(QStringLiteral("registry_fresh"));
        QVERIFY(created);
        QCOMPARE(engine->module(QStringLiteral("registry_fresh")), created);
        QCOMPARE(engine->createModule(QStringLiteral("registry_fresh")), created);
        QCOMPARE(engine->evaluate(QStringLiteral("__import__('sys').modules['registry_fresh'].__name__")).toString(),
                 QStringLiteral("registry_fresh"));
        QCOMPARE(engine->createModule(QStringLiteral("sys")), engine->module(QStringLiteral("sys")));
    }

    void importModuleImportsOnceAndReloadsOnRequest()
    {
        writeFile(folder.filePath(QStringLiteral("counted_import.py")), countingBody);
        SCP_PythonModule* first = engine->importModule(QStringLiteral("counted_import"), false);
        QVERIFY(first);
        QCOMPARE(engine->importModule(QStringLiteral("counted_import"), false), first);
        QCOMPARE(loadCount(QStringLiteral("counted_import")), 1);

        QCOMPARE(engine->importModule(QStringLiteral("counted_import"), true), first);
        QCOMPARE(loadCount(QStringLiteral("counted_import")), 2);
        QCOMPARE(first->call(QStringLiteral("answer"), {}).toInt(), 42);
    }

    void importModuleOfDottedNameGivesTheSubmodule()
    {
        SCP_PythonModule* dom = engine->importModule(QStringLiteral("xml.dom"), false);
        QVERIFY(dom);
        QCOMPARE(dom->name(), QStringLiteral("xml.dom"));
        QCOMPARE(engine->module(QStringLiteral("xml.dom")), dom);
    }

    void failedImportLeavesTheErrorPending_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("missing module") << QByteArray();
        QTest::newRow("raising body") << QByteArray("raise RuntimeError('no')\n");
        QTest::newRow("system exit in body") << QByteArray("raise SystemExit(4)\n");
    }

    void failedImportLeavesTheErrorPending()
    {
        QFETCH(QByteArray, body);
        const QString name = QStringLiteral("failing_import_%1").arg(QTest::currentDataTag()).replace(' ', '_');
        if (!body.isEmpty())
            writeFile(folder.filePath(name + QStringLiteral(".py")), body);
        QVERIFY(!engine->importModule(name, false));
        QVERIFY(engine->hasError());
        QVERIFY(!engine->module(name));
        engine->clearError();
        QVERIFY(!engine->hasError());
    }

    void loadModuleNamesTheModuleAfterTheFileBaseName()
    {
        const QString path = writeFile(folder.filePath(QStringLiteral("tool.beta.py")), countingBody);
        SCP_PythonModule* tool = engine->loadModule(path, false, QString());
        QVERIFY(tool);
        QCOMPARE(tool->name(), QStringLiteral("tool"));
        QCOMPARE(engine->module(QStringLiteral("tool")), tool);
        QCOMPARE(tool->fileName(), QFileInfo(path).canonicalFilePath());

        // Loaded modules are answered from the registry: the file is not read again.
        writeFile(path, "raise RuntimeError('read twice')\n");
        QCOMPARE(engine->loadModule(path, false, QString()), tool);
        QVERIFY(QFile::remove(path));
        QCOMPARE(engine->loadModule(path, false, QString()), tool);
        QCOMPARE(loadCount(QStringLiteral("tool")), 1);
        QVERIFY(!engine->hasError());

        const QString other = writeFile(folder.filePath(QStringLiteral("named.py")), countingBody);
        SCP_PythonModule* custom = engine->loadModule(other, false, QStringLiteral("custom_name"));
        QVERIFY(custom);
        QCOMPARE(custom->name(), QStringLiteral("custom_name"));
        QVERIFY(!engine->module(QStringLiteral("named")));
    }

    void loadModuleNeverRunsAFileWhoseNameIsLoaded()
    {
        engine->importModule(QStringLiteral("os"), false);
        const QString path = writeFile(folder.filePath(QStringLiteral("shadow/os.py")), "raise RuntimeError('ran')\n");
        QCOMPARE(engine->loadModule(path, false, QString()), engine->module(QStringLiteral("os")));
        QVERIFY(!engine->hasError());
    }

    // Malformed and hostile sources are the reliability suite's; these are the failure kinds.
    void loadModuleFailures_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("errorPending");
        QTest::newRow("missing") << QStringLiteral("absent_file.py") << QByteArray() << false;
        QTest::newRow("folder") << QStringLiteral("a_folder") << QByteArray() << false;
        QTest::newRow("syntax error") << QStringLiteral("bad_syntax.py") << QByteArray("def (:\n") << true;
        QTest::newRow("raising body") << QStringLiteral("raising.py") << QByteArray("y = 1\nraise KeyError('k')\n") << true;
    }

    void loadModuleFailures()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, content);
        QFETCH(bool, errorPending);
        const QString path = folder.filePath(fileName);
        if (fileName == QStringLiteral("a_folder"))
            QDir(folder.path()).mkdir(fileName);
        else if (!content.isEmpty())
            writeFile(path, content);

        QVERIFY(!engine->loadModule(path, false, QString()));
        QCOMPARE(engine->hasError(), errorPending);
        QVERIFY(!engine->module(QFileInfo(path).baseName()));
    }

    void modulesListsOnlyRealModules()
    {
        runInMain(QStringLiteral("import sys\nsys.modules['listed_none'] = None\nsys.modules['listed_int'] = 42"));
        const QList<SCP_PythonModule*> listed = engine->modules();
        QCOMPARE(engine->modules(), listed);
        QStringList names;
        for (SCP_PythonModule* module : listed)
            names << module->name();
        QVERIFY(names.contains(QStringLiteral("sys")));
        QVERIFY(names.contains(QStringLiteral("__main__")));
        QVERIFY(!names.contains(QStringLiteral("listed_none")));
        QVERIFY(!names.contains(QStringLiteral("listed_int")));
        QVERIFY(!engine->hasError());
    }

    void wrappersOfNonModulesAnswerEmpty()
    {
        runInMain(QStringLiteral("import sys\nsys.modules['odd_int'] = 42\nsys.modules['odd_none'] = None"));
        for (const QString& name : {QStringLiteral("odd_int"), QStringLiteral("odd_none")}) {
            SCP_PythonModule* odd = engine->module(name);
            QVERIFY(odd);
            QVERIFY(odd->name().isEmpty());
            QVERIFY(odd->fileName().isEmpty());
            QVERIFY(odd->functions().isEmpty());
            QVERIFY(!odd->execute(QStringLiteral("x = 1")).isValid());
            QVERIFY(!odd->call(QStringLiteral("f"), {}).isValid());
            QVERIFY(!odd->hasModule(engine->mainModule()));
            odd->addModule(engine->mainModule());
            engine->mainModule()->addModule(odd);
            odd->reload();
            engine->clearError();
        }
    }

    void registryOutlivesTheInterpretersModuleDictionary()
    {
        SCP_PythonModule* created = engine->createModule(QStringLiteral("soon_deleted"));
        runInMain(QStringLiteral("import sys\ndel sys.modules['soon_deleted']"));
        QCOMPARE(engine->module(QStringLiteral("soon_deleted")), created);
        QCOMPARE(engine->importModule(QStringLiteral("soon_deleted"), false), created);
        QVERIFY(!engine->hasError());
    }

    void replacedMainStaysAnsweredByItsWrapper()
    {
        SCP_PythonModule* main = engine->mainModule();
        engine->createModule(QStringLiteral("replacement"))->execute(
            QStringLiteral("import sys\nreal_main = sys.modules['__main__']\nsys.modules['__main__'] = 7"));
        QCOMPARE(engine->mainModule(), main);
        QCOMPARE(engine->module(QStringLiteral("__main__")), main);
        engine->module(QStringLiteral("replacement"))->execute(QStringLiteral("sys.modules['__main__'] = real_main"));
    }
};

QTEST_MAIN(ModuleRegistryTest)
#include "tst_moduleregistry.moc"
