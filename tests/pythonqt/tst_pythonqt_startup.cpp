// Start-up outcomes, each in a child process (the interpreter starts once per process): this
// program, which knows no Python, loads the probe library linking the layer with private
// symbols, as a host loads a plug-in, and prints what the probe answers for a mode.
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <dlfcn.h>

#include <cstdio>

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
        QProcess process;
        process.start(QCoreApplication::applicationFilePath(), {"--probe", qEnvironmentVariable("BELLWICK_BIN_DIR") + "/libpythonqt_startup_probe.so", mode});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        const QString printed = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
        QCOMPARE(process.exitCode(), 0);
        QVERIFY2(printed.contains(QRegularExpression(answer)), qPrintable(printed));
    }
};

int main(int argc, char** argv)
{
    if (argc == 4 && qstrcmp(argv[1], "--probe") == 0) {
        void* library = dlopen(argv[2], RTLD_NOW | RTLD_LOCAL);
        auto probe = reinterpret_cast<void (*)(const char*, char*, int)>(library ? dlsym(library, "pythonqtStartupProbe") : nullptr);
        static char answer[8192] = "no probe";
        if (probe)
            probe(argv[3], answer, sizeof answer);
        std::printf("%s\n", answer);
        return 0;
    }
    QCoreApplication application(argc, argv);
    tst_pythonqt_startup test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_pythonqt_startup.moc"
