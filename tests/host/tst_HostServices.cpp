// The host's non-UI services: messages, session and engine services, path remapping, commands.
#include "CO_CommandManager.h"
#include "FakePythonEngine.h"
#include "FakePythonModule.h"
#include "MSG_Log.h"
#include "MSG_Scope.h"
#include "PLUG_Services.h"
#include "SCP_PythonManager.h"
#include "SCP_PythonRedirect.h"
#include "SC_SessionContext.h"
#include "oswRemapPath.h"

#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QUndoCommand>

namespace {

class RecordingRedirect : public SCP_PythonRedirect
{
public:
    using SCP_PythonRedirect::SCP_PythonRedirect;
    void writeStdOut(const QString& text) override { out.append(text); }
    void writeStdErr(const QString& text) override { err.append(text); }
    QStringList out, err;
};

class AppendCommand : public QUndoCommand
{
public:
    AppendCommand(QString* target, QChar letter) : m_target(target), m_letter(letter) {}
    void redo() override { m_target->append(m_letter); }
    void undo() override { m_target->chop(1); }

private:
    QString* m_target;
    QChar m_letter;
};

int callbackCalls = 0;
bool callbackAnswersNull = true;

SCP_PythonEngine* createFakeEngine(SC_SessionContext*)
{
    ++callbackCalls;
    return callbackAnswersNull ? nullptr : new FakePythonEngine;
}

// A session whose manager makes fake engines.
struct FakeSession
{
    FakeSession()
    {
        callbackAnswersNull = false;
        manager.registerEngineCreationCallback(createFakeEngine);
    }
    FakePythonEngine* engine() { return static_cast<FakePythonEngine*>(context.pythonEngine()); }

    SCP_PythonManager manager;
    SC_SessionContext context{&manager, nullptr};
};

QStringList messageTexts()
{
    QStringList texts;
    for (const MSG_Entry& entry : MSG_Log::instance()->entries())
        texts.append(QStringLiteral("%1:%2").arg(entry.action).arg(entry.text));
    return texts;
}

} // namespace

class TestHostServices : public QObject
{
    Q_OBJECT

private slots:
    void init() { MSG_Log::instance()->clear(); }

    void logKeepsOnlyTheLatestEntries()
    {
        MSG_Log* log = MSG_Log::instance();
        for (qsizetype i = 0; i < MSG_Log::maxKeptEntries + 5; ++i)
            log->addMessage(7, QString::number(i));
        const QList<MSG_Entry> kept = log->entries();
        QCOMPARE(kept.size(), MSG_Log::maxKeptEntries);
        QCOMPARE(kept.first().text, QStringLiteral("5"));
    }

    void messageScopeLogsFilledTextWhenDestroyed()
    {
        {
            MSG_Scope scope("Cannot open %1 (%2)", QStringLiteral("Ouverture de %1 (%2)"), 2);
            scope.arg(QStringLiteral("a.py")).arg(7, 3);
            QVERIFY(MSG_Log::instance()->entries().isEmpty());
            QCOMPARE(scope.sourceText(), QStringLiteral("Cannot open a.py (  7)"));
        }
        QCOMPARE(messageTexts(), QStringList{QStringLiteral("2:Ouverture de a.py (  7)")});
    }

    void messageLogKeepsOrderAcrossThreadsAndQueuesItsSignal()
    {
        MSG_Log* log = MSG_Log::instance();
        QStringList heard;
        const int listener = log->addListener([&heard](const MSG_Entry& entry) { heard.append(entry.text); });
        QSignalSpy spy(log, &MSG_Log::entryAdded);
        QStringList received;
        QObject receiver;
        connect(log, &MSG_Log::entryAdded, &receiver,
                [&received](const MSG_Entry& entry) { received.append(entry.text); }, Qt::QueuedConnection);

        QThread* worker = QThread::create([] {
            for (int i = 0; i < 100; ++i)
                MSG_Scope(QStringLiteral("w%1").arg(i), 7);
        });
        worker->start();
        for (int i = 0; i < 100; ++i)
            MSG_Log::instance()->addPythonInit(QStringLiteral("m%1").arg(i));
        QVERIFY(worker->wait(10000));
        delete worker;
        log->removeListener(listener);

        QCOMPARE(heard.size(), 200);
        QStringList logged;
        for (const MSG_Entry& entry : log->entries())
            logged.append(entry.text);
        QCOMPARE(heard, logged); // listeners see exactly the log's order
        QStringList fromWorker = heard.filter(QStringLiteral("w"));
        QCOMPARE(fromWorker.first(), QStringLiteral("w0"));
        QCOMPARE(fromWorker.last(), QStringLiteral("w99"));
        QTRY_COMPARE(received.size(), 200);
        QCOMPARE(received, logged);
        QCOMPARE(spy.size(), 200);
    }

    void sessionAsksTheCallbackUntilItGivesAnEngine()
    {
        SCP_PythonManager manager;
        SC_SessionContext context(&manager, nullptr);
        callbackCalls = 0;
        callbackAnswersNull = true;
        QVERIFY(!context.pythonEngine()); // no callback yet
        manager.registerEngineCreationCallback(createFakeEngine);
        QVERIFY(!context.pythonEngine());
        QCOMPARE(callbackCalls, 1);
        callbackAnswersNull = false;
        SCP_PythonEngine* engine = context.pythonEngine();
        QVERIFY(engine);
        QCOMPARE(context.pythonEngine(), engine);
        QCOMPARE(callbackCalls, 2);
        QCOMPARE(context.existingPythonEngine(), engine);
        QCOMPARE(FakePythonEngine::liveEngines, 1);
        context.releasePythonEngine();
        QCOMPARE(FakePythonEngine::liveEngines, 0);
        QVERIFY(!context.existingPythonEngine());
    }

    void currentEngineAndScopesFollowTheSessionContext()
    {
        { SCP_PythonEngine::GILScope nothing; } // no session: holds nothing, does not crash
        QVERIFY(!SCP_PythonEngine::current());

        FakeSession session;
        PLUG_Services::setSessionContext(&session.context);
        auto* engine = static_cast<FakePythonEngine*>(SCP_PythonEngine::current());
        QVERIFY(engine);
        {
            SCP_PythonEngine::GILScope outer;
            SCP_PythonEngine::GILScope inner(engine);
            QCOMPARE(engine->lockDepth, 2);
            inner.release();
            QCOMPARE(engine->lockDepth, 1);
            SCP_PythonEngine::ThreadStateScope unlocked;
            QCOMPARE(engine->lockDepth, 0);
        }
        QCOMPARE(engine->lockDepth, 0);
        PLUG_Services::setSessionContext(nullptr);
    }

    void helpersModuleIsMadeOnceAndServesEvaluateAndMain()
    {
        FakeSession session;
        FakePythonEngine* engine = session.engine();

        SCP_PythonModule* helpers = engine->helpersModule();
        QVERIFY(helpers);
        QCOMPARE(engine->helpersModule(), helpers);
        auto* fakeHelpers = static_cast<FakePythonModule*>(helpers);
        QCOMPARE(fakeHelpers->executed.size(), 1);
        QVERIFY(fakeHelpers->executed.first().contains(QLatin1String("def evaluate(code)")));
        QCOMPARE(engine->evaluate(QStringLiteral("1 + 2")).toString(), QStringLiteral("evaluate(1 + 2)"));

        engine->addModuleToMain(helpers);
        QVERIFY(engine->mainModule()->hasModule(helpers));
        engine->addModuleToMain(nullptr);
        QCOMPARE(engine->fakeModule(QStringLiteral("__main__"))->added.size(), 1);
    }

    void redirectStackHandsItsTopToTheEngine()
    {
        FakeSession session;
        FakePythonEngine* engine = session.engine();
        RecordingRedirect first(engine), second(engine);

        engine->pushRedirectObject(&first);
        engine->pushRedirectObject(&second);
        QCOMPARE(engine->currentRedirect, &second);
        engine->writeStdOut(QStringLiteral("to second"));
        engine->popRedirectObject();
        QCOMPARE(engine->currentRedirect, &first);
        engine->popRedirectObject();
        QVERIFY(!engine->currentRedirect);
        engine->popRedirectObject(); // more pops than pushes stay harmless
        QVERIFY(!engine->currentRedirect);
        QCOMPARE(second.out, QStringList{QStringLiteral("to second")});
        QVERIFY(first.out.isEmpty());
    }

    void remapPathUsesTheLongestPrefix()
    {
        QCOMPARE(oswRemapPath::RemapPath2(QStringLiteral("/a/b/c.py")), QStringLiteral("/a/b/c.py"));
        oswRemapPath::addMapping(QStringLiteral("/a"), QStringLiteral("/x"));
        oswRemapPath::addMapping(QStringLiteral("/a/b"), QStringLiteral("/y"));
        QCOMPARE(oswRemapPath::RemapPath2(QStringLiteral("/a/b/c.py")), QStringLiteral("/y/c.py"));
        QCOMPARE(oswRemapPath::RemapPath2(QStringLiteral("/a/z.py")), QStringLiteral("/x/z.py"));
        QCOMPARE(oswRemapPath::RemapPath2(QStringLiteral("/q/a/z.py")), QStringLiteral("/q/a/z.py"));
        oswRemapPath::clearMappings();
        QCOMPARE(oswRemapPath::RemapPath2(QStringLiteral("/a/z.py")), QStringLiteral("/a/z.py"));
    }

    void commandManagerUndoesAndRedoesWithinTheHistory()
    {
        CO_CommandManager commands;
        QString text;
        commands.execute(new AppendCommand(&text, QLatin1Char('a')));
        commands.execute(new AppendCommand(&text, QLatin1Char('b')));
        QCOMPARE(text, QStringLiteral("ab"));
        QCOMPARE(commands.unexecute(1), 1);
        QCOMPARE(text, QStringLiteral("a"));
        QCOMPARE(commands.unexecute(5), 1);
        QCOMPARE(text, QString());
        QCOMPARE(commands.reexecute(1), 1);
        QCOMPARE(text, QStringLiteral("a"));
        QCOMPARE(commands.reexecute(3), 1);
        QCOMPARE(commands.reexecute(1), 0);
        QCOMPARE(text, QStringLiteral("ab"));
    }
};

QTEST_GUILESS_MAIN(TestHostServices)
#include "tst_HostServices.moc"
