// The host's non-UI services: messages, the session's engine and its lock scopes.
#include "FakePythonEngine.h"
#include "MSG_Log.h"
#include "MSG_Scope.h"
#include "PLUG_Services.h"
#include "SCP_PythonManager.h"
#include "SC_SessionContext.h"

#include <QtTest>

namespace {

int callbackCalls = 0;
bool callbackAnswersNull = false;

SCP_PythonEngine* createFakeEngine(SC_SessionContext*)
{
    ++callbackCalls;
    return callbackAnswersNull ? nullptr : new FakePythonEngine;
}

QStringList logged()
{
    QStringList texts;
    for (const MSG_Entry& entry : MSG_Log::instance()->entries())
        texts.append(entry.text);
    return texts;
}

} // namespace

class tst_host_services : public QObject
{
    Q_OBJECT

    SCP_PythonManager manager;
    SC_SessionContext session{&manager, nullptr};
    FakePythonEngine* engine() { return static_cast<FakePythonEngine*>(session.pythonEngine()); }

private slots:
    void initTestCase() { manager.registerEngineCreationCallback(createFakeEngine); }
    void init() { MSG_Log::instance()->clear(); }

    // A scope logs its filled text when destroyed; the log keeps only the latest entries.
    void messageScopesFillTheBoundedLog()
    {
        {
            MSG_Scope scope("Cannot open %1 (%2)", "Ouverture de %1 (%2)", 2);
            scope.arg("a.py").arg(7, 3);
            QVERIFY(logged().isEmpty());
            QCOMPARE(scope.sourceText(), "Cannot open a.py (  7)");
        }
        const MSG_Entry entry = MSG_Log::instance()->entries().value(0);
        QCOMPARE(entry.kind, MSG_Entry::Message);
        QCOMPARE(entry.action, 2);
        QCOMPARE(entry.text, "Ouverture de a.py (  7)");
        for (qsizetype i = 0; i < MSG_Log::maxKeptEntries; ++i)
            MSG_Log::instance()->addMessage(7, QString::number(i));
        QCOMPARE(logged().size(), MSG_Log::maxKeptEntries);
        QCOMPARE(logged().first(), "0");
    }

    void messageLogKeepsOrderAcrossThreadsAndQueuesItsSignal()
    {
        MSG_Log* log = MSG_Log::instance();
        QStringList heard, received;
        const int listener = log->addListener([&heard](const MSG_Entry& entry) { heard.append(entry.text); });
        QObject receiver;
        connect(log, &MSG_Log::entryAdded, &receiver, [&received](const MSG_Entry& entry) { received.append(entry.text); },
                Qt::QueuedConnection);
        std::unique_ptr<QThread> worker(QThread::create([] {
            for (int i = 0; i < 100; ++i)
                MSG_Scope(QString("w%1").arg(i), 7);
        }));
        worker->start();
        for (int i = 0; i < 100; ++i)
            log->addPythonInit(QString("m%1").arg(i));
        QVERIFY(worker->wait(10000));
        log->removeListener(listener);

        QCOMPARE(heard.size(), 200);
        QCOMPARE(heard, logged()); // listeners see exactly the log's order
        QCOMPARE(heard.filter(u"w").last(), "w99");
        QTRY_COMPARE(received, heard);
    }

    void sessionAsksTheCallbackUntilItGivesAnEngine()
    {
        SCP_PythonManager withoutCallback;
        SC_SessionContext context(&withoutCallback, nullptr);
        QVERIFY(!context.pythonEngine());
        withoutCallback.registerEngineCreationCallback(createFakeEngine);
        callbackCalls = 0;
        callbackAnswersNull = true;
        QVERIFY(!context.pythonEngine());
        callbackAnswersNull = false;
        SCP_PythonEngine* made = context.pythonEngine();
        QVERIFY(made);
        QCOMPARE(context.pythonEngine(), made);
        QCOMPARE(context.existingPythonEngine(), made);
        QCOMPARE(callbackCalls, 2);
        context.releasePythonEngine();
        QVERIFY(!context.existingPythonEngine());
    }

    void currentEngineAndScopesFollowTheSessionContext()
    {
        { SCP_PythonEngine::GILScope nothing; } // no session: holds nothing, does not crash
        QVERIFY(!SCP_PythonEngine::current());
        PLUG_Services::setSessionContext(&session);
        QCOMPARE(SCP_PythonEngine::current(), engine());
        {
            SCP_PythonEngine::GILScope outer;
            SCP_PythonEngine::GILScope inner(engine());
            QCOMPARE(engine()->lockDepth, 2);
            inner.release();
            QCOMPARE(engine()->lockDepth, 1);
            SCP_PythonEngine::ThreadStateScope unlocked;
            QCOMPARE(engine()->lockDepth, 0);
        }
        QCOMPARE(engine()->lockDepth, 0);
        PLUG_Services::setSessionContext(nullptr);
    }

};

QTEST_GUILESS_MAIN(tst_host_services)
#include "tst_host_services.moc"
