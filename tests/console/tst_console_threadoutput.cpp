// Output of a thread that a console command started: while the command runs it shows in the
// console; once the command has returned, the console no longer listens and the output goes to
// the host's message log, as all Python output with no redirect installed.
#include "support/ConsoleHost.h"
#include "support/ConsoleUser.h"
#include "support/MessageRecorder.h"

#include "console/PythonScriptConsoleTextEdit.h"

#include <MSG_Action.h>
#include <PythonQt.h>

#include <QtTest>

class tst_console_threadoutput : public QObject
{
    Q_OBJECT

    std::unique_ptr<ConsoleHost> host;
    ConsoleUser user;

private slots:
    void initTestCase()
    {
        host = std::make_unique<ConsoleHost>();
        QVERIFY(host->editor());
        user = ConsoleUser(host->editor());
        QVERIFY(QTest::qWaitForWindowExposed(host->window()));
        QTRY_VERIFY(host->editor()->hasFocus());
    }

    void outputAfterTheCommandGoesToTheMessageLog()
    {
        MessageRecorder recorder;
        user.submit("import threading; go = threading.Event()");
        user.submit("worker = threading.Thread(target=lambda: (go.wait(), print('late line'))); worker.start()");
        // The command has returned: the thread prints only now.
        PythonQt::self()->getMainModule().evalScript("go.set()");
        QTRY_VERIFY(recorder.messages(MSG_Action::PythonOutput).contains("[PY STDOUT] : late line"));
        QVERIFY(!user.text().contains("\nlate line"));
    }
};

QTEST_MAIN(tst_console_threadoutput)
#include "tst_console_threadoutput.moc"
