// The reference host loads libPythonScript.so and drives it from the command line and from
// host scripts.
#include "BellwickRun.h"

#include <MSG_Action.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString callbackLine = QStringLiteral("Python Manager Callback Registration.");
const QString initialized = QStringLiteral("Python script plugin initialized.\n");

QString write(const QTemporaryDir& folder, const QString& name, const QByteArray& content)
{
    const QString path = folder.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    return path;
}

// A host script with FOLDER bound to the folder's path.
QString writeScript(const QTemporaryDir& folder, const QByteArray& body)
{
    const QByteArray folderValue = QJsonDocument(QJsonArray{folder.path()}).toJson(QJsonDocument::Compact);
    return write(folder, "job.js", "var FOLDER = " + folderValue + "[0];\n" + body);
}
}

class tst_acceptance_plugin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(!qEnvironmentVariable("BELLWICK_BIN_DIR").isEmpty()); }

    // The examples a new user runs first, from the repository root as the README says.
    void examplesRun()
    {
        const QString root = qEnvironmentVariable("BELLWICK_SOURCE_DIR");
        const BellwickRun hello({"--script", "examples/hello.js"}, root);
        QCOMPARE(hello.exitCode(), 0);
        QVERIFY(hello.outputLines().contains("Hello, Bellwick, from Python!"));
        QVERIFY(hello.outputLines().contains("answer in __main__: 42"));

        const BellwickRun manager({"--script", "examples/pythonmanager.js"}, root);
        QCOMPARE(manager.exitCode(), 0);
        QCOMPARE(manager.outputLines().mid(1), (QStringList{"area(2) = 12.57", "triangle has 3 sides", "script notified: total of 4 values = 10",
                                                            "report_to_script returned 10", "scale is now 1.5", "settings.scale in script: 6"}));
        QVERIFY(manager.messages(MSG_Action::Error).isEmpty());
    }

    // Which runs start the plug-in's Python, and where what Python prints goes.
    void pythonStartsOnlyWhereItMay_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("started");
        QTest::addColumn<QStringList>("printed");
        QTest::newRow("print reaches the message log") << QStringList{"-c", "print('hi')"} << true
                                                       << QStringList{"[PY STDOUT] : hi", "[PY STDOUT] : \n"};
        QTest::newRow("batch jobs") << QStringList{"--batch-python", "-c", "print('x')"} << false << QStringList();
        QTest::newRow("without scripting interface") << QStringList{"--without", "scripting-interface", "-c", "pass"} << false << QStringList();
    }

    void pythonStartsOnlyWhereItMay()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, started);
        const BellwickRun run(args);
        QVERIFY(run.finished());
        QCOMPARE(run.outputLines().count(callbackLine), int(started));
        QCOMPARE(run.pythonInitLines().contains(initialized), started);
        QVERIFY(!run.pythonInitLines().contains("\nFailed to initialize Python."));
        QTEST(run.messages(MSG_Action::PythonOutput), "printed");
    }

    void startUpIsLogged()
    {
        const QStringList lines = BellwickRun({"-c", "pass"}).pythonInitLines();
        const int first = int(lines.indexOf(QRegularExpression("      Setting Python Path: .+ ")));
        QVERIFY2(first >= 0, qPrintable(lines.join('|')));
        QVERIFY(lines.value(first + 1).startsWith("      Loaded Python from /") && lines.value(first + 1).endsWith('.'));
        QCOMPARE(lines.value(first + 2), "");
        QVERIFY(lines.value(first + 3).startsWith("Python detected\n\tPython executable: /"));
        QVERIFY(lines.value(first + 3).contains("\n\tPython home: /"));
        QCOMPARE(lines.value(first + 4), initialized);
    }

    // The finder takes the installation the PYTHON_LIB_PATH preference names, and that one runs.
    void installationNamedByThePreferenceRuns()
    {
        QTemporaryDir folder;
        const QString prefix = BELLWICK_TEST_PYTHON_PREFIX;
        const QString version = BELLWICK_TEST_PYTHON_VERSION;
        const QString executable = prefix + "/bin/python" + version;
        const QString settings = write(folder, "settings.ini", "[General]\nPYTHON_LIB_PATH=" + prefix.toUtf8() + "\n");
        const BellwickRun run({"--settings", settings, "-c", "import sys; print('%d.%d %s %s' % (*sys.version_info[:2], sys.prefix, sys.executable))"});
        QCOMPARE(run.exitCode(), 0);
        QCOMPARE(run.messages(MSG_Action::PythonOutput).value(0), QStringLiteral("[PY STDOUT] : %1 %2 %3").arg(version, prefix, executable));
        QVERIFY2(run.pythonInitLines().contains(QStringLiteral("Python detected\n\tPython executable: %1\n\tPython home: %2").arg(executable, prefix)),
                 qPrintable(run.pythonInitLines().join('|')));
    }

    void systemExitIsReportedAndTheHostGoesOn()
    {
        const BellwickRun run({"-c", "raise SystemExit(5)", "-c", "print('after')"});
        QVERIFY(run.finished());
        QCOMPARE(run.messages(MSG_Action::Error).value(0), "Traceback (most recent call last):");
        QCOMPARE(run.messages(MSG_Action::Error).last(), "SystemExit: 5");
        QVERIFY(run.exitCode() != 5);
    }

    void withoutSessionContextOnlyTheScriptObjectIsPublished()
    {
        QTemporaryDir folder;
        const BellwickRun run({"--without", "session-context", "--script",
                               writeScript(folder, "Host.print(typeof PythonManager, Host.engine() === null);\n")});
        QCOMPARE(run.outputLines(), QStringList{"object true"});
        QVERIFY(run.pythonInitLines().contains(initialized));
    }

    void hostScriptsDriveModulesAndFunctions()
    {
        QTemporaryDir folder;
        write(folder, "tool.beta.py", "import sys\nsys.tool_loads = getattr(sys, 'tool_loads', 0) + 1\n"
                                      "def add(a, b):\n    return a + b\n"
                                      "def shout(text):\n    print(text.upper())\n    return len(text)\n");
        write(folder, "importable.py", "def twice(x):\n    return 2 * x\n");
        const QString script = writeScript(folder, R"JS(
var e = Host.engine();
var json = e.importModule("json", false);
Host.print("import", json.name(), e.module("json") === json, e.importModule("json", false) === json);
var tool = e.loadModule(FOLDER + "/tool.beta.py", false, "");
Host.print("load", tool.name(), tool.call("add", [2, 3]));
var fns = tool.functions();
Host.print("functions", fns.map(function (f) { return f.name(); }).join(","), fns[1].call(["abc"]));
Host.print("again", e.loadModule(FOLDER + "/tool.beta.py", false, "") === tool, e.evaluate("__import__('sys').tool_loads"));
Host.print("modules", e.modules().some(function (m) { return m === tool; }));
e.addSysPath(FOLDER);
e.addSysPath(FOLDER + "/.");
Host.print("syspath", e.evaluate("sum(1 for p in __import__('sys').path if p.startswith(" + JSON.stringify(FOLDER) + "))"));
Host.print("importable", e.importModule("importable", false).call("twice", [21]));
Host.print("missing", e.module("no_such_mod") === null, e.importModule("no_such_mod", false) === null, e.hasError());
Host.print("report", e.reportError(), e.hasError());
var main = e.mainModule();
main.execute("answer = 6 * 7");
Host.print("main", main.name(), e.evaluate("answer"));
)JS");
        const BellwickRun run({"--script", script});
        QCOMPARE(run.exitCode(), 0);
        QCOMPARE(run.outputLines(), (QStringList{callbackLine, "import json true true", "load tool 5", "functions add,shout 3", "again true 1",
                                                 "modules true", "syspath 1", "importable 42", "missing true true true", "report true false",
                                                 "main __main__ 42"}));
        QCOMPARE(run.messages(MSG_Action::PythonOutput), (QStringList{"[PY STDOUT] : ABC", "[PY STDOUT] : \n"}));
        QVERIFY(run.messages(MSG_Action::Error).last().startsWith("ModuleNotFoundError"));
    }
};

QTEST_GUILESS_MAIN(tst_acceptance_plugin)
#include "tst_acceptance_plugin.moc"
