// Whole-host runs of bellwick with the real plug-in: job files that are not regular files, Python
// threads still running or printing when the host exits, a failing job whose standard error is
// unusable, and child Pythons started from a host script.
#include "support/BellwickRun.h"
#include "support/TestFiles.h"

#include <MSG_Action.h>

#include <QtTest>

#include <sys/stat.h>

namespace {

// The Python output lines a run logged, line ends left out.
QStringList printed(const BellwickRun& run)
{
    return run.messages(MSG_Action::PythonOutput).filter(QRegularExpression("^\\[PY STDOUT\\] : .+"));
}
}

class tst_reliability_hostexit : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;

private slots:
    void initTestCase()
    {
        QVERIFY(!qEnvironmentVariable("BELLWICK_BIN_DIR").isEmpty());
        QVERIFY(folder.isValid());
    }

    void nonRegularJobFiles_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("output");
        const QString pipe = folder.filePath("pipe");
        QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
        QTest::newRow("--script device") << QStringList{"--script", "/dev/zero"} << 2 << QStringList();
        QTest::newRow("--python pipe") << QStringList{"--python", pipe} << 2 << QStringList();
        const QString reads = writeFile(folder.filePath("reads.js"),
                                        "Host.print(Host.readFile('/dev/zero'), Host.readFile('" + QFile::encodeName(pipe) + "'));\n");
        QTest::newRow("Host.readFile") << QStringList{"--script", reads} << 0 << QStringList{"null null"};
    }

    // A device or pipe has no end to read to (a pipe without a writer does not even open): the
    // run refuses it as unreadable, Host.readFile answers null.
    void nonRegularJobFiles()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QStringList, output);
        const BellwickRun run(args);
        QVERIFY(run.finished());
        QCOMPARE(run.exitCode(), status);
        QCOMPARE(run.outputLines().filter(QRegularExpression("^(?!Python Manager)")), output);
    }

    // At exit the host waits a bounded time for Python threads, logs the one it left running
    // and exits; what a thread printed in that time reaches the log, in order.
    void exitWithRunningThreads()
    {
        const BellwickRun run({"-c", "import threading, time\n"
                                     "threading.Thread(target=threading.Event().wait, name='sleeper').start()\n"
                                     "def late():\n"
                                     "    time.sleep(0.5)\n"
                                     "    for i in range(3):\n"
                                     "        print(f'late {i}')\n"
                                     "threading.Thread(target=late, name='printer').start()\n"});
        QVERIFY(run.finished());
        QCOMPARE(run.exitCode(), 0);
        QCOMPARE(printed(run), (QStringList{"[PY STDOUT] : late 0", "[PY STDOUT] : late 1", "[PY STDOUT] : late 2"}));
        QCOMPARE(run.messages(MSG_Action::Error), QStringList{"Python threads still running at exit were not waited for: sleeper"});
    }

    // Once threading is imported, the host still ends Python's threads as plain Python does,
    // from the main thread: by the time the atexit handlers run, the main thread counts as
    // stopped (a helper thread cannot stop it, and waited for it until the time limit).
    void exitAfterImportingThreading()
    {
        const QString report = folder.filePath("alive.txt");
        const BellwickRun run({"-c", "import atexit, threading\n"
                                     "def report():\n"
                                     "    open('" + report + "', 'w').write(str(threading.main_thread().is_alive()))\n"
                                     "atexit.register(report)\n"});
        QVERIFY(run.finished());
        QCOMPARE(run.exitCode(), 0);
        QFile written(report);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), "False");
    }

    // Whatever Python code leaves behind, the host exits normally, as plain Python does.
    void exitNeverAborts_data()
    {
        QTest::addColumn<QString>("code");
        const QString subinterpreters = "try:\n    import _xxsubinterpreters as interpreters\n"
                                        "except ImportError:\n    import _interpreters as interpreters\n";
        QTest::newRow("a sub-interpreter") << subinterpreters + "interpreters.create()\n";
        QTest::newRow("a sub-interpreter that ran code")
            << subinterpreters + "interpreters.run_string(interpreters.create(), 'import json, threading')\n";
        QTest::newRow("a daemon thread printing") << "import threading\ndef spin():\n    while True:\n        print('x', end='')\n"
                                                     "threading.Thread(target=spin, daemon=True).start()\n";
        QTest::newRow("an atexit handler that fails") << "import atexit\natexit.register(lambda: 1 / 0)\n";
        QTest::newRow("an atexit handler that starts a thread")
            << "import atexit, threading\natexit.register(lambda: threading.Thread(target=print, args=('late',)).start())\n";
    }

    void exitNeverAborts()
    {
        QFETCH(QString, code);
        const BellwickRun run({"-c", code});
        QVERIFY(run.finished());
        QCOMPARE(run.exitCode(), 0);
    }

    void failingJobWithUnusableStandardError_data()
    {
        QTest::addColumn<QString>("stderrValue");
        QTest::newRow("None") << "None";
        QTest::newRow("a sink") << "type('Sink', (), {'write': lambda self, text: None, 'flush': lambda self: None})()";
    }

    // The failure is a failure, and says what it was, whatever sys.stderr is.
    void failingJobWithUnusableStandardError()
    {
        QFETCH(QString, stderrValue);
        const BellwickRun run({"-c", "import sys\nsys.stderr = " + stderrValue, "-c", "1 / 0"});
        QVERIFY(run.finished());
        QCOMPARE(run.exitCode(), 1);
        QCOMPARE(run.messages(MSG_Action::Error), QStringList{"ZeroDivisionError: division by zero"});
    }

    // sys.executable is the interpreter the host found, even with another python3 first on the
    // PATH: subprocess and multiprocessing's spawn start the host's own Python.
    void childPythonsAreTheHostsPython()
    {
        const QString shim = writeFile(folder.filePath("shims/python3"), "#!/bin/sh\necho wrong python\nexit 3\n");
        QVERIFY(QFile::setPermissions(shim, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(QFileInfo(shim).path()) + ':' + path);
        const BellwickRun run({"-c", "import multiprocessing, subprocess, sys\n"
                                     "print(sys.executable)\n"
                                     "child = subprocess.run([sys.executable, '-c', 'import sys; print(sys.version)'],\n"
                                     "                       capture_output=True, text=True)\n"
                                     "print(child.stdout == sys.version + '\\n')\n"
                                     "with multiprocessing.get_context('spawn').Pool(2) as pool:\n"
                                     "    print(pool.map(abs, [-1, -2, -3]))\n"});
        qputenv("PATH", path);
        QVERIFY(run.finished());
        QCOMPARE(run.exitCode(), 0);
        const QStringList loaded = run.pythonInitLines().filter(QString("Loaded Python from "));
        QCOMPARE(loaded.size(), 1);
        const QString executable = loaded.first().trimmed().mid(int(qstrlen("Loaded Python from "))).chopped(1);
        QCOMPARE(printed(run), (QStringList{"[PY STDOUT] : " + executable, "[PY STDOUT] : True", "[PY STDOUT] : [1, 2, 3]"}));
    }
};

QTEST_MAIN(tst_reliability_hostexit)
#include "tst_reliability_hostexit.moc"
