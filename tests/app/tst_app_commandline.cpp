// Whole-host runs of bellwick without a window: bad input, jobs, exit status and the JSON Lines
// log, with the stand-in plug-in.
#include "BellwickProcess.h"

#include <QFileInfo>
#include <QTest>

class tst_app_commandline : public QObject
{
    Q_OBJECT

    BellwickProcess bellwick;
    const QString plugin = bellwick.standInPlugin();

private slots:
    void initTestCase()
    {
        QVERIFY(QFileInfo(bellwick.binDir() + "/bellwick").isExecutable());
        QVERIFY(QFileInfo::exists(plugin));
    }

    // Which arguments are bad is the parser's to say (tests/host); a run prints its message first,
    // then the usage.
    void aBadArgumentExitsWithTwo()
    {
        const BellwickProcess::Run result = bellwick.run({"--frobnicate"});
        QCOMPARE(result.status, 2);
        QVERIFY2(result.err.section('\n', 0, 0).contains("frobnicate") && result.err.contains("Usage: bellwick"), qPrintable(result.err));
    }

    // The stand-in plug-in's runs, and runs with plug-ins or files that cannot be used.
    void runsEndWithTheirStatus_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QString>("out");
        const QString missing = bellwick.filePath("libNothing.so");
        const QString notALibrary = bellwick.script("not a library");
        const QString unreadable = bellwick.filePath("absent.js");
        const QString one = bellwick.script("1");
        QTest::newRow("missing plug-in") << QStringList{"--plugin", missing, "--script", one} << 2 << "not found: " + missing << "";
        QTest::newRow("not a library") << QStringList{"--plugin", notALibrary, "-c", "1"} << 2 << "Cannot load plug-in " + notALibrary << "";
        QTest::newRow("no entry points") << QStringList{"--plugin", bellwick.binDir() + "/libbellwick-host.so", "-c", "1"} << 2
                                         << "no entry point PLUG_Init" << "";
        QTest::newRow("unreadable script") << QStringList{"--plugin", plugin, "--script", unreadable} << 2 << "Cannot read " + unreadable << "";
        QTest::newRow("script throws, later jobs do not run")
            << QStringList{"--plugin", plugin, "--script", bellwick.script("var a = 1;\nnoSuchFunction();\n"), "-c", "never"} << 1
            << ":2: ReferenceError: noSuchFunction" << "";
        QTest::newRow("Python raises, messages on stderr") << QStringList{"--plugin", plugin, "-c", "raise ValueError"} << 1 << "raise ValueError" << "";
        QTest::newRow("Python runs") << QStringList{"--plugin", plugin, "-c", "None"} << 0 << "" << "";
        QTest::newRow("without Python manager") << QStringList{"--plugin", plugin, "--without", "python-manager", "-c", "1"} << 1
                                                << "Python is not available" << "";
        QTest::newRow("without script engine") << QStringList{"--plugin", plugin, "--without", "script-engine", "--script", one} << 1
                                               << "without a script engine" << "";
        QTest::newRow("a script sees absent services")
            << QStringList{"--plugin", plugin, "--without", "finder", "--script", bellwick.script("Host.print(Host.engine() === null)")} << 0
            << "" << "true\n";
    }

    void runsEndWithTheirStatus()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, err);
        QFETCH(QString, out);
        const BellwickProcess::Run result = bellwick.run(args);
        QTEST(result.status, "status");
        QVERIFY2(result.err.contains(err), qPrintable(result.err));
        QVERIFY(out.isEmpty() || result.out == out);
    }

    void windowWithoutDisplayIsRefused()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(name);
        const BellwickProcess::Run result = bellwick.run({"--plugin", plugin}, env);
        QCOMPARE(result.status, 2);
        QVERIFY(result.err.contains("no display") && result.err.contains("xvfb-run"));
        QCOMPARE(result.err.count('\n'), 1);
    }

    void jobsRunInCommandLineOrderAndLogAsJsonLines()
    {
        const QString log = bellwick.filePath("run.jsonl");
        const QString first = bellwick.script("Host.print('script', 1, true); Host.engine().mainModule().call('say', ['from js']);");
        const BellwickProcess::Run result = bellwick.run({"--plugin", plugin, "--log", log, "-c", "code one", "--script", first, "--python",
                                                          bellwick.script("file two")});
        QCOMPARE(result.status, 0);
        QCOMPARE(result.out, "script 1 true\n");
        const QList<QJsonObject> events = BellwickProcess::readLog(log);
        QVERIFY(!events.isEmpty());
        QCOMPARE(events.first(), (QJsonObject{{"kind", "python-init"}, {"text", "stand-in plug-in initialized"}}));
        QCOMPARE(events.last(), (QJsonObject{{"kind", "message"}, {"action", 7}, {"text", "[PY STDOUT] : from js"}}));
    }
};

QTEST_GUILESS_MAIN(tst_app_commandline)
#include "tst_app_commandline.moc"
