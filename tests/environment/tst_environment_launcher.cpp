// bellwick runs Python jobs as python runs its command line: what each writes to standard output
// and error, and its exit status, are python's own for the same code.
#include "support/ProcessRun.h"
#include "support/TestFiles.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

class tst_environment_launcher : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();

private slots:
    void initTestCase()
    {
        QVERIFY(folder.isValid());
        // As on render farms and in containers: Qt's note about the missing runtime folder must
        // not join the standard error compared with python's.
        environment.remove("XDG_RUNTIME_DIR");
    }

    // kind: "c" runs source as -c, "file" as a script file, "m" as the module jobmod.
    void sameAsPython_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QStringList>("args");
        const QStringList none;
        QTest::newRow("print with sep and end") << "c" << "print(1, 2, sep='-', end='!\\n')\nprint('a', 'b')" << none;
        QTest::newRow("standard error") << "c" << "import sys\nsys.stderr.write('warn\\n')\nprint('out')" << none;
        QTest::newRow("SystemExit 0 ends the run") << "c" << "import sys\nprint('x')\nsys.exit(0)\nprint('never')" << none;
        QTest::newRow("SystemExit 3") << "c" << "raise SystemExit(3)" << none;
        QTest::newRow("SystemExit with a message") << "c" << "import sys\nsys.exit('bad input')" << none;
        QTest::newRow("uncaught error") << "c" << "def f():\n    return 1 / 0\nf()" << none;
        QTest::newRow("sys.argv of -c") << "c" << "import sys\nprint(sys.argv)" << QStringList{"a", "b c"};
        QTest::newRow("-c imports from the working folder") << "c" << "import jobhelper\nprint(jobhelper.VALUE)" << none;
        QTest::newRow("sys.argv of a file") << "file" << "import sys\nprint(sys.argv)" << QStringList{"x", "-y"};
        QTest::newRow("__file__") << "file" << "print(__file__)" << none;
        QTest::newRow("the script's folder first on sys.path") << "file"
            << "import os, sys\nprint(sys.path[0] == os.path.dirname(os.path.realpath(__file__)))" << none;
        QTest::newRow("a traceback names the file and line") << "file" << "def f():\n    raise ValueError('no')\n\nf()\n" << none;
        QTest::newRow("inspect.getsource of the file's function") << "file"
            << "import inspect\ndef f():\n    return 1\nprint(inspect.getsource(f))" << none;
        QTest::newRow("SystemExit from a file") << "file" << "print('done')\nraise SystemExit(7)" << none;
        QTest::newRow("-m runs the module as __main__") << "m" << "import sys\nprint(__name__, sys.argv[1:])" << QStringList{"q"};
        QTest::newRow("-m and sys.argv[0]") << "m" << "import sys, os\nprint(sys.argv[0] == os.path.abspath('jobmod.py'))" << none;
    }

    void sameAsPython()
    {
        writeFile(folder.filePath("jobhelper.py"), "VALUE = 'from the working folder'\n");
        QFETCH(QString, kind);
        QFETCH(QString, source);
        QFETCH(QStringList, args);
        // bellwick takes python's own arguments, but a script file after --python.
        QStringList pythonArgs{"-c", source};
        if (kind != "c") {
            writeFile(folder.filePath(kind == "file" ? "job.py" : "jobmod.py"), source.toUtf8());
            pythonArgs = kind == "file" ? QStringList{"job.py"} : QStringList{"-m", "jobmod"};
        }
        const QStringList bellwickArgs = kind == "file" ? QStringList{"--python", "job.py"} : pythonArgs;
        const ProcessRun python(BELLWICK_TEST_PYTHON, QStringList{"-E", "-s"} + pythonArgs + args, folder.path(), environment);
        const ProcessRun bellwick = ProcessRun::bellwick(folder.filePath("prefs.ini"), bellwickArgs + QStringList{"--"} + args,
                                                         folder.path(), environment);
        QVERIFY(python.finished());
        QVERIFY(bellwick.finished());
        QCOMPARE(bellwick.out(), python.out());
        QCOMPARE(bellwick.err(), python.err());
        QCOMPARE(bellwick.exitCode(), python.exitCode());
    }

    // The log keeps the engine's messages while standard output carries Python's text.
    void theLogKeepsTheEngineMessages()
    {
        const ProcessRun run = ProcessRun::bellwick(folder.filePath("prefs.ini"), {"--log", folder.filePath("log.jsonl"), "-c", "print('hi')"},
                                                    folder.path(), environment);
        QCOMPARE(run.out(), QByteArray("hi\n"));
        QFile log(folder.filePath("log.jsonl"));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QByteArray logged = log.readAll();
        QVERIFY2(logged.contains(R"("text":"[PY STDOUT] : hi")"), logged.constData());
    }

    // In a window there are no standard streams to speak of: a job's traceback is the log's, one
    // error message per line, as the engine reports errors.
    void inAWindowTheTracebackIsLogged()
    {
        const QString job = writeFile(folder.filePath("failing.py"), "def f():\n    raise ValueError('no')\nf()\n");
        const ProcessRun run = ProcessRun::bellwick(folder.filePath("prefs.ini"), {"--window", "--log", "-", "--python", job},
                                                    folder.path(), environment);
        QCOMPARE(run.exitCode(), 1);
        QByteArrayList errors;
        // Newer Pythons underline the failing expression; the lines that name things are compared.
        static const QRegularExpression underline(R"re("text":"[~^ ]+"})re");
        for (const QByteArray& line : run.err().split('\n')) {
            if (line.startsWith("{\"action\":2,") && !underline.match(QString::fromUtf8(line)).hasMatch())
                errors.append(line);
        }
        const QByteArray file = "\\\"" + job.toUtf8() + "\\\"";
        const QByteArray prefix = "{\"action\":2,\"kind\":\"message\",\"text\":\"";
        QCOMPARE(errors, (QByteArrayList{prefix + "Traceback (most recent call last):\"}",
                                         prefix + "File " + file + ", line 3, in <module>\"}",
                                         prefix + "f()\"}",
                                         prefix + "File " + file + ", line 2, in f\"}",
                                         prefix + "raise ValueError('no')\"}",
                                         prefix + "ValueError: no\"}"}));
    }

    // Jobs run in order until one ends the run; its status is the run's.
    void theFirstEndingJobEndsTheRun()
    {
        const ProcessRun run = ProcessRun::bellwick(folder.filePath("prefs.ini"), {"-c", "print(1)", "-c", "raise SystemExit(4)", "-c", "print(3)"},
                                                    folder.path(), environment);
        QCOMPARE(run.out(), QByteArray("1\n"));
        QCOMPARE(run.exitCode(), 4);
    }
};

QTEST_GUILESS_MAIN(tst_environment_launcher)
#include "tst_environment_launcher.moc"
