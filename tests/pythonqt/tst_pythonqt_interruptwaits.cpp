// Ctrl+C typed into the console while its code waits in a blocking call on the main thread
// (sleeping, waiting on a lock, an event, a queue, a file descriptor or an asyncio loop):
// the window keeps serving events meanwhile, and the wait ends with KeyboardInterrupt.
// Python.h first: Qt defines "slots" as a macro.
#include <PythonQtPython.h>

#include "PythonQt.h"
#include "PythonQtScriptingConsole.h"
#include "support/ConsoleUser.h"

#include <QTimer>

#include <memory>

class tst_pythonqt_interruptwaits : public QObject
{
    Q_OBJECT

    std::unique_ptr<PythonQtScriptingConsole> console;
    ConsoleUser user;

private slots:
    void initTestCase()
    {
        PythonQt::init(PythonQt::RedirectStdOut | PythonQt::IgnoreSiteModule);
        QVERIFY(PythonQt::self()->initSuccessfully());
        PythonQt::self()->startThreads();
    }

    void init()
    {
        console = std::make_unique<PythonQtScriptingConsole>(nullptr, PythonQt::self()->getMainModule());
        user = ConsoleUser(console.get());
        console->resize(640, 400);
        console->show();
        console->activateWindow();
        console->setFocus();
        QVERIFY(QTest::qWaitForWindowExposed(console.get()));
    }

    // Every wait below lasts an hour or for ever: only the interrupt ends it.
    void ctrlCEndsTheWait_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("time.sleep") << "import time; time.sleep(3600)";
        QTest::newRow("Event.wait without timeout") << "import threading; threading.Event().wait()";
        QTest::newRow("Lock.acquire without timeout") << "import threading; l = threading.Lock(); l.acquire(); l.acquire()";
        QTest::newRow("queue.get") << "import queue; queue.Queue().get()";
        QTest::newRow("select") << "import os, select; select.select([os.pipe()[0]], [], [])";
        QTest::newRow("asyncio.sleep") << "import asyncio; asyncio.run(asyncio.sleep(3600))";
    }

    void ctrlCEndsTheWait()
    {
        QFETCH(QString, line);
        QObject scope;
        // A timer of the window's own event loop: it fires only if the wait lets events through.
        QTimer::singleShot(200, &scope, [this] { user.press("{Ctrl+C}"); });
        user.submit(line);
        QVERIFY2(user.outputAfter(line).contains("KeyboardInterrupt"), qPrintable(user.outputAfter(line)));
        QVERIFY2(user.text().endsWith("\n>>> "), qPrintable(user.lastLines(3)));
    }

    // A wait the user does not interrupt runs to its end: the wake-ups it meets meanwhile are
    // not errors.
    void uninterruptedWaitEnds()
    {
        user.submit("import time; t = time.monotonic(); time.sleep(0.3); print(time.monotonic() - t >= 0.3)");
        QCOMPARE(user.lastLines(2), "True\n>>> ");
    }
};

QTEST_MAIN(tst_pythonqt_interruptwaits)
#include "tst_pythonqt_interruptwaits.moc"
