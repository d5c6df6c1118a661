// The script editor in the reference host's window: quitting with unsaved edits asks first.
#include "support/BellwickRun.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

class tst_acceptance_scripteditor : public QObject
{
    Q_OBJECT

private slots:
    void quittingAsksAboutUnsavedEdits()
    {
        QTemporaryDir folder;
        writeFile(folder.filePath("special/scripts/tool.py"), "print('tool')\n");
        const BellwickRun run({"--window", "--settings", folder.filePath("settings.ini"), "--special-folder",
                               folder.filePath("special"), "--script", QFINDTESTDATA("scripts/quit_prompt.js")});
        QVERIFY2(run.finished() && run.exitCode() == 0, qPrintable(run.messages(2).join('\n') + run.errorText()));
        QVERIFY(run.outputLines().contains("quit prompt checks passed"));
        QCOMPARE(QFile(folder.filePath("special/scripts/tool.py")).size(), qint64(14));
    }
};

QTEST_GUILESS_MAIN(tst_acceptance_scripteditor)
#include "tst_acceptance_scripteditor.moc"
