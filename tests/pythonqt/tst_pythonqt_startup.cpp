#include <QProcess>
#include <QRegularExpression>
#include <QTest>

// Start-up outcomes, each in a child process (the interpreter starts once per process) that
// loads the layer with private symbols, as a host loads a plug-in.
class tst_pythonqt_startup : public QObject
{
    Q_OBJECT
private slots:
    void settings_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("answer");
        QTest::newRow("defaults") << "defaults" << "^ok /";
        QTest::newRow("no standard library") << "broken" << "^failed .*(encodings|init_fs_encoding)";
        QTest::newRow("';' separated path") << "semicolons" << "^ok /probe/extra\\|[^|]+\\|[^|]+$";
        QTest::newRow("':' separated path") << "colons" << "^ok /probe/extra\\|[^|]+\\|[^|]+$";
        QTest::newRow("extension modules") << "imports" << "^ok 2\\.1 4$";
    }

    void settings()
    {
        QFETCH(QString, mode);
        QFETCH(QString, answer);
        const QString bin = qEnvironmentVariable("BELLWICK_BIN_DIR");
        QProcess process;
        process.start(bin + "/pythonqt_dlopen_probe", {bin + "/libpythonqt_startup_probe.so", mode});
        QVERIFY(process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit);
        const QString printed = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
        QVERIFY2(process.exitCode() == 0 && printed.contains(QRegularExpression(answer)), qPrintable(printed));
    }
};

QTEST_GUILESS_MAIN(tst_pythonqt_startup)
#include "tst_pythonqt_startup.moc"
