// The reference host loads libPythonScript.so and drives it from the command line and from
// host scripts.
#include "support/BellwickRun.h"
#include "support/TestFiles.h"

#include <MSG_Action.h>

#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString callbackLine = QStringLiteral("Python Manager Callback Registration.");
const QString initialized = QStringLiteral("Python script plugin initialized.\n");
}

class tst_acceptance_plugin : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;

private slots:
    void initTestCase() { QVERIFY(!qEnvironmentVariable("BELLWICK_BIN_DIR").isEmpty()); }

    // The examples a new user runs first, from the repository root as the README says: host
    // scripts load Python files, call their functions and are called back.
    void examplesRun()
    {
        const QString root = qEnvironmentVariable("BELLWICK_SOURCE_DIR");
        const BellwickRun hello({"--script", "examples/hello.js"}, root);
        QCOMPARE(hello.exitCode(), 0);
        for (const char* line : {"Hello, Bellwick, from Python!", "2 + 3 = 5", "add('a', 'b') = ab", "answer in __main__: 42"})
            QVERIFY2(hello.outputLines().contains(line), line);

        const BellwickRun manager({"--script", "examples/pythonmanager.js"}, root);
        QCOMPARE(manager.exitCode(), 0);
        QCOMPARE(manager.outputLines(), (QStringList{"area(2) = 12.57", "triangle has 3 sides", "script notified: total of 4 values = 10",
                                                            "report_to_script returned 10", "scale is now 1.5", "settings.scale in script: 6"}));
        QVERIFY(manager.messages(MSG_Action::Error).isEmpty());
    }

    // Which runs start the plug-in's Python, and where what Python prints goes.
    void pythonStartsOnlyWhereItMay_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("started");
        QTest::addColumn<QStringList>("printed");
        QTest::newRow("print reaches the message log") << QStringList{"-c", "print('hi')"} << true
                                                       << QStringList{"[PY STDOUT] : hi", "[PY STDOUT] : \n"};
        QTest::newRow("batch jobs") << QStringList{"--batch-python", "-c", "print('x')"} << false << QStringList();
        QTest::newRow("without scripting interface") << QStringList{"--without", "scripting-interface", "-c", "pass"} << false << QStringList();
    }

    void pythonStartsOnlyWhereItMay()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, started);
        const BellwickRun run(args);
        QVERIFY(run.finished());
        // A headless run's standard output is Python's: the plug-in's line goes to the start-up log.
        QCOMPARE(run.pythonInitLines().count(callbackLine), int(started));
        QCOMPARE(run.pythonInitLines().contains(initialized), started);
        QVERIFY(!run.pythonInitLines().contains("\nFailed to initialize Python."));
        QTEST(run.messages(MSG_Action::PythonOutput), "printed");
    }

    // The finder takes the installation the PYTHON_LIB_PATH preference names, and that one runs.
    void installationNamedByThePreferenceRuns()
    {
        const QString prefix = BELLWICK_TEST_PYTHON_PREFIX;
        const QString version = BELLWICK_TEST_PYTHON_VERSION;
        const QString executable = prefix + "/bin/python" + version;
        const QString settings = writeFile(folder.filePath("settings.ini"), "[General]\nPYTHON_LIB_PATH=" + prefix.toUtf8() + "\n");
        const BellwickRun run({"--settings", settings, "-c", "import sys; print('%d.%d %s %s' % (*sys.version_info[:2], sys.prefix, sys.executable))"});
        QCOMPARE(run.exitCode(), 0);
        QCOMPARE(run.messages(MSG_Action::PythonOutput).value(0), QStringLiteral("[PY STDOUT] : %1 %2 %3").arg(version, prefix, executable));
        QVERIFY2(run.pythonInitLines().contains(QStringLiteral("Python detected\n\tPython executable: %1\n\tPython home: %2").arg(executable, prefix)),
                 qPrintable(run.pythonInitLines().join('|')));
    }

    void withoutSessionContextOnlyTheScriptObjectIsPublished()
    {
        const QString script = writeFile(folder.filePath("job.js"), "Host.print(typeof PythonManager, Host.engine() === null);\n");
        const BellwickRun run({"--without", "session-context", "--script", script});
        QCOMPARE(run.outputLines(), QStringList{"object true"});
        QVERIFY(run.pythonInitLines().contains(initialized));
    }
};

QTEST_GUILESS_MAIN(tst_acceptance_plugin)
#include "tst_acceptance_plugin.moc"
