// Editing at the bare console with real key and mouse events: history, the prompt, the
// protected output and name completion.
#include "PythonQt.h"
#include "PythonQtScriptingConsole.h"
#include "support/ConsoleUser.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QCompleter>
#include <QRegularExpression>
#include <QStringListModel>

#include <memory>

class tst_pythonqt_consoleedit : public QObject
{
    Q_OBJECT

    std::unique_ptr<PythonQtScriptingConsole> console;
    ConsoleUser user;

private slots:
    void initTestCase()
    {
        QVERIFY(ConsoleUser::startInterpreter());
        console = std::make_unique<PythonQtScriptingConsole>(nullptr, PythonQt::self()->getMainModule());
        user = ConsoleUser(console.get());
        QVERIFY(user.show());
    }

    void init()
    {
        console->setMaximumOutputLines(20000);
        console->setHistory({});
        console->clear();
    }

    void historyNavigation_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("commandLine");
        QTest::newRow("Up shows the newest") << "half{Up}" << 2 << "c = 3";
        QTest::newRow("Up stops at the oldest") << "{Up}{Up}{Up}{Up}{Up}" << 0 << "a = 1";
        QTest::newRow("Down at the typed line stays") << "half{Down}" << 3 << "half";
        QTest::newRow("Up then Down gives the half-typed line back") << "half{Up}{Down}" << 3 << "half";
        QTest::newRow("from the oldest down past the newest") << "half{Up}{Up}{Up}{Down}{Down}{Down}{Down}{Down}" << 3 << "half";
        QTest::newRow("an edited entry is not kept") << "half{Up}9{Up}{Down}" << 2 << "c = 3";
        QTest::newRow("editing an entry keeps the half-typed line") << "half{Up}9{Down}" << 3 << "half";
    }

    void historyNavigation()
    {
        const QStringList history{"a = 1", "b = 2", "c = 3"};
        console->setHistory(history);
        QFETCH(QString, keys);
        user.press(keys);
        QTEST(console->getHistoryPosition(), "position");
        QTEST(user.commandLine(), "commandLine");
        QCOMPARE(console->history(), history);
        QCOMPARE(console->textCursor().position(), user.text().size());
    }

    void historyStoresSubmittedLinesOnceInARow()
    {
        user.press("x = 1\nx = 1\n\ny = 2\nx = 1\n");
        QCOMPARE(console->history(), (QStringList{"x = 1", "y = 2", "x = 1"}));
        QCOMPARE(console->getHistoryPosition(), 3);
        user.press("{Up}");
        QCOMPARE(user.commandLine(), "x = 1");
        user.press("{Down}");
        QCOMPARE(user.commandLine(), "");
    }

    void promptFollowsOutput_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("before");
        QTest::newRow("a printed line") << "print(1)" << "1";
        QTest::newRow("no line feed at the end") << "import sys; _ = sys.stdout.write('abc')" << "abc";
        QTest::newRow("empty lines inside") << "print('a\\n\\nb')" << "a\n\nb";
        QTest::newRow("an empty line") << "print()" << ">>> print()\n";
        QTest::newRow("an echoed value") << "6 * 7" << "42";
        QTest::newRow("nothing") << "x = 5" << ">>> x = 5";
        QTest::newRow("a comment") << "# nothing to run" << ">>> # nothing to run";
    }

    void promptFollowsOutput()
    {
        QFETCH(QString, code);
        QFETCH(QString, before);
        user.submit(code);
        QVERIFY2(user.text().endsWith(before + "\n>>> "), qPrintable(user.text()));
        QCOMPARE(console->commandPromptPosition(), user.text().size());
        user.press("next{Home}");
        QCOMPARE(console->textCursor().position(), console->commandPromptPosition());
        QCOMPARE(user.commandLine(), "next");
    }

    void promptSurvivesScrollbackTrimming_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("ending");
        QTest::newRow("1 line") << 1 << ">>> ";
        QTest::newRow("2 lines") << 2 << "49\n>>> ";
        QTest::newRow("5 lines") << 5 << "46\n47\n48\n49\n>>> ";
    }

    void promptSurvivesScrollbackTrimming()
    {
        QFETCH(int, lines);
        console->setMaximumOutputLines(lines);
        user.submitBlock({"for i in range(50):", "    print(i)"});
        QVERIFY(console->document()->blockCount() <= lines);
        QFETCH(QString, ending);
        QVERIFY2(user.text().endsWith(ending), qPrintable(user.text()));
        QCOMPARE(console->commandPromptPosition(), user.text().size());
        user.submit("print('after')");
        QVERIFY(console->document()->blockCount() <= lines);
        user.press("typed");
        QCOMPARE(user.commandLine(), "typed");
    }

    void outputOutsideARunGoesAboveTheCommandLine_data()
    {
        QTest::addColumn<int>("lines");
        QTest::newRow("long scrollback") << 20000;
        QTest::newRow("scrollback of 2 lines") << 2;
    }

    void outputOutsideARunGoesAboveTheCommandLine()
    {
        QFETCH(int, lines);
        console->setMaximumOutputLines(lines);
        user.press("half");
        console->consoleMessage("first");
        console->stdOut("second");
        QVERIFY2(user.text().endsWith("second\n>>> half"), qPrintable(user.text()));
        // Text that did not end its line is continued by the next.
        console->stdErr(" continued\nthird\n");
        const QString kept = QStringLiteral("second continued\nthird\n>>> half").section('\n', -qMin(lines, 3));
        QVERIFY2(user.text().endsWith(kept), qPrintable(user.text()));
        user.press("!");
        QCOMPARE(user.commandLine(), "half!");
    }

    // A selection made with the mouse or Ctrl+A, then a key; what the selection held of the
    // output stays.
    void protectedSelections_data()
    {
        QTest::addColumn<QString>("selection");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QString>("clipboard");
        QTest::newRow("output: a letter is dropped") << "word" << "z" << "cmd" << "unchanged";
        QTest::newRow("output: Backspace deletes nothing") << "word" << "{Backspace}" << "cmd" << "unchanged";
        QTest::newRow("output: Delete deletes nothing") << "word" << "{Del}" << "cmd" << "unchanged";
        QTest::newRow("output: cut takes nothing") << "word" << "{Ctrl+X}" << "cmd" << "unchanged";
        QTest::newRow("all: a letter replaces the command") << "{Ctrl+A}" << "z" << "z" << "unchanged";
        QTest::newRow("all: Backspace clears the command") << "{Ctrl+A}" << "{Backspace}" << "" << "unchanged";
        QTest::newRow("all: cut takes the command only") << "{Ctrl+A}" << "{Ctrl+X}" << "" << "cmd";
        QTest::newRow("dragged: Delete clears the command") << "drag" << "{Del}" << "d" << "unchanged";
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

    void completionOffersNames_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("builtin") << "pri" << "print";
        QTest::newRow("keyword") << "whi" << "while";
        QTest::newRow("main module") << "completion_t" << "completion_target";
        QTest::newRow("module attribute") << "os.pa" << "path";
        QTest::newRow("dotted twice") << "os.path.jo" << "join";
        QTest::newRow("after an operator") << "x = completion_target.bit_l" << "bit_length";
    }

    void completionOffersNames()
    {
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        user.submit("import os; completion_target = 5");
        user.press(typed + "{Tab}");
        QAbstractItemView* popup = console->getCompleter()->popup();
        QVERIFY(popup->isVisible());
        const QStringList names = static_cast<QStringListModel*>(console->getCompleter()->model())->stringList();
        const QString prefix = typed.mid(typed.lastIndexOf(QRegularExpression("[ .]")) + 1);
        QVERIFY2(names.contains(expected) && names.filter(QRegularExpression('^' + prefix)) == names, qPrintable(names.join(' ')));

        // Picking the entry replaces the typed part of the name, and Return does not run the line.
        for (int down = 0; down <= names.indexOf(expected); ++down)
            QTest::keyClick(popup, Qt::Key_Down);
        QTest::keyClick(popup, Qt::Key_Return);
        QVERIFY(!popup->isVisible());
        QCOMPARE(user.commandLine(), typed.chopped(prefix.size()) + expected);
    }

    void completionOfUnknownNamesOffersNothing_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("unknown object") << "no_such_object.x";
        QTest::newRow("unknown attribute") << "os.no_such_attribute.x";
        QTest::newRow("attribute that raises") << "raising.boom.x";
        QTest::newRow("nothing matches") << "zzzqqq";
        QTest::newRow("a number") << "1.";
    }

    void completionOfUnknownNamesOffersNothing()
    {
        QFETCH(QString, typed);
        user.submitBlock({"class Raising:", "    @property", "    def boom(self): raise RuntimeError('boom')"});
        user.submit("import os; raising = Raising()");
        user.press(typed + "{Tab}");
        QVERIFY(!console->getCompleter()->popup()->isVisible());
        QVERIFY(!ConsoleUser::pythonErrorPending());
        QCOMPARE(user.commandLine(), typed);
        user.press("{Ctrl+A}{Backspace}print('still fine')\n");
        QCOMPARE(user.lastLines(2), "still fine\n>>> ");
        QVERIFY(!console->hadError());
    }
};

QTEST_MAIN(tst_pythonqt_consoleedit)
#include "tst_pythonqt_consoleedit.moc"
