// The console editor driven as a user drives it: keys, mouse, the prompt and the protected
// output, history, execution with its output and colours, automatic indentation, scene undo.
#include "support/ConsoleHost.h"
#include "support/MessageRecorder.h"

#include "console/PythonScriptConsoleTextEdit.h"

#include <BUIAPP_Application.h>
#include <PR_Preference.h>
#include <SCP_PythonEngine.h>

#include <QAbstractItemView>
#include <QCompleter>
#include <QStringListModel>
#include <QTest>
#include <QUndoCommand>
#include <QUndoStack>

class TestConsoleEditor : public QObject
{
    Q_OBJECT

private:
    PythonScriptConsoleTextEdit* edit() const { return host->editor(); }

    // Replaces the command line with line and presses Return.
    void submit(const QString& line, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(edit(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit(), Qt::Key_Delete);
        QTest::keyClicks(edit(), line);
        QTest::keyClick(edit(), Qt::Key_Return, modifiers);
    }

    QString colorAt(int position) const
    {
        QTextCursor cursor(edit()->document());
        cursor.setPosition(position + 1);
        return cursor.charFormat().foreground().color().name();
    }

    // The colour of the first character of the last occurrence of text.
    QString colorOf(const QString& text) const
    {
        const int at = int(edit()->toPlainText().lastIndexOf(text));
        return at < 0 ? QString() : colorAt(at);
    }

    void clickAt(int position, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTextCursor cursor(edit()->document());
        cursor.setPosition(position);
        QTest::mouseClick(edit()->viewport(), Qt::LeftButton, modifiers, edit()->cursorRect(cursor).center());
    }

    int prompt() const { return edit()->commandPromptPosition(); }
    int cursorPosition() const { return edit()->textCursor().position(); }

    std::unique_ptr<ConsoleHost> host;

private slots:
    void initTestCase()
    {
        host = std::make_unique<ConsoleHost>();
        QVERIFY(edit());
        QVERIFY(QTest::qWaitForWindowExposed(host->window()));
        QTRY_VERIFY(edit()->hasFocus());
    }

    void init()
    {
        // A block a previous case left open is ended before the console is emptied.
        if (edit()->getCommandPrompt() == PythonScriptConsoleTextEdit::continuationPrompt)
            QTest::keyClick(edit(), Qt::Key_Return, Qt::ShiftModifier);
        edit()->clear();
        edit()->clearError();
        lxPref.remove(QStringLiteral("QZ_PYTHON_AUTOINDENT"));
    }

    void theBannerNamesTheLoadMessagesAboveThePrompt()
    {
        ConsoleHost* fresh = host.get();
        QVERIFY(fresh->view()->consoleImpl());
        // init() cleared it; a new working view shows the banner as it was first written.
        QWidget parent;
        LXLayoutView* view = fresh->view()->createView(&parent);
        auto* editor = view->widget()->findChild<PythonScriptConsoleTextEdit*>();
        QVERIFY(editor);
        QCOMPARE(editor->toPlainText(), QStringLiteral("Python Loaded: \n\nA\nB\n>>> "));
        QCOMPARE(editor->commandPromptPosition(), editor->toPlainText().size());
        delete view;
    }

    void coloursAreDarkUntilTheApplicationSaysOtherwise()
    {
        QVERIFY(!BUIAPP_Application::instance());
        submit(QStringLiteral("print('dark out')"));
        QCOMPARE(colorOf(QStringLiteral("dark out\n")), QStringLiteral("#50c14b"));
        submit(QStringLiteral("1/0"));
        QCOMPARE(colorOf(QStringLiteral("ZeroDivisionError")), QStringLiteral("#b81530"));
        QCOMPARE(colorOf(QStringLiteral(">>> 1/0")), QStringLiteral("#bcc8c1"));

        // Once an application exists its style is read, and kept for the rest of the process.
        static BUIAPP_Application application;
        application.setDarkStyle(false);
        BUIAPP_Application::setInstance(&application);
        submit(QStringLiteral("print('light out')"));
        QCOMPARE(colorOf(QStringLiteral("light out\n")), QStringLiteral("#004800"));
        submit(QStringLiteral("1/0"));
        QCOMPARE(colorOf(QStringLiteral("ZeroDivisionError")), QStringLiteral("#6c0000"));
        QCOMPARE(colorOf(QStringLiteral(">>> 1/0")), QStringLiteral("#000000"));
        application.setDarkStyle(true);
        submit(QStringLiteral("print('still light')"));
        QCOMPARE(colorOf(QStringLiteral("still light\n")), QStringLiteral("#004800"));
    }

    void preferenceColoursAreOpaque_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("transparent") << QStringLiteral("#00ff0000") << QStringLiteral("#ff0000");
        QTest::newRow("not a colour") << QStringLiteral("greenish") << QStringLiteral("#004800");
    }

    void preferenceColoursAreOpaque()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        lxPref.setStringValue(QStringLiteral("QZ_PYTHON_OUT_COLOR_LIGHT"), stored);
        submit(QStringLiteral("print('coloured')"));
        lxPref.remove(QStringLiteral("QZ_PYTHON_OUT_COLOR_LIGHT"));
        QCOMPARE(colorOf(QStringLiteral("coloured\n")), shown);
    }

    void outputReachesTheConsoleNotTheLog()
    {
        MessageRecorder recorder;
        submit(QStringLiteral("print('a'); import sys; _ = sys.stderr.write('b\\n')"));
        const QString text = edit()->toPlainText();
        QVERIFY2(text.endsWith(QStringLiteral(">>> print('a'); import sys; _ = sys.stderr.write('b\\n')\na\nb\n>>> ")), qPrintable(text));
        QCOMPARE(colorOf(QStringLiteral("b\n")), QStringLiteral("#6c0000"));
        for (const MSG_Entry& entry : recorder.entries())
            QVERIFY2(!entry.text.contains(QLatin1String("[PY ")), qPrintable(entry.text));

        // Outside a console run, output goes to the log again.
        host->session()->pythonEngine()->mainModule()->execute(QStringLiteral("print('elsewhere')"));
        QVERIFY(!edit()->toPlainText().contains(QLatin1String("elsewhere")));
        QVERIFY(recorder.messages(7).contains(QStringLiteral("[PY STDOUT] : elsewhere")));
    }

    void theNestingCounterIsRaisedOnlyWhileCodeRuns()
    {
        const int before = SCP_PythonEngine::mainThreadState();
        submit(QStringLiteral("raise ValueError('x')"));
        QCOMPARE(SCP_PythonEngine::mainThreadState(), before);
        submit(QStringLiteral("pass"));
        QCOMPARE(SCP_PythonEngine::mainThreadState(), before);
    }

    void backspaceDeleteAndLeftStopAtThePrompt()
    {
        QTest::keyClicks(edit(), QStringLiteral("ab"));
        QTest::keyClick(edit(), Qt::Key_Home);
        QCOMPARE(cursorPosition(), prompt());
        QTest::keyClick(edit(), Qt::Key_Backspace);
        QTest::keyClick(edit(), Qt::Key_Left);
        QCOMPARE(cursorPosition(), prompt());
        QCOMPARE(host->commandLine(), QStringLiteral("ab"));
        QTest::keyClick(edit(), Qt::Key_Delete);
        QCOMPARE(host->commandLine(), QStringLiteral("b"));
        QVERIFY(edit()->toPlainText().endsWith(QLatin1String(">>> b")));
    }

    void homeAndEndStayOnTheCommandLine()
    {
        QTest::keyClicks(edit(), QStringLiteral("abcd"));
        QTest::keyClick(edit(), Qt::Key_Left);
        QTest::keyClick(edit(), Qt::Key_Left);
        QTest::keyClick(edit(), Qt::Key_Home, Qt::ShiftModifier);
        QCOMPARE(edit()->textCursor().selectedText(), QStringLiteral("ab"));
        QCOMPARE(cursorPosition(), prompt());
        // Shift+End keeps the anchor where Shift+Home left it.
        QTest::keyClick(edit(), Qt::Key_End, Qt::ShiftModifier);
        QCOMPARE(edit()->textCursor().selectedText(), QStringLiteral("cd"));
        QTest::keyClick(edit(), Qt::Key_End);
        QCOMPARE(cursorPosition(), edit()->toPlainText().size());
        QVERIFY(!edit()->textCursor().hasSelection());
    }

    void controlASelectsOnlyTheCommand()
    {
        submit(QStringLiteral("print('out')"));
        QTest::keyClicks(edit(), QStringLiteral("x = 1"));
        QTest::keyClick(edit(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(edit()->textCursor().selectedText(), QStringLiteral("x = 1"));
        QTest::keyClick(edit(), Qt::Key_A);
        QCOMPARE(host->commandLine(), QStringLiteral("a"));
    }

    void clicksInTheOutputReturnToTheEndDragsKeepTheirSelection()
    {
        submit(QStringLiteral("print('protected output')"));
        QTest::keyClicks(edit(), QStringLiteral("typed"));
        const QString before = edit()->toPlainText();
        const int output = int(before.lastIndexOf(QLatin1String("protected output")));
        clickAt(output + 3);
        QCOMPARE(cursorPosition(), before.size());

        QTextCursor from(edit()->document());
        from.setPosition(output);
        QTextCursor to(edit()->document());
        to.setPosition(output + 9);
        QTest::mousePress(edit()->viewport(), Qt::LeftButton, {}, edit()->cursorRect(from).center());
        QTest::mouseMove(edit()->viewport(), edit()->cursorRect(to).center());
        QTest::mouseRelease(edit()->viewport(), Qt::LeftButton, {}, edit()->cursorRect(to).center());
        QVERIFY(edit()->textCursor().hasSelection());
        QVERIFY(edit()->textCursor().selectedText().startsWith(QLatin1String("protect")));

        // Keys that would change the selected output change nothing.
        for (int key : {int(Qt::Key_X), int(Qt::Key_Space), int(Qt::Key_Backspace), int(Qt::Key_Delete)})
            QTest::keyClick(edit(), Qt::Key(key));
        QCOMPARE(edit()->toPlainText(), before);
    }

    void aKeyTypedWhileTheCursorIsInTheOutputGoesToThePrompt()
    {
        submit(QStringLiteral("print('above')"));
        QTest::keyClicks(edit(), QStringLiteral("cmd"));
        const int output = int(edit()->toPlainText().lastIndexOf(QLatin1String("above")));
        QTextCursor inOutput(edit()->document());
        inOutput.setPosition(output + 2);
        // While the button is held the guard lets the cursor stand in the output.
        QTest::mousePress(edit()->viewport(), Qt::LeftButton, {}, edit()->cursorRect(inOutput).center());
        QVERIFY(cursorPosition() < prompt());
        QTest::keyClick(edit(), Qt::Key_Z);
        QTest::mouseRelease(edit()->viewport(), Qt::LeftButton, {}, edit()->cursorRect(inOutput).center());
        QCOMPARE(host->commandLine(), QStringLiteral("zcmd"));
        QVERIFY(edit()->toPlainText().contains(QLatin1String("\nabove\n")));
    }

    void historyKeepsTheLineBeingTyped()
    {
        submit(QStringLiteral("first = 1"));
        submit(QStringLiteral("second = 2"));
        QTest::keyClicks(edit(), QStringLiteral("half"));
        QTest::keyClick(edit(), Qt::Key_Up);
        QCOMPARE(host->commandLine(), QStringLiteral("second = 2"));
        QTest::keyClick(edit(), Qt::Key_Up);
        QCOMPARE(host->commandLine(), QStringLiteral("first = 1"));
        QTest::keyClick(edit(), Qt::Key_Down);
        QTest::keyClick(edit(), Qt::Key_Down);
        QCOMPARE(host->commandLine(), QStringLiteral("half"));
        QTest::keyClick(edit(), Qt::Key_Down);
        QCOMPARE(host->commandLine(), QStringLiteral("half"));
    }

    void undoAndRedoReachTheSceneCommands()
    {
        QUndoStack* stack = host->undoStack();
        stack->push(new QUndoCommand(QStringLiteral("one")));
        stack->push(new QUndoCommand(QStringLiteral("two")));
        QTest::keyClicks(edit(), QStringLiteral("keep"));
        QTest::keyClick(edit(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(stack->index(), 1);
        QTest::keyClick(edit(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(stack->index(), 2);
        QCOMPARE(host->commandLine(), QStringLiteral("keep"));
    }

    // Each row: lines submitted one after the other; the command line after the last one, and
    // whether the code ran (a run leaves a fresh primary prompt).
    void automaticIndentation_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("nextLine");
        QTest::addColumn<bool>("ran");
        QTest::newRow("block opens") << QStringList{QStringLiteral("for i in range(2):")} << QStringLiteral("  ") << false;
        QTest::newRow("indented line") << QStringList{QStringLiteral("if 1:"), QStringLiteral("    y = 1")}
                                       << QStringLiteral("    ") << false;
        QTest::newRow("nested block") << QStringList{QStringLiteral("if 1:"), QStringLiteral("    if y:")}
                                      << QStringLiteral("      ") << false;
        QTest::newRow("plain statement") << QStringList{QStringLiteral("x = 1")} << QString() << true;
        QTest::newRow("two blanks end the block") << QStringList{QStringLiteral("if 1:"), QStringLiteral("  z = 3"), QStringLiteral("  ")}
                                                  << QString() << true;
        QTest::newRow("six blanks step back") << QStringList{QStringLiteral("if 1:"), QStringLiteral("    if 1:"), QStringLiteral("      w = 1"), QStringLiteral("      ")}
                                              << QStringLiteral("    ") << false;
        QTest::newRow("then any blank line ends") << QStringList{QStringLiteral("if 1:"), QStringLiteral("    if 1:"), QStringLiteral("      w = 1"), QStringLiteral("      "), QStringLiteral("        ")}
                                                  << QString() << true;
    }

    void automaticIndentation()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, nextLine);
        QFETCH(bool, ran);
        for (const QString& line : lines)
            submit(line);
        QCOMPARE(host->commandLine(), nextLine);
        QCOMPARE(edit()->getCommandPrompt(), ran ? PythonScriptConsoleTextEdit::primaryPrompt
                                                 : PythonScriptConsoleTextEdit::continuationPrompt);
        QVERIFY(!edit()->hadError());
    }

    void aBlockRunsAsOnePiece()
    {
        submit(QStringLiteral("for i in range(3):"));
        QTest::keyClicks(edit(), QStringLiteral("print(i * 10)"));
        QTest::keyClick(edit(), Qt::Key_Return);
        QTest::keyClick(edit(), Qt::Key_Backspace);
        QTest::keyClick(edit(), Qt::Key_Backspace);
        QTest::keyClick(edit(), Qt::Key_Return);
        QVERIFY2(edit()->toPlainText().endsWith(QStringLiteral("0\n10\n20\n>>> ")), qPrintable(edit()->toPlainText()));
    }

    void shiftReturnEndsTheBlock()
    {
        submit(QStringLiteral("if True:"));
        QTest::keyClicks(edit(), QStringLiteral("print('shifted')"));
        QTest::keyClick(edit(), Qt::Key_Return, Qt::ShiftModifier);
        QVERIFY2(edit()->toPlainText().endsWith(QStringLiteral("shifted\n>>> ")), qPrintable(edit()->toPlainText()));
    }

    void withoutAutomaticIndentationEveryLineEndsItsBlock()
    {
        lxPref.setBoolValue(QStringLiteral("QZ_PYTHON_AUTOINDENT"), false);
        submit(QStringLiteral("for i in range(2):"));
        QCOMPARE(edit()->getCommandPrompt(), PythonScriptConsoleTextEdit::primaryPrompt);
        QVERIFY(edit()->hadError());
        QCOMPARE(host->commandLine(), QString());
    }

    void completionOffersAttributesRankedByHistory()
    {
        edit()->setHistory({});
        submit(QStringLiteral("import math"));
        submit(QStringLiteral("x = math.sqrt(2)"));
        submit(QStringLiteral("math.floor(2.5)"));
        QTest::keyClicks(edit(), QStringLiteral("math."));
        QCompleter* completer = edit()->getCompleter();
        QVERIFY(completer);
        QTRY_VERIFY(completer->popup()->isVisible());
        const QStringList offered = qobject_cast<QStringListModel*>(completer->model())->stringList();
        QVERIFY2(offered.size() > 10, qPrintable(offered.join(',')));
        QCOMPARE(QSet<QString>(offered.cbegin(), offered.cbegin() + 2), (QSet<QString>{QStringLiteral("floor"), QStringLiteral("sqrt")}));
        for (const QString& name : offered)
            QVERIFY2(!(name.startsWith(QLatin1String("__")) && name.endsWith(QLatin1String("__"))), qPrintable(name));

        QTest::keyClicks(edit(), QStringLiteral("sq"));
        QTRY_VERIFY(completer->popup()->isVisible());
        QTest::keyClick(completer->popup(), Qt::Key_Down);
        QTest::keyClick(completer->popup(), Qt::Key_Return);
        QCOMPARE(host->commandLine(), QStringLiteral("math.sqrt"));
        QCOMPARE(edit()->getCommandPrompt(), PythonScriptConsoleTextEdit::primaryPrompt);
    }

    void completionReplacesTheWordBeingTyped()
    {
        submit(QStringLiteral("import math"));
        QTest::keyClicks(edit(), QStringLiteral("ma"));
        QCompleter* completer = edit()->getCompleter();
        QTRY_VERIFY(completer->popup()->isVisible());
        QVERIFY(qobject_cast<QStringListModel*>(completer->model())->stringList().contains(QStringLiteral("math")));
        emit completer->activated(QStringLiteral("math"));
        QCOMPARE(host->commandLine(), QStringLiteral("math"));
        // While the popup shows, the keyboard is its own.
        QTest::keyClick(completer->popup(), Qt::Key_Escape);
        QVERIFY(!completer->popup()->isVisible());
    }

    void returnWithoutAChosenCandidateExecutes()
    {
        submit(QStringLiteral("import math"));
        QTest::keyClicks(edit(), QStringLiteral("math.pi"));
        QTest::keyClick(edit(), Qt::Key_Return);
        QVERIFY2(edit()->toPlainText().endsWith(QStringLiteral("3.141592653589793\n>>> ")), qPrintable(edit()->toPlainText()));
    }
};

QTEST_MAIN(TestConsoleEditor)
#include "tst_consoleeditor.moc"
