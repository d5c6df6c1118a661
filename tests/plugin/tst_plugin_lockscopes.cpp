// The plug-in's lock scopes: the main-thread count, nesting, early release, which threads count
// (with an application object only its thread), and giving the lock up to other threads.
#include "python/PythonLockScope.h"
#include "engine/EngineThreadStateScope.h"
#include <PythonQtPython.h>

#include <PythonQt.h>
#include <SCP_PythonEngine.h>

#include <QtTest>

#include <optional>
#include <thread>

class tst_plugin_lockscopes : public QObject
{
    Q_OBJECT

    static int& count() { return SCP_PythonEngine::mainThreadState(); }
    static int evaluate(const char* expression) { return PythonQt::self()->getMainModule().evalScript(expression, Py_eval_input).toInt(); }

private slots:
    void initTestCase()
    {
        PythonQt::init(PythonQt::RedirectStdOut | PythonQt::IgnoreSiteModule);
        QVERIFY(PythonQt::self());
        QVERIFY(PythonQt::self()->initSuccessfully());
        PythonQt::self()->startThreads();
    }

    void mainThreadScopesCountAndNest()
    {
        std::optional<PythonLockScope> outer(std::in_place);
        {
            PythonLockScope inner;
            QCOMPARE(count(), 2);
            inner.release();
            inner.release();
            QCOMPARE(count(), 1);
        }
        QCOMPARE(count(), 1);
        outer.reset();
        QCOMPARE(count(), 0);
    }

    void workerScopesCountOnlyWithoutApplication()
    {
        int argc = 1;
        char name[] = "tst";
        char* argv[] = {name, nullptr};
        std::optional<QCoreApplication> app;
        for (int expected : {2, 0}) {
            int during = -1;
            std::thread([&during] {
                PythonLockScope scope;
                PythonLockScope nested;
                during = count();
            }).join();
            QCOMPARE(during, expected);
            QCOMPARE(count(), 0);
            app.emplace(argc, argv);
        }
    }

    // Without the lock held it does nothing.
    void threadStateScopeLetsOtherThreadsIn()
    {
        { PythonEngineImpl::EngineThreadStateScope nothingHeld; }
        PythonLockScope held;
        std::optional<PythonEngineImpl::EngineThreadStateScope> givenUp(std::in_place);
        int answer = 0;
        std::thread([&answer] { answer = evaluate("6 * 7"); }).join();
        QCOMPARE(answer, 42);
        givenUp->release();
        givenUp->release();
        givenUp.reset();
        QCOMPARE(evaluate("1 + 1"), 2);
    }
};

QTEST_APPLESS_MAIN(tst_plugin_lockscopes)
#include "tst_plugin_lockscopes.moc"
