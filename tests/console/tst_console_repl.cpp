// The console as a Python user expects an interactive interpreter to behave, driven with real
// keys: errors of invalid code at once, the interactive set-up, text streams, stdin, and what
// is typed or pasted while code runs.
#include "support/ConsoleTestCase.h"

#include <QApplication>
#include <QClipboard>
#include <QTimer>

class tst_console_repl : public ConsoleTestCase
{
    Q_OBJECT

    // Runs code that keeps Python busy for a while, pressing keys once it is under way.
    void pressWhileBusy(const QString& keys, const QString& code)
    {
        QObject scope;
        QTimer::singleShot(150, &scope, [&] {
            QVERIFY(edit->isExecuting());
            user.press(keys);
        });
        QTimer::singleShot(10000, &scope, [this] { edit->interrupt(); }); // never waits for ever
        user.submit(code);
    }

private slots:
    void initTestCase()
    {
        openConsole();
        user.submit("import sys, time");
        user.submitBlock({"def busy(seconds=0.6):", "end = time.time() + seconds", "while time.time() < end: pass"});
    }

    void init()
    {
        emptyConsole();
        edit->clearError();
    }

    // The user's namespace holds what the host binds and what the user made, nothing of the
    // console's own.
    void mainHoldsNoHelperOfTheConsole()
    {
        user.submit("print(sorted(n for n in dir() if not n.startswith('__')))");
        QCOMPARE(user.lastLines(2), "['busy', 'js', 'sys', 'time']\n>>> ");
    }

    // Lines typed one after the other (auto-indentation adds to them): an error that no further
    // line could mend shows at once, and the next line is a fresh statement.
    void invalidCodeShowsItsErrorAtOnce_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("error");
        QTest::newRow("a keyword as a name") << "def None(x):\n" << "SyntaxError: invalid syntax";
        QTest::newRow("an indented first line") << "  x = 1\n" << "IndentationError: unexpected indent";
        QTest::newRow("an invalid line in a block") << "for i in range(2):\n1 +* 2\n" << "SyntaxError: invalid syntax";
        QTest::newRow("an invalid line deeper in a block") << "if True:\nx = 1\nfor i in range(2):\n1 +* 2\n"
                                                            << "SyntaxError: invalid syntax";
        QTest::newRow("an unmatched bracket") << "x = (1, 2))\n" << "SyntaxError: unmatched ')'";
    }

    void invalidCodeShowsItsErrorAtOnce()
    {
        QFETCH(QString, lines);
        QFETCH(QString, error);
        user.press(lines);
        QVERIFY2(user.text().contains(error), qPrintable(user.text()));
        QCOMPARE(edit->getCommandPrompt(), PythonScriptConsoleTextEdit::primaryPrompt);
        QVERIFY(edit->hadError());
        user.submit("print('next')");
        QCOMPARE(user.lastLines(2), "next\n>>> ");
    }

    // Pasted statements run as one piece, as a file would: an error further down stops all.
    void aPasteWithAnErrorRunsNothingOfIt()
    {
        QApplication::clipboard()->setText("pasted1 = 1\npasted2 = 2 +* 3\npasted3 = 3\n");
        user.press("{Ctrl+V}");
        QVERIFY2(user.text().contains("SyntaxError: invalid syntax"), qPrintable(user.text()));
        user.submit("print('pasted1' in dir(), 'pasted3' in dir())");
        QCOMPARE(user.lastLines(2), "False False\n>>> ");
    }

    // What a statement of an interactive session shows.
    void interactiveSession_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("shown");
        QTest::newRow("the prompts") << "print(sys.ps1 + sys.ps2)" << ">>> ... \n";
        QTest::newRow("frozen modules have their file") << "import os; print(os.path.basename(os.__file__))" << "os.py\n";
        QTest::newRow("help on a frozen module") << "import os; help(os)" << "MODULE REFERENCE";
        QTest::newRow("copyright") << "copyright" << "Python Software Foundation";
        QTest::newRow("credits") << "credits" << "Thanks to CWI";
        QTest::newRow("license") << "print(type(license).__name__)" << "_Printer\n";
        QTest::newRow("exit") << "exit" << "Use exit() or Ctrl-D (i.e. EOF) to exit";
        QTest::newRow("text streams") << "import io; print([isinstance(s, io.TextIOBase) for s in (sys.stdout, sys.stderr, sys.stdin)])"
                                      << "[True, True, True]\n";
        QTest::newRow("no terminal") << "print(sys.stdout.isatty(), sys.stderr.isatty(), sys.stdin.isatty())" << "False False False\n";
        QTest::newRow("encodings") << "print(sys.stdout.encoding, sys.stderr.errors)" << "utf-8 backslashreplace\n";
        QTest::newRow("writable") << "print(sys.stdout.writable(), sys.stdout.readable(), sys.stdin.readable())" << "True False True\n";
        QTest::newRow("writelines") << "sys.stdout.writelines(['a', 'b\\n'])" << "ab\n";
        QTest::newRow("bytes through the buffer, split inside a character")
            << "b = '\\xe9!\\n'.encode(); _ = sys.stdout.buffer.write(b[:1]); _ = sys.stdout.buffer.write(b[1:])" << QStringLiteral("\u00e9!\n");
        QTest::newRow("the process's stderr descriptor") << "print(sys.stderr.fileno())" << "2\n";
        QTest::newRow("faulthandler") << "import faulthandler; faulthandler.enable(); print(faulthandler.is_enabled()); faulthandler.disable()"
                                      << "True\n";
        QTest::newRow("stdin has no descriptor") << "sys.stdin.fileno()" << "UnsupportedOperation";
    }

    void interactiveSession()
    {
        QFETCH(QString, line);
        user.submit(line);
        QFETCH(QString, shown);
        QVERIFY2(user.outputAfter(line).contains(shown), qPrintable(user.outputAfter(line).left(2000)));
    }

    // Output as a terminal shows it: a carriage return rewrites the line, over what is there.
    void carriageReturnsRewriteTheLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("shown");
        QTest::newRow("a progress counter") << "for i in range(101): print(f'\\rprogress {i}%', end='')" << "progress 100%\n>>> ";
        QTest::newRow("a shorter text over a longer") << "print('abcdef\\rXY')" << "XYcdef\n>>> ";
        QTest::newRow("over two writes") << "print('abc', end='\\r'); print('de')" << "dec\n>>> ";
        QTest::newRow("a Windows line break") << "print('a\\r\\nb')" << "a\nb\n>>> ";
        QTest::newRow("a flood of rewrites") << "for i in range(300000): print(f'\\r{i}', end='')" << "299999\n>>> ";
        QTest::newRow("a rewritten line then more lines") << "print('1\\r2\\nnext')" << "2\nnext\n>>> ";
        QTest::newRow("a line break split between writes") << "_ = sys.stdout.write('abc\\r'); _ = sys.stdout.write('\\nX\\n')"
                                                           << "abc\nX\n>>> ";
        QTest::newRow("a sequence split between writes") << "_ = sys.stdout.write('\\x1b[3'); _ = sys.stdout.write('1mred\\x1b[0m\\n')"
                                                         << "red\n>>> ";
    }

    void carriageReturnsRewriteTheLine()
    {
        QFETCH(QString, line);
        user.submit(line);
        QFETCH(QString, shown);
        QCOMPARE(user.outputAfter(line), shown);
    }

    // Colour and bold sequences give formats; other sequences are not shown.
    void escapeSequencesBecomeFormats()
    {
        const QString plain = formatOf(">>> ").foreground().color().name();
        user.submit("print('\\x1b[31mred\\x1b[0m plain \\x1b[1;38;5;21mbold blue\\x1b[22m thin\\x1b[2K\\x1b]0;title\\x07!')");
        QCOMPARE(user.lastLines(2), "red plain bold blue thin!\n>>> ");
        QCOMPARE(formatOf("red").foreground().color().name(), "#cd0000");
        QCOMPARE(formatOf("bold blue").foreground().color().name(), "#0000ff");
        QCOMPARE(formatOf("bold blue").fontWeight(), int(QFont::Bold));
        QCOMPARE(formatOf("thin").fontWeight(), int(QFont::Normal));
        QCOMPARE(formatOf("thin").foreground().color(), formatOf("bold blue").foreground().color());
        QVERIFY(formatOf(" plain").foreground().color().name() != "#cd0000");
        QVERIFY(plain != "#cd0000");
    }

    // A paste of ten thousand lines runs whole, and the window paints while it is replayed.
    void aLongPasteLetsTheWindowPaint()
    {
        QString lines;
        for (int i = 0; i < 10000; ++i)
            lines += QStringLiteral("p%1 = %1\n").arg(i);
        QApplication::clipboard()->setText(lines);
        int ticks = 0;
        QTimer clock;
        connect(&clock, &QTimer::timeout, [&ticks] { ++ticks; });
        clock.start(1);
        user.press("{Ctrl+V}p9999\n");
        QVERIFY(ticks > 0);
        QCOMPARE(user.lastLines(2), "9999\n>>> ");
    }

    // An input() interrupted while it waits shows the user's line only.
    void tracebacksShowNoFrameOfTheConsole()
    {
        QObject scope;
        QTimer::singleShot(150, &scope, [this] { user.press("{Ctrl+C}"); });
        user.submit("input('? ')");
        const QString shown = user.outputAfter("input('? ')");
        QVERIFY2(shown.contains("File \"<console>\", line 1, in <module>\nKeyboardInterrupt"), qPrintable(shown));
        QVERIFY2(!shown.contains("pythonqt"), qPrintable(shown));
    }

    // Keys pressed, a moment apart, while the code waits for input; what it printed.
    void stdinReadsWhatIsTyped_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("shown");
        QTest::newRow("read() up to Ctrl+D") << "print(repr(sys.stdin.read()))" << QStringList{"a\n", "b\n", "{Ctrl+D}"} << "'a\\nb\\n'";
        QTest::newRow("read(n) keeps the rest") << "print(repr(sys.stdin.read(2)), repr(sys.stdin.readline()))" << QStringList{"abc\n"}
                                                << "'ab' 'c\\n'";
        QTest::newRow("readlines()") << "print(sys.stdin.readlines())" << QStringList{"x\n", "{Ctrl+D}"} << "['x\\n']";
        QTest::newRow("a thread printing while the user answers")
            << "import threading; stop = threading.Event(); threading.Thread(target=lambda: [print('tick', i) or "
               "time.sleep(0.01) for i in range(1000) if not stop.is_set()]).start(); answer = input('answer: '); "
               "stop.set(); print(repr(answer))"
            << QStringList{"hel", "lo\n"} << "'hello'";
    }

    void stdinReadsWhatIsTyped()
    {
        QFETCH(QString, code);
        QFETCH(QStringList, answers);
        QObject scope;
        for (int i = 0; i < answers.size(); ++i)
            QTimer::singleShot(150 + 150 * i, &scope, [this, answer = answers.at(i)] { user.press(answer); });
        QTimer::singleShot(10000, &scope, [this] { edit->interrupt(); });
        user.submit(code);
        QFETCH(QString, shown);
        QVERIFY2(user.outputAfter(code).contains(shown), qPrintable(user.outputAfter(code).right(500)));
    }

    // Typed while Python works: answers for input() calls still to come, in order, and what is
    // left goes to the command line after the run.
    void typeAheadIsKeptInOrder_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("ending");
        QTest::newRow("two answers before two input() calls") << "one\ntwo\n" << "busy(); print([input(), input()])"
                                                              << "['one', 'two']\n>>> ";
        QTest::newRow("an answer typed between two input() calls") << "two\n" << "a = input(); busy(); print([a, input()])"
                                                                   << "['', 'two']\n>>> ";
        QTest::newRow("a command typed during a run") << "print('typed ahead')\n" << "busy()" << "typed ahead\n>>> ";
        QTest::newRow("a line not yet ended") << "half" << "busy()" << ">>> half";
    }

    void typeAheadIsKeptInOrder()
    {
        QFETCH(QString, keys);
        QFETCH(QString, code);
        // The second row's first input() reads the Return pressed with the code.
        if (code.startsWith("a = input()"))
            keys.prepend('\n');
        pressWhileBusy(keys, code);
        QFETCH(QString, ending);
        QTRY_VERIFY2(user.text().endsWith(ending), qPrintable(user.text().right(300)));
    }

    // A paste while input() waits: its first line answers, the rest runs after, as a terminal
    // does; nothing of it runs as the code that waits.
    void pasteDuringInputAnswersFirst()
    {
        QApplication::clipboard()->setText("first\nprint('then')\n");
        QObject scope;
        QTimer::singleShot(150, &scope, [this] { user.press("{Ctrl+V}"); });
        user.submit("print(repr(input('? ')))");
        QTRY_VERIFY2(user.text().endsWith("? first\n'first'\n>>> print('then')\nthen\n>>> "), qPrintable(user.text().right(300)));
    }
};

QTEST_MAIN(tst_console_repl)
#include "tst_console_repl.moc"
