// Everything at once: eight host threads call module functions and read function lists, one
// thread imports modules and extends the search path, and the main thread runs printing code.
// Every answer is checked and reference counts end where they started; a deadlock runs into the
// test's time limit.
#include "support/MessageRecorder.h"
#include "support/PluginTestCase.h"
#include "support/TestFiles.h"

#include "engine/EngineGILScope.h"
#include <MSG_Action.h>
#include <PythonQtPython.h>
#include "python/PythonModuleImpl.h"

#include <SCP_PythonFunction.h>

#include <PythonQtObjectPtr.h>

#include <vector>

namespace {
constexpr int workerCount = 8;
constexpr int callsPerWorker = 2000;
constexpr int importedModules = 60;
constexpr int printedLines = 200;
}

class tst_reliability_enginestress : public PluginTestCase
{
    Q_OBJECT

    PythonModuleImpl* calls = nullptr;
    QList<SCP_PythonFunction*> listed;
    QAtomicInt mistakes;

    // Counts a wrong answer, describing the first few so that a failure says what went wrong.
    void check(bool right, const char* what)
    {
        if (!right && mistakes.fetchAndAddRelaxed(1) < 5)
            qWarning("wrong answer: %s", what);
    }

    void callerLoop(int t)
    {
        for (int i = 0; i < callsPerWorker; ++i) {
            check(calls->call("add", {t, i}).toInt() == t + i, "add");
            const QList<SCP_PythonFunction*> functions = calls->functions();
            check(functions == listed, "function list changed");
            check(functions.value(1)->call({i}).toString() == QString("n%1").arg(i), "label");
            check(functions.value(2)->call({QVariant()}).canConvert<PythonQtObjectPtr>(), "echo");
            check(functions.value(3)->call({t, "x"}) == QVariantList({t, "x"}), "pair");
            check(engine->module("stress_calls") == calls, "registry");
            if (i % 100 == 0)
                calls->call("speak", {t, i});
        }
    }

    // Of the module and of what it defines.
    std::vector<Py_ssize_t> referenceCounts()
    {
        PythonEngineImpl::EngineGILScope lock;
        std::vector<Py_ssize_t> counts{Py_REFCNT(calls->pyModule())};
        for (const char* name : {"shared", "add", "label", "echo", "pair"})
            counts.push_back(Py_REFCNT(PyDict_GetItemString(PyModule_GetDict(calls->pyModule()), name)));
        return counts;
    }

    void importerLoop(const QString& root)
    {
        const char* standard[] = {"json", "textwrap", "email.mime.text", "decimal"};
        for (int i = 0; i < importedModules; ++i) {
            const QString folder = QString("%1/p%2").arg(root).arg(i);
            const QString name = QString("stress_import_%1").arg(i);
            writeFile(folder + '/' + name + ".py", "VALUE = " + QByteArray::number(i) + "\ndef get():\n    return VALUE\n");
            engine->addSysPath(folder);
            engine->addSysPath(folder); // the second time changes nothing
            SCP_PythonModule* imported = engine->importModule(name, false);
            check(imported && imported->call("get", {}).toInt() == i, "import");
            check(engine->importModule(standard[i % 4], false), "stdlib");
            const QString loadedPath = writeFile(QString("%1/loaded_%2.py").arg(root).arg(i), "def twice(x):\n    return 2 * x\n");
            SCP_PythonModule* loaded = engine->loadModule(loadedPath, false, QString());
            check(loaded && loaded->call("twice", {i}).toInt() == 2 * i, "load");
        }
    }

private slots:
    void everythingAtOnceStaysRightAndBalanced()
    {
        QTemporaryDir root;
        QVERIFY(root.isValid());
        calls = dynamic_cast<PythonModuleImpl*>(engine->createModule("stress_calls"));
        QVERIFY(calls);
        calls->execute("shared = object()\ndef add(a, b):\n  return a + b\ndef label(n):\n  return 'n%d' % n\n"
                       "def echo(x):\n  return shared if x is None else x\ndef pair(a, b):\n  return [a, b]\n"
                       "def speak(t, i):\n  print('worker %d %d' % (t, i))\n");
        listed = calls->functions();
        QCOMPARE(listed.size(), 5);
        SCP_PythonModule* printer = engine->createModule("stress_printer");

        const std::vector<Py_ssize_t> countsBefore = referenceCounts();
        const qsizetype pathEntriesBefore = engine->evaluate("__import__('sys').path").toList().size();

        MessageRecorder recorder;
        std::vector<std::unique_ptr<QThread>> threads;
        for (int t = 0; t < workerCount; ++t)
            threads.emplace_back(QThread::create([this, t] { callerLoop(t); }));
        threads.emplace_back(QThread::create([this, &root] { importerLoop(root.path()); }));
        for (const auto& thread : threads)
            thread->start();
        for (int i = 0; i < printedLines; ++i) {
            printer->execute(QString("print('main %1')").arg(i));
            QCoreApplication::processEvents();
        }
        for (const auto& thread : threads) {
            while (!thread->wait(10))
                QCoreApplication::processEvents();
        }

        QCOMPARE(mistakes.loadRelaxed(), 0);
        QVERIFY(!engine->hasError());
        QVERIFY(referenceCounts() == countsBefore);
        QCOMPARE(SCP_PythonEngine::mainThreadState(), 0);
        QCOMPARE(engine->evaluate("__import__('sys').path").toList().size(), pathEntriesBefore + importedModules);

        // Lines printed on the main thread arrive at once and in order; the workers' lines
        // arrive through the event loop.
        const QStringList mainLines = recorder.messages(MSG_Action::PythonOutput).filter(QString("[PY STDOUT] : main "));
        QCOMPARE(mainLines.size(), printedLines);
        QCOMPARE(mainLines.last(), QString("[PY STDOUT] : main %1").arg(printedLines - 1));
        auto workerLines = [&] { return recorder.messages(MSG_Action::PythonOutput).filter(QString("[PY STDOUT] : worker ")).size(); };
        QTRY_COMPARE(workerLines(), workerCount * callsPerWorker / 100);
    }
};

QTEST_MAIN(tst_reliability_enginestress)
#include "tst_reliability_enginestress.moc"
