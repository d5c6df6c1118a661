// bellwick's command line: options, services to leave out, the order of mixed jobs, errors.
#include "BellwickCommandLine.h"

#include <QTest>

Q_DECLARE_METATYPE(QList<BellwickJob>)

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void readsEveryOption()
    {
        BellwickCommandLine line;
        QCOMPARE(line.parse({QStringLiteral("bellwick"), QStringLiteral("--plugin"), QStringLiteral("/p/lib.so"),
                             QStringLiteral("--settings=/s.ini"), QStringLiteral("--special-folder"), QStringLiteral("/sf"),
                             QStringLiteral("--log"), QStringLiteral("-"), QStringLiteral("--batch-python"),
                             QStringLiteral("--without"), QStringLiteral("finder, layout-manager"),
                             QStringLiteral("--without=command-manager")}),
                 BellwickCommandLine::Run);
        QCOMPARE(line.pluginPath(), QStringLiteral("/p/lib.so"));
        QCOMPARE(line.settingsFile(), QStringLiteral("/s.ini"));
        QCOMPARE(line.specialFolder(), QStringLiteral("/sf"));
        QCOMPARE(line.logFile(), QStringLiteral("-"));
        QVERIFY(line.batchPython());
        QCOMPARE(line.without(), (QSet<QString>{QStringLiteral("finder"), QStringLiteral("layout-manager"),
                                                QStringLiteral("command-manager")}));
        QVERIFY(!line.isHeadless());
    }

    void keepsTheOrderOfMixedJobs_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QList<BellwickJob>>("jobs");
        const BellwickJob a{BellwickJob::Script, QStringLiteral("a.js")};
        const BellwickJob b{BellwickJob::PythonFile, QStringLiteral("b.py")};
        const BellwickJob c{BellwickJob::PythonCode, QStringLiteral("print(1)")};
        const BellwickJob d{BellwickJob::Script, QStringLiteral("d.js")};
        QTest::newRow("separate values")
            << QStringList{QStringLiteral("--python"), QStringLiteral("b.py"), QStringLiteral("--script"), QStringLiteral("a.js"),
                           QStringLiteral("-c"), QStringLiteral("print(1)"), QStringLiteral("--script"), QStringLiteral("d.js")}
            << QList<BellwickJob>{b, a, c, d};
        QTest::newRow("inline values")
            << QStringList{QStringLiteral("--script=a.js"), QStringLiteral("-cprint(1)"), QStringLiteral("--python=b.py")}
            << QList<BellwickJob>{a, c, b};
        // A value that looks like an option is still a value.
        QTest::newRow("option-like value")
            << QStringList{QStringLiteral("--log"), QStringLiteral("--script"), QStringLiteral("--script"), QStringLiteral("d.js")}
            << QList<BellwickJob>{d};
    }

    void keepsTheOrderOfMixedJobs()
    {
        QFETCH(QStringList, args);
        QFETCH(QList<BellwickJob>, jobs);
        BellwickCommandLine line;
        QCOMPARE(line.parse(QStringList{QStringLiteral("bellwick")} + args), BellwickCommandLine::Run);
        QCOMPARE(line.jobs(), jobs);
        QVERIFY(line.isHeadless());
    }

    void rejectsBadArguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("errorPart");
        QTest::newRow("unknown option") << QStringList{QStringLiteral("--bogus")} << QStringLiteral("bogus");
        QTest::newRow("missing value") << QStringList{QStringLiteral("--script")} << QStringLiteral("script");
        QTest::newRow("unknown service") << QStringList{QStringLiteral("--without"), QStringLiteral("finder,printer")}
                                         << QStringLiteral("printer");
        QTest::newRow("positional") << QStringList{QStringLiteral("file.js")} << QStringLiteral("file.js");
        QTest::newRow("unknown style") << QStringList{QStringLiteral("--style"), QStringLiteral("blue")} << QStringLiteral("blue");
        QTest::newRow("stay without window") << QStringList{QStringLiteral("--stay"), QStringLiteral("-c"), QStringLiteral("1")}
                                             << QStringLiteral("--stay needs --window");
    }

    void rejectsBadArguments()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, errorPart);
        BellwickCommandLine line;
        QCOMPARE(line.parse(QStringList{QStringLiteral("bellwick")} + args), BellwickCommandLine::Invalid);
        QVERIFY2(line.error().contains(errorPart), qPrintable(line.error()));
        QVERIFY(!line.error().contains(QLatin1Char('\n')));
        QVERIFY(line.helpText().contains(QLatin1String("--without")));
    }

    void windowRunsAndStyle()
    {
        BellwickCommandLine line;
        QCOMPARE(line.parse({QStringLiteral("bellwick"), QStringLiteral("--window"), QStringLiteral("--stay"),
                             QStringLiteral("--style=light"), QStringLiteral("-c"), QStringLiteral("1")}),
                 BellwickCommandLine::Run);
        QVERIFY(line.windowRun() && line.stay() && !line.darkStyle());
        QVERIFY(!line.isHeadless()); // the jobs run in the window
        BellwickCommandLine plain;
        QCOMPARE(plain.parse({QStringLiteral("bellwick"), QStringLiteral("-c"), QStringLiteral("1")}), BellwickCommandLine::Run);
        QVERIFY(plain.darkStyle() && !plain.windowRun() && plain.isHeadless());
    }

    void helpIsAskedFor()
    {
        BellwickCommandLine line;
        QCOMPARE(line.parse({QStringLiteral("bellwick"), QStringLiteral("--help")}), BellwickCommandLine::ShowHelp);
        QVERIFY(line.helpText().startsWith(QLatin1String("Usage: bellwick")));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_CommandLine.moc"
