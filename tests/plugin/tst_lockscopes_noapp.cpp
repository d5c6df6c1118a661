// Without an application object every lock scope counts, on whatever thread it opens.
#include "engine/EngineGILScope.h"

#include <PythonQt.h>
#include <SCP_PythonEngine.h>

#include <QtTest>

#include <thread>

class LockScopesWithoutApplicationTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(!QCoreApplication::instance());
        PythonQt::init(PythonQt::RedirectStdOut | PythonQt::IgnoreSiteModule);
        QVERIFY(PythonQt::self() && PythonQt::self()->initSuccessfully());
        PythonQt::self()->startThreads();
    }

    void everyThreadCounts()
    {
        int& count = SCP_PythonEngine::mainThreadState();
        QCOMPARE(count, 0);
        PythonEngineImpl::EngineGILScope mainScope;
        QCOMPARE(count, 1);
        int during = 0;
        int after = 0;
        mainScope.release();
        std::thread worker([&] {
            {
                PythonEngineImpl::EngineGILScope scope;
                PythonEngineImpl::EngineGILScope nested;
                during = count;
            }
            after = count;
        });
        worker.join();
        QCOMPARE(during, 2);
        QCOMPARE(after, 0);
        QCOMPARE(count, 0);
    }
};

QTEST_APPLESS_MAIN(LockScopesWithoutApplicationTest)
#include "tst_lockscopes_noapp.moc"
