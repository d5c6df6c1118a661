// The reference host loads libPythonScript.so and drives it from the command line and from
// host scripts.
#include "BellwickRun.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString callbackLine = QStringLiteral("Python Manager Callback Registration.");
constexpr int outputAction = 7;
constexpr int errorAction = 2;

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
    return write(folder, QStringLiteral("job.js"), "var FOLDER = " + folderValue + "[0];\n" + body);
}
}

class AcceptanceTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(!qEnvironmentVariable("BELLWICK_BIN_DIR").isEmpty()); }

    // The examples a new user runs first, from the repository root as the README says.
    void examplesRun()
    {
        const QString root = qEnvironmentVariable("BELLWICK_SOURCE_DIR");
        const BellwickRun hello({QStringLiteral("--script"), QStringLiteral("examples/hello.js")}, root);
        QCOMPARE(hello.exitCode(), 0);
        QVERIFY(hello.outputLines().contains(QStringLiteral("Hello, Bellwick, from Python!")));
        QVERIFY(hello.outputLines().contains(QStringLiteral("answer in __main__: 42")));

        const BellwickRun manager({QStringLiteral("--script"), QStringLiteral("examples/pythonmanager.js")}, root);
        QCOMPARE(manager.exitCode(), 0);
        QCOMPARE(manager.outputLines().mid(1),
                 QStringList({QStringLiteral("area(2) = 12.57"), QStringLiteral("triangle has 3 sides"),
                              QStringLiteral("script notified: total of 4 values = 10"),
                              QStringLiteral("report_to_script returned 10"), QStringLiteral("scale is now 1.5"),
                              QStringLiteral("settings.scale in script: 6")}));
        QVERIFY(manager.messages(errorAction).isEmpty());
    }

    void printReachesTheMessageLog()
    {
        const BellwickRun run({QStringLiteral("-c"), QStringLiteral("print('hi')")});
        QVERIFY(run.finished());
        QCOMPARE(run.exitCode(), 0);
        QCOMPARE(run.messages(outputAction), QStringList({QStringLiteral("[PY STDOUT] : hi"), QStringLiteral("[PY STDOUT] : \n")}));
        QCOMPARE(run.outputLines().count(callbackLine), 1);
    }

    void startUpIsLogged()
    {
        const BellwickRun run({QStringLiteral("-c"), QStringLiteral("pass")});
        const QStringList lines = run.pythonInitLines();
        const int first = lines.indexOf(QRegularExpression(QStringLiteral("      Setting Python Path: .+ ")));
        QVERIFY2(first >= 0, qPrintable(lines.join(QLatin1Char('|'))));
        QVERIFY(lines.value(first + 1).startsWith(QStringLiteral("      Loaded Python from /")));
        QVERIFY(lines.value(first + 1).endsWith(QLatin1Char('.')));
        QCOMPARE(lines.value(first + 2), QString());
        QVERIFY(lines.value(first + 3).startsWith(QStringLiteral("Python detected\n\tPython executable: /")));
        QVERIFY(lines.value(first + 3).contains(QStringLiteral("\n\tPython home: /")));
        QCOMPARE(lines.value(first + 4), QStringLiteral("Python script plugin initialized.\n"));
    }

    // The finder takes the installation the PYTHON_LIB_PATH preference names, and that one runs.
    void installationNamedByThePreferenceRuns()
    {
        QTemporaryDir folder;
        const QString prefix = QStringLiteral(BELLWICK_TEST_PYTHON_PREFIX);
        const QString version = QStringLiteral(BELLWICK_TEST_PYTHON_VERSION);
        const QString executable = prefix + QStringLiteral("/bin/python") + version;
        const QString settings = write(folder, QStringLiteral("settings.ini"), "[General]\nPYTHON_LIB_PATH=" + prefix.toUtf8() + "\n");
        const BellwickRun run({QStringLiteral("--settings"), settings, QStringLiteral("-c"),
                               QStringLiteral("import sys; print('%d.%d %s %s' % (*sys.version_info[:2], sys.prefix, sys.executable))")});
        QVERIFY(run.finished());
        QCOMPARE(run.exitCode(), 0);
        QCOMPARE(run.messages(outputAction).value(0),
                 QStringLiteral("[PY STDOUT] : %1 %2 %3").arg(version, prefix, executable));
        QVERIFY2(run.pythonInitLines().contains(
                     QStringLiteral("Python detected\n\tPython executable: %1\n\tPython home: %2").arg(executable, prefix)),
                 qPrintable(run.pythonInitLines().join(QLatin1Char('|'))));
    }

    void systemExitIsReportedAndTheHostGoesOn()
    {
        const BellwickRun run({QStringLiteral("-c"), QStringLiteral("raise SystemExit(5)"), QStringLiteral("-c"),
                               QStringLiteral("print('after')")});
        QVERIFY(run.finished());
        QCOMPARE(run.messages(errorAction).value(0), QStringLiteral("Traceback (most recent call last):"));
        QCOMPARE(run.messages(errorAction).last(), QStringLiteral("SystemExit: 5"));
        QVERIFY(run.exitCode() != 5);
    }

    void batchJobsStartNoPluginPython()
    {
        const BellwickRun run({QStringLiteral("--batch-python"), QStringLiteral("-c"), QStringLiteral("print('x')")});
        QVERIFY(run.finished());
        QVERIFY(!run.outputLines().contains(callbackLine));
        QVERIFY(!run.pythonInitLines().contains(QStringLiteral("Python script plugin initialized.\n")));
        QVERIFY(run.messages(outputAction).isEmpty());
    }

    void withoutSessionContextOnlyTheScriptObjectIsPublished()
    {
        QTemporaryDir folder;
        const QString script = writeScript(folder, "Host.print(typeof PythonManager, Host.engine() === null);\n");
        const BellwickRun run({QStringLiteral("--without"), QStringLiteral("session-context"), QStringLiteral("--script"), script});
        QVERIFY(run.finished());
        QCOMPARE(run.outputLines(), QStringList({QStringLiteral("object true")}));
        QVERIFY(run.pythonInitLines().contains(QStringLiteral("Python script plugin initialized.\n")));
    }

    void withoutScriptingInterfacePythonStaysDown()
    {
        const BellwickRun run({QStringLiteral("--without"), QStringLiteral("scripting-interface"), QStringLiteral("-c"), QStringLiteral("pass")});
        QVERIFY(run.finished());
        QVERIFY(!run.outputLines().contains(callbackLine));
        QVERIFY(!run.pythonInitLines().contains(QStringLiteral("Python script plugin initialized.\n")));
        QVERIFY(!run.pythonInitLines().contains(QStringLiteral("\nFailed to initialize Python.")));
    }

    void hostScriptsDriveModulesAndFunctions()
    {
        QTemporaryDir folder;
        write(folder, QStringLiteral("tool.beta.py"), "import sys\nsys.tool_loads = getattr(sys, 'tool_loads', 0) + 1\n"
                                                      "def add(a, b):\n    return a + b\n"
                                                      "def shout(text):\n    print(text.upper())\n    return len(text)\n");
        write(folder, QStringLiteral("importable.py"), "def twice(x):\n    return 2 * x\n");
        const QString script = writeScript(folder, R"JS(
var e = Host.engine();
var json = e.importModule("json", false);
Host.print("import", json.name(), e.module("json") === json, e.importModule("json", false) === json);
var tool = e.loadModule(FOLDER + "/tool.beta.py", false, "");
Host.print("load", tool.name(), tool.call("add", [2, 3]));
var names = [];
var fns = tool.functions();
for (var i = 0; i < fns.length; ++i) names.push(fns[i].name());
Host.print("functions", names.join(","), fns[1].call(["abc"]));
Host.print("again", e.loadModule(FOLDER + "/tool.beta.py", false, "") === tool, e.evaluate("__import__('sys').tool_loads"));
var listed = e.modules();
var found = false;
for (var j = 0; j < listed.length; ++j) found = found || listed[j] === tool;
Host.print("modules", found);
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
        const BellwickRun run({QStringLiteral("--script"), script});
        QVERIFY(run.finished());
        QCOMPARE(run.exitCode(), 0);
        QCOMPARE(run.outputLines().join(QLatin1Char('|')),
                 QStringList({callbackLine, QStringLiteral("import json true true"), QStringLiteral("load tool 5"),
                              QStringLiteral("functions add,shout 3"), QStringLiteral("again true 1"),
                              QStringLiteral("modules true"), QStringLiteral("syspath 1"),
                              QStringLiteral("importable 42"), QStringLiteral("missing true true true"),
                              QStringLiteral("report true false"), QStringLiteral("main __main__ 42")}).join(QLatin1Char('|')));
        QCOMPARE(run.messages(outputAction), QStringList({QStringLiteral("[PY STDOUT] : ABC"), QStringLiteral("[PY STDOUT] : \n")}));
        QVERIFY(run.messages(errorAction).last().startsWith(QStringLiteral("ModuleNotFoundError")));
    }
};

QTEST_GUILESS_MAIN(AcceptanceTest)
#include "tst_acceptance.moc"
