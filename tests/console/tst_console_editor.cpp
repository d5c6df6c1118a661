// The console editor driven as a user drives it: keys, mouse, the prompt and the protected
// output, history, the clipboard, execution with its output and colours, automatic
// indentation, completion ranked by the history, scene undo. What the bare console base does
// on its own is tests/pythonqt's.
#include "support/ConsoleTestCase.h"
#include "support/CompletionRankingOracle.h"
#include "support/MessageRecorder.h"

#include <AC_Menu.h>
#include <BUIAPP_Application.h>
#include <CO_CommandManager.h>
#include <MSG_Action.h>
#include <PR_Preference.h>
#include <PythonQt.h>
#include <SCP_PythonEngine.h>
#include <SCP_PythonModule.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCompleter>
#include <QRegularExpression>
#include <QStringListModel>
#include <QUndoCommand>
#include <QUndoStack>

class tst_console_editor : public ConsoleTestCase
{
    Q_OBJECT

    QString colorOf(const QString& text) const { return formatOf(text).foreground().color().name(); }

    QStringList offered() const { return qobject_cast<QStringListModel*>(edit->getCompleter()->model())->stringList(); }

private slots:
    void initTestCase() { openConsole(); }

    void init()
    {
        emptyConsole();
        edit->clearError();
        lxPref.remove("QZ_PYTHON_AUTOINDENT");
    }

    void coloursAreDarkUntilTheApplicationSaysOtherwise()
    {
        QVERIFY(!BUIAPP_Application::instance());
        // Once an application exists its style is read, and kept for the rest of the process.
        static BUIAPP_Application application;
        application.setDarkStyle(false);
        for (const QStringList& colours : {QStringList{"#50c14b", "#b81530", "#bcc8c1"}, QStringList{"#004800", "#6c0000", "#000000"}}) {
            user.submit("print('out')");
            user.submit("1/0");
            QCOMPARE((QStringList{colorOf("out\n"), colorOf("ZeroDivisionError"), colorOf(">>> 1/0")}), colours);
            BUIAPP_Application::setInstance(&application);
        }
        application.setDarkStyle(true);
        user.submit("print('still light')");
        QCOMPARE(colorOf("still light\n"), "#004800");

        // A stored colour shows opaque; one that is no colour gives way to the default.
        for (const auto& [stored, shown] : {std::pair{"#00ff0000", "#ff0000"}, {"greenish", "#004800"}}) {
            lxPref.setStringValue("QZ_PYTHON_OUT_COLOR_LIGHT", stored);
            user.submit("print('coloured')");
            QCOMPARE(colorOf("coloured\n"), shown);
        }
        lxPref.remove("QZ_PYTHON_OUT_COLOR_LIGHT");
    }

    // ... and each run leaves the nesting counter as it found it.
    void outputReachesTheConsoleNotTheLog()
    {
        const int nesting = SCP_PythonEngine::mainThreadState();
        MessageRecorder recorder;
        user.submit("print('a'); import sys; _ = sys.stderr.write('b\\n')");
        QVERIFY2(user.text().endsWith(">>> print('a'); import sys; _ = sys.stderr.write('b\\n')\na\nb\n>>> "), qPrintable(user.text()));
        QCOMPARE(colorOf("b\n"), "#6c0000");
        for (const MSG_Entry& entry : recorder.entries())
            QVERIFY2(!entry.text.contains("[PY "), qPrintable(entry.text));

        // Outside a console run, output goes to the log again.
        host->session()->pythonEngine()->mainModule()->execute("print('elsewhere')");
        QVERIFY(!user.text().contains("elsewhere"));
        QVERIFY(recorder.messages(7).contains("[PY STDOUT] : elsewhere"));
        user.submit("raise ValueError('x')");
        QCOMPARE(SCP_PythonEngine::mainThreadState(), nesting);
    }

    // Keys pressed after the clipboard was given text (when there is one), and how the console
    // ends then.
    void keys_data()
    {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("ending");
        const QString none;
        QTest::newRow("Home, Backspace and Left stop at the prompt") << none << "ab{Home}{Backspace}{Left}Z" << ">>> Zab";
        QTest::newRow("Shift+Home selects back to the prompt") << none << "abcd{Left}{Left}{Shift+Home}Z" << ">>> Zcd";
        QTest::newRow("Shift+End keeps the anchor") << none << "abcd{Left}{Left}{Shift+Home}{Shift+End}Z" << ">>> abZ";
        QTest::newRow("Ctrl+A selects only the command") << none << "print('out')\nx = 1{Ctrl+A}Z" << "out\n>>> Z";
        QTest::newRow("Up shows the newest entry, Up again the one before") << none << "first = 1\nsecond = 2\nhalf{Up}{Up}" << "\n>>> first = 1";
        QTest::newRow("Down past the newest gives the typed line back") << none << "first = 1\nsecond = 2\nhalf{Up}{Up}{Down}{Down}{Down}"
                                                                        << "\n>>> half";
        QTest::newRow("history holds a line once in a row and no empty one") << none << "x = 1\nx = 1\n\ny = 2\n{Up}{Up}{Up}{Down}"
                                                                             << "\n>>> y = 2";
        QTest::newRow("a block runs as one piece") << none << "for i in range(3):\nprint(i * 10)\n{Backspace}{Backspace}\n" << "\n0\n10\n20\n>>> ";
        QTest::newRow("Return with no candidate chosen runs") << none << "import math\nmath.pi\n" << "\n3.141592653589793\n>>> ";
        QTest::newRow("paste: CRLF lines in one piece") << "a = 1\r\nb = a + 1\r\n" << "{Ctrl+V}b\n" << ">>> b\n2\n>>> ";
        QTest::newRow("paste: block then statement") << "total = 0\nfor i in range(4):\n    total += i\nresult = total\n"
                                                     << "{Ctrl+V}result\n" << ">>> result\n6\n>>> ";
        QTest::newRow("paste: the last line waits for Return") << "e = 3\nf = e" << "{Ctrl+V}{Shift+Return}f\n" << ">>> e = 3\n... f = e\n>>> f\n3\n>>> ";
        QTest::newRow("paste: one line with its line feed runs as typed") << "print(40 + 2)\n" << "{Ctrl+V}" << ">>> print(40 + 2)\n42\n>>> ";
        QTest::newRow("paste over a selected part of the command") << "XY" << "abcd{Shift+Left}{Shift+Left}{Ctrl+V}" << ">>> abXY";
    }

    void keys()
    {
        QFETCH(QString, clipboard);
        QFETCH(QString, keys);
        QFETCH(QString, ending);
        edit->setHistory({});
        if (!clipboard.isNull())
            QApplication::clipboard()->setText(clipboard);
        user.press(keys);
        QVERIFY2(user.text().endsWith(ending), qPrintable(user.text().right(500)));
        QVERIFY(!edit->hadError());
    }

    // A click in the output returns to the end; a drag keeps its selection, which keys and
    // pastes cannot change; while the button is held, the cursor may stand in the output and a
    // key typed goes to the prompt.
    void theMouseInTheOutput()
    {
        user.submit("print('protected output')");
        user.press("typed");
        const QString before = user.text();
        const int output = int(before.lastIndexOf("protected output"));
        user.mouse(QTest::MouseClick, output + 3);
        QCOMPARE(edit->textCursor().position(), before.size());

        user.drag(output, output + 9);
        QVERIFY(edit->textCursor().selectedText().startsWith("protect"));
        QApplication::clipboard()->setText("evil\nmore evil\n");
        user.press("{Tab}x {Backspace}{Del}{Ctrl+V}");
        QApplication::clipboard()->setText("");
        user.press("{Ctrl+V}");
        QCOMPARE(user.text(), before);

        user.mouse(QTest::MouseClick, output + 3);
        user.mouse(QTest::MousePress, output + 2);
        QVERIFY(edit->textCursor().position() < edit->commandPromptPosition());
        user.press("z");
        user.mouse(QTest::MouseRelease, output + 2);
        QCOMPARE(user.commandLine(), "ztyped");
        QVERIFY(user.text().contains("\nprotected output\n"));
    }

    void theMenuCopiesWithoutPromptsAndPastes()
    {
        const auto trigger = [this](const char* id) { host->view()->menu(0)->findAction(QLatin1String(id))->trigger(); };
        user.press("print('  >>> z')\nif True:\nx = 1");
        trigger("selectAll");
        trigger("copy");
        QCOMPARE(QApplication::clipboard()->text(), "print('  >>> z')\n  >>> z\nif True:\n  x = 1");
        user.press("{Shift+Return}");
        QApplication::clipboard()->setText("g = 7\nh = g * 6\n");
        trigger("paste");
        user.submit("h");
        QCOMPARE(user.lastLines(2), "42\n>>> ");
    }

    void undoAndRedoReachTheSceneCommands()
    {
        QUndoStack* stack = host->session()->commandManager()->undoStack();
        stack->push(new QUndoCommand("one"));
        stack->push(new QUndoCommand("two"));
        user.press("keep{Ctrl+Z}");
        QCOMPARE(stack->index(), 1);
        user.press("{Ctrl+Shift+Z}");
        QCOMPARE(stack->index(), 2);
        QCOMPARE(user.commandLine(), "keep");
    }

    // Each row: lines submitted one after the other over what the indentation put on the
    // command line; the command line after the last one, and whether the code ran (a run
    // leaves a fresh primary prompt). Without the indentation every line ends its block.
    void automaticIndentation_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("nextLine");
        QTest::addColumn<bool>("ran");
        QTest::addColumn<bool>("indenting");
        QTest::newRow("block opens") << QStringList{"for i in range(2):"} << "  " << false << true;
        QTest::newRow("nested block") << QStringList{"if 1:", "    if y:"} << "      " << false << true;
        QTest::newRow("plain statement") << QStringList{"x = 1"} << "" << true << true;
        QTest::newRow("two blanks end the block") << QStringList{"if 1:", "  z = 3", "  "} << "" << true << true;
        QTest::newRow("six blanks step back") << QStringList{"if 1:", "    if 1:", "      w = 1", "      "} << "    " << false << true;
        QTest::newRow("then any blank line ends") << QStringList{"if 1:", "    if 1:", "      w = 1", "      ", "        "} << "" << true << true;
        QTest::newRow("without indentation") << QStringList{"for i in range(2):"} << "" << true << false;
    }

    void automaticIndentation()
    {
        QFETCH(QStringList, lines);
        QFETCH(bool, indenting);
        lxPref.setBoolValue("QZ_PYTHON_AUTOINDENT", indenting);
        for (const QString& line : lines)
            user.press("{Ctrl+A}{Del}" + line + '\n');
        QTEST(user.commandLine(), "nextLine");
        QFETCH(bool, ran);
        QCOMPARE(edit->getCommandPrompt(), ran ? PythonScriptConsoleTextEdit::primaryPrompt : PythonScriptConsoleTextEdit::continuationPrompt);
        QCOMPARE(edit->hadError(), !indenting);
    }

    // Typing offers attributes, those the history uses most first; the popup has the keyboard
    // while it shows, and a chosen name replaces the word being typed.
    void completionOffersAttributesRankedByHistory()
    {
        edit->setHistory({});
        user.press("import math\nx = math.sqrt(2)\nmath.floor(2.5)\nmath.");
        QAbstractItemView* popup = edit->getCompleter()->popup();
        QTRY_VERIFY(popup->isVisible());
        QVERIFY2(offered().size() > 10, qPrintable(offered().join(',')));
        QCOMPARE(QSet<QString>(offered().cbegin(), offered().cbegin() + 2), (QSet<QString>{"floor", "sqrt"}));
        for (const QString& name : offered())
            QVERIFY2(!(name.startsWith("__") && name.endsWith("__")), qPrintable(name));
        ConsoleUser::press(popup, "{Esc}");
        QVERIFY(!popup->isVisible());

        user.press("sq");
        QTRY_VERIFY(popup->isVisible());
        ConsoleUser::press(popup, "{Down}\n");
        QCOMPARE(user.commandLine(), "math.sqrt");
        QCOMPARE(edit->getCommandPrompt(), PythonScriptConsoleTextEdit::primaryPrompt);
    }

    // With more names than the popup lists, it lists the best-ranked ones, and keeps doing so
    // as the word grows and shrinks back.
    void completionOfALibrarysNamesListsTheBestRanked()
    {
        user.submit("globals().update({'zq%05d' % i: i for i in range(5000)})");
        edit->setHistory({"a = zq04999 + zq04999", "zq03000()"});
        user.press("zq");
        QAbstractItemView* popup = edit->getCompleter()->popup();
        QTRY_VERIFY(popup->isVisible());
        QCOMPARE(offered().size(), PythonScriptConsoleTextEdit::completionLimit);
        QCOMPARE(offered().mid(0, 3), (QStringList{"zq04999", "zq03000", "zq00000"}));
        user.press("04");
        QCOMPARE(offered().mid(0, 2), (QStringList{"zq04999", "zq04000"}));
        QCOMPARE(offered().filter(QRegularExpression("^zq04")).size(), offered().size());
        user.press("{Backspace}{Backspace}{Backspace}");
        QCOMPARE(user.commandLine(), "z");
        QCOMPARE(offered().size(), PythonScriptConsoleTextEdit::completionLimit);
        QCOMPARE(offered().indexOf("zq03000"), offered().indexOf("zq04999") + 1); // "z" itself may lead
        ConsoleUser::press(popup, "{Esc}");
        user.submit("{Ctrl+A}{Del}[globals().pop(n) for n in list(globals()) if n.startswith('zq')]");
    }

    // Typed faster than the names are looked up, a word's keys wait for one lookup, made for
    // the word as it then stands; a word left before its lookup ran offers nothing.
    void completionTypedThroughAPendingLookupListsTheFinalWord_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("prefix");
        QTest::newRow("one word") << "zw03" << "zw03";
        QTest::newRow("word left") << "zw04 zw0" << "zw0";
        QTest::newRow("word changed") << "zw15{Backspace}{Backspace}4" << "zw4";
    }

    void completionTypedThroughAPendingLookupListsTheFinalWord()
    {
        QFETCH(QString, typed);
        QFETCH(QString, prefix);
        user.submit("globals().update({'zw%d%03d' % (i // 1000, i % 1000): i for i in range(5000)})");
        const QStringList history{"a = zw4999 + zw4999", "zw0300()", "zw0"};
        edit->setHistory(history);
        user.press(typed);
        QVERIFY(edit->completionPending());
        QAbstractItemView* popup = edit->getCompleter()->popup();
        QTRY_VERIFY(popup->isVisible());
        QVERIFY(!edit->completionPending());
        QStringList names;
        for (int i = 0; i < 5000; ++i)
            names.append(QString("zw%1%2").arg(i / 1000).arg(i % 1000, 3, 10, QChar('0')));
        const QStringList expected = CompletionRankingOracle(history).rank(names.filter(QRegularExpression("^" + prefix)));
        QCOMPARE(offered(), expected.mid(0, PythonScriptConsoleTextEdit::completionLimit));
        ConsoleUser::press(popup, "{Esc}");
        user.submit("{Ctrl+A}{Del}[globals().pop(n) for n in list(globals()) if n.startswith('zw')]");
    }

    // A closed popup opens once the event loop turns: a key that closes it typed before then
    // (Home here) keeps it closed.
    void completionPopupWaitingToOpenStaysClosedAfterAClosingKey()
    {
        user.press("pri");
        QAbstractItemView* popup = edit->getCompleter()->popup();
        QTRY_VERIFY(popup->isVisible());
        ConsoleUser::press(popup, "{Esc}");
        user.press("n");
        QVERIFY(edit->completionPending());
        QVERIFY(!popup->isVisible());
        user.press("{Home}");
        QTRY_VERIFY(!edit->completionPending());
        QVERIFY(!popup->isVisible());
        QCOMPARE(user.commandLine(), "prin");
    }

    // Return while a word's lookup waits runs the line, and nothing is offered after it.
    void returnWithALookupWaitingOnlyRunsTheLine()
    {
        user.press("import time; time.sleep(0.2); zzr = 1; zz");
        QVERIFY(edit->completionPending());
        user.press("\n");
        QTRY_VERIFY(!edit->completionPending());
        QVERIFY(!edit->getCompleter()->popup()->isVisible());
        QVERIFY2(user.text().contains("NameError: name 'zz' is not defined"), qPrintable(user.text().right(200)));
        QCOMPARE(user.lastLines(1), ">>> ");
        user.submit("del zzr");
    }

    // A command run in the console may define names: the next word offers them, even where
    // the word before found none.
    void completionOffersNamesTheLastCommandDefined()
    {
        user.press("zzq");
        QTRY_VERIFY(!edit->completionPending());
        QVERIFY(!edit->getCompleter()->popup()->isVisible());
        user.submit("{Ctrl+A}{Del}zzqTop = 1");
        edit->clear();
        user.press("zzq");
        QTRY_VERIFY(edit->getCompleter()->popup()->isVisible());
        QCOMPARE(offered(), QStringList{"zzqTop"});
        ConsoleUser::press(edit->getCompleter()->popup(), "{Esc}");
        user.submit("{Ctrl+A}{Del}del zzqTop");
    }

    // Names that cannot be looked up offer nothing and leave no error behind.
    void completionOfUnknownNamesOffersNothing()
    {
        user.submit("raising = type('Raising', (), {'boom': property(lambda self: 1 / 0)})()");
        for (const char* typed : {"no_such_object.", "raising.boom.", "1."}) {
            user.press(QString("{Ctrl+A}{Del}") + typed);
            QTRY_VERIFY(!edit->completionPending());
            QVERIFY2(!edit->getCompleter()->popup()->isVisible(), typed);
            QVERIFY(!host->session()->pythonEngine()->hasError());
        }
    }

    // Output of a thread a console command started, written after the command returned: the
    // console no longer listens, so it goes to the host's message log, as all Python output with
    // no redirect installed.
    void threadOutputAfterTheCommandGoesToTheMessageLog()
    {
        MessageRecorder recorder;
        user.submit("import threading; go = threading.Event()");
        user.submit("worker = threading.Thread(target=lambda: (go.wait(), print('late line'))); worker.start()");
        // The command has returned: the thread prints only now.
        PythonQt::self()->getMainModule().evalScript("go.set()");
        QTRY_VERIFY(recorder.messages(MSG_Action::PythonOutput).contains("[PY STDOUT] : late line"));
        QVERIFY(!user.text().contains("\nlate line"));
    }
};

QTEST_MAIN(tst_console_editor)
#include "tst_console_editor.moc"
