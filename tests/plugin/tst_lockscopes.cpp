// The engine's lock scopes under an application object: the main-thread count, nesting, early
// release, and giving the lock up to other threads.
#include "support/PluginTestCase.h"

#include "engine/EngineGILScope.h"

#include <SCP_PythonEngine.h>

#include <QThread>
#include <QtTest>

#include <memory>

namespace {
int& count()
{
    return SCP_PythonEngine::mainThreadState();
}

template <typename Work>
void onWorker(Work work)
{
    std::unique_ptr<QThread> thread(QThread::create(work));
    thread->start();
    thread->wait();
}
}

class LockScopesTest : public PluginTestCase
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(engine);
        QCOMPARE(count(), 0);
    }

    void mainThreadScopesCountAndNest()
    {
        std::unique_ptr<SCP_PythonEngine::GILScope_Priv> outer(engine->createGILScope());
        QCOMPARE(count(), 1);
        {
            PythonEngineImpl::EngineGILScope inner;
            QCOMPARE(count(), 2);
            inner.release();
            QCOMPARE(count(), 1);
            inner.release();
            QCOMPARE(count(), 1);
        }
        QCOMPARE(count(), 1);
        outer.reset();
        QCOMPARE(count(), 0);
    }

    void engineOperationsLeaveTheCountAsTheyFoundIt()
    {
        engine->mainModule()->execute(QStringLiteral("x = [i for i in range(10)]"));
        engine->evaluate(QStringLiteral("x"));
        QCOMPARE(count(), 0);
    }

    void releasingAtZeroStaysAtZero()
    {
        PythonEngineImpl::EngineGILScope scope;
        QCOMPARE(count(), 1);
        count() = 0;
        scope.release();
        QCOMPARE(count(), 0);
    }

    void workerScopesDoNotCount()
    {
        int during = -1;
        onWorker([&] {
            PythonEngineImpl::EngineGILScope scope;
            during = count();
            std::unique_ptr<SCP_PythonEngine::GILScope_Priv> nested(engine->createGILScope());
            during += count();
        });
        QCOMPARE(during, 0);
        QCOMPARE(count(), 0);
    }

    void threadStateScopeLetsOtherThreadsIn()
    {
        SCP_PythonEngine::GILScope held(engine);
        std::unique_ptr<SCP_PythonEngine::ThreadStateScope_Priv> givenUp(engine->createThreadStateScope());
        QVariant answer;
        onWorker([&] { answer = engine->evaluate(QStringLiteral("6 * 7")); });
        QCOMPARE(answer.toInt(), 42);
        givenUp->release();
        givenUp->release();
        givenUp.reset();
        QCOMPARE(engine->evaluate(QStringLiteral("1 + 1")).toInt(), 2);
    }

    void threadStateScopeWithoutTheLockDoesNothing()
    {
        std::unique_ptr<SCP_PythonEngine::ThreadStateScope_Priv> nothingHeld(engine->createThreadStateScope());
        nothingHeld.reset();
        QCOMPARE(engine->evaluate(QStringLiteral("2 + 2")).toInt(), 4);
    }
};

QTEST_MAIN(LockScopesTest)
#include "tst_lockscopes.moc"
