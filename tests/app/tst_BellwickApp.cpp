// Whole-host runs of bellwick: bad input, headless jobs, exit status and the JSON Lines log, with
// a stand-in plug-in where one is needed.
#include "BellwickProcess.h"

#include <QFileInfo>
#include <QJsonObject>
#include <QTest>

using Run = BellwickProcess::Run;

class TestBellwickApp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_bin = m_bellwick.binDir();
        QVERIFY(QFileInfo(m_bin + QStringLiteral("/bellwick")).isExecutable());
        m_plugin = m_bellwick.standInPlugin();
        QVERIFY(QFileInfo::exists(m_plugin));
    }

    void badArgumentsExitWithTwo_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("reason");
        QTest::newRow("unknown option") << QStringList{QStringLiteral("--frobnicate")} << QStringLiteral("frobnicate");
        QTest::newRow("unknown service") << QStringList{QStringLiteral("--without"), QStringLiteral("toaster"), QStringLiteral("-c"), QStringLiteral("1")}
                                         << QStringLiteral("toaster");
        QTest::newRow("missing value") << QStringList{QStringLiteral("--python")} << QStringLiteral("python");
        QTest::newRow("unknown style") << QStringList{QStringLiteral("--style"), QStringLiteral("sepia"), QStringLiteral("--window")}
                                       << QStringLiteral("sepia");
        QTest::newRow("stay without window") << QStringList{QStringLiteral("--stay"), QStringLiteral("-c"), QStringLiteral("1")}
                                             << QStringLiteral("--stay");
    }

    void badArgumentsExitWithTwo()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, reason);
        const Run result = bellwick(args);
        QCOMPARE(result.status, 2);
        QVERIFY2(result.err.section(QLatin1Char('\n'), 0, 0).contains(reason), qPrintable(result.err));
        QVERIFY(result.err.contains(QLatin1String("Usage: bellwick")));
    }

    void badPluginsAndFilesAreNamed()
    {
        const QString missing = m_bellwick.filePath(QStringLiteral("libNothing.so"));
        Run result = bellwick({QStringLiteral("--plugin"), missing, QStringLiteral("--script"), script(QStringLiteral("1"))});
        QCOMPARE(result.status, 2);
        QVERIFY2(result.err.contains(QLatin1String("not found: ") + missing), qPrintable(result.err));

        const QString notALibrary = script(QStringLiteral("not a library"));
        result = bellwick({QStringLiteral("--plugin"), notALibrary, QStringLiteral("-c"), QStringLiteral("1")});
        QCOMPARE(result.status, 2);
        QVERIFY2(result.err.contains(QLatin1String("Cannot load plug-in ") + notALibrary), qPrintable(result.err));

        const QString noEntries = m_bin + QStringLiteral("/libbellwick-host.so");
        result = bellwick({QStringLiteral("--plugin"), noEntries, QStringLiteral("-c"), QStringLiteral("1")});
        QCOMPARE(result.status, 2);
        QVERIFY2(result.err.contains(QLatin1String("no entry point PLUG_Init")), qPrintable(result.err));

        const QString unreadable = m_bellwick.filePath(QStringLiteral("absent.js"));
        result = bellwick({QStringLiteral("--plugin"), m_plugin, QStringLiteral("--script"), unreadable});
        QCOMPARE(result.status, 2);
        QVERIFY2(result.err.contains(QLatin1String("Cannot read ") + unreadable), qPrintable(result.err));
    }

    void defaultPluginIsBesideTheExecutable()
    {
        if (QFileInfo::exists(m_bin + QStringLiteral("/libPythonScript.so")))
            QSKIP("the real plug-in is built; its runs are tested with it");
        const Run result = bellwick({QStringLiteral("--script"), script(QStringLiteral("1"))});
        QCOMPARE(result.status, 2);
        QVERIFY2(result.err.contains(m_bin + QStringLiteral("/libPythonScript.so")), qPrintable(result.err));
    }

    void windowWithoutDisplayIsRefused()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        const Run result = bellwick({QStringLiteral("--plugin"), m_plugin}, env);
        QCOMPARE(result.status, 2);
        QVERIFY(result.err.contains(QLatin1String("no display")));
        QVERIFY(result.err.contains(QLatin1String("xvfb-run")));
        QCOMPARE(result.err.count(QLatin1Char('\n')), 1);
    }

    void jobsRunInCommandLineOrderAndLogAsJsonLines()
    {
        const QString log = m_bellwick.filePath(QStringLiteral("run.jsonl"));
        const QString first = script(QStringLiteral("Host.print('script', 1, true); Host.engine().mainModule().call('say', ['from js']);"));
        const Run result = bellwick({QStringLiteral("--plugin"), m_plugin, QStringLiteral("--log"), log,
                                     QStringLiteral("-c"), QStringLiteral("code one"), QStringLiteral("--script"), first,
                                     QStringLiteral("--python"), script(QStringLiteral("file two"))});
        QCOMPARE(result.status, 0);
        QCOMPARE(result.out, QStringLiteral("script 1 true\n"));
        const QList<QJsonObject> events = BellwickProcess::readLog(log);
        QVERIFY(!events.isEmpty());
        QCOMPARE(events.first().value(QStringLiteral("kind")).toString(), QStringLiteral("python-init"));
        QCOMPARE(events.first().value(QStringLiteral("text")).toString(), QStringLiteral("stand-in plug-in initialized"));
        const QJsonObject said = events.last();
        QCOMPARE(said.value(QStringLiteral("kind")).toString(), QStringLiteral("message"));
        QCOMPARE(said.value(QStringLiteral("action")).toInt(), 7);
        QCOMPARE(said.value(QStringLiteral("text")).toString(), QStringLiteral("[PY STDOUT] : from js"));
    }

    void failuresExitWithOne()
    {
        Run result = bellwick({QStringLiteral("--plugin"), m_plugin, QStringLiteral("--script"),
                               script(QStringLiteral("var a = 1;\nnoSuchFunction();\n")), QStringLiteral("-c"), QStringLiteral("never")});
        QCOMPARE(result.status, 1);
        QVERIFY2(result.err.contains(QLatin1String(":2: ")), qPrintable(result.err));
        QVERIFY(result.err.contains(QLatin1String("noSuchFunction")));

        result = bellwick({QStringLiteral("--plugin"), m_plugin, QStringLiteral("-c"), QStringLiteral("raise ValueError")});
        QCOMPARE(result.status, 1);
        QVERIFY2(result.err.contains(QLatin1String("raise ValueError")), qPrintable(result.err)); // messages on stderr

        result = bellwick({QStringLiteral("--plugin"), m_plugin, QStringLiteral("-c"), QStringLiteral("None")});
        QCOMPARE(result.status, 0);

        result = bellwick({QStringLiteral("--plugin"), m_plugin, QStringLiteral("--without"), QStringLiteral("python-manager"),
                           QStringLiteral("-c"), QStringLiteral("1")});
        QCOMPARE(result.status, 1);
        QVERIFY(result.err.contains(QLatin1String("Python is not available")));

        result = bellwick({QStringLiteral("--plugin"), m_plugin, QStringLiteral("--without"), QStringLiteral("script-engine"),
                           QStringLiteral("--script"), script(QStringLiteral("1"))});
        QCOMPARE(result.status, 1);
        QVERIFY(result.err.contains(QLatin1String("without a script engine")));
    }

    void scriptSeesAbsentServices()
    {
        const Run result = bellwick({QStringLiteral("--plugin"), m_plugin, QStringLiteral("--without"), QStringLiteral("finder"),
                                     QStringLiteral("--script"), script(QStringLiteral("Host.print(Host.engine() === null)"))});
        QCOMPARE(result.status, 0);
        QCOMPARE(result.out, QStringLiteral("true\n"));
    }

private:
    QString script(const QString& text) { return m_bellwick.script(text); }

    Run bellwick(const QStringList& args, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
    {
        return m_bellwick.run(args, env);
    }

    BellwickProcess m_bellwick;
    QString m_bin;
    QString m_plugin;
};

QTEST_GUILESS_MAIN(TestBellwickApp)
#include "tst_BellwickApp.moc"
