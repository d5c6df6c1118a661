// The bare console with real key and mouse events, where it differs from the plug-in's editor
// (tests/console) or is all its own: what failing or unusual code shows, deleting over the
// protected output; and the console while code runs: interrupting, input() and sys.stdin, user
// input held back, floods, output of other threads.
// Python.h first: Qt defines "slots" as a macro.
#include <PythonQtPython.h>

#include "PythonQt.h"
#include "PythonQtScriptingConsole.h"
#include "support/ConsoleUser.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCompleter>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStringListModel>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>

#include <memory>

class tst_pythonqt_console : public QObject
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
        fresh->resize(640, 400);
        fresh->show();
        fresh->activateWindow();
        fresh->setFocus();
        return QTest::qWaitForWindowExposed(fresh);
    }

private slots:
    void initTestCase()
    {
        PythonQt::init(PythonQt::RedirectStdOut | PythonQt::IgnoreSiteModule);
        QVERIFY(PythonQt::self()->initSuccessfully());
        PythonQt::self()->startThreads();
        lineEdit->move(0, 40);
        interruptButton->move(0, 80);
        // An action named "interrupt" reaches the console while its code runs.
        interruptButton->setDefaultAction(new QAction("Interrupt", interruptButton));
        interruptButton->defaultAction()->setObjectName("interrupt");
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
    }

    void init() { QVERIFY(show(new PythonQtScriptingConsole(nullptr, PythonQt::self()->getMainModule()))); }

    // Lines submitted after "import sys, io; saved = sys.stdout, sys.stderr": what the last one
    // shows, whether it failed, and that the console goes on with the streams put back.
    void codeShowsItsOutcome_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("failed");
        QTest::newRow("no line feed at the end") << "_ = sys.stdout.write('abc')" << "abc\n>>> " << false;
        QTest::newRow("exit(3)") << "exit(3)" << "SystemExit: 3\n" << true;
        QTest::newRow("bad operator") << "1 +* 2" << "SyntaxError: invalid syntax" << true;
        QTest::newRow("endless recursion") << "def f(): return f()\n\nf()" << "RecursionError: maximum recursion depth exceeded" << true;
        QTest::newRow("recursion in repr") << "class R:\n  def __repr__(self): return repr(self)\n\nR()" << "RecursionError" << true;
        QTest::newRow("lone surrogate in the message") << "raise ValueError('bad \\ud800 text')" << "ValueError" << true;
        QTest::newRow("NUL characters") << "print('a\\x00b')" << QStringLiteral("a%1b").arg(QChar(0)) << false;
        QTest::newRow("a lone surrogate on stdout") << "print('x\\ud800y')" << "x\\ud800y" << false;
        QTest::newRow("a lone surrogate on stderr") << "_ = sys.stderr.write('x\\udfffy\\n')" << "x\\udfffy" << false;
        QTest::newRow("help()") << "help(len)" << "Return the number of items in a container." << false;
        QTest::newRow("a giant line") << "print('x' * 200000)" << "[... 190,000 characters left out ...]" << false;
        QTest::newRow("a giant line in parts") << "_ = [sys.stdout.write('y' * 1000) for _ in range(200)]; print()"
                                               << "[... 190,000 characters left out ...]" << false;
        QTest::newRow("a giant line growing while code runs")
            << "import time\n_ = [(sys.stdout.write('.' * 1000), time.sleep(0.003)) for i in range(150)]; print('\\nnext')"
            << "[... 140,000 characters left out ...]" << false;
        QTest::newRow("a line beyond what output gathers") << "print('z' * 5000000)"
                                                           << "[... 4,990,000 characters left out ...]" << false;
        QTest::newRow("stdout set to None") << "sys.stdout = None\nprint('hidden')" << "" << false;
        QTest::newRow("stdout deleted, a value echoed") << "del sys.stdout\n6 * 7" << "RuntimeError: lost sys.stdout" << true;
        QTest::newRow("stderr deleted, a traceback") << "del sys.stderr\n1/0" << "ZeroDivisionError" << true;
    }

    void codeShowsItsOutcome()
    {
        QFETCH(QString, lines);
        QFETCH(QString, shown);
        user.submit("import sys, io; saved = sys.stdout, sys.stderr");
        user.submit(lines);
        const QString output = user.outputAfter(lines.section('\n', -1));
        QVERIFY2(output.contains(shown), qPrintable(output.left(2000)));
        QVERIFY2(!output.contains("hidden"), qPrintable(output.left(2000)));
        QCOMPARE(user.lastLines(1), ">>> ");
        QTEST(console->hadError(), "failed");
        {
            PythonQtGILScope lock;
            QVERIFY(!PyErr_Occurred());
        }
        for (QTextBlock block = console->document()->begin(); block.isValid(); block = block.next())
            QVERIFY(block.length() < 20000);
        user.submit("sys.stdout, sys.stderr = saved");
        user.submit("print('alive')");
        QCOMPARE(user.lastLines(2), "alive\n>>> ");
        QVERIFY(!console->hadError());
    }

    // A selection made with the mouse or Ctrl+A, then a key: what the selection held of the
    // output stays, and deleting leaves the clipboard alone (the plug-in's editor cuts instead).
    void protectedSelections_data()
    {
        QTest::addColumn<QString>("selection");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QString>("clipboard");
        QTest::newRow("output: Backspace deletes nothing") << "word" << "{Backspace}" << "cmd" << "unchanged";
        QTest::newRow("all: Backspace clears the command") << "{Ctrl+A}" << "{Backspace}" << "" << "unchanged";
        QTest::newRow("dragged: Delete clears the command part") << "drag" << "{Del}" << "d" << "unchanged";
        QTest::newRow("dragged: cut takes the command part") << "drag" << "{Ctrl+X}" << "d" << "cm";
    }

    void protectedSelections()
    {
        QFETCH(QString, selection);
        user.submit("print('protected output')");
        user.press("cmd");
        const QString output = user.text().chopped(7);
        QApplication::clipboard()->setText("unchanged");
        const int word = int(output.lastIndexOf("output"));
        if (selection == "word")
            user.mouse(QTest::MouseDClick, word + 2);
        else if (selection == "drag")
            user.drag(word, int(user.text().size()) - 1);
        else
            user.press(selection);
        QVERIFY(console->textCursor().hasSelection());
        QFETCH(QString, key);
        user.press(key);
        QCOMPARE(user.text(), output + ">>> " + user.commandLine());
        QTEST(user.commandLine(), "commandLine");
        QTEST(QApplication::clipboard()->text(), "clipboard");
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

    // While code runs, clicks and keys wait until it ends, except Ctrl+C and the interrupt
    // control's; a request made when nothing runs is not kept for the next run.
    void userInputWaitsUntilTheRunEnds_data()
    {
        QTest::addColumn<bool>("byButton");
        QTest::newRow("Ctrl+C") << false;
        QTest::newRow("the interrupt tool button") << true;
    }

    void userInputWaitsUntilTheRunEnds()
    {
        QFETCH(bool, byButton);
        QSignalSpy clicked(button, &QPushButton::clicked);
        QObject scope;
        QString shownWhileRunning;
        QTimer::singleShot(300, &scope, [&] {
            shownWhileRunning = user.text();
            QTest::mouseClick(button, Qt::LeftButton);
            QTest::keyClicks(lineEdit, "typed elsewhere");
            user.press("typed into the console\n");
            if (byButton)
                QTest::mouseClick(interruptButton, Qt::LeftButton);
            else
                user.press("{Ctrl+C}");
        });
        user.submitBlock({"if True:", "    print('before the loop')", "    while True: pass"});
        QVERIFY2(shownWhileRunning.endsWith("before the loop"), qPrintable(shownWhileRunning));
        QVERIFY2(user.text().endsWith("KeyboardInterrupt\n>>> "), qPrintable(user.text()));
        QCOMPARE(clicked.count(), 0);
        QCOMPARE(lineEdit->text(), "");
        QCOMPARE(console->history().last(), "    while True: pass");
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
        console->interrupt();
        user.submit("print(sum(range(100000)))");
        QCOMPARE(user.lastLines(2), "4999950000\n>>> ");
    }

    void inputReadsALineTypedIntoTheConsole_data()
    {
        QTest::addColumn<QString>("code");
        // Typed one after the other, a moment apart.
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("shown");
        const QString ask = "s = input('Name: '); print(repr(s))";
        QTest::newRow("a typed line") << ask << QStringList{"Ada\n"} << "Name: Ada\n'Ada'\n>>> ";
        QTest::newRow("Backspace stops at the answer's start") << ask << QStringList{"{Backspace}{Backspace}Adx{Backspace}am\n"} << "Name: Adam\n'Adam'";
        QTest::newRow("Ctrl+D on an empty line") << ask << QStringList{"{Ctrl+D}"} << "EOFError: EOF when reading a line";
        QTest::newRow("Ctrl+C") << ask << QStringList{"ab{Ctrl+C}"} << "KeyboardInterrupt";
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

    // Tab offers the names that complete the word in name order, a builtin the program shadows
    // once.
    void tabOffersTheNamesOnceInOrder()
    {
        user.submit("lenient = 1; len = 2");
        user.press("len\t");
        QAbstractItemView* popup = console->getCompleter()->popup();
        QTRY_VERIFY(popup->isVisible());
        QCOMPARE(qobject_cast<QStringListModel*>(console->getCompleter()->model())->stringList(),
                 (QStringList{"len", "lenient"}));
        ConsoleUser::press(popup, "{Esc}");
        user.submit("{Ctrl+A}{Del}del lenient, len");
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

    // A thread's flood while the console waits for a command keeps the scrollback's bound, the
    // latest lines in order and the line being typed.
    void threadFloodWhileWaitingKeepsTheBound()
    {
        console->setMaximumOutputLines(50);
        user.submit("import threading");
        user.submit("threading.Thread(target=lambda: [print('row', i) for i in range(500)]).start()");
        user.press("typed");
        QTRY_VERIFY2(user.text().endsWith("row 499\n>>> typed"), qPrintable(user.text().right(200)));
        QStringList lines = user.text().split('\n');
        QVERIFY(lines.size() <= 50);
        QVERIFY(lines.size() >= 45);
        QCOMPARE(lines.takeLast(), ">>> typed");
        for (qsizetype i = 0; i < lines.size(); ++i)
            QCOMPARE(lines.at(i), QString("row %1").arg(500 - lines.size() + i));
    }
};

QTEST_MAIN(tst_pythonqt_console)
#include "tst_pythonqt_console.moc"
