// bellwick's command line: options, services to leave out, the order of mixed jobs, errors.
#include "BellwickCommandLine.h"

#include <QtTest>

Q_DECLARE_METATYPE(QList<BellwickJob>)

class tst_host_commandline : public QObject
{
    Q_OBJECT

private slots:
    void readsEveryOption()
    {
        BellwickCommandLine line;
        QCOMPARE(line.parse({"bellwick", "--plugin", "/p/lib.so", "--settings=/s.ini", "--special-folder", "/sf", "--log", "-",
                             "--batch-python", "--without", "finder, layout-manager", "--without=command-manager"}),
                 BellwickCommandLine::Run);
        QCOMPARE(QStringList({line.pluginPath(), line.settingsFile(), line.specialFolder(), line.logFile()}),
                 QStringList({"/p/lib.so", "/s.ini", "/sf", "-"}));
        QVERIFY(line.batchPython());
        QVERIFY(!line.isHeadless());
        QCOMPARE(line.without(), (QSet<QString>{"finder", "layout-manager", "command-manager"}));

        BellwickCommandLine window;
        QCOMPARE(window.parse({"bellwick", "--window", "--stay", "--style=light", "-c", "1"}), BellwickCommandLine::Run);
        QVERIFY(window.windowRun());
        QVERIFY(window.stay());
        QVERIFY(!window.darkStyle());
        QVERIFY(!window.isHeadless()); // the jobs run in the window
        BellwickCommandLine help;
        QCOMPARE(help.parse({"bellwick", "--help"}), BellwickCommandLine::ShowHelp);
        QVERIFY(help.helpText().startsWith("Usage: bellwick"));
    }

    void keepsTheOrderOfMixedJobs_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QList<BellwickJob>>("jobs");
        const BellwickJob a{BellwickJob::Script, "a.js"};
        const BellwickJob b{BellwickJob::PythonFile, "b.py"};
        const BellwickJob c{BellwickJob::PythonCode, "print(1)"};
        const BellwickJob d{BellwickJob::Script, "d.js"};
        QTest::newRow("separate values") << QStringList{"--python", "b.py", "--script", "a.js", "-c", "print(1)", "--script", "d.js"}
                                         << QList<BellwickJob>{b, a, c, d};
        QTest::newRow("inline values") << QStringList{"--script=a.js", "-cprint(1)", "--python=b.py"} << QList<BellwickJob>{a, c, b};
        // A value that looks like an option is still a value.
        QTest::newRow("option-like value") << QStringList{"--log", "--script", "--script", "d.js"} << QList<BellwickJob>{d};
        const BellwickJob m{BellwickJob::PythonModule, "pkg.tool"};
        QTest::newRow("a module") << QStringList{"-c", "print(1)", "-m", "pkg.tool", "--python", "b.py"} << QList<BellwickJob>{c, m, b};
        // After "--", words are sys.argv's, options or not; "--" as an option's value is a value.
        QTest::newRow("words after --") << QStringList{"--python", "b.py", "--", "--script", "a.js"} << QList<BellwickJob>{b};
        QTest::newRow("-- as a value") << QStringList{"-c", "--", "--script", "a.js"} << QList<BellwickJob>{{BellwickJob::PythonCode, "--"}, a};
    }

    // The words after the first "--" that is no option's value, for every Python job's sys.argv.
    void readsTheScriptArguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("scriptArguments");
        QTest::newRow("none") << QStringList{"-c", "1"} << QStringList();
        QTest::newRow("options and --") << QStringList{"-c", "1", "--", "-v", "--", "x"} << QStringList{"-v", "--", "x"};
        QTest::newRow("empty after --") << QStringList{"-m", "tool", "--"} << QStringList();
        QTest::newRow("-- as -c's value") << QStringList{"-c", "--", "--", "y"} << QStringList{"y"};
    }

    void readsTheScriptArguments()
    {
        QFETCH(QStringList, args);
        BellwickCommandLine line;
        QCOMPARE(line.parse(QStringList{"bellwick"} + args), BellwickCommandLine::Run);
        QTEST(line.scriptArguments(), "scriptArguments");
    }

    void readsThePackageOptions()
    {
        BellwickCommandLine line;
        QCOMPARE(line.parse({"bellwick", "--venv", "/envs/tools", "--site-packages", "-c", "1"}), BellwickCommandLine::Run);
        QCOMPARE(line.virtualEnv(), QStringLiteral("/envs/tools"));
        QVERIFY(line.sitePackages());
        BellwickCommandLine plain;
        QCOMPARE(plain.parse({"bellwick", "-c", "1"}), BellwickCommandLine::Run);
        QVERIFY(!plain.sitePackages());
    }

    // Without --window the jobs run headless, with the dark style.
    void keepsTheOrderOfMixedJobs()
    {
        QFETCH(QStringList, args);
        QFETCH(QList<BellwickJob>, jobs);
        BellwickCommandLine line;
        QCOMPARE(line.parse(QStringList{"bellwick"} + args), BellwickCommandLine::Run);
        QCOMPARE(line.jobs(), jobs);
        QVERIFY(line.isHeadless());
        QVERIFY(line.darkStyle());
        QVERIFY(!line.windowRun());
    }

    void rejectsBadArguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("errorPart");
        QTest::newRow("unknown option") << QStringList{"--bogus"} << "bogus";
        QTest::newRow("missing value") << QStringList{"--script"} << "script";
        QTest::newRow("unknown service") << QStringList{"--without", "finder,printer"} << "printer";
        QTest::newRow("positional") << QStringList{"file.js"} << "file.js";
        QTest::newRow("positional before --") << QStringList{"-c", "1", "stray", "--", "x"} << "stray";
        QTest::newRow("-m without a module") << QStringList{"-m"} << "m";
        QTest::newRow("unknown style") << QStringList{"--style", "blue"} << "blue";
        QTest::newRow("stay without window") << QStringList{"--stay", "-c", "1"} << "--stay needs --window";
    }

    void rejectsBadArguments()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, errorPart);
        BellwickCommandLine line;
        QCOMPARE(line.parse(QStringList{"bellwick"} + args), BellwickCommandLine::Invalid);
        QVERIFY2(line.error().contains(errorPart), qPrintable(line.error()));
        QVERIFY2(!line.error().contains('\n'), qPrintable(line.error()));
        QVERIFY(line.helpText().contains("--without"));
    }
};

QTEST_GUILESS_MAIN(tst_host_commandline)
#include "tst_host_commandline.moc"
