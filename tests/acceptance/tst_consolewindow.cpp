// The Python console in the reference host's window, driven end to end by a host script through
// the host's UI automation: banner, output and colours, blocks, interrupt, input(), paste, copy.
#include "BellwickRun.h"

#include <QTemporaryDir>
#include <QtTest>

class ConsoleWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void aUserSessionInTheConsole()
    {
        QTemporaryDir folder;
        const QString script = QFINDTESTDATA("scripts/console_window.js");
        const BellwickRun run({QStringLiteral("--window"), QStringLiteral("--settings"), folder.filePath(QStringLiteral("settings.ini")),
                               QStringLiteral("--script"), script});
        QVERIFY(run.finished());
        QVERIFY2(run.exitCode() == 0, run.messages(2).join(QLatin1Char('\n')).toLocal8Bit().constData());
        QVERIFY(run.outputLines().contains(QStringLiteral("console checks passed")));
        // What console code printed went to the console, not to the host's log.
        for (const QString& message : run.messages(7))
            QVERIFY2(!message.contains(QLatin1String("42")) && !message.contains(QLatin1String("hi Ada")), qPrintable(message));
    }
};

QTEST_GUILESS_MAIN(ConsoleWindowTest)
#include "tst_consolewindow.moc"
