// The bare console widget driven by real key events against a real interpreter.
#include "PythonQt.h"
#include "PythonQtScriptingConsole.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

class TestPythonQtConsole : public QObject
{
    Q_OBJECT

private:
    void type(const QString& line, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClicks(m_console, line);
        QTest::keyClick(m_console, Qt::Key_Return, modifiers);
    }
    QString lastLines(int count) const
    {
        const QStringList lines = m_console->toPlainText().split(QLatin1Char('\n'));
        return lines.mid(lines.size() - count).join(QLatin1Char('\n'));
    }

    PythonQtScriptingConsole* m_console = nullptr;
    std::unique_ptr<QWidget> m_window;

private slots:
    void initTestCase()
    {
        PythonQt::init(PythonQt::RedirectStdOut | PythonQt::IgnoreSiteModule);
        QVERIFY(PythonQt::self()->initSuccessfully());
        PythonQt::self()->startThreads();
        m_window = std::make_unique<QWidget>();
        m_console = new PythonQtScriptingConsole(m_window.get(), PythonQt::self()->getMainModule());
        m_window->resize(600, 400);
        m_console->resize(600, 400);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_console->setFocus();
    }

    void init() { m_console->clear(); }

    void printsOutputAndAFreshPrompt()
    {
        type(QStringLiteral("print(6 * 7)"));
        QCOMPARE(lastLines(3), QStringLiteral(">>> print(6 * 7)\n42\n>>> "));
        QCOMPARE(m_console->commandPromptPosition(), m_console->toPlainText().size());
    }

    void blocksGatherLinesAndRunOnce()
    {
        type(QStringLiteral("for i in range(2):"));
        QCOMPARE(m_console->getCommandPrompt(), QStringLiteral("... "));
        type(QStringLiteral("    print(i)"));
        type(QString());
        QCOMPARE(lastLines(3), QStringLiteral("0\n1\n>>> "));
    }

    void tracebacksAndSystemExitNeverEndTheProcess()
    {
        type(QStringLiteral("1/0"));
        QVERIFY(m_console->hadError());
        QVERIFY(m_console->toPlainText().contains(QStringLiteral("ZeroDivisionError: division by zero")));
        type(QStringLiteral("exit(3)"));
        QVERIFY(m_console->toPlainText().contains(QStringLiteral("SystemExit: 3")));
        QCOMPARE(lastLines(1), QStringLiteral(">>> "));
    }

    void inputReadsALineTypedIntoTheConsole()
    {
        QTimer::singleShot(100, this, [this] {
            QTest::keyClicks(m_console, QStringLiteral("Ada"));
            QTest::keyClick(m_console, Qt::Key_Return);
        });
        type(QStringLiteral("name = input('Name: ')"));
        type(QStringLiteral("print('hi', name)"));
        QVERIFY2(m_console->toPlainText().contains(QStringLiteral("Name: Ada\n")), qPrintable(m_console->toPlainText()));
        QCOMPARE(lastLines(2), QStringLiteral("hi Ada\n>>> "));
    }

    void ctrlCInterruptsAnEndlessLoop()
    {
        QTimer::singleShot(200, this, [this] { QTest::keyClick(m_console, Qt::Key_C, Qt::ControlModifier); });
        type(QStringLiteral("while True: pass"));
        type(QString()); // a compound statement ends with an empty line
        QVERIFY2(m_console->toPlainText().contains(QStringLiteral("KeyboardInterrupt")), qPrintable(m_console->toPlainText()));
        QCOMPARE(lastLines(1), QStringLiteral(">>> "));
    }

    void floodsStayBounded()
    {
        m_console->setMaximumOutputLines(1000);
        type(QStringLiteral("for i in range(100000): print(i)"));
        type(QString());
        QVERIFY(m_console->document()->blockCount() <= 1000);
        QCOMPARE(lastLines(2), QStringLiteral("99999\n>>> "));
        m_console->setMaximumOutputLines(20000);
    }
};

QTEST_MAIN(TestPythonQtConsole)
#include "tst_pythonqt_console.moc"
