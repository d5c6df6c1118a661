// The Messages dock: Python output written piece by piece shows one row per line, other
// messages one row each, in the log's order from any thread, and the list keeps its latest rows.
#include "HostMessagesModel.h"
#include "HostMessagesView.h"
#include "MSG_Log.h"

#include <QThread>
#include <QtTest>

namespace {
QStringList rowsOf(const HostMessagesView& view)
{
    QStringList rows;
    for (int row = 0; row < view.model()->rowCount(); ++row)
        rows << view.model()->index(row, 0).data().toString();
    return rows;
}

void print(const QString& piece)
{
    MSG_Log::instance()->addMessage(7, "[PY STDOUT] : " + piece);
}
}

class tst_host_messagesview : public QObject
{
    Q_OBJECT

private slots:
    void init() { MSG_Log::instance()->clear(); }

    void rowsFromPieces_data()
    {
        QTest::addColumn<QStringList>("pieces"); // standard output, or "!" and an error message
        QTest::addColumn<QStringList>("rows");
        const QString out = "[7] [PY STDOUT] : ";
        QTest::newRow("print(1, 2)") << QStringList{"1", " ", "2", "\n"} << QStringList{out + "1 2"};
        QTest::newRow("several lines in one write") << QStringList{"a\nb\n"} << QStringList{out + "a", out + "b"};
        QTest::newRow("empty line") << QStringList{"\n", "x\n"} << QStringList{out, out + "x"};
        QTest::newRow("line not ended yet") << QStringList{"a", "b"} << QStringList{out + "ab"};
        QTest::newRow("error between pieces") << QStringList{"a", "!boom", "b\n"}
                                              << QStringList{out + "a", "[2] boom", out + "b"};
    }

    void rowsFromPieces()
    {
        QFETCH(QStringList, pieces);
        HostMessagesView view;
        for (const QString& piece : pieces) {
            if (piece.startsWith('!'))
                MSG_Log::instance()->addMessage(2, piece.mid(1));
            else
                print(piece);
        }
        QFETCH(QStringList, rows);
        QTRY_COMPARE(rowsOf(view), rows);
    }

    // A line continued after the view showed its start grows in place.
    void lineContinuedLater()
    {
        HostMessagesView view;
        print("tick");
        QTRY_COMPARE(view.model()->rowCount(), 1);
        print(" tock\n");
        QTRY_COMPARE(rowsOf(view), QStringList{"[7] [PY STDOUT] : tick tock"});
    }

    void entriesLoggedBeforeTheViewAreShown()
    {
        MSG_Log::instance()->addPythonInit("Python found");
        HostMessagesView view;
        QCOMPARE(rowsOf(view), QStringList{"[start-up] Python found"});
    }

    void threadOutputInOrder()
    {
        HostMessagesView view;
        QThread* writer = QThread::create([] {
            for (int i = 0; i < 1000; ++i) {
                print(QString::number(i));
                print("\n");
            }
        });
        writer->start();
        QVERIFY(writer->wait());
        delete writer;
        QTRY_COMPARE(view.model()->rowCount(), 1000);
        QStringList expected;
        for (int i = 0; i < 1000; ++i)
            expected << "[7] [PY STDOUT] : " + QString::number(i);
        QCOMPARE(rowsOf(view), expected);
    }

    void keepsTheLatestRows()
    {
        HostMessagesView view;
        for (int i = 0; i < HostMessagesModel::maxRows + 5; ++i)
            MSG_Log::instance()->addMessage(2, QString::number(i));
        QTRY_COMPARE(view.model()->index(view.model()->rowCount() - 1, 0).data().toString(),
                     QString("[2] %1").arg(HostMessagesModel::maxRows + 4));
        QCOMPARE(view.model()->rowCount(), HostMessagesModel::maxRows);
        QCOMPARE(view.model()->index(0, 0).data().toString(), "[2] 5");
    }
};

QTEST_MAIN(tst_host_messagesview)
#include "tst_host_messagesview.moc"
