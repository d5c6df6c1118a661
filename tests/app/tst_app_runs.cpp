// Whole-host runs of bellwick with the stand-in plug-in, each with the preferences of this test's
// folder: bad input, jobs, exit status, and --window runs driven through the Host automation API.
#include "support/BellwickRun.h"
#include "support/TestFiles.h"

#include <MSG_Action.h>

#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

class tst_app_runs : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;
    const QString plugin = qEnvironmentVariable("BELLWICK_BIN_DIR") + "/test-plugins/libbellwick_test_plugin.so";
    int scripts = 0;

    QString script(const QString& text) { return writeFile(folder.filePath(QString("job%1.js").arg(scripts++)), text.toUtf8()); }
    BellwickRun run(const QStringList& args, const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
    {
        return BellwickRun(QStringList{"--settings", folder.filePath("prefs.ini")} + args, QString(), environment);
    }
    BellwickRun window(const QString& text) { return run({"--plugin", plugin, "--window", "--script", script(text)}); }

private slots:
    void initTestCase() { QVERIFY(QFileInfo::exists(plugin)); }

    // Runs with the stand-in plug-in, and runs with plug-ins, files or services that cannot be used:
    // status, a pattern of what standard error and the logged errors say, and the printed lines.
    void runsEndWithTheirStatus_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("errors");
        QTest::addColumn<QStringList>("out");
        const QString missing = folder.filePath("libNothing.so");
        const QString notALibrary = script("not a library");
        const QString one = script("1");
        const QStringList none;
        // Which arguments are bad is the parser's to say (tests/host); the message comes first, then the usage.
        QTest::newRow("bad argument") << QStringList{"--frobnicate"} << 2 << "^bellwick: .*frobnicate.*\n(.|\n)*Usage: bellwick" << none;
        QTest::newRow("missing plug-in") << QStringList{"--plugin", missing, "--script", one} << 2 << "not found: " + missing << none;
        QTest::newRow("not a library") << QStringList{"--plugin", notALibrary, "-c", "1"} << 2 << "Cannot load plug-in " + notALibrary << none;
        QTest::newRow("no entry points") << QStringList{"--plugin", qEnvironmentVariable("BELLWICK_BIN_DIR") + "/libbellwick-host.so", "-c", "1"}
                                         << 2 << "no entry point PLUG_Init" << none;
        QTest::newRow("unreadable script") << QStringList{"--plugin", plugin, "--script", folder.filePath("absent.js")} << 2 << "Cannot read " << none;
        QTest::newRow("script throws, later jobs do not run")
            << QStringList{"--plugin", plugin, "--script", script("var a = 1;\nnoSuchFunction();\n"), "-c", "never"} << 1
            << ":2: ReferenceError: noSuchFunction" << none;
        QTest::newRow("without Python manager") << QStringList{"--plugin", plugin, "--without", "python-manager", "-c", "1"} << 1
                                                << "Python is not available" << none;
        QTest::newRow("a script sees absent services")
            << QStringList{"--plugin", plugin, "--without", "finder", "--script", script("Host.print(Host.engine() === null)")} << 0 << ""
            << QStringList{"true"};
        QTest::newRow("a callback throws in a window")
            << QStringList{"--plugin", plugin, "--window", "--script", script("Host.after(0, function () { throw new Error('late'); }); Host.processEvents(50);")}
            << 1 << "Error: late \\(in a Host.after callback\\)" << none;
    }

    void runsEndWithTheirStatus()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, errors);
        const BellwickRun result = run(args);
        QTEST(result.exitCode(), "status");
        const QString said = result.errorText() + result.messages(MSG_Action::Error).join('\n');
        QVERIFY2(said.contains(QRegularExpression(errors)), qPrintable(said));
        QTEST(result.outputLines(), "out");
    }

    // A window needs a display, and says so in one line.
    void windowWithoutDisplayIsRefused()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(name);
        const BellwickRun result = run({"--plugin", plugin}, environment);
        QCOMPARE(result.exitCode(), 2);
        QVERIFY2(result.errorText().contains(QRegularExpression("^bellwick: .*no display.*xvfb-run.*\n$")), qPrintable(result.errorText()));
    }

    void jobsRunInCommandLineOrderAndLogAsJsonLines()
    {
        const QString first = script("Host.print('script', 1, true); Host.engine().mainModule().call('say', ['from js']);");
        const BellwickRun result = run({"--plugin", plugin, "-c", "code one", "--script", first, "--python", script("file two")});
        QCOMPARE(result.exitCode(), 0);
        // Python's output (the script's call into it) joins the script's own on standard output.
        QCOMPARE(result.outputLines(), (QStringList{"script 1 true", "from js"}));
        QCOMPARE(result.log().first(), (QJsonObject{{"kind", "python-init"}, {"text", "stand-in plug-in initialized"}}));
        QCOMPARE(result.log().last(), (QJsonObject{{"kind", "message"}, {"action", 7}, {"text", "[PY STDOUT] : from js"}}));
    }

    // What only a window shows: the docks and menus, the area's menu with its shortcut, the Edit
    // menu's undo reaching the session's commands, the window's size.
    void scriptsDriveTheWindow()
    {
        const QString picture = folder.filePath("window.png");
        const BellwickRun result = window(QStringLiteral(R"(
            var main = Host.widgets('QMainWindow')[0];
            var edit = Host.widgets('QTextEdit')[0];
            Host.print(Host.widgets('QDockWidget').map(function (d) { return d.objectName; }).sort().join());
            Host.print(Host.widgets('QMenu').map(function (m) { return m.title; }).filter(String).join());
            Host.print(Host.actions('Stand-in').join());
            Host.mouseClick(edit, 5, 5);
            Host.keyClicks(edit, 'hello');
            Host.print(Host.triggerAction('Stand-in', 'selectAll'), Host.textCursor(edit).selectedText);
            Host.keyClick(edit, 'L', 'Control');
            Host.print(JSON.stringify(edit.plainText));
            Host.pushCommand('one'); Host.pushCommand('two');
            Host.keyClick(main, 'Z', 'Control');
            var undone = Host.commandIndex();
            Host.keyClick(main, 'Z', 'Control+Shift');
            Host.print(undone, Host.commandIndex(), Host.grab(null, '%1'), main.width + 'x' + main.height);
        )").arg(picture));
        QCOMPARE(result.exitCode(), 0);
        QCOMPARE(result.outputLines(), (QStringList{"Messages,Stand-in", "&File,&Edit,&Window,Stand-in", "selectAll,clear,copy,paste", "true hello",
                                                    "\"\"", "1 2 true 1200x800"}));
        QCOMPARE(QImage(picture).size(), QSize(1200, 800));
    }

    void styleIsSetBeforeThePluginLoads()
    {
        for (const QString style : {"dark", "light"}) {
            const BellwickRun result = run({"--plugin", plugin, "--window", "--style", style, "-c", "1"});
            QCOMPARE(result.exitCode(), 0);
            QVERIFY2(result.pythonInitLines().contains("style: " + style), qPrintable(result.pythonInitLines().join('\n')));
        }
    }

    void dockStateSurvivesARestart()
    {
        const QString dock = "function dock(name) { return Host.widgets('QDockWidget').filter(function (d) { return d.objectName === name; })[0]; }\n";
        QCOMPARE(window(dock + "dock('Messages').floating = true; dock('Stand-in').visible = false;").exitCode(), 0);
        QCOMPARE(window(dock + "Host.print(dock('Messages').floating, dock('Stand-in').visible);").outputLines(), QStringList{"true false"});
    }
};

QTEST_GUILESS_MAIN(tst_app_runs)
#include "tst_app_runs.moc"
