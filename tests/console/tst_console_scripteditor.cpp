// The script editor dock beside the console: editing keys, saving, running a file or a
// selection in the console, interrupting it, traceback links back into the editor, the prompts
// about unsaved edits, changes on disk, find and replace, and the next session's tabs.
#include "support/ConsoleHost.h"
#include "support/TestFiles.h"
#include "support/DialogAnswer.h"

#include "console/PythonScriptConsoleImpl.h"
#include "console/PythonScriptConsoleTextEdit.h"
#include "editor/PythonColorScheme.h"
#include "editor/ScriptCodeEditor.h"
#include "editor/ScriptEditorView.h"
#include "editor/ScriptFindBar.h"

#include <AC_Menu.h>
#include <BAPP_SharedSpecialFolders.h>
#include <PLUG_Services.h>

#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

namespace {

QByteArray readFile(const QString& filePath)
{
    QFile file(filePath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString consoleTail(PythonScriptConsoleTextEdit* console, int characters)
{
    return console->toPlainText().right(characters);
}

} // namespace

class tst_console_scripteditor : public QObject
{
    Q_OBJECT

    QTemporaryDir special;
    std::unique_ptr<ConsoleHost> host;

    ScriptEditorView* view() const { return ScriptEditorView::inLayout(); }
    PythonScriptConsoleTextEdit* console() const { return host->editor(); }
    QString script(const QString& name) const { return special.filePath(QStringLiteral("scripts/") + name); }

    ScriptCodeEditor* open(const QString& name, const QByteArray& content)
    {
        writeFile(script(name), content);
        return view()->openFile(script(name));
    }

private slots:
    void initTestCase()
    {
        QDir(special.path()).mkpath(QStringLiteral("scripts"));
        BAPP_SetSharedSpecialFolders(special.path());
        host = std::make_unique<ConsoleHost>();
        QVERIFY(view());
        QVERIFY(console());
        QVERIFY(QTest::qWaitForWindowActive(host->window()));
    }

    // Shortcuts reach the window that is active, which a closed message box may have left none.
    void init()
    {
        host->window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(host->window()));
    }

    void cleanup()
    {
        QTabWidget* tabs = view()->tabWidget();
        for (int index = tabs->count() - 1; index >= 0; --index) {
            static_cast<ScriptCodeEditor*>(tabs->widget(index))->document()->setModified(false);
            tabs->setCurrentIndex(index);
            view()->closeTab();
        }
        view()->findBar()->hide();
    }

    // Keys that edit: Return keeps the indentation (one level more after a colon), Tab and
    // Shift+Tab indent and dedent the selected lines, Ctrl+/ comments them out and back in.
    void editingKeys_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("anchor");
        QTest::addColumn<int>("position");
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Return after a colon") << "if x:" << 5 << 5 << QKeySequence(Qt::Key_Return) << "if x:\n    ";
        QTest::newRow("Return in a block") << "    y = 1" << 9 << 9 << QKeySequence(Qt::Key_Return) << "    y = 1\n    ";
        QTest::newRow("Return at the top level") << "y = 1" << 5 << 5 << QKeySequence(Qt::Key_Return) << "y = 1\n";
        QTest::newRow("Tab over two lines") << "a\nb\nc" << 0 << 3 << QKeySequence(Qt::Key_Tab) << "    a\n    b\nc";
        QTest::newRow("Shift+Tab over two lines") << "    a\n  b\nc" << 0 << 8 << QKeySequence(Qt::SHIFT | Qt::Key_Backtab)
                                                 << "a\nb\nc";
        QTest::newRow("Ctrl+/ comments out") << "a\n  b" << 0 << 5 << QKeySequence(Qt::CTRL | Qt::Key_Slash) << "# a\n  # b";
        QTest::newRow("Ctrl+/ comments back in") << "# a\n  # b" << 0 << 9 << QKeySequence(Qt::CTRL | Qt::Key_Slash) << "a\n  b";
    }

    void editingKeys()
    {
        QFETCH(QString, text);
        QFETCH(int, anchor);
        QFETCH(int, position);
        QFETCH(QKeySequence, keys);
        QFETCH(QString, expected);
        ScriptCodeEditor* editor = open(QStringLiteral("keys.py"), text.toUtf8());
        QTextCursor cursor = editor->textCursor();
        cursor.setPosition(anchor);
        cursor.setPosition(position, QTextCursor::KeepAnchor);
        editor->setTextCursor(cursor);
        QTest::keySequence(editor, keys);
        QCOMPARE(editor->toPlainText(), expected);
    }

    // The bracket at the cursor (after it, else before it) and its partner are marked, besides
    // the current line.
    void matchingBrackets_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QList<int>>("marked");
        QTest::newRow("after a closing bracket") << 10 << QList<int>{9, 1};
        QTest::newRow("before an opening bracket") << 3 << QList<int>{3, 5};
        QTest::newRow("nested, before the outer") << 1 << QList<int>{1, 9};
        QTest::newRow("no bracket near") << 8 << QList<int>{};
        QTest::newRow("unmatched") << 12 << QList<int>{};
    }

    void matchingBrackets()
    {
        QFETCH(int, position);
        QFETCH(QList<int>, marked);
        ScriptCodeEditor* editor = open(QStringLiteral("brackets.py"), "f(a[1], b) (");
        QTest::keyClick(editor, Qt::Key_Home);
        for (int i = 0; i < position; ++i)
            QTest::keyClick(editor, Qt::Key_Right);
        QList<int> shown;
        for (const QTextEdit::ExtraSelection& selection : editor->extraSelections().mid(1))
            shown << selection.cursor.selectionStart();
        QCOMPARE(shown, marked);
    }

    // Typing marks the tab; Ctrl+S writes the file and takes the mark away.
    void editAndSave()
    {
        ScriptCodeEditor* editor = open(QStringLiteral("saved.py"), "x = 1\n");
        QTest::keyClick(editor, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(editor, "y = 2");
        QCOMPARE(view()->tabWidget()->tabText(0), "saved.py*");
        QTest::keySequence(editor, QKeySequence::Save);
        QCOMPARE(readFile(script(QStringLiteral("saved.py"))), "x = 1\ny = 2");
        QCOMPARE(view()->tabWidget()->tabText(0), "saved.py");
        QCOMPARE(view()->recentFilesMenu()->actions().first()->text(), script(QStringLiteral("saved.py")));
    }

    // Bytes that are not UTF-8 are shown read-only: typing and saving change nothing on disk.
    void nonUtf8FileStaysAsItIs()
    {
        const QByteArray latin1("name = 'caf\xe9'\n");
        ScriptCodeEditor* editor = open(QStringLiteral("latin1.py"), latin1);
        QCOMPARE(view()->tabWidget()->tabText(0), "latin1.py (read-only)");
        QTest::keyClicks(editor, "x");
        QCOMPARE(editor->document()->isModified(), false);
        DialogAnswer::next(QMessageBox::Ok);
        QTest::keySequence(editor, QKeySequence::Save);
        QVERIFY(DialogAnswer::lastText().contains("is not UTF-8 text"));
        QCOMPARE(readFile(script(QStringLiteral("latin1.py"))), latin1);
    }

    // F5 saves and runs the file in the console's __main__: its output shows under the command,
    // __file__ is the file, its folder is on sys.path only while it runs.
    void runFile()
    {
        ScriptCodeEditor* editor = open(QStringLiteral("run_me.py"),
                                        "import os, sys\nprint('folder on path:', os.path.dirname(__file__) in sys.path)\n");
        QTest::keyClick(editor, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(editor, "answer = 6 * 7");
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::keyClick(editor, Qt::Key_F5);
        QCOMPARE(editor->document()->isModified(), false);
        const QString command = QStringLiteral(">>> runfile('%1')\n").arg(script(QStringLiteral("run_me.py")));
        QVERIFY2(console()->toPlainText().endsWith(command + "folder on path: True\n>>> "), qPrintable(consoleTail(console(), 200)));
        console()->runCommand(QStringLiteral("print(answer, '__file__' in globals(), r'%1' in sys.path)").arg(special.filePath("scripts")));
        QVERIFY2(console()->toPlainText().endsWith("42 False False\n>>> "), qPrintable(consoleTail(console(), 80)));
    }

    // Ctrl+Return runs the selection, or the current line without one, as typed code: an
    // expression shows its value, several lines run as one block.
    void runSelection_data()
    {
        QTest::addColumn<int>("anchor");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("expectedTail");
        QTest::newRow("the current line") << 50 << 50 << "\n>>> print(total * 10)\n60\n>>> ";
        QTest::newRow("a part of a line") << 63 << 68 << "\n>>> 3 + 4\n7\n>>> ";
        QTest::newRow("lines with a block") << 0 << 50 << "\n60\n>>> ";
    }

    void runSelection()
    {
        QFETCH(int, anchor);
        QFETCH(int, position);
        QFETCH(QString, expectedTail);
        ScriptCodeEditor* editor = open(QStringLiteral("selection.py"),
                                        "total = 0\nfor n in range(4):\n    total += n\nprint(total * 10)\n(3 + 4)\n");
        // Runs of earlier rows leave total; each row starts from the file's first state.
        console()->runCommand(QStringLiteral("total = 6"));
        QTextCursor cursor = editor->textCursor();
        cursor.setPosition(anchor);
        cursor.setPosition(position, QTextCursor::KeepAnchor);
        editor->setTextCursor(cursor);
        QTest::keyClick(editor, Qt::Key_Return, Qt::ControlModifier);
        QVERIFY2(console()->toPlainText().endsWith(expectedTail), qPrintable(consoleTail(console(), 120)));
    }

    // A file that never ends stops at Ctrl+C in the console, as typed code does.
    void interruptRunningFile()
    {
        ScriptCodeEditor* editor = open(QStringLiteral("forever.py"), "print('started')\nwhile True:\n    pass\n");
        QString shownWhileRunning;
        QTimer::singleShot(300, console(), [this, &shownWhileRunning] {
            shownWhileRunning = console()->toPlainText();
            QTest::keyClick(console(), Qt::Key_C, Qt::ControlModifier);
        });
        QTest::keyClick(editor, Qt::Key_F5);
        QVERIFY2(shownWhileRunning.endsWith("\nstarted"), qPrintable(shownWhileRunning.right(60)));
        QVERIFY2(console()->toPlainText().endsWith("KeyboardInterrupt\n>>> "), qPrintable(consoleTail(console(), 200)));
    }

    // A click on a traceback's file reference opens that file in the editor at that line.
    void tracebackLinkOpensTheLine()
    {
        ScriptCodeEditor* editor = open(QStringLiteral("broken.py"), "def divide(a, b):\n    return a / b\n\ndivide(1, 0)\n");
        QTest::keyClick(editor, Qt::Key_F5);
        QTest::keyClick(editor, Qt::Key_W, Qt::ControlModifier);
        QCOMPARE(view()->tabWidget()->count(), 0);
        const QString reference = QStringLiteral("File \"%1\", line 2").arg(script(QStringLiteral("broken.py")));
        const int at = int(console()->toPlainText().lastIndexOf(reference));
        QVERIFY2(at >= 0, qPrintable(consoleTail(console(), 400)));
        QTextCursor cursor(console()->document());
        cursor.setPosition(at + 8);
        // Scrolled into view as the user would, the reference at the top.
        QScrollBar* scroll = console()->verticalScrollBar();
        scroll->setValue(scroll->value() + console()->cursorRect(cursor).top());
        const QPoint inLink = console()->cursorRect(cursor).center();
        QVERIFY(console()->viewport()->rect().contains(inLink));
        QTest::mouseClick(console()->viewport(), Qt::LeftButton, Qt::NoModifier, inLink);
        QVERIFY(view()->currentEditor());
        QCOMPARE(view()->currentEditor()->filePath, script(QStringLiteral("broken.py")));
        QCOMPARE(view()->currentEditor()->currentLine(), 2);
    }

    // Closing a tab with unsaved edits asks: Save writes them, Discard drops them, Cancel keeps
    // the tab. Quitting asks the same for every such tab.
    void unsavedChangesPrompt_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("tabsLeft");
        QTest::addColumn<QByteArray>("onDisk");
        QTest::newRow("Save") << int(QMessageBox::Save) << 0 << QByteArray("edited\n");
        QTest::newRow("Discard") << int(QMessageBox::Discard) << 0 << QByteArray("\n");
        QTest::newRow("Cancel") << int(QMessageBox::Cancel) << 1 << QByteArray("\n");
    }

    void unsavedChangesPrompt()
    {
        QFETCH(int, answer);
        QFETCH(int, tabsLeft);
        QFETCH(QByteArray, onDisk);
        ScriptCodeEditor* editor = open(QStringLiteral("unsaved.py"), "\n");
        QTest::keyClicks(editor, "edited");
        DialogAnswer::next(QMessageBox::StandardButton(answer));
        QTest::keyClick(editor, Qt::Key_W, Qt::ControlModifier);
        QCOMPARE(DialogAnswer::lastText(), "Save the changes to unsaved.py?");
        QCOMPARE(view()->tabWidget()->count(), tabsLeft);
        QCOMPARE(readFile(script(QStringLiteral("unsaved.py"))), onDisk);
    }

    void quitAsksForEveryUnsavedTab()
    {
        QTest::keyClicks(open(QStringLiteral("first.py"), ""), "a");
        QTest::keyClicks(open(QStringLiteral("second.py"), ""), "b");
        DialogAnswer::next(QMessageBox::Discard);
        QTimer::singleShot(200, [] { DialogAnswer::next(QMessageBox::Cancel); });
        QCOMPARE(view()->confirmClose(), false);
        QCOMPARE(DialogAnswer::lastText(), "Save the changes to second.py?");
    }

    // A file changed on disk reloads; with unsaved edits the user is asked first.
    void externalChangeReloads_data()
    {
        QTest::addColumn<bool>("edited");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no edits") << false << int(QMessageBox::NoButton) << "changed outside\n";
        QTest::newRow("edits, reload") << true << int(QMessageBox::Yes) << "changed outside\n";
        QTest::newRow("edits, keep them") << true << int(QMessageBox::No) << "mine\n";
    }

    void externalChangeReloads()
    {
        QFETCH(bool, edited);
        QFETCH(int, answer);
        QFETCH(QString, expected);
        ScriptCodeEditor* editor = open(QStringLiteral("watched.py"), "\n");
        if (edited)
            QTest::keyClicks(editor, "mine");
        if (answer != QMessageBox::NoButton)
            DialogAnswer::next(QMessageBox::StandardButton(answer));
        writeFile(script(QStringLiteral("watched.py")), "changed outside\n");
        QTRY_COMPARE(editor->diskContent, QByteArray("changed outside\n"));
        QTRY_COMPARE(editor->toPlainText(), expected);
    }

    // Ctrl+F opens the bar with the selection; Replace All changes every match.
    void findAndReplace()
    {
        ScriptCodeEditor* editor = open(QStringLiteral("find.py"), "a = 1\nb = a + a\n");
        QTest::keyClick(editor, Qt::Key_F, Qt::ControlModifier);
        ScriptFindBar* bar = view()->findBar();
        QVERIFY(bar->isVisible());
        QTest::keyClicks(bar->findField(), "a");
        QTest::keyClick(bar->findField(), Qt::Key_Return);
        QCOMPARE(editor->textCursor().selectionStart(), 0);
        QTest::keyClick(bar->findField(), Qt::Key_Return);
        QCOMPARE(editor->textCursor().selectionStart(), 10);
        QTest::keyClicks(bar->replaceField(), "value");
        QTest::mouseClick(bar->findChild<QPushButton*>(QStringLiteral("replaceAll")), Qt::LeftButton);
        QCOMPARE(editor->toPlainText(), "value = 1\nb = value + value\n");
    }

    // The tabs and their cursors come back in the next session, from the host's preferences.
    void sessionRestore()
    {
        open(QStringLiteral("one.py"), "1\n2\n3\n")->goToLine(3);
        view()->newFile(); // never saved: not kept
        open(QStringLiteral("two.py"), "x\ny\n")->goToLine(2);
        QVERIFY(view()->confirmClose());
        QWidget nextSession;
        ScriptEditorView restored(PLUG_Services::getActionManager(), &nextSession, "Python Script Editor", {});
        QCOMPARE(restored.tabWidget()->count(), 2);
        QCOMPARE(restored.tabWidget()->currentIndex(), 1);
        QCOMPARE(restored.currentEditor()->filePath, script(QStringLiteral("two.py")));
        QCOMPARE(restored.currentEditor()->currentLine(), 2);
        restored.tabWidget()->setCurrentIndex(0);
        QCOMPARE(restored.currentEditor()->currentLine(), 3);
    }

    // The command being typed is highlighted as Python; output keeps its own colours, and a
    // traceback's file reference is underlined.
    void consoleCommandHighlighting()
    {
        const PythonColorScheme scheme = PythonColorScheme::current();
        console()->runCommand(QStringLiteral("print('def')"));
        QTest::keyClicks(console(), "import os");
        const QTextBlock command = console()->document()->lastBlock();
        const QList<QTextLayout::FormatRange> formats = command.layout()->formats();
        QVERIFY(!formats.isEmpty());
        QCOMPARE(formats.first().start, 4);
        QCOMPARE(formats.first().length, 6);
        QCOMPARE(formats.first().format.foreground().color(), scheme.keyword.foreground().color());
        QCOMPARE(command.previous().text(), "def");
        QVERIFY(command.previous().layout()->formats().isEmpty());
        QTest::keyClick(console(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(console(), Qt::Key_Backspace);
    }
};

QTEST_MAIN(tst_console_scripteditor)
#include "tst_console_scripteditor.moc"
