// Running code at the bare console with real key events: the hooks around a run and their
// order, one-piece execution, colours, and code that fails or writes unusual output.
// Python.h first: Qt defines "slots" as a macro.
#include <PythonQtPython.h>

#include "PythonQt.h"
#include "PythonQtScriptingConsole.h"
#include "support/ConsoleUser.h"

#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include <memory>

namespace {

// Records the hooks the console calls, each with what decides the call's outcome. Gathering, a
// block goes on while Return is pressed and runs, in one piece, on Shift+Return.
class RecordingConsole : public PythonQtScriptingConsole
{
public:
    RecordingConsole(int startSymbol, bool gathering)
        : PythonQtScriptingConsole(nullptr, PythonQt::self()->getMainModule()),
          m_startSymbol(startSymbol),
          m_gathering(gathering)
    {
    }

    QStringList calls;
    QString executedCode;

    bool needsMoreInput(const QString& line, const QString& code, bool more) override
    {
        calls << QStringLiteral("needsMoreInput(%1)").arg(line);
        return m_gathering ? more : PythonQtScriptingConsole::needsMoreInput(line, code, more);
    }
    void pushOutputRedirect() override
    {
        calls << QStringLiteral("pushOutputRedirect");
        PythonQtScriptingConsole::pushOutputRedirect();
    }
    int willExecuteCode(const QString& code) override
    {
        calls << QStringLiteral("willExecuteCode");
        executedCode += code;
        return m_startSymbol;
    }
    void stdOut(const QString& text) override
    {
        calls << QStringLiteral("stdOut(%1)").arg(text);
        PythonQtScriptingConsole::stdOut(text);
    }
    void didExecuteCode(const QString&) override { calls << QStringLiteral("didExecuteCode"); }
    void popOutputRedirect() override
    {
        calls << QStringLiteral("popOutputRedirect");
        PythonQtScriptingConsole::popOutputRedirect();
    }
    void appendCommandPrompt(bool continuation) override
    {
        calls << QStringLiteral("appendCommandPrompt(%1)").arg(continuation);
        PythonQtScriptingConsole::appendCommandPrompt(continuation);
    }
    void didExecuteLine(const QString&, const QString&, bool continued) override
    {
        calls << QStringLiteral("didExecuteLine(%1) after '%2'").arg(continued).arg(document()->lastBlock().text());
    }

private:
    int m_startSymbol;
    bool m_gathering;
};

// Gives each kind of text a colour of its own.
class ColouredConsole : public PythonQtScriptingConsole
{
public:
    ColouredConsole()
        : PythonQtScriptingConsole(nullptr, PythonQt::self()->getMainModule())
    {
        clear(); // the base's first prompt was shown before the colours were this class's
    }

    bool outputColor(QColor& color) override { return (color = Qt::darkGreen), true; }
    bool errorColor(QColor& color) override { return (color = Qt::red), true; }
    bool commandColor(QColor& color) override { return (color = Qt::blue), true; }
};

QColor colourOf(const QTextDocument* document, const QString& text)
{
    const QTextCursor found = document->find(text, document->characterCount(), QTextDocument::FindBackward);
    if (found.isNull())
        return QColor();
    QTextCursor at(const_cast<QTextDocument*>(document));
    at.setPosition(found.selectionStart() + 1);
    return at.charFormat().foreground().color();
}

} // namespace

class TestPythonQtConsoleRun : public QObject
{
    Q_OBJECT

private:
    template <typename Console, typename... Arguments>
    Console* showConsole(Arguments... arguments)
    {
        auto* console = new Console(arguments...);
        m_console.reset(console);
        m_user = std::make_unique<ConsoleUser>(console);
        return m_user->show() ? console : nullptr;
    }
    // The plain console, shown fresh for each test.
    PythonQtScriptingConsole* plainConsole() { return showConsole<PythonQtScriptingConsole>(nullptr, PythonQt::self()->getMainModule()); }
    QString text() const { return m_console->toPlainText(); }
    void expectAliveAfterError()
    {
        QVERIFY(m_console->hadError());
        m_user->submit(QStringLiteral("print('alive')"));
        QCOMPARE(m_user->lastLines(2), QStringLiteral("alive\n>>> "));
        QVERIFY(!m_console->hadError());
    }

    std::unique_ptr<PythonQtScriptingConsole> m_console;
    std::unique_ptr<ConsoleUser> m_user;

private slots:
    void initTestCase() { QVERIFY(ConsoleUser::startInterpreter()); }
    void cleanup()
    {
        m_user.reset();
        m_console.reset();
    }

    void hooksRunInOrder_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("calls");
        const QStringList run{"pushOutputRedirect", "willExecuteCode"};
        const QStringList ran{"didExecuteCode", "popOutputRedirect", "appendCommandPrompt(0)", "didExecuteLine(0) after '>>> '"};
        QTest::newRow("one line") << QStringList{"print(1)"}
                                  << QStringList{"needsMoreInput(print(1))"} + run + QStringList{"stdOut(1)", "stdOut(\n)"} + ran;
        QTest::newRow("a block") << QStringList{"if True:", "  x = 1", ""}
                                 << QStringList{"needsMoreInput(if True:)", "appendCommandPrompt(1)", "didExecuteLine(1) after '... '",
                                                "needsMoreInput(  x = 1)", "appendCommandPrompt(1)", "didExecuteLine(1) after '... '",
                                                "needsMoreInput()"} + run + ran;
        QTest::newRow("nothing to run") << QStringList{"  # a comment"}
                                        << QStringList{"needsMoreInput(  # a comment)", "appendCommandPrompt(0)", "didExecuteLine(0) after '>>> '"};
    }

    void hooksRunInOrder()
    {
        QFETCH(QStringList, lines);
        RecordingConsole* console = showConsole<RecordingConsole>(int(Py_single_input), false);
        QVERIFY(console);
        console->calls.clear();
        for (const QString& line : lines)
            m_user->submit(line);
        QTEST(console->calls, "calls");
    }

    void gatheredLinesRunInOnePiece_data()
    {
        QTest::addColumn<int>("startSymbol");
        QTest::addColumn<QString>("output");
        QTest::newRow("a sequence of statements") << int(Py_file_input) << "1 2\n>>> ";
        QTest::newRow("one interactive statement") << int(Py_single_input) << "SyntaxError: multiple statements found";
    }

    void gatheredLinesRunInOnePiece()
    {
        QFETCH(int, startSymbol);
        QFETCH(QString, output);
        RecordingConsole* console = showConsole<RecordingConsole>(startSymbol, true);
        QVERIFY(console);
        m_user->submit(QStringLiteral("x = 1"));
        m_user->submit(QStringLiteral("y = x + 1"));
        m_user->submit(QStringLiteral("print(x, y)"), true);
        QCOMPARE(console->executedCode, QStringLiteral("x = 1\ny = x + 1\nprint(x, y)\n"));
        QCOMPARE(console->calls.count(QStringLiteral("willExecuteCode")), 1);
        QVERIFY2(text().contains(output), qPrintable(text()));
    }

    void eachKindOfTextHasItsColour_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("output") << "print('printed text')" << "printed text" << QColor(Qt::darkGreen);
        QTest::newRow("traceback") << "1/0" << "ZeroDivisionError" << QColor(Qt::red);
        QTest::newRow("written to stderr") << "import sys; _ = sys.stderr.write('warned\\n')" << "warned" << QColor(Qt::red);
        QTest::newRow("command") << "x = 'typed command'" << "typed command" << QColor(Qt::blue);
    }

    void eachKindOfTextHasItsColour()
    {
        QFETCH(QString, code);
        QFETCH(QString, shown);
        QVERIFY(showConsole<ColouredConsole>());
        m_user->submit(code);
        QTEST(colourOf(m_console->document(), shown), "colour");
        QCOMPARE(colourOf(m_console->document(), QStringLiteral(">>> ")), QColor(Qt::blue));
    }

    void systemExitIsReported_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("exit()") << "exit()" << "SystemExit: None";
        QTest::newRow("quit()") << "quit()" << "SystemExit: None";
        QTest::newRow("exit(3)") << "exit(3)" << "SystemExit: 3";
        QTest::newRow("sys.exit with text") << "import sys; sys.exit('bye')" << "SystemExit: bye";
        QTest::newRow("raise SystemExit") << "raise SystemExit(0)" << "SystemExit: 0";
    }

    void systemExitIsReported()
    {
        QFETCH(QString, code);
        QFETCH(QString, message);
        QVERIFY(plainConsole());
        m_user->submit(code);
        QVERIFY2(text().contains(message + QLatin1Char('\n')), qPrintable(text()));
        expectAliveAfterError();
    }

    void failingCodeIsReported_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("message");
        QTest::newRow("bad operator") << QStringList{"1 +* 2"} << "SyntaxError: invalid syntax";
        QTest::newRow("bad definition") << QStringList{"def ("} << "SyntaxError";
        // The wording is 3.10's; 3.9 names the same error differently.
        QTest::newRow("unterminated string") << QStringList{"print('open"}
                                             << (PY_VERSION_HEX >= 0x030A0000 ? "SyntaxError: unterminated string literal"
                                                                              : "SyntaxError: EOL while scanning string literal");
        QTest::newRow("unexpected indent") << QStringList{"  x = 1"} << "IndentationError: unexpected indent";
        QTest::newRow("unknown name") << QStringList{"no_such_name"} << "NameError: name 'no_such_name' is not defined";
        QTest::newRow("endless recursion") << QStringList{"def f(): return f()", "", "f()"} << "RecursionError: maximum recursion depth exceeded";
        QTest::newRow("recursion in repr") << QStringList{"l = []; l.append(l); d = {}", "class R:", "  def __repr__(self): return repr(self)", "", "R()"}
                                           << "RecursionError";
        QTest::newRow("lone surrogate in the message") << QStringList{"raise ValueError('bad \\ud800 text')"} << "ValueError";
    }

    void failingCodeIsReported()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, message);
        QVERIFY(plainConsole());
        for (const QString& line : lines)
            m_user->submit(line);
        QVERIFY2(text().contains(message), qPrintable(text()));
        QVERIFY(!ConsoleUser::pythonErrorPending());
        expectAliveAfterError();
    }

    void unusualOutputIsShown_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("shown");
        QTest::newRow("NUL characters") << "print('a\\x00b')" << QStringLiteral("a%1b").arg(QChar(0));
        QTest::newRow("a lone surrogate on stdout") << "print('x\\ud800y')" << "x\\ud800y";
        QTest::newRow("a lone surrogate on stderr") << "import sys; _ = sys.stderr.write('x\\udfffy\\n')" << "x\\udfffy";
        QTest::newRow("help()") << "help(len)" << "Return the number of items in a container.";
        QTest::newRow("a giant line") << "print('x' * 200000)" << "[... 190,000 characters left out ...]";
    }

    void unusualOutputIsShown()
    {
        QFETCH(QString, code);
        QFETCH(QString, shown);
        QVERIFY(plainConsole());
        m_user->submit(code);
        const QString output = text().mid(text().indexOf(code) + code.size());
        QVERIFY2(output.contains(shown), qPrintable(output.left(2000)));
        QCOMPARE(m_user->lastLines(1), QStringLiteral(">>> "));
        for (QTextBlock block = m_console->document()->begin(); block.isValid(); block = block.next())
            QVERIFY(block.length() < 20000);
    }

    void floodKeepsTheLatestLinesInOrder()
    {
        QVERIFY(plainConsole());
        m_console->setMaximumOutputLines(1500);
        m_user->submitBlock({QStringLiteral("for i in range(200000): print(i)")});
        QStringList lines = text().split(QLatin1Char('\n'));
        QVERIFY(lines.size() <= 1500);
        QCOMPARE(lines.takeLast(), QStringLiteral(">>> "));
        QVERIFY(lines.size() >= 1000);
        for (qsizetype i = 0; i < lines.size(); ++i)
            QCOMPARE(lines.at(i), QString::number(200000 - lines.size() + i));
    }

    void replacedStreamsNeverBreakTheConsole_data()
    {
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("shown");
        QTest::newRow("stdout into a string") << "sys.stdout = io.StringIO()" << "print('hidden')" << "";
        QTest::newRow("stdout set to None") << "sys.stdout = None" << "print('hidden')" << "";
        QTest::newRow("stdout deleted") << "del sys.stdout" << "print('hidden')" << "RuntimeError: lost sys.stdout";
        QTest::newRow("stdout deleted, a value echoed") << "del sys.stdout" << "6 * 7" << "RuntimeError: lost sys.stdout";
        QTest::newRow("stderr deleted, a traceback") << "del sys.stderr" << "1/0" << "ZeroDivisionError";
        QTest::newRow("stderr into a string, a traceback") << "sys.stderr = io.StringIO()" << "1/0" << "ZeroDivisionError";
    }

    void replacedStreamsNeverBreakTheConsole()
    {
        QFETCH(QString, replacement);
        QFETCH(QString, code);
        QFETCH(QString, shown);
        QVERIFY(plainConsole());
        m_user->submit(QStringLiteral("import sys, io; saved = sys.stdout, sys.stderr"));
        m_user->submit(replacement);
        m_user->submit(code);
        const QString output = text().mid(text().lastIndexOf(code) + code.size());
        QCOMPARE(output.contains(QStringLiteral("hidden")), false);
        QVERIFY2(output.contains(shown), qPrintable(output));
        m_user->submit(QStringLiteral("sys.stdout, sys.stderr = saved"));
        m_user->submit(QStringLiteral("print('alive')"));
        QCOMPARE(m_user->lastLines(2), QStringLiteral("alive\n>>> "));
    }
};

QTEST_MAIN(TestPythonQtConsoleRun)
#include "tst_pythonqt_console_run.moc"
