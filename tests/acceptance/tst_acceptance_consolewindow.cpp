// The Python console in the reference host's window, driven end to end by a host script through
// the host's UI automation: banner, output and colours, blocks, interrupt, input(), paste, copy.
#include "support/BellwickRun.h"

#include <QTemporaryDir>
#include <QtTest>

class tst_acceptance_consolewindow : public QObject
{
    Q_OBJECT

private slots:
    void aUserSessionInTheConsole()
    {
        QTemporaryDir folder;
        const BellwickRun run({"--window", "--settings", folder.filePath("settings.ini"), "--script", QFINDTESTDATA("scripts/console_window.js")});
        QVERIFY2(run.finished(), qPrintable(run.messages(2).join('\n')));
        QCOMPARE(run.exitCode(), 0);
        QVERIFY(run.outputLines().contains("console checks passed"));
        // What console code printed went to the console, not to the host's log.
        for (const QString& message : run.messages(7)) {
            QVERIFY2(!message.contains("42"), qPrintable(message));
            QVERIFY2(!message.contains("hi Ada"), qPrintable(message));
        }
    }
};

QTEST_GUILESS_MAIN(tst_acceptance_consolewindow)
#include "tst_acceptance_consolewindow.moc"
