// A long seeded run of random user input on the real console editor: keys of the console's own
// table with and without Shift and Control, typed text, Return, clicks, drags, copies and pastes
// of one or many lines. Whatever happens, the text before the prompt changes only by the
// console's own output, and the cursor never rests before the prompt without a selection.
#include "support/ConsoleHost.h"

#include "console/PythonScriptConsoleTextEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QRandomGenerator>
#include <QTest>

namespace {

// Names no Python keyword can be spelt from, so that random lines never make a loop.
const QString alphabet = QStringLiteral("abcxyz0123456789 +-*/%()[]{}'\".,:;=<>#_\\");

const Qt::Key tableKeys[] = {Qt::Key_Home,  Qt::Key_End,    Qt::Key_Left,   Qt::Key_Right,
                             Qt::Key_Up,    Qt::Key_Down,   Qt::Key_Backspace, Qt::Key_Delete,
                             Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab,    Qt::Key_Escape,
                             Qt::Key_A,     Qt::Key_C,      Qt::Key_V,      Qt::Key_X,
                             Qt::Key_Z,     Qt::Key_K,      Qt::Key_U,      Qt::Key_Insert,
                             Qt::Key_PageUp, Qt::Key_PageDown};

int eventCount()
{
    bool ok = false;
    const int fromEnvironment = qEnvironmentVariableIntValue("CONSOLE_FUZZ_EVENTS", &ok);
    return ok && fromEnvironment > 0 ? fromEnvironment : 100000;
}

} // namespace

class TestConsoleFuzz : public QObject
{
    Q_OBJECT

private:
    PythonScriptConsoleTextEdit* edit() const { return host->editor(); }

    QString randomText(int maxLength)
    {
        QString text;
        const int length = int(random.bounded(maxLength + 1));
        for (int i = 0; i < length; ++i)
            text += alphabet.at(int(random.bounded(int(alphabet.size()))));
        return text;
    }

    QPoint randomPoint()
    {
        const QSize size = edit()->viewport()->size();
        return QPoint(int(random.bounded(qMax(1, size.width()))), int(random.bounded(qMax(1, size.height()))));
    }

    Qt::KeyboardModifiers randomModifiers()
    {
        Qt::KeyboardModifiers modifiers;
        if (random.bounded(3) == 0)
            modifiers |= Qt::ShiftModifier;
        if (random.bounded(4) == 0)
            modifiers |= Qt::ControlModifier;
        return modifiers;
    }

    // Several lines joined by LF, CRLF or CR, as other programs put them on the clipboard.
    QString randomPaste()
    {
        static const QString breaks[] = {QStringLiteral("\n"), QStringLiteral("\r\n"), QStringLiteral("\r")};
        QStringList lines;
        const int count = 1 + int(random.bounded(4));
        for (int i = 0; i < count; ++i)
            lines << randomText(12);
        return lines.join(breaks[random.bounded(3)]);
    }

    // Performs one random user action and says what it was.
    QString act()
    {
        QWidget* viewport = edit()->viewport();
        switch (random.bounded(10)) {
        case 0:
        case 1:
        case 2: {
            const QString text = randomText(6);
            QTest::keyClicks(edit(), text);
            return QStringLiteral("typed '%1'").arg(text);
        }
        case 3:
        case 4:
        case 5: {
            const Qt::Key key = tableKeys[random.bounded(int(std::size(tableKeys)))];
            const Qt::KeyboardModifiers modifiers = randomModifiers();
            QTest::keyClick(edit(), key, modifiers);
            return QStringLiteral("key %1 with modifiers %2").arg(int(key), 0, 16).arg(int(modifiers), 0, 16);
        }
        case 6:
            QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, randomPoint());
            return QStringLiteral("click");
        case 7:
            QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, randomPoint());
            QTest::mouseMove(viewport, randomPoint());
            QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, randomPoint());
            return QStringLiteral("drag");
        case 8:
            QApplication::clipboard()->setText(randomPaste());
            QTest::keyClick(edit(), Qt::Key_V, Qt::ControlModifier);
            return QStringLiteral("paste");
        default:
            edit()->copy();
            return QStringLiteral("copy");
        }
    }

    std::unique_ptr<ConsoleHost> host;
    QRandomGenerator random;

private slots:
    void initTestCase()
    {
        host = std::make_unique<ConsoleHost>();
        QVERIFY(QTest::qWaitForWindowExposed(host->window()));
    }

    void randomInputNeverChangesTheProtectedOutput()
    {
        const quint32 seed = quint32(qEnvironmentVariableIntValue("CONSOLE_FUZZ_SEED"));
        random.seed(seed);
        const int events = eventCount();
        for (int done = 0; done < events; ++done) {
            // A fresh page now and then keeps every check cheap.
            if (done % 400 == 0) {
                if (edit()->getCommandPrompt() == PythonScriptConsoleTextEdit::continuationPrompt)
                    QTest::keyClick(edit(), Qt::Key_Return, Qt::ShiftModifier);
                edit()->clear();
            }
            const QString before = edit()->toPlainText();
            const int protectedLength = edit()->commandPromptPosition();
            const QString action = act();
            const QString after = edit()->toPlainText();
            const QTextCursor cursor = edit()->textCursor();
            if (!after.startsWith(QStringView(before).left(protectedLength))) {
                qsizetype at = 0;
                while (at < after.size() && before.at(at) == after.at(at))
                    ++at;
                QFAIL(qPrintable(QStringLiteral("event %1 (%7, seed %2) changed the output at %3 of %4:\n%5\n---\n%6")
                                     .arg(done).arg(seed).arg(at).arg(protectedLength)
                                     .arg(before.mid(at - 30, 80), after.mid(at - 30, 80), action)));
            }
            if (!cursor.hasSelection() && cursor.position() < edit()->commandPromptPosition())
                QFAIL(qPrintable(QStringLiteral("event %1 (%3, seed %2) left the cursor before the prompt").arg(done).arg(seed).arg(action)));
        }
    }
};

QTEST_MAIN(TestConsoleFuzz)
#include "tst_consolefuzz.moc"
