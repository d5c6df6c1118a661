// A long seeded run of random user input on the real console editor: keys of the console's own
// table with and without Shift and Control, typed text, Return, clicks, drags, copies and pastes
// of one or many lines. Whatever happens, the text before the prompt changes only by the
// console's own output, and the cursor never rests before the prompt without a selection.
#include "support/ConsoleHost.h"

#include "console/PythonScriptConsoleTextEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QRandomGenerator>
#include <QtTest>

namespace {
// Names no Python keyword can be spelt from, so that random lines never make a loop.
const QString alphabet = "abcxyz0123456789 +-*/%()[]{}'\".,:;=<>#_\\";

const Qt::Key tableKeys[] = {Qt::Key_Home,   Qt::Key_End,   Qt::Key_Left, Qt::Key_Right,     Qt::Key_Up,     Qt::Key_Down,
                             Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab,  Qt::Key_Escape,
                             Qt::Key_A,      Qt::Key_C,     Qt::Key_V,    Qt::Key_X,         Qt::Key_Z,      Qt::Key_K,
                             Qt::Key_U,      Qt::Key_Insert, Qt::Key_PageUp, Qt::Key_PageDown};
}

class tst_reliability_consolefuzz : public QObject
{
    Q_OBJECT

    std::unique_ptr<ConsoleHost> host;
    QRandomGenerator random;

    PythonScriptConsoleTextEdit* edit() const { return host->editor(); }
    int below(int bound) { return int(random.bounded(bound)); }

    QString randomText(int maxLength)
    {
        QString text;
        for (int length = below(maxLength + 1); length > 0; --length)
            text += alphabet.at(below(int(alphabet.size())));
        return text;
    }

    QPoint randomPoint()
    {
        const QSize size = edit()->viewport()->size();
        return QPoint(below(qMax(1, size.width())), below(qMax(1, size.height())));
    }

    // Performs one random user action and says what it was.
    QString act()
    {
        QWidget* viewport = edit()->viewport();
        switch (below(10)) {
        case 0: case 1: case 2: {
            const QString text = randomText(6);
            QTest::keyClicks(edit(), text);
            return "typed '" + text + "'";
        }
        case 3: case 4: case 5: {
            const Qt::Key key = tableKeys[below(int(std::size(tableKeys)))];
            // Shift and Control drawn in this order, so that a seed replays alike with every compiler.
            const Qt::KeyboardModifiers shift = below(3) == 0 ? Qt::ShiftModifier : Qt::NoModifier;
            const Qt::KeyboardModifiers modifiers = shift | (below(4) == 0 ? Qt::ControlModifier : Qt::NoModifier);
            QTest::keyClick(edit(), key, modifiers);
            return QString("key %1 with modifiers %2").arg(int(key), 0, 16).arg(int(modifiers), 0, 16);
        }
        case 6:
            QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, randomPoint());
            return "click";
        case 7:
            QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, randomPoint());
            QTest::mouseMove(viewport, randomPoint());
            QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, randomPoint());
            return "drag";
        case 8: {
            // Several lines joined by LF, CRLF or CR, as other programs put them on the clipboard.
            QStringList lines;
            for (int count = 1 + below(4); count > 0; --count)
                lines << randomText(12);
            QApplication::clipboard()->setText(lines.join(QStringList{"\n", "\r\n", "\r"}.at(below(3))));
            QTest::keyClick(edit(), Qt::Key_V, Qt::ControlModifier);
            return "paste";
        }
        default:
            edit()->copy();
            return "copy";
        }
    }

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
        const int events = qEnvironmentVariableIsSet("CONSOLE_FUZZ_EVENTS") ? qEnvironmentVariableIntValue("CONSOLE_FUZZ_EVENTS") : 100000;
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
            const QString where = QString("event %1 (%2, seed %3)").arg(done).arg(action).arg(seed);
            if (!after.startsWith(QStringView(before).left(protectedLength)))
                QFAIL(qPrintable(QString("%1 changed the output before %2:\n%3\n---\n%4")
                                     .arg(where).arg(protectedLength).arg(before.right(300), after.right(300))));
            const QTextCursor cursor = edit()->textCursor();
            if (!cursor.hasSelection() && cursor.position() < edit()->commandPromptPosition())
                QFAIL(qPrintable(where + " left the cursor before the prompt"));
        }
    }
};

QTEST_MAIN(tst_reliability_consolefuzz)
#include "tst_reliability_consolefuzz.moc"
