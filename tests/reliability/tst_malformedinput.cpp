// Malformed and hostile Python sources through the three ways in: the engine's loadModule, a
// module's execute and the bridge's createPyObject. Each gives its documented answer and
// message, and the host goes on.
#include "support/MalformedSources.h"
#include "support/MessageRecorder.h"
#include "support/PluginTestCase.h"
#include "support/ScriptRuns.h"
#include "support/TestFiles.h"
#include "support/Watchdog.h"

#include <SCP_PythonEngine.h>
#include <SCP_PythonModule.h>

#include <QRegularExpression>
#include <QScriptEngine>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {
constexpr int errorAction = 2;
constexpr int outputAction = 7;
const QString noFunctionHint = QStringLiteral(
    "This can happen if the file does not contain any function or if there is some error in the script (ex: "
    "cannot find some import module)");

// A fresh module name per data row, so that no row meets another's module.
QString moduleNameOf(const char* tag)
{
    return QStringLiteral("malformed_") + QString::fromLatin1(tag).replace(QRegularExpression(QStringLiteral("\\W")), QStringLiteral("_"));
}
}

class MalformedInputTest : public PluginTestCase
{
    Q_OBJECT

private:
    QTemporaryDir folder;
    MessageRecorder recorder;

    QString lastError() const { return recorder.messages(errorAction).value(recorder.messages(errorAction).size() - 1); }

    // Reports the pending error (if any) and checks the last reported line against pattern;
    // an empty pattern means no error may be pending.
    void verifyReported(const QString& pattern)
    {
        QCOMPARE(engine->hasError(), !pattern.isEmpty());
        QCOMPARE(engine->reportError(), !pattern.isEmpty());
        QVERIFY(!engine->hasError());
        if (!pattern.isEmpty())
            QVERIFY2(QRegularExpression(pattern).match(lastError()).hasMatch(), qPrintable(lastError()));
        else
            QVERIFY2(recorder.messages(errorAction).isEmpty(), qPrintable(lastError()));
    }

    void verifyHostAlive()
    {
        QCOMPARE(engine->mainModule()->execute(QStringLiteral("alive = 6 * 7\nalive")), QVariant());
        QCOMPARE(engine->evaluate(QStringLiteral("alive")).toInt(), 42);
    }

    QScriptValue runScript(const QString& program) { return ::runScript(host.scriptEngine(), program); }

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

    void loadModule_data()
    {
        namespace M = MalformedSources;
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<bool>("loads");
        QTest::addColumn<QVariant>("fAnswer");
        QTest::addColumn<QString>("error");
        QTest::newRow("empty file") << M::empty() << true << QVariant() << QString();
        QTest::newRow("byte-order mark only") << M::byteOrderMarkOnly() << true << QVariant() << QString();
        QTest::newRow("byte-order mark, code") << M::byteOrderMarkThenCode() << true << QVariant(1) << QString();
        QTest::newRow("latin-1 bytes") << M::latin1Bytes() << false << QVariant()
                                       << "^SyntaxError: \\(unicode error\\) 'utf-8' codec can't decode byte 0xe9";
        QTest::newRow("latin-1, coding line") << M::latin1WithCodingLine() << true << QVariant(QStringLiteral("caf\u00e9"))
                                              << QString();
        QTest::newRow("nul byte") << M::nulByte() << false << QVariant()
                                  << "^SyntaxError: source code string cannot contain null bytes$";
        QTest::newRow("cr line ends") << M::carriageReturnsOnly() << true << QVariant(2) << QString();
        QTest::newRow("no final line feed") << M::noFinalLineFeed() << true << QVariant(3) << QString();
        QTest::newRow("10 MB") << M::tenMegabytes() << true << QVariant(4) << QString();
        QTest::newRow("deep parentheses") << M::deepParentheses() << false << QVariant()
                                          << "^SyntaxError: too many nested parentheses$";
        QTest::newRow("deep indentation") << M::deepIndentation() << false << QVariant()
                                          << "^IndentationError: too many levels of indentation$";
        QTest::newRow("deep unary chain") << M::deepUnaryChain() << false << QVariant() << "^(MemoryError|RecursionError)";
        QTest::newRow("SystemExit") << M::systemExitAfterF() << false << QVariant() << "^SystemExit: 3$";
        QTest::newRow("KeyboardInterrupt") << M::keyboardInterrupt() << false << QVariant() << "^KeyboardInterrupt$";
        QTest::newRow("RecursionError") << M::endlessRecursionAfterF() << false << QVariant()
                                        << "^RecursionError: maximum recursion depth exceeded";
        QTest::newRow("deletes itself") << M::deletesItselfFromSysModules() << false << QVariant()
                                        << "^ImportError: Loaded module '.*' not found in sys.modules$";
    }

    // A file that fails leaves its error pending and files no module; one that loads answers
    // by its functions.
    void loadModule()
    {
        QFETCH(QByteArray, source);
        QFETCH(bool, loads);
        QFETCH(QVariant, fAnswer);
        QFETCH(QString, error);
        const QString name = moduleNameOf(QTest::currentDataTag());
        const QString path = writeFile(folder.filePath(name + QStringLiteral(".py")), source);

        SCP_PythonModule* module = engine->loadModule(path, false, QString());
        QCOMPARE(module != nullptr, loads);
        verifyReported(error);
        if (module)
            QCOMPARE(module->call(QStringLiteral("f"), {}), fAnswer);
        else
            QVERIFY(!engine->module(name));
        verifyHostAlive();
    }

    void execute_data()
    {
        namespace M = MalformedSources;
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QVariant>("fAnswer");
        QTest::addColumn<QString>("error");
        QTest::newRow("empty code") << M::empty() << QVariant() << QString();
        QTest::newRow("byte-order mark only") << M::byteOrderMarkOnly() << QVariant() << QString();
        QTest::newRow("byte-order mark, code") << M::byteOrderMarkThenCode() << QVariant(1) << QString();
        QTest::newRow("nul character") << M::nulByte() << QVariant() << "^SyntaxError: source code string cannot contain null bytes$";
        QTest::newRow("cr line ends") << M::carriageReturnsOnly() << QVariant(2) << QString();
        QTest::newRow("no final line feed") << M::noFinalLineFeed() << QVariant(3) << QString();
        QTest::newRow("10 MB") << M::tenMegabytes() << QVariant(4) << QString();
        QTest::newRow("deep parentheses") << M::deepParentheses() << QVariant() << "^SyntaxError: too many nested parentheses$";
        QTest::newRow("deep indentation") << M::deepIndentation() << QVariant() << "^IndentationError: too many levels of indentation$";
        QTest::newRow("SystemExit") << M::systemExitAfterF() << QVariant(1) << "^SystemExit: 3$";
        QTest::newRow("KeyboardInterrupt") << M::keyboardInterrupt() << QVariant() << "^KeyboardInterrupt$";
        QTest::newRow("RecursionError") << M::endlessRecursionAfterF() << QVariant(1) << "^RecursionError: maximum recursion depth exceeded";
        QTest::newRow("deletes itself") << M::deletesItselfFromSysModules() << QVariant(5) << QString();
    }

    // execute reports a failure itself, once, and answers an invalid value; statements before
    // the failing one have taken effect. The module stays usable, also once it is gone from
    // sys.modules.
    void execute()
    {
        QFETCH(QByteArray, source);
        QFETCH(QVariant, fAnswer);
        QFETCH(QString, error);
        SCP_PythonModule* module = engine->createModule(moduleNameOf(QTest::currentDataTag()));
        QVERIFY(module);

        module->execute(QString::fromUtf8(source));
        QVERIFY(!engine->hasError());
        const QStringList errors = recorder.messages(errorAction);
        if (error.isEmpty())
            QVERIFY2(errors.isEmpty(), qPrintable(errors.join(QLatin1Char('\n'))));
        else
            QVERIFY2(QRegularExpression(error).match(errors.value(errors.size() - 1)).hasMatch(), qPrintable(errors.join(QLatin1Char('\n'))));
        QCOMPARE(module->call(QStringLiteral("f"), {}), fAnswer);
        QCOMPARE(module->execute(QStringLiteral("later = 1")), QVariant());
        QCOMPARE(engine->module(module->name()), module);
        verifyHostAlive();
    }

    void createPyObject_data()
    {
        namespace M = MalformedSources;
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QVariant>("fAnswer"); // invalid: no object is created
        QTest::addColumn<QString>("message");  // %1: the file's path
        const QString compileError = QStringLiteral("Error while creating PyObject from file : %1");
        const QString noFunction = QStringLiteral("No function were found in the following file : %1");
        QTest::newRow("empty file") << M::empty() << QVariant() << noFunction;
        QTest::newRow("byte-order mark only") << M::byteOrderMarkOnly() << QVariant() << noFunction;
        QTest::newRow("byte-order mark, code") << M::byteOrderMarkThenCode() << QVariant(1) << QString();
        QTest::newRow("latin-1 bytes") << M::latin1Bytes() << QVariant() << compileError;
        QTest::newRow("latin-1, coding line") << M::latin1WithCodingLine() << QVariant(QStringLiteral("caf\u00e9")) << QString();
        QTest::newRow("nul byte") << M::nulByte() << QVariant() << compileError;
        QTest::newRow("cr line ends") << M::carriageReturnsOnly() << QVariant(2) << QString();
        QTest::newRow("no final line feed") << M::noFinalLineFeed() << QVariant(3) << QString();
        QTest::newRow("10 MB") << M::tenMegabytes() << QVariant(4) << QString();
        QTest::newRow("deep parentheses") << M::deepParentheses() << QVariant() << compileError;
        QTest::newRow("deep indentation") << M::deepIndentation() << QVariant() << compileError;
        QTest::newRow("deep unary chain") << M::deepUnaryChain() << QVariant() << compileError;
        // An exception while the file runs is not reported; what it defined before is usable.
        QTest::newRow("SystemExit") << M::systemExitAfterF() << QVariant(1) << QString();
        QTest::newRow("KeyboardInterrupt") << M::keyboardInterrupt() << QVariant() << noFunction;
        QTest::newRow("RecursionError") << M::endlessRecursionAfterF() << QVariant(1) << QString();
        QTest::newRow("deletes itself") << M::deletesItselfFromSysModules() << QVariant(5) << QString();
    }

    void createPyObject()
    {
        QFETCH(QByteArray, source);
        QFETCH(QVariant, fAnswer);
        QFETCH(QString, message);
        const QString path = writeFile(folder.filePath(moduleNameOf(QTest::currentDataTag()) + QStringLiteral("_js.py")), source);

        QScriptEngine* scripts = host.scriptEngine();
        scripts->globalObject().setProperty(QStringLiteral("FILE"), path);
        const QScriptValue created = runScript(QStringLiteral("var o = PythonManager.createPyObject(FILE); o"));
        QCOMPARE(created.isValid() && !created.isUndefined(), fAnswer.isValid());
        if (fAnswer.isValid())
            QCOMPARE(runScript(QStringLiteral("o.py.f()")).toVariant(), fAnswer);
        const QStringList errors = recorder.messages(errorAction);
        if (message.isEmpty()) {
            QVERIFY2(errors.isEmpty(), qPrintable(errors.join(QLatin1Char('\n'))));
        } else {
            QCOMPARE(errors.value(0), message.arg(path));
            if (message.startsWith(QStringLiteral("No function")))
                QCOMPARE(errors.value(1), noFunctionHint);
        }
        engine->clearError();
        verifyHostAlive();
    }

    void nonRegularFiles_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("directory") << folder.path();
        QTest::newRow("device") << QStringLiteral("/dev/zero");
        const QString pipe = folder.filePath(QStringLiteral("pipe.py"));
        QTest::newRow("named pipe") << (::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0 ? pipe : QString());
    }

    // Only regular files are read: anything else has no end to read to (or, a pipe without a
    // writer, never opens), and gets the answer of a file that cannot be opened.
    void nonRegularFiles()
    {
        QFETCH(QString, path);
        QVERIFY(!path.isEmpty());
        const Watchdog watchdog(60, "reading a non-regular file");

        QVERIFY(!engine->loadModule(path, false, QStringLiteral("not_regular")));
        QVERIFY(!engine->hasError());
        host.scriptEngine()->globalObject().setProperty(QStringLiteral("FILE"), path);
        QVERIFY(runScript(QStringLiteral("PythonManager.createPyObject(FILE)")).isUndefined());
        QCOMPARE(recorder.messages(errorAction),
                 QStringList{QStringLiteral("The following file does not exist or cannot be open : %1").arg(path)});
        verifyHostAlive();
    }

    // Code that swaps the standard streams takes the output away from the host, or breaks
    // printing, without harming the host; putting the streams back restores the routing.
    void replacedStandardStreams()
    {
        const QString path = writeFile(folder.filePath(QStringLiteral("swaps_streams.py")),
                                       "import sys\n"
                                       "class Sink:\n"
                                       "    def __init__(self):\n"
                                       "        self.texts = []\n"
                                       "    def write(self, text):\n"
                                       "        self.texts.append(text)\n"
                                       "    def flush(self):\n"
                                       "        pass\n"
                                       "saved_out, saved_err = sys.stdout, sys.stderr\n"
                                       "sys.stdout = Sink()\n");
        SCP_PythonModule* swapper = engine->loadModule(path, false, QString());
        QVERIFY(swapper);
        SCP_PythonModule* main = engine->mainModule();

        main->execute(QStringLiteral("print('swallowed')"));
        QCOMPARE(engine->evaluate(QStringLiteral("__import__('sys').stdout.texts[0]")).toString(), QStringLiteral("swallowed"));
        QVERIFY(recorder.messages(outputAction).filter(QStringLiteral("swallowed")).isEmpty());

        swapper->execute(QStringLiteral("sys.stdout = 42"));
        QCOMPARE(main->execute(QStringLiteral("print('broken')")), QVariant());
        QCOMPARE(lastError(), QStringLiteral("AttributeError: 'int' object has no attribute 'write'"));

        // With standard error gone or unusable, the traceback has nowhere to go: the error is
        // still reported, by its last line, and cleared.
        for (const char* stderrValue : {"None", "42", "Sink()"}) {
            recorder.clear();
            swapper->execute(QStringLiteral("sys.stderr = %1").arg(QLatin1String(stderrValue)));
            main->execute(QStringLiteral("1 / 0"));
            QVERIFY(!engine->hasError());
            QCOMPARE(recorder.messages(errorAction), QStringList{QStringLiteral("ZeroDivisionError: division by zero")});
        }

        swapper->execute(QStringLiteral("sys.stdout, sys.stderr = saved_out, saved_err"));
        main->execute(QStringLiteral("print('back')"));
        QVERIFY(recorder.messages(outputAction).contains(QStringLiteral("[PY STDOUT] : back")));
        main->execute(QStringLiteral("1 / 0"));
        QCOMPARE(lastError(), QStringLiteral("ZeroDivisionError: division by zero"));
    }
};

QTEST_MAIN(MalformedInputTest)
#include "tst_malformedinput.moc"
