// Host code on eight threads calls module functions while the main thread runs code: results are
// right and reference counts end where they started.
#include "support/MessageRecorder.h"
#include "support/PluginTestCase.h"
#include "support/PythonProbes.h"

#include "engine/EngineGILScope.h"
#include "engine/MessageActions.h"
#include "python/PythonInclude.h"
#include "python/PythonModuleImpl.h"

#include <SCP_PythonEngine.h>
#include <SCP_PythonFunction.h>

#include <QAtomicInt>
#include <QThread>
#include <QtTest>

#include <memory>
#include <vector>

namespace {
constexpr int threadCount = 8;
constexpr int callsPerThread = 300;
}

class EngineThreadsTest : public PluginTestCase
{
    Q_OBJECT

private slots:
    void concurrentCallsGiveRightResultsAndKeepCounts()
    {
        auto* module = dynamic_cast<PythonModuleImpl*>(engine->createModule(QStringLiteral("threaded")));
        QVERIFY(module);
        module->execute(QStringLiteral("shared = object()\n"
                                       "def add(a, b):\n  return a + b\n"
                                       "def label(n):\n  return 'n%d' % n\n"
                                       "def echo(x):\n  return shared if x is None else x\n"));
        const QList<SCP_PythonFunction*> functions = module->functions();
        QCOMPARE(functions.size(), 3);
        PyObject* add = globalOf(module, "add");
        PyObject* shared = globalOf(module, "shared");
        const Py_ssize_t addCount = referenceCount(add);
        const Py_ssize_t sharedCount = referenceCount(shared);
        const Py_ssize_t moduleCount = referenceCount(module->pyModule());

        QAtomicInt wrong;
        std::vector<std::unique_ptr<QThread>> threads;
        for (int t = 0; t < threadCount; ++t) {
            threads.emplace_back(QThread::create([&, t] {
                for (int i = 0; i < callsPerThread; ++i) {
                    if (module->call(QStringLiteral("add"), {t, i}).toInt() != t + i)
                        wrong.ref();
                    if (functions.at(1)->call({i}).toString() != QStringLiteral("n%1").arg(i))
                        wrong.ref();
                    functions.at(2)->call({QVariant()});
                }
            }));
            threads.back()->start();
        }
        for (int i = 0; i < 50; ++i)
            module->execute(QStringLiteral("counter = %1\nsquares = [k * k for k in range(50)]").arg(i));
        for (const auto& thread : threads)
            QVERIFY(thread->wait(120000));

        QCOMPARE(wrong.loadRelaxed(), 0);
        QCOMPARE(module->call(QStringLiteral("add"), {1, 2}).toInt(), 3);
        QCOMPARE(referenceCount(add), addCount);
        QCOMPARE(referenceCount(shared), sharedCount);
        QCOMPARE(referenceCount(module->pyModule()), moduleCount);
        QCOMPARE(SCP_PythonEngine::mainThreadState(), 0);
    }

    void outputOfWorkersArrivesThroughTheEventLoop()
    {
        SCP_PythonModule* module = engine->createModule(QStringLiteral("printing"));
        module->execute(QStringLiteral("def speak(n):\n  print('worker %d' % n)"));
        MessageRecorder recorder;
        std::unique_ptr<QThread> worker(QThread::create([&] { module->call(QStringLiteral("speak"), {5}); }));
        worker->start();
        QVERIFY(worker->wait(60000));
        QVERIFY(recorder.messages(MessageAction::pythonOutput).isEmpty());
        QTRY_COMPARE(recorder.messages(MessageAction::pythonOutput),
                     QStringList({QStringLiteral("[PY STDOUT] : worker 5"), QStringLiteral("[PY STDOUT] : \n")}));
    }
};

QTEST_MAIN(EngineThreadsTest)
#include "tst_enginethreads.moc"
