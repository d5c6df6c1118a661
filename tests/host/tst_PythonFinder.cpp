// The Python finder: the installation it reports, the search path it builds, and failure.
#include "MSG_Log.h"
#include "PR_Preference.h"
#include "SCP_PythonFinder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestPythonFinder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_settings.isValid());
        lxPref.setStorageFile(m_settings.filePath(QStringLiteral("prefs.ini")));
    }

    void init()
    {
        lxPref.remove(QStringLiteral("PYTHON_LIB_PATH"));
        lxPref.remove(QStringLiteral("PYTHONPATH"));
        MSG_Log::instance()->clear();
    }

    void reportsTheBuildInstallation()
    {
        SCP_PythonFinder finder;
        finder.initialize();
        QVERIFY(finder.buildPythonEnvironment());
        QVERIFY(QFileInfo(finder.pythonExecutablePath()).isExecutable());
        QCOMPARE(finder.homePath(), finder.prefix());
        const QStringList entries = finder.pythonPath().split(QDir::listSeparator());
        QCOMPARE(entries.size(), 3);
        QCOMPARE(entries.at(0), finder.standardLibraryPath());
        QVERIFY(QFileInfo::exists(entries.at(0) + QStringLiteral("/os.py")));
        QVERIFY(entries.at(1).endsWith(QLatin1String(".zip")));
        QVERIFY(entries.at(2).endsWith(QLatin1String("lib-dynload")));
    }

    void customPrefixWithoutStandardLibraryFails()
    {
        QTemporaryDir prefix;
        lxPref.setStringValue(QStringLiteral("PYTHON_LIB_PATH"), prefix.path());
        SCP_PythonFinder finder;
        finder.initialize();
        QCOMPARE(finder.prefix(), QDir::cleanPath(prefix.path()));
        QVERIFY(!finder.buildPythonEnvironment());
        QVERIFY(finder.pythonPath().isEmpty());
        const QList<MSG_Entry> entries = MSG_Log::instance()->entries();
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries.first().kind, MSG_Entry::PythonInit);
        QVERIFY(entries.first().text.contains(finder.standardLibraryPath()));
    }

    void customPrefixAndPreferencePathBuildTheSearchPath()
    {
        QTemporaryDir prefix;
        SCP_PythonFinder builtIn;
        builtIn.initialize();
        const QString stdlibName = builtIn.standardLibraryPath().section(QLatin1Char('/'), -1); // "python3.x"
        QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("lib/") + stdlibName));
        QFile os(prefix.filePath(QStringLiteral("lib/") + stdlibName + QStringLiteral("/os.py")));
        QVERIFY(os.open(QIODevice::WriteOnly));
        os.close();

        const QChar sep = QDir::listSeparator();
        lxPref.setStringValue(QStringLiteral("PYTHON_LIB_PATH"), prefix.path() + QLatin1Char('/'));
        lxPref.setStringValue(QStringLiteral("PYTHONPATH"), QStringLiteral("/extra/one") + sep + sep + QStringLiteral("/extra/two"));
        SCP_PythonFinder finder;
        finder.initialize();
        QVERIFY(finder.buildPythonEnvironment());
        const QString base = QDir::cleanPath(prefix.path());
        const QString stdlib = base + QStringLiteral("/lib/") + stdlibName;
        const QString zip = base + QStringLiteral("/lib/") + QString(stdlibName).remove(QLatin1Char('.')) + QStringLiteral(".zip");
        QCOMPARE(finder.pythonPath(), QStringList({QStringLiteral("/extra/one"), QStringLiteral("/extra/two"), stdlib, zip,
                                                   stdlib + QStringLiteral("/lib-dynload")}).join(sep));
        QCOMPARE(finder.homePath(), base);
        QCOMPARE(finder.pythonExecutablePath(), base + QStringLiteral("/bin/") + stdlibName);
    }

    void loggedStartUpLinesArePythonInitEvents()
    {
        SCP_PythonFinder::logPythonInit(QStringLiteral("Python detected"));
        const QList<MSG_Entry> entries = MSG_Log::instance()->entries();
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries.first().kind, MSG_Entry::PythonInit);
        QCOMPARE(entries.first().text, QStringLiteral("Python detected"));
    }

private:
    QTemporaryDir m_settings;
};

QTEST_GUILESS_MAIN(TestPythonFinder)
#include "tst_PythonFinder.moc"
