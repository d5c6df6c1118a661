// The bare console while its code runs: interrupting, input() and sys.stdin, user input held
// back from the rest of the application, and output of other threads.
#include "PythonQt.h"
#include "PythonQtScriptingConsole.h"
#include "support/ConsoleUser.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {

// Keys for the console: Return, Backspace, Ctrl+C and Ctrl+D by their control characters,
// anything else typed.
void press(QWidget* widget, const QString& keys)
{
    for (const QChar key : keys) {
        switch (key.unicode()) {
        case '\n':
            QTest::keyClick(widget, Qt::Key_Return);
            break;
        case '\b':
            QTest::keyClick(widget, Qt::Key_Backspace);
            break;
        case 0x03:
            QTest::keyClick(widget, Qt::Key_C, Qt::ControlModifier);
            break;
        case 0x04:
            QTest::keyClick(widget, Qt::Key_D, Qt::ControlModifier);
            break;
        default:
            QTest::keyClicks(widget, key);
            break;
        }
    }
}

const QStringList endlessLoop{QStringLiteral("while True:"), QStringLiteral("    pass")};

} // namespace

class TestPythonQtConsoleResponsive : public QObject
{
    Q_OBJECT

private:
    QString text() const { return m_console->toPlainText(); }
    QString outputAfter(const QString& code) const
    {
        return text().mid(text().lastIndexOf(code) + code.size());
    }

    std::unique_ptr<PythonQtScriptingConsole> m_console;
    std::unique_ptr<ConsoleUser> m_user;
    std::unique_ptr<QWidget> m_other;
    QToolButton* m_interruptButton = nullptr;
    QPushButton* m_button = nullptr;
    QLineEdit* m_lineEdit = nullptr;

private slots:
    void initTestCase()
    {
        QVERIFY(ConsoleUser::startInterpreter());
        m_console = std::make_unique<PythonQtScriptingConsole>(nullptr, PythonQt::self()->getMainModule());
        m_user = std::make_unique<ConsoleUser>(m_console.get());

        // Another window of the application, with an interrupt control.
        m_other = std::make_unique<QWidget>();
        m_button = new QPushButton(QStringLiteral("Other"), m_other.get());
        m_lineEdit = new QLineEdit(m_other.get());
        m_lineEdit->move(0, 40);
        m_interruptButton = new QToolButton(m_other.get());
        m_interruptButton->move(0, 80);
        auto* interrupt = new QAction(QStringLiteral("Interrupt"), m_interruptButton);
        interrupt->setObjectName(QStringLiteral("interrupt"));
        m_interruptButton->setDefaultAction(interrupt);
        connect(interrupt, &QAction::triggered, m_console.get(), &PythonQtScriptingConsole::interrupt);
        m_other->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_other.get()));
        QVERIFY(m_user->show());
    }

    void init()
    {
        m_console->clear();
        m_console->setFocus();
    }

    void endlessLoopIsInterrupted_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Ctrl+C") << 0;
        QTest::newRow("interrupt() from a timer") << 1;
        QTest::newRow("the interrupt tool button") << 2;
    }

    void endlessLoopIsInterrupted()
    {
        QFETCH(int, how);
        QObject scope;
        ConsoleUser::whileRunning(&scope, 150, [&] {
            QVERIFY(m_console->isExecuting());
            if (how == 0)
                QTest::keyClick(m_console.get(), Qt::Key_C, Qt::ControlModifier);
            else if (how == 1)
                m_console->interrupt();
            else
                QTest::mouseClick(m_interruptButton, Qt::LeftButton);
        });
        m_user->submitBlock(endlessLoop);
        QVERIFY2(text().contains(QStringLiteral("KeyboardInterrupt")), qPrintable(text()));
        QCOMPARE(m_user->lastLines(1), QStringLiteral(">>> "));
        QVERIFY(!m_console->isExecuting());
        // A request made when nothing runs is not kept for the next run.
        m_console->interrupt();
        m_user->submit(QStringLiteral("print(sum(range(100000)))"));
        QCOMPARE(m_user->lastLines(2), QStringLiteral("4999950000\n>>> "));
    }

    void userInputWaitsUntilTheRunEnds()
    {
        QSignalSpy clicked(m_button, &QPushButton::clicked);
        QObject scope;
        QString shownWhileRunning;
        ConsoleUser::whileRunning(&scope, 300, [&] {
            shownWhileRunning = text();
            QTest::mouseClick(m_button, Qt::LeftButton);
            QTest::keyClicks(m_lineEdit, QStringLiteral("typed elsewhere"));
            QTest::keyClicks(m_console.get(), QStringLiteral("typed into the console"));
            QTest::keyClick(m_console.get(), Qt::Key_Return);
            m_console->interrupt();
        });
        m_user->submitBlock({QStringLiteral("if True:"), QStringLiteral("    print('before the loop')"),
                             QStringLiteral("    while True: pass")});
        QVERIFY2(shownWhileRunning.endsWith(QStringLiteral("before the loop")), qPrintable(shownWhileRunning));
        QCOMPARE(clicked.count(), 0);
        QCOMPARE(m_lineEdit->text(), QString());
        QCOMPARE(m_user->commandLine(), QString());
        QCOMPARE(m_console->history().last(), QStringLiteral("    while True: pass"));
        QTest::mouseClick(m_button, Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
    }

    void inputReadsALineTypedIntoTheConsole_data()
    {
        QTest::addColumn<QString>("code");
        // Typed one after the other, a moment apart.
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("shown");
        const QString ask = QStringLiteral("s = input('Name: '); print(repr(s))");
        const QString readLine = QStringLiteral("import sys; print(repr(sys.stdin.readline()))");
        QTest::newRow("a typed line") << ask << QStringList{"Ada\n"} << "Name: Ada\n'Ada'\n>>> ";
        QTest::newRow("Backspace edits the answer") << ask << QStringList{"Adx\bam\n"} << "'Adam'";
        QTest::newRow("Backspace stops at the answer's start") << ask << QStringList{"\b\b\bok\n"} << "Name: ok\n'ok'";
        QTest::newRow("an empty line") << ask << QStringList{"\n"} << "''";
        QTest::newRow("Ctrl+D after text does nothing") << ask << QStringList{"ab\x04\n"} << "'ab'";
        QTest::newRow("Ctrl+D on an empty line") << ask << QStringList{"\x04"} << "EOFError: EOF when reading a line";
        QTest::newRow("Ctrl+C") << ask << QStringList{"ab\x03"} << "KeyboardInterrupt";
        QTest::newRow("sys.stdin.readline()") << readLine << QStringList{"abc\n"} << "'abc\\n'";
        QTest::newRow("readline at end of input") << readLine << QStringList{"\x04"} << "''";
        QTest::newRow("two lines") << "print(input() + input())" << QStringList{"a\n", "b\n"} << "ab\n>>> ";
        QTest::newRow("iterating over stdin") << "import sys; print([l for l in sys.stdin])" << QStringList{"x\n", "y\n", "\x04"}
                                              << "['x\\n', 'y\\n']";
    }

    void inputReadsALineTypedIntoTheConsole()
    {
        QFETCH(QString, code);
        QFETCH(QStringList, answers);
        QFETCH(QString, shown);
        QObject scope;
        for (int i = 0; i < answers.size(); ++i) {
            ConsoleUser::whileRunning(&scope, 100 + 150 * i, [this, answer = answers.at(i)] {
                QVERIFY(m_console->isExecuting());
                press(m_console.get(), answer);
            });
        }
        ConsoleUser::whileRunning(&scope, 10000, [this] { m_console->interrupt(); }); // never waits for ever
        m_user->submit(code);
        QVERIFY2(outputAfter(code).contains(shown), qPrintable(outputAfter(code)));
        QCOMPARE(m_user->lastLines(1), QStringLiteral(">>> "));
        QVERIFY(!m_console->history().contains(QStringLiteral("Ada")));
        m_user->submit(QStringLiteral("print('next')"));
        QCOMPARE(m_user->lastLines(2), QStringLiteral("next\n>>> "));
    }

    void otherThreadsOutputIsShown()
    {
        m_user->submit(QStringLiteral("import threading, time"));
        const QString code = QStringLiteral("t = threading.Thread(target=lambda: [print('line', i) for i in range(300)]); t.start()");
        m_user->submit(code);
        QTRY_VERIFY2(text().contains(QStringLiteral("line 299")), qPrintable(text().right(200)));
        QCOMPARE(outputAfter(code).count(QStringLiteral("line ")), 300);
        QVERIFY(text().endsWith(QStringLiteral("\n>>> ")));
        QTest::keyClicks(m_console.get(), QStringLiteral("typed"));
        QCOMPARE(m_user->commandLine(), QStringLiteral("typed"));
    }

    void threadOutputAfterTheRunGoesAboveTheCommandLine()
    {
        m_user->submit(QStringLiteral("import threading, time, sys"));
        m_user->submit(QStringLiteral("def late(): time.sleep(0.2); print('late'); sys.stdout.write('a'); sys.stdout.write('b\\n')"));
        m_user->submit(QString());
        m_user->submit(QStringLiteral("threading.Thread(target=late).start()"));
        QTest::keyClicks(m_console.get(), QStringLiteral("typed"));
        QTRY_VERIFY2(text().endsWith(QStringLiteral("\nlate\nab\n>>> typed")), qPrintable(text()));
        QCOMPARE(m_user->commandLine(), QStringLiteral("typed"));
    }
};

QTEST_MAIN(TestPythonQtConsoleResponsive)
#include "tst_pythonqt_console_responsive.moc"
