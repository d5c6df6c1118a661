// Malformed and hostile Python sources through the three ways in: the engine's loadModule, a
// module's execute and the bridge's createPyObject. Each gives its documented answer and
// message, and the host goes on.
#include "support/MessageRecorder.h"
#include "support/PluginTestCase.h"
#include "support/TestFiles.h"

#include <MSG_Action.h>
#include <SCP_PythonModule.h>

#include <sys/stat.h>

class tst_reliability_malformedinput : public PluginTestCase
{
    Q_OBJECT

    QTemporaryDir folder;
    MessageRecorder recorder;

    // A module name of its own for the road and row.
    static QString moduleName(const char* road)
    {
        return QString("%1_%2").arg(road, QTest::currentDataTag()).replace(QRegularExpression("\\W"), "_");
    }

    void verifyLastError(const QString& pattern)
    {
        const QStringList errors = recorder.messages(MSG_Action::Error);
        QVERIFY2(pattern.isEmpty() ? errors.isEmpty() : QRegularExpression(pattern).match(errors.value(errors.size() - 1)).hasMatch(),
                 qPrintable(errors.join('\n')));
    }

    void verifyHostAlive()
    {
        QCOMPARE(engine->mainModule()->execute("alive = 6 * 7\nalive"), QVariant());
        QCOMPARE(engine->evaluate("alive").toInt(), 42);
        engine->clearError();
        recorder.clear();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(engine);
        QVERIFY(folder.isValid());
    }

    void init()
    {
        engine->clearError();
        recorder.clear();
    }

    // Columns: whether the source compiles, what f() answers once it has run to its end (invalid:
    // no f), the last error line that running it reports and the one loadModule reports
    // (patterns; empty: none).
    void threeRoads_data()
    {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<bool>("compiles");
        QTest::addColumn<QVariant>("fAnswer");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("loadError");
        auto row = [](const char* tag, const QByteArray& source, bool compiles, const QVariant& fAnswer, const QString& error = {}) {
            QTest::newRow(tag) << source << compiles << fAnswer << error << error;
        };
        const QByteArray f1 = "def f():\n    return 1\n";
        const QByteArray cafe = "def f():\n    return 'caf\xE9'\n";
        const QByteArray comment = "# " + QByteArray(97, 'x') + "\n";
        QByteArray deepIndentation;
        for (int level = 0; level < 120; ++level)
            deepIndentation += QByteArray(level, ' ') + "if True:\n";
        row("empty", QByteArray(), true, QVariant());
        row("bom then code", "\xEF\xBB\xBF" + f1, true, 1);
        row("latin-1 bytes", cafe, false, QVariant(), "^SyntaxError: \\(unicode error\\) 'utf-8' codec can't decode byte 0xe9");
        row("latin-1 coding line", "# -*- coding: latin-1 -*-\n" + cafe, true, QString("caf\u00e9"));
        row("nul byte", f1 + '\0' + "def g():\n    return 2\n", false, QVariant(), "^SyntaxError: source code string cannot contain null bytes$");
        row("cr line ends", "a = 1\rdef f():\r    return a + 1\r", true, 2);
        row("no final line feed", "def f():\n    return 3", true, 3);
        row("10 MB", comment.repeated(10 * 1024 * 1024 / comment.size()) + "def f():\n    return 4\n", true, 4);
        row("deep parentheses", "x = " + QByteArray(1000, '(') + "1" + QByteArray(1000, ')') + "\n", false, QVariant(),
            "^SyntaxError: too many nested parentheses$");
        row("deep indentation", deepIndentation + QByteArray(120, ' ') + "pass\n", false, QVariant(), "^IndentationError: too many levels of indentation$");
        row("deep unary chain", "x = " + QByteArray(100000, '-') + "1\n", false, QVariant(), "^(MemoryError|RecursionError)");
        row("SystemExit", f1 + "raise SystemExit(3)\n", true, 1, "^SystemExit: 3$");
        row("KeyboardInterrupt", "raise KeyboardInterrupt\n", true, QVariant(), "^KeyboardInterrupt$");
        row("RecursionError", f1 + "def r(n):\n    return r(n + 1)\nr(0)\n", true, 1, "^RecursionError: maximum recursion depth exceeded");
        QTest::newRow("deletes itself") << QByteArray("import sys\ndel sys.modules[__name__]\ndef f():\n    return 5\n") << true << QVariant(5)
                                        << QString() << "^ImportError: Loaded module '.*' not found in sys.modules$";
    }

    // loadModule: a file that fails leaves its error pending and files no module; one that loads
    // answers by its functions. execute reports a failure itself, once, and answers an invalid
    // value; statements before the failing one have taken effect, and the module stays usable,
    // also once it is gone from sys.modules. createPyObject: an exception while the file runs is
    // not reported, what it defined before is usable.
    void threeRoads()
    {
        QFETCH(QByteArray, source);
        QFETCH(bool, compiles);
        QFETCH(QVariant, fAnswer);
        QFETCH(QString, error);
        QFETCH(QString, loadError);
        SCP_PythonModule* loaded = engine->loadModule(writeFile(folder.filePath(moduleName("load") + ".py"), source), false, QString());
        QCOMPARE(loaded != nullptr, loadError.isEmpty());
        QCOMPARE(engine->reportError(), !loadError.isEmpty());
        verifyLastError(loadError);
        if (loaded)
            QCOMPARE(loaded->call("f", {}), fAnswer);
        else
            QVERIFY(!engine->module(moduleName("load")));
        verifyHostAlive();

        const QString code = QString::fromUtf8(source);
        if (!code.contains(QChar::ReplacementCharacter)) { // bytes that are no UTF-8 cannot reach execute
            SCP_PythonModule* module = engine->createModule(moduleName("execute"));
            module->execute(code);
            QVERIFY(!engine->hasError());
            verifyLastError(error);
            QCOMPARE(module->call("f", {}), fAnswer);
            QCOMPARE(module->execute("later = 1"), QVariant());
            QCOMPARE(engine->module(module->name()), module);
            verifyHostAlive();
        }

        const QString path = writeFile(folder.filePath(moduleName("create") + ".py"), source);
        host.scriptEngine()->globalObject().setProperty("FILE", path);
        const QScriptValue created = runScript("var o = PythonManager.createPyObject(FILE); o");
        QCOMPARE(created.isValid() && !created.isUndefined(), fAnswer.isValid());
        if (fAnswer.isValid())
            QCOMPARE(runScript("o.py.f()").toVariant(), fAnswer);
        QStringList expected;
        if (!compiles)
            expected << "Error while creating PyObject from file : " + path;
        else if (!fAnswer.isValid())
            expected << "No function were found in the following file : " + path
                     << "This can happen if the file does not contain any function or if there is some error in the script "
                        "(ex: cannot find some import module)";
        QCOMPARE(recorder.messages(MSG_Action::Error).mid(0, expected.isEmpty() ? -1 : expected.size()), expected);
        verifyHostAlive();
    }

    void unreadableFiles_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("missing") << folder.filePath("missing.py");
        QTest::newRow("directory") << folder.path();
        QTest::newRow("device") << "/dev/zero";
        const QString pipe = folder.filePath("pipe.py");
        QTest::newRow("named pipe") << (::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0 ? pipe : QString());
    }

    // Only regular files are read: anything else has no end to read to (or, a pipe without a
    // writer, never opens), and gets the answer of a file that cannot be opened.
    void unreadableFiles()
    {
        QFETCH(QString, path);
        QVERIFY(!path.isEmpty());
        QVERIFY(!engine->loadModule(path, false, "not_regular"));
        QVERIFY(!engine->hasError());
        host.scriptEngine()->globalObject().setProperty("FILE", path);
        QVERIFY(runScript("PythonManager.createPyObject(FILE)").isUndefined());
        QCOMPARE(recorder.messages(MSG_Action::Error), QStringList{"The following file does not exist or cannot be open : " + path});
        verifyHostAlive();
    }

};

QTEST_MAIN(tst_reliability_malformedinput)
#include "tst_reliability_malformedinput.moc"
