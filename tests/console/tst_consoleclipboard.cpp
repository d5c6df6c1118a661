// Copy without prompts and paste replayed as submitted lines, through the keyboard, the mouse and
// the console's menu.
#include "support/ConsoleHost.h"

#include "console/PythonScriptConsoleTextEdit.h"
#include "console/PythonScriptConsoleView.h"

#include <AC_Menu.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QTest>

class TestConsoleClipboard : public QObject
{
    Q_OBJECT

private:
    PythonScriptConsoleTextEdit* edit() const { return host->editor(); }

    void paste(const QString& text)
    {
        QApplication::clipboard()->setText(text);
        QTest::keyClick(edit(), Qt::Key_V, Qt::ControlModifier);
    }

    void triggerMenu(const char* actionId)
    {
        QAction* action = host->view()->menu(0)->findAction(QLatin1String(actionId));
        QVERIFY2(action, actionId);
        action->trigger();
    }

    // The value of a name in __main__, as the console prints it.
    QString valueOf(const QString& name)
    {
        QTest::keyClicks(edit(), name);
        QTest::keyClick(edit(), Qt::Key_Return);
        const QStringList lines = edit()->toPlainText().split(QLatin1Char('\n'));
        return lines.size() >= 2 ? lines.at(lines.size() - 2) : QString();
    }

    QString commandLine() const { return host->commandLine(); }

    std::unique_ptr<ConsoleHost> host;

private slots:
    void initTestCase()
    {
        host = std::make_unique<ConsoleHost>();
        QVERIFY(edit());
        QVERIFY(QTest::qWaitForWindowExposed(host->window()));
        edit()->setFocus();
    }

    void init()
    {
        edit()->clear();
        edit()->clearError();
    }

    void copyLeavesThePromptsOut()
    {
        QTest::keyClicks(edit(), QStringLiteral("print('  >>> z')"));
        QTest::keyClick(edit(), Qt::Key_Return);
        QTest::keyClicks(edit(), QStringLiteral("if True:"));
        QTest::keyClick(edit(), Qt::Key_Return);
        QTest::keyClicks(edit(), QStringLiteral("x = 1"));
        triggerMenu("selectAll");
        triggerMenu("copy");
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("print('  >>> z')\n  >>> z\nif True:\n  x = 1"));
    }

    void linesPasteAsOnePieceOfCode_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::newRow("CRLF") << QStringLiteral("a = 1\r\nb = a + 1\r\n") << QStringLiteral("b") << QStringLiteral("2");
        QTest::newRow("CR only") << QStringLiteral("c = 5\rd = c * 2\r") << QStringLiteral("d") << QStringLiteral("10");
        QTest::newRow("block then statement") << QStringLiteral("total = 0\nfor i in range(4):\n    total += i\nresult = total\n")
                                              << QStringLiteral("result") << QStringLiteral("6");
        QTest::newRow("no final line feed") << QStringLiteral("e = 3\nf = e")
                                            << QStringLiteral("e") << QStringLiteral("3");
    }

    void linesPasteAsOnePieceOfCode()
    {
        QFETCH(QString, pasted);
        QFETCH(QString, name);
        QFETCH(QString, value);
        paste(pasted);
        QVERIFY2(!edit()->hadError(), qPrintable(edit()->toPlainText()));
        if (!pasted.endsWith(QLatin1Char('\n')) && !pasted.endsWith(QLatin1Char('\r'))) {
            // The last line waits on the command line; a single statement runs as typed.
            QCOMPARE(commandLine(), pasted.section(QLatin1Char('\n'), -1));
            QTest::keyClick(edit(), Qt::Key_Return, Qt::ShiftModifier);
            QVERIFY2(!edit()->hadError(), qPrintable(edit()->toPlainText()));
        }
        QCOMPARE(commandLine(), QString());
        QCOMPARE(edit()->getCommandPrompt(), PythonScriptConsoleTextEdit::primaryPrompt);
        // The next line is one interactive statement again: its value is echoed.
        QCOMPARE(valueOf(name), value);
    }

    void oneLineWithItsLineFeedRunsAsTyped()
    {
        paste(QStringLiteral("print(40 + 2)\n"));
        QVERIFY(edit()->toPlainText().endsWith(QLatin1String(">>> print(40 + 2)\n42\n>>> ")));
    }

    void pasteGoesIntoTheCommandLineAtTheCursor()
    {
        QTest::keyClicks(edit(), QStringLiteral("ab"));
        QTest::keyClick(edit(), Qt::Key_Left);
        paste(QStringLiteral("x"));
        QCOMPARE(commandLine(), QStringLiteral("axb"));
        QCOMPARE(edit()->textCursor().position(), edit()->toPlainText().size());
    }

    void pasteReplacesASelectedPartOfTheCommand()
    {
        QTest::keyClicks(edit(), QStringLiteral("abcd"));
        QTest::keyClick(edit(), Qt::Key_Left, Qt::ShiftModifier);
        QTest::keyClick(edit(), Qt::Key_Left, Qt::ShiftModifier);
        paste(QStringLiteral("XY"));
        QCOMPARE(commandLine(), QStringLiteral("abXY"));
    }

    void pasteOverProtectedOutputChangesNothing()
    {
        QTest::keyClicks(edit(), QStringLiteral("print('kept')"));
        QTest::keyClick(edit(), Qt::Key_Return);
        const QString before = edit()->toPlainText();
        const int output = int(before.lastIndexOf(QLatin1String("kept")));
        QTextCursor selection(edit()->document());
        selection.setPosition(output);
        selection.setPosition(output + 4, QTextCursor::KeepAnchor);
        edit()->setTextCursor(selection);
        paste(QStringLiteral("evil\nmore evil\n"));
        QCOMPARE(edit()->toPlainText(), before);

        paste(QString());
        QCOMPARE(edit()->toPlainText(), before);
    }

    void tenThousandLinesPasteAndRun()
    {
        QString lines;
        for (int i = 0; i < 10000; ++i)
            lines += QStringLiteral("v%1 = %1\n").arg(i);
        paste(lines);
        QVERIFY(!edit()->hadError());
        QCOMPARE(valueOf(QStringLiteral("v9999")), QStringLiteral("9999"));
    }

    void theMenuPastesToo()
    {
        QApplication::clipboard()->setText(QStringLiteral("g = 7\nh = g * 6\n"));
        triggerMenu("paste");
        QCOMPARE(valueOf(QStringLiteral("h")), QStringLiteral("42"));
    }
};

QTEST_MAIN(TestConsoleClipboard)
#include "tst_consoleclipboard.moc"
