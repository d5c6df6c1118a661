// Python's output and errors: the message log with its prefixes, an installed redirect, and
// reportError() turning a traceback into one message per line, whatever the exception.
#include "support/MessageRecorder.h"
#include "support/PluginTestCase.h"

#include <MSG_Action.h>

#include <SCP_PythonEngine.h>
#include <SCP_PythonModule.h>
#include <SCP_PythonRedirect.h>

#include <QtTest>

namespace {
class RecordingRedirect : public SCP_PythonRedirect
{
public:
    using SCP_PythonRedirect::SCP_PythonRedirect;
    void writeStdOut(const QString& text) override { out += text; }
    void writeStdErr(const QString& text) override { err += text; }
    QString out;
    QString err;
};
}

class OutputRoutingTest : public PluginTestCase
{
    Q_OBJECT

private:
    SCP_PythonModule* module = nullptr;

private slots:
    void initTestCase()
    {
        QVERIFY(engine);
        module = engine->createModule(QStringLiteral("output_test"));
        QVERIFY(module);
    }

    void standardOutputKeepsItsPiecesAsWritten()
    {
        MessageRecorder recorder;
        module->execute(QStringLiteral("print('hi')\nimport sys\nsys.stdout.write('  two  words ')"));
        QCOMPARE(recorder.messages(MSG_Action::PythonOutput),
                 QStringList({QStringLiteral("[PY STDOUT] : hi"), QStringLiteral("[PY STDOUT] : \n"),
                              QStringLiteral("[PY STDOUT] :   two  words ")}));
        QCOMPARE(recorder.entries().size(), 3);
    }

    void standardErrorIsSimplifiedAndBlankPiecesDropped()
    {
        MessageRecorder recorder;
        module->execute(QStringLiteral("import sys\nsys.stderr.write('  a\\n  b\\t c ')\nsys.stderr.write(' \\n\\t')"));
        engine->writeStdErr(QStringLiteral("\n"));
        engine->writeStdOut(QStringLiteral("from host"));
        QCOMPARE(recorder.messages(MSG_Action::PythonOutput),
                 QStringList({QStringLiteral("[PY STDERR] : a b c"), QStringLiteral("[PY STDOUT] : from host")}));
    }

    void reportErrorLogsOneMessagePerTracebackLine()
    {
        MessageRecorder recorder;
        QVERIFY(!engine->reportError());
        QVERIFY(recorder.entries().isEmpty());

        module->execute(QStringLiteral("raise ValueError('x')"));
        QCOMPARE(recorder.messages(MSG_Action::Error),
                 QStringList({QStringLiteral("Traceback (most recent call last):"),
                              QStringLiteral("File \"<string>\", line 1, in <module>"),
                              QStringLiteral("ValueError: x")}));
        QCOMPARE(recorder.entries().size(), 3);
        QVERIFY(!engine->hasError());
    }

    void exceptionsThatWouldEndTheProcessAreReported_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("lastLine");
        QTest::newRow("SystemExit") << QStringLiteral("raise SystemExit(3)") << QStringLiteral("SystemExit: 3");
        QTest::newRow("sys.exit") << QStringLiteral("import sys\nsys.exit('bye')") << QStringLiteral("SystemExit: bye");
        QTest::newRow("exit without code") << QStringLiteral("raise SystemExit") << QStringLiteral("SystemExit");
        QTest::newRow("KeyboardInterrupt") << QStringLiteral("raise KeyboardInterrupt") << QStringLiteral("KeyboardInterrupt");
        QTest::newRow("RecursionError") << QStringLiteral("def f():\n  return f()\nf()")
                                        << QStringLiteral("RecursionError: maximum recursion depth exceeded");
    }

    void exceptionsThatWouldEndTheProcessAreReported()
    {
        QFETCH(QString, code);
        QFETCH(QString, lastLine);
        MessageRecorder recorder;
        QVERIFY(!module->execute(code).isValid());
        const QStringList lines = recorder.messages(MSG_Action::Error);
        QVERIFY(!lines.isEmpty());
        QCOMPARE(lines.first(), QStringLiteral("Traceback (most recent call last):"));
        QCOMPARE(lines.last(), lastLine);
        QVERIFY(!engine->hasError());

        // Left pending by a call, the same exception is reported by reportError().
        recorder.clear();
        module->execute(QStringLiteral("def pending():\n%1").arg(QStringLiteral("  ") + QString(code).replace('\n', QStringLiteral("\n  "))));
        QVERIFY(!module->call(QStringLiteral("pending"), {}).isValid());
        QVERIFY(engine->hasError());
        QVERIFY(engine->reportError());
        QCOMPARE(recorder.messages(MSG_Action::Error).last(), lastLine);
        QVERIFY(!engine->hasError());
    }

    void redirectReceivesEverythingInstead()
    {
        RecordingRedirect redirect(engine);
        engine->pushRedirectObject(&redirect);
        MessageRecorder recorder;
        module->execute(QStringLiteral("print('shown')\nimport sys\nsys.stderr.write(' raw ')\nraise KeyError('k')"));
        engine->writeStdOut(QStringLiteral("host out"));
        QVERIFY(module->call(QStringLiteral("missing"), {}) == QVariant());
        engine->importModule(QStringLiteral("not_there_at_all"), false);
        QVERIFY(engine->reportError());
        QVERIFY(!engine->hasError());
        engine->popRedirectObject();

        QVERIFY(recorder.entries().isEmpty());
        QCOMPARE(redirect.out, QStringLiteral("shown\nhost out"));
        QVERIFY(redirect.err.startsWith(QStringLiteral(" raw Traceback (most recent call last):\n")));
        QVERIFY(redirect.err.contains(QStringLiteral("KeyError: 'k'\n")));
        QVERIFY(redirect.err.contains(QStringLiteral("ModuleNotFoundError")));

        module->execute(QStringLiteral("print('back')"));
        QCOMPARE(recorder.messages(MSG_Action::PythonOutput).value(0), QStringLiteral("[PY STDOUT] : back"));
    }
};

QTEST_MAIN(OutputRoutingTest)
#include "tst_outputrouting.moc"
