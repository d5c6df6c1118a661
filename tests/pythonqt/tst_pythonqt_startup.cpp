#include <QProcess>
#include <QTest>

// Start-up outcomes, each in a child process: the interpreter starts once per process.
class TestPythonQtStartup : public QObject
{
    Q_OBJECT
private slots:
    void settings_data();
    void settings();
    void extensionModulesFromPrivatelyLoadedLibrary();

private:
    static QString binary(const QString& name) { return qEnvironmentVariable("BELLWICK_BIN_DIR") + '/' + name; }
    static QString run(const QString& program, const QStringList& arguments);
};

QString TestPythonQtStartup::run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QStringLiteral("crashed or failed: ") + QString::fromUtf8(process.readAllStandardError());
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

void TestPythonQtStartup::settings_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("defaults") << "defaults" << "ok ";
    QTest::newRow("no standard library") << "broken" << "failed ";
    QTest::newRow("';' separated path") << "semicolons" << "ok /probe/extra|";
    QTest::newRow("':' separated path") << "colons" << "ok /probe/extra|";
}

void TestPythonQtStartup::settings()
{
    QFETCH(QString, mode);
    QFETCH(QString, prefix);
    const QString answer = run(binary("pythonqt_startup_probe"), {mode});
    QVERIFY2(answer.startsWith(prefix), qPrintable(answer));
    if (mode == "broken")
        QVERIFY2(answer.contains("encodings") || answer.contains("init_fs_encoding"), qPrintable(answer));
    if (mode != "broken" && mode != "defaults")
        QCOMPARE(answer.count('|'), 2);
}

void TestPythonQtStartup::extensionModulesFromPrivatelyLoadedLibrary()
{
    const QString answer = run(binary("pythonqt_dlopen_probe"), {binary("libpythonqt_import_probe.so")});
    QCOMPARE(answer, QStringLiteral("2.1 4"));
}

QTEST_GUILESS_MAIN(TestPythonQtStartup)
#include "tst_pythonqt_startup.moc"
