// Python's output and errors: the message log with its prefixes, an installed redirect, and
// reportError() turning a traceback into one message per line.
#include "support/MessageRecorder.h"
#include "support/PluginTestCase.h"

#include <MSG_Action.h>

#include <SCP_PythonEngine.h>
#include <SCP_PythonFunction.h>
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

class tst_plugin_outputrouting : public PluginTestCase
{
    Q_OBJECT

    SCP_PythonModule* module = nullptr;
    MessageRecorder recorder;

    QStringList output() const { return recorder.messages(MSG_Action::PythonOutput); }
    QStringList errors() const { return recorder.messages(MSG_Action::Error); }

private slots:
    void initTestCase()
    {
        QVERIFY(engine);
        module = engine->createModule("output_test");
    }

    void init()
    {
        engine->clearError();
        recorder.clear();
    }

    // Standard output keeps its pieces as written; standard error is simplified, blank pieces dropped.
    void outputReachesTheLogWithPrefixes()
    {
        module->execute("print('hi')\nimport sys\nsys.stdout.write('  two  words ')\n"
                        "sys.stderr.write('  a\\n  b\\t c ')\nsys.stderr.write(' \\n\\t')");
        engine->writeStdErr("\n");
        engine->writeStdOut("from host");
        QCOMPARE(output(), QStringList({"[PY STDOUT] : hi", "[PY STDOUT] : \n", "[PY STDOUT] :   two  words ", "[PY STDERR] : a b c",
                                        "[PY STDOUT] : from host"}));
        QCOMPARE(recorder.entries().size(), 5);
    }

    void reportErrorLogsOneMessagePerTracebackLine()
    {
        QVERIFY(!engine->reportError());
        QVERIFY(recorder.entries().isEmpty());
        module->execute("raise ValueError('x')");
        QCOMPARE(errors(), QStringList({"Traceback (most recent call last):", "File \"<string>\", line 1, in <module>",
                                        "ValueError: x"}));
        QCOMPARE(recorder.entries().size(), 3);
        QVERIFY(!engine->hasError());
    }

    void exceptionsThatWouldEndTheProcessAreReported_data()
    {
        QTest::addColumn<QString>("code");
        QTest::newRow("SystemExit: 3") << "raise SystemExit(3)";
        QTest::newRow("KeyboardInterrupt") << "raise KeyboardInterrupt";
    }

    // Raised by a call, through the module or a function object, the exception is left pending
    // for reportError(). (Raised by execute(), it is reported at once: the reliability suite.)
    void exceptionsThatWouldEndTheProcessAreReported()
    {
        QFETCH(QString, code);
        SCP_PythonModule* holder = engine->createModule(QString("pending ") + QTest::currentDataTag());
        holder->execute("def pending():\n  " + code);
        SCP_PythonFunction* pending = holder->functions().value(0);
        QVERIFY(pending);
        for (bool throughModule : {true, false}) {
            recorder.clear();
            QVERIFY(!(throughModule ? holder->call("pending", {}) : pending->call({})).isValid());
            QVERIFY(engine->hasError() && engine->reportError() && !engine->hasError());
            QCOMPARE(errors().value(0), "Traceback (most recent call last):");
            QCOMPARE(errors().last(), QTest::currentDataTag());
        }
    }

    void redirectReceivesEverythingInstead()
    {
        RecordingRedirect redirect(engine);
        engine->pushRedirectObject(&redirect);
        module->execute("print('shown')\nimport sys\nsys.stderr.write(' raw ')\nraise KeyError('k')");
        engine->writeStdOut("host out");
        engine->importModule("not_there_at_all", false);
        QVERIFY(engine->reportError());
        engine->popRedirectObject();

        QVERIFY(recorder.entries().isEmpty());
        QCOMPARE(redirect.out, "shown\nhost out");
        QVERIFY(redirect.err.startsWith(" raw Traceback (most recent call last):\n"));
        QVERIFY(redirect.err.contains("KeyError: 'k'\n") && redirect.err.contains("ModuleNotFoundError"));
        module->execute("print('back')");
        QCOMPARE(output().value(0), "[PY STDOUT] : back");
    }
};

QTEST_MAIN(tst_plugin_outputrouting)
#include "tst_plugin_outputrouting.moc"
