// Running code at the bare console with real key events: the hooks around a run, one-piece
// execution, colours, what failing or unusual code shows; and the console while code runs:
// interrupting, input() and sys.stdin, user input held back, output of other threads.
// Python.h first: Qt defines "slots" as a macro.
#include <PythonQtPython.h>

#include "PythonQt.h"
#include "PythonQtScriptingConsole.h"
#include "support/ConsoleUser.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>

#include <memory>

namespace {

// Records the hooks the console calls, each with what decides the call's outcome, and gives each
// kind of text a colour of its own. Gathering, a block goes on while Return is pressed and runs,
// in one piece, on Shift+Return.
class RecordingConsole : public PythonQtScriptingConsole
{
public:
    RecordingConsole(int startSymbol, bool gathering)
        : PythonQtScriptingConsole(nullptr, PythonQt::self()->getMainModule()), startSymbol(startSymbol), gathering(gathering)
    {
        clear(); // the base's first prompt was shown before the colours were this class's
        calls.clear();
    }

    QStringList calls;
    QString executedCode;

    bool needsMoreInput(const QString& line, const QString& code, bool more) override
    {
        calls << "needsMoreInput(" + line + ')';
        return gathering ? more : PythonQtScriptingConsole::needsMoreInput(line, code, more);
    }
    void pushOutputRedirect() override { calls << "pushOutputRedirect"; PythonQtScriptingConsole::pushOutputRedirect(); }
    int willExecuteCode(const QString& code) override { calls << "willExecuteCode"; executedCode += code; return startSymbol; }
    void stdOut(const QString& text) override { calls << "stdOut(" + text + ')'; PythonQtScriptingConsole::stdOut(text); }
    void didExecuteCode(const QString&) override { calls << "didExecuteCode"; }
    void popOutputRedirect() override { calls << "popOutputRedirect"; PythonQtScriptingConsole::popOutputRedirect(); }
    void appendCommandPrompt(bool continuation) override
    {
        calls << QStringLiteral("appendCommandPrompt(%1)").arg(continuation);
        PythonQtScriptingConsole::appendCommandPrompt(continuation);
    }
    void didExecuteLine(const QString&, const QString&, bool continued) override
    {
        calls << QStringLiteral("didExecuteLine(%1) after '%2'").arg(continued).arg(document()->lastBlock().text());
    }
    bool outputColor(QColor& color) override { return (color = Qt::darkGreen), true; }
    bool errorColor(QColor& color) override { return (color = Qt::red), true; }
    bool commandColor(QColor& color) override { return (color = Qt::blue), true; }

private:
    int startSymbol;
    bool gathering;
};

} // namespace

class tst_pythonqt_consolerun : public QObject
{
    Q_OBJECT

    std::unique_ptr<PythonQtScriptingConsole> console;
    ConsoleUser user;
    // Another window of the application, with an interrupt control.
    QWidget other;
    QPushButton* button = new QPushButton("Other", &other);
    QLineEdit* lineEdit = new QLineEdit(&other);
    QToolButton* interruptButton = new QToolButton(&other);

    // Shows a fresh console with the focus; the interrupt control reaches it.
    bool show(PythonQtScriptingConsole* fresh)
    {
        console.reset(fresh);
        user = ConsoleUser(fresh);
        connect(interruptButton->defaultAction(), &QAction::triggered, fresh, &PythonQtScriptingConsole::interrupt);
        return user.show();
    }

    QColor colourOf(const QString& text) const
    {
        QTextCursor found = console->document()->find(text, console->document()->characterCount(), QTextDocument::FindBackward);
        if (found.isNull())
            return QColor();
        found.setPosition(found.selectionStart() + 1);
        return found.charFormat().foreground().color();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(ConsoleUser::startInterpreter());
        lineEdit->move(0, 40);
        interruptButton->move(0, 80);
        // An action named "interrupt" reaches the console while its code runs.
        interruptButton->setDefaultAction(new QAction("Interrupt", interruptButton));
        interruptButton->defaultAction()->setObjectName("interrupt");
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
    }

    void init() { QVERIFY(show(new PythonQtScriptingConsole(nullptr, PythonQt::self()->getMainModule()))); }

    void hooksRunInOrder_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("calls");
        const QStringList run{"pushOutputRedirect", "willExecuteCode"};
        const QStringList ran{"didExecuteCode", "popOutputRedirect", "appendCommandPrompt(0)", "didExecuteLine(0) after '>>> '"};
        const QStringList moreAsked{"appendCommandPrompt(1)", "didExecuteLine(1) after '... '"};
        QTest::newRow("one line") << "print(1)\n" << QStringList{"needsMoreInput(print(1))"} + run + QStringList{"stdOut(1)", "stdOut(\n)"} + ran;
        QTest::newRow("a block") << "if True:\n  x = 1\n\n"
                                 << QStringList{"needsMoreInput(if True:)"} + moreAsked + QStringList{"needsMoreInput(  x = 1)"} + moreAsked
                                        + QStringList{"needsMoreInput()"} + run + ran;
        QTest::newRow("nothing to run") << "  # a comment\n" << QStringList{"needsMoreInput(  # a comment)"} + ran.mid(2);
    }

    void hooksRunInOrder()
    {
        auto* recording = new RecordingConsole(Py_single_input, false);
        QVERIFY(show(recording));
        QFETCH(QString, keys);
        user.press(keys);
        QTEST(recording->calls, "calls");
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
        auto* recording = new RecordingConsole(startSymbol, true);
        QVERIFY(show(recording));
        user.press("x = 1\ny = x + 1\nprint(x, y){Shift+Return}");
        QCOMPARE(recording->executedCode, "x = 1\ny = x + 1\nprint(x, y)\n");
        QCOMPARE(recording->calls.count("willExecuteCode"), 1);
        QFETCH(QString, output);
        QVERIFY2(user.text().contains(output), qPrintable(user.text()));
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
        QVERIFY(show(new RecordingConsole(Py_single_input, false)));
        QFETCH(QString, code);
        user.submit(code);
        QFETCH(QString, shown);
        QTEST(colourOf(shown), "colour");
        QCOMPARE(colourOf(">>> "), QColor(Qt::blue));
    }

    // Lines submitted after "import sys, io; saved = sys.stdout, sys.stderr": what the last one
    // shows, whether it failed, and that the console goes on with the streams put back.
    void codeShowsItsOutcome_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("failed");
        QTest::newRow("exit()") << "exit()" << "SystemExit: None\n" << true;
        QTest::newRow("quit()") << "quit()" << "SystemExit: None\n" << true;
        QTest::newRow("exit(3)") << "exit(3)" << "SystemExit: 3\n" << true;
        QTest::newRow("sys.exit with text") << "sys.exit('bye')" << "SystemExit: bye\n" << true;
        QTest::newRow("raise SystemExit") << "raise SystemExit(0)" << "SystemExit: 0\n" << true;
        QTest::newRow("bad operator") << "1 +* 2" << "SyntaxError: invalid syntax" << true;
        QTest::newRow("bad definition") << "def (" << "SyntaxError" << true;
        // The wording is 3.10's; 3.9 names the same error differently.
        QTest::newRow("unterminated string") << "print('open" << (PY_VERSION_HEX >= 0x030A0000 ? "SyntaxError: unterminated string literal"
                                                                                          : "SyntaxError: EOL while scanning string literal") << true;
        QTest::newRow("unexpected indent") << "  x = 1" << "IndentationError: unexpected indent" << true;
        QTest::newRow("unknown name") << "no_such_name" << "NameError: name 'no_such_name' is not defined" << true;
        QTest::newRow("endless recursion") << "def f(): return f()\n\nf()" << "RecursionError: maximum recursion depth exceeded" << true;
        QTest::newRow("recursion in repr") << "class R:\n  def __repr__(self): return repr(self)\n\nR()" << "RecursionError" << true;
        QTest::newRow("lone surrogate in the message") << "raise ValueError('bad \\ud800 text')" << "ValueError" << true;
        QTest::newRow("NUL characters") << "print('a\\x00b')" << QStringLiteral("a%1b").arg(QChar(0)) << false;
        QTest::newRow("a lone surrogate on stdout") << "print('x\\ud800y')" << "x\\ud800y" << false;
        QTest::newRow("a lone surrogate on stderr") << "_ = sys.stderr.write('x\\udfffy\\n')" << "x\\udfffy" << false;
        QTest::newRow("help()") << "help(len)" << "Return the number of items in a container." << false;
        QTest::newRow("a giant line") << "print('x' * 200000)" << "[... 190,000 characters left out ...]" << false;
        QTest::newRow("stdout into a string") << "sys.stdout = io.StringIO()\nprint('hidden')" << "" << false;
        QTest::newRow("stdout set to None") << "sys.stdout = None\nprint('hidden')" << "" << false;
        QTest::newRow("stdout deleted") << "del sys.stdout\nprint('hidden')" << "RuntimeError: lost sys.stdout" << true;
        QTest::newRow("stdout deleted, a value echoed") << "del sys.stdout\n6 * 7" << "RuntimeError: lost sys.stdout" << true;
        QTest::newRow("stderr deleted, a traceback") << "del sys.stderr\n1/0" << "ZeroDivisionError" << true;
        QTest::newRow("stderr into a string, a traceback") << "sys.stderr = io.StringIO()\n1/0" << "ZeroDivisionError" << true;
    }

    void codeShowsItsOutcome()
    {
        QFETCH(QString, lines);
        QFETCH(QString, shown);
        user.submit("import sys, io; saved = sys.stdout, sys.stderr");
        user.submit(lines);
        const QString output = user.outputAfter(lines.section('\n', -1));
        QVERIFY2(output.contains(shown) && !output.contains("hidden"), qPrintable(output.left(2000)));
        QCOMPARE(user.lastLines(1), ">>> ");
        QTEST(console->hadError(), "failed");
        QVERIFY(!ConsoleUser::pythonErrorPending());
        for (QTextBlock block = console->document()->begin(); block.isValid(); block = block.next())
            QVERIFY(block.length() < 20000);
        user.submit("sys.stdout, sys.stderr = saved");
        user.submit("print('alive')");
        QCOMPARE(user.lastLines(2), "alive\n>>> ");
        QVERIFY(!console->hadError());
    }

    void floodKeepsTheLatestLinesInOrder()
    {
        console->setMaximumOutputLines(1500);
        user.submitBlock({"for i in range(200000): print(i)"});
        QStringList lines = user.text().split('\n');
        QVERIFY(lines.size() <= 1500);
        QCOMPARE(lines.takeLast(), ">>> ");
        QVERIFY(lines.size() >= 1000);
        for (qsizetype i = 0; i < lines.size(); ++i)
            QCOMPARE(lines.at(i), QString::number(200000 - lines.size() + i));
    }

    void endlessLoopIsInterrupted_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Ctrl+C") << "{Ctrl+C}";
        QTest::newRow("interrupt() from a timer") << "interrupt()";
        QTest::newRow("the interrupt tool button") << "button";
    }

    void endlessLoopIsInterrupted()
    {
        QFETCH(QString, how);
        QObject scope;
        QTimer::singleShot(150, &scope, [&] {
            QVERIFY(console->isExecuting());
            if (how == "button")
                QTest::mouseClick(interruptButton, Qt::LeftButton);
            else if (how == "interrupt()")
                console->interrupt();
            else
                user.press(how);
        });
        user.submitBlock({"while True:", "    pass"});
        QVERIFY2(user.text().contains("KeyboardInterrupt"), qPrintable(user.text()));
        QCOMPARE(user.lastLines(1), ">>> ");
        QVERIFY(!console->isExecuting());
        // A request made when nothing runs is not kept for the next run.
        console->interrupt();
        user.submit("print(sum(range(100000)))");
        QCOMPARE(user.lastLines(2), "4999950000\n>>> ");
    }

    void userInputWaitsUntilTheRunEnds()
    {
        QSignalSpy clicked(button, &QPushButton::clicked);
        QObject scope;
        QString shownWhileRunning;
        QTimer::singleShot(300, &scope, [&] {
            shownWhileRunning = user.text();
            QTest::mouseClick(button, Qt::LeftButton);
            QTest::keyClicks(lineEdit, "typed elsewhere");
            user.press("typed into the console\n");
            console->interrupt();
        });
        user.submitBlock({"if True:", "    print('before the loop')", "    while True: pass"});
        QVERIFY2(shownWhileRunning.endsWith("before the loop"), qPrintable(shownWhileRunning));
        QCOMPARE(clicked.count(), 0);
        QCOMPARE(lineEdit->text(), "");
        QCOMPARE(user.commandLine(), "");
        QCOMPARE(console->history().last(), "    while True: pass");
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
    }

    void inputReadsALineTypedIntoTheConsole_data()
    {
        QTest::addColumn<QString>("code");
        // Typed one after the other, a moment apart.
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("shown");
        const QString ask = "s = input('Name: '); print(repr(s))";
        const QString readLine = "import sys; print(repr(sys.stdin.readline()))";
        QTest::newRow("a typed line") << ask << QStringList{"Ada\n"} << "Name: Ada\n'Ada'\n>>> ";
        QTest::newRow("Backspace edits the answer") << ask << QStringList{"Adx{Backspace}am\n"} << "'Adam'";
        QTest::newRow("Backspace stops at the answer's start") << ask << QStringList{"{Backspace}{Backspace}{Backspace}ok\n"} << "Name: ok\n'ok'";
        QTest::newRow("an empty line") << ask << QStringList{"\n"} << "''";
        QTest::newRow("Ctrl+D after text does nothing") << ask << QStringList{"ab{Ctrl+D}\n"} << "'ab'";
        QTest::newRow("Ctrl+D on an empty line") << ask << QStringList{"{Ctrl+D}"} << "EOFError: EOF when reading a line";
        QTest::newRow("Ctrl+C") << ask << QStringList{"ab{Ctrl+C}"} << "KeyboardInterrupt";
        QTest::newRow("sys.stdin.readline()") << readLine << QStringList{"abc\n"} << "'abc\\n'";
        QTest::newRow("readline at end of input") << readLine << QStringList{"{Ctrl+D}"} << "''";
        QTest::newRow("two lines") << "print(input() + input())" << QStringList{"a\n", "b\n"} << "ab\n>>> ";
        QTest::newRow("iterating over stdin") << "import sys; print([l for l in sys.stdin])" << QStringList{"x\n", "y\n", "{Ctrl+D}"}
                                              << "['x\\n', 'y\\n']";
    }

    void inputReadsALineTypedIntoTheConsole()
    {
        QFETCH(QString, code);
        QFETCH(QStringList, answers);
        QObject scope;
        for (int i = 0; i < answers.size(); ++i) {
            QTimer::singleShot(100 + 150 * i, &scope, [this, answer = answers.at(i)] {
                QVERIFY(console->isExecuting());
                user.press(answer);
            });
        }
        QTimer::singleShot(10000, &scope, [this] { console->interrupt(); }); // never waits for ever
        user.submit(code);
        QFETCH(QString, shown);
        QVERIFY2(user.outputAfter(code).contains(shown), qPrintable(user.outputAfter(code)));
        QCOMPARE(user.lastLines(1), ">>> ");
        QVERIFY(!console->history().contains("Ada"));
        user.submit("print('next')");
        QCOMPARE(user.lastLines(2), "next\n>>> ");
    }

    // A thread the code started prints while the run goes on and after it has ended, with a
    // line written in pieces; all of it goes above what the user is typing.
    void threadOutputGoesAboveTheCommandLine()
    {
        user.submit("import threading, time, sys");
        user.submitBlock({"def late(): [print('line', i) for i in range(300)]; time.sleep(0.2); sys.stdout.write('a'); sys.stdout.write('b\\n')"});
        user.submit("threading.Thread(target=late).start()");
        user.press("typed");
        QTRY_VERIFY2(user.text().endsWith("\nline 299\nab\n>>> typed"), qPrintable(user.text().right(200)));
        QCOMPARE(user.outputAfter("threading.Thread(target=late).start()").count("line "), 300);
        QCOMPARE(user.commandLine(), "typed");
    }
};

QTEST_MAIN(tst_pythonqt_consolerun)
#include "tst_pythonqt_consolerun.moc"
