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
#include <QTest>

#include <memory>

class TestPythonQtConsole : public QObject
{
    Q_OBJECT

private:
    enum Selection { OutputWord, Everything, OutputIntoCommand };

    void select(Selection selection);
    QPoint pointAt(int position) const;
    QStringList offered() const;

    std::unique_ptr<PythonQtScriptingConsole> m_console;
    std::unique_ptr<ConsoleUser> m_user;

private slots:
    void initTestCase()
    {
        QVERIFY(ConsoleUser::startInterpreter());
        m_console = std::make_unique<PythonQtScriptingConsole>(nullptr, PythonQt::self()->getMainModule());
        m_user = std::make_unique<ConsoleUser>(m_console.get());
        QVERIFY(m_user->show());
    }

    void init()
    {
        m_console->setMaximumOutputLines(20000);
        m_console->setHistory({});
        m_console->clear();
    }

    void historyNavigation_data()
    {
        QTest::addColumn<QString>("typed");
        // U: Up, D: Down, anything else is typed.
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("commandLine");
        QTest::newRow("Up shows the newest") << "half" << "U" << 2 << "c = 3";
        QTest::newRow("Up stops at the oldest") << "" << "UUUUU" << 0 << "a = 1";
        QTest::newRow("Down at the typed line stays") << "half" << "D" << 3 << "half";
        QTest::newRow("Up then Down gives the half-typed line back") << "half" << "UD" << 3 << "half";
        QTest::newRow("from the oldest down past the newest") << "half" << "UUUDDDDD" << 3 << "half";
        QTest::newRow("an edited entry is not kept") << "half" << "U9UD" << 2 << "c = 3";
        QTest::newRow("editing an entry keeps the half-typed line") << "half" << "U9D" << 3 << "half";
    }

    void historyNavigation()
    {
        QFETCH(QString, typed);
        QFETCH(QString, keys);
        const QStringList history{QStringLiteral("a = 1"), QStringLiteral("b = 2"), QStringLiteral("c = 3")};
        m_console->setHistory(history);
        QTest::keyClicks(m_console.get(), typed);
        for (const QChar key : keys) {
            if (key == QLatin1Char('U') || key == QLatin1Char('D'))
                QTest::keyClick(m_console.get(), key == QLatin1Char('U') ? Qt::Key_Up : Qt::Key_Down);
            else
                QTest::keyClicks(m_console.get(), key);
        }
        QTEST(m_console->getHistoryPosition(), "position");
        QTEST(m_user->commandLine(), "commandLine");
        QCOMPARE(m_console->history(), history);
        QCOMPARE(m_console->textCursor().position(), m_console->toPlainText().size());
    }

    void historyStoresSubmittedLinesOnceInARow()
    {
        for (const char* line : {"x = 1", "x = 1", "", "y = 2", "x = 1"})
            m_user->submit(QString::fromLatin1(line));
        const QStringList expected{QStringLiteral("x = 1"), QStringLiteral("y = 2"), QStringLiteral("x = 1")};
        QCOMPARE(m_console->history(), expected);
        QCOMPARE(m_console->getHistoryPosition(), 3);
        QTest::keyClick(m_console.get(), Qt::Key_Up);
        QCOMPARE(m_user->commandLine(), QStringLiteral("x = 1"));
        QTest::keyClick(m_console.get(), Qt::Key_Down);
        QCOMPARE(m_user->commandLine(), QString());
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
        m_user->submit(code);
        QVERIFY2(m_console->toPlainText().endsWith(before + QStringLiteral("\n>>> ")), qPrintable(m_console->toPlainText()));
        QCOMPARE(m_console->commandPromptPosition(), m_console->toPlainText().size());
        QTest::keyClicks(m_console.get(), QStringLiteral("next"));
        QTest::keyClick(m_console.get(), Qt::Key_Home);
        QCOMPARE(m_console->textCursor().position(), m_console->commandPromptPosition());
        QCOMPARE(m_user->commandLine(), QStringLiteral("next"));
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
        m_console->setMaximumOutputLines(lines);
        m_user->submitBlock({QStringLiteral("for i in range(50):"), QStringLiteral("    print(i)")});
        QVERIFY(m_console->document()->blockCount() <= lines);
        QFETCH(QString, ending);
        QVERIFY2(m_console->toPlainText().endsWith(ending), qPrintable(m_console->toPlainText()));
        QCOMPARE(m_console->commandPromptPosition(), m_console->toPlainText().size());
        m_user->submit(QStringLiteral("print('after')"));
        QVERIFY(m_console->document()->blockCount() <= lines);
        QTest::keyClicks(m_console.get(), QStringLiteral("typed"));
        QCOMPARE(m_user->commandLine(), QStringLiteral("typed"));
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
        m_console->setMaximumOutputLines(lines);
        QTest::keyClicks(m_console.get(), QStringLiteral("half"));
        m_console->consoleMessage(QStringLiteral("first"));
        m_console->stdOut(QStringLiteral("second"));
        QVERIFY2(m_console->toPlainText().endsWith(QStringLiteral("second\n>>> half")), qPrintable(m_console->toPlainText()));
        // Text that did not end its line is continued by the next.
        m_console->stdErr(QStringLiteral(" continued\nthird\n"));
        const QString kept = QStringLiteral("second continued\nthird\n>>> half").section(QLatin1Char('\n'), -qMin(lines, 3));
        QVERIFY2(m_console->toPlainText().endsWith(kept), qPrintable(m_console->toPlainText()));
        QCOMPARE(m_user->commandLine(), QStringLiteral("half"));
        QTest::keyClicks(m_console.get(), QStringLiteral("!"));
        QCOMPARE(m_user->commandLine(), QStringLiteral("half!"));
    }

    void protectedSelections_data()
    {
        QTest::addColumn<int>("selection");
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QString>("clipboard");
        const QKeySequence typeZ(Qt::Key_Z);
        const QKeySequence backspace(Qt::Key_Backspace);
        const QKeySequence del(Qt::Key_Delete);
        const QKeySequence cut(QKeySequence::Cut);
        QTest::newRow("output: a letter is dropped") << int(OutputWord) << typeZ << "cmd" << "unchanged";
        QTest::newRow("output: Backspace deletes nothing") << int(OutputWord) << backspace << "cmd" << "unchanged";
        QTest::newRow("output: Delete deletes nothing") << int(OutputWord) << del << "cmd" << "unchanged";
        QTest::newRow("output: cut takes nothing") << int(OutputWord) << cut << "cmd" << "unchanged";
        QTest::newRow("all: a letter replaces the command") << int(Everything) << typeZ << "z" << "unchanged";
        QTest::newRow("all: Backspace clears the command") << int(Everything) << backspace << "" << "unchanged";
        QTest::newRow("all: cut takes the command only") << int(Everything) << cut << "" << "cmd";
        QTest::newRow("dragged: Delete clears the command") << int(OutputIntoCommand) << del << "d" << "unchanged";
        QTest::newRow("dragged: cut takes the command part") << int(OutputIntoCommand) << cut << "d" << "cm";
    }

    void protectedSelections()
    {
        QFETCH(int, selection);
        QFETCH(QKeySequence, key);
        m_user->submit(QStringLiteral("print('protected output')"));
        QTest::keyClicks(m_console.get(), QStringLiteral("cmd"));
        const QString output = m_console->toPlainText().chopped(QStringLiteral(">>> cmd").size());
        QApplication::clipboard()->setText(QStringLiteral("unchanged"));

        select(Selection(selection));
        QVERIFY(m_console->textCursor().hasSelection());
        QTest::keySequence(m_console.get(), key);

        QCOMPARE(m_console->toPlainText(), output + QStringLiteral(">>> ") + m_user->commandLine());
        QTEST(m_user->commandLine(), "commandLine");
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
        m_user->submit(QStringLiteral("import os; completion_target = 5"));
        QTest::keyClicks(m_console.get(), typed);
        QTest::keyClick(m_console.get(), Qt::Key_Tab);
        QVERIFY(m_console->getCompleter()->popup()->isVisible());
        const QStringList names = offered();
        QVERIFY2(names.contains(expected), qPrintable(names.join(QLatin1Char(' '))));
        const QString prefix = typed.mid(typed.lastIndexOf(QRegularExpression(QStringLiteral("[ .]"))) + 1);
        for (const QString& name : names)
            QVERIFY2(name.startsWith(prefix), qPrintable(name));

        // Picking the entry replaces the typed part of the name, and Return does not run the line.
        QAbstractItemView* popup = m_console->getCompleter()->popup();
        const QModelIndex row = popup->model()->match(popup->model()->index(0, 0), Qt::DisplayRole, expected, 1,
                                                      Qt::MatchExactly).value(0);
        QVERIFY(row.isValid());
        for (int down = 0; down <= row.row(); ++down)
            QTest::keyClick(popup, Qt::Key_Down);
        QTest::keyClick(popup, Qt::Key_Return);
        QVERIFY(!popup->isVisible());
        QCOMPARE(m_user->commandLine(), typed.left(typed.size() - prefix.size()) + expected);
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
        m_user->submitBlock({QStringLiteral("class Raising:"), QStringLiteral("    @property"),
                             QStringLiteral("    def boom(self): raise RuntimeError('boom')")});
        m_user->submit(QStringLiteral("import os; raising = Raising()"));
        QTest::keyClicks(m_console.get(), typed);
        QTest::keyClick(m_console.get(), Qt::Key_Tab);
        QVERIFY(!m_console->getCompleter()->popup()->isVisible());
        QVERIFY(!ConsoleUser::pythonErrorPending());
        QCOMPARE(m_user->commandLine(), typed);
        QTest::keyClick(m_console.get(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(m_console.get(), Qt::Key_Backspace);
        m_user->submit(QStringLiteral("print('still fine')"));
        QCOMPARE(m_user->lastLines(2), QStringLiteral("still fine\n>>> "));
        QVERIFY(!m_console->hadError());
    }
};

QStringList TestPythonQtConsole::offered() const
{
    return static_cast<QStringListModel*>(m_console->getCompleter()->model())->stringList();
}

QPoint TestPythonQtConsole::pointAt(int position) const
{
    QTextCursor cursor(m_console->document());
    cursor.setPosition(position);
    return m_console->cursorRect(cursor).center();
}

// Selects the way a user does: double-click on a word, Ctrl+A, or a drag with the mouse.
void TestPythonQtConsole::select(Selection selection)
{
    const QString text = m_console->toPlainText();
    const int word = int(text.lastIndexOf(QStringLiteral("output")));
    QWidget* viewport = m_console->viewport();
    switch (selection) {
    case OutputWord:
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, pointAt(word + 2));
        break;
    case Everything:
        QTest::keyClick(m_console.get(), Qt::Key_A, Qt::ControlModifier);
        break;
    case OutputIntoCommand:
        QTest::mousePress(viewport, Qt::LeftButton, {}, pointAt(word));
        QTest::mouseMove(viewport, pointAt(int(text.size()) - 1));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, pointAt(int(text.size()) - 1));
        break;
    }
}

QTEST_MAIN(TestPythonQtConsole)
#include "tst_pythonqt_console.moc"
