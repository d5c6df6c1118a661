// Everything at once: eight host threads call module functions and read function lists, one
// thread imports modules and extends the search path, and the main thread runs printing code.
// Every answer is checked, reference counts end where they started, and a deadlock fails the
// test through the watchdog instead of hanging it.
#include "support/MessageRecorder.h"
#include "support/PluginTestCase.h"
#include "support/PythonProbes.h"
#include "support/TestFiles.h"
#include "support/Watchdog.h"

#include "engine/EngineGILScope.h"
#include <MSG_Action.h>
#include <PythonQtPython.h>
#include "python/PythonModuleImpl.h"

#include <SCP_PythonEngine.h>
#include <SCP_PythonFunction.h>

#include <PythonQtObjectPtr.h>

#include <QAtomicInt>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <map>
#include <memory>
#include <vector>

namespace {
constexpr int workerCount = 8;
constexpr int callsPerWorker = 2000;
constexpr int importedModules = 60;
constexpr int printedLines = 200;
constexpr int watchdogSeconds = 240;

QStringList sysPath(SCP_PythonEngine* engine)
{
    return engine->evaluate(QStringLiteral("__import__('sys').path")).toStringList();
}

// Counts wrong answers with the first few described, so that a failure says what went wrong.
class Mistakes
{
public:
    void check(bool right, const QString& what)
    {
        if (right)
            return;
        if (count.fetchAndAddRelaxed(1) < 5)
            qWarning("%s", qPrintable(what));
    }
    int total() const { return count.loadRelaxed(); }

private:
    QAtomicInt count;
};
}

class EngineStressTest : public PluginTestCase
{
    Q_OBJECT

private:
    PythonModuleImpl* calls = nullptr;
    QList<SCP_PythonFunction*> listed;
    Mistakes mistakes;

    void callerLoop(int t)
    {
        for (int i = 0; i < callsPerWorker; ++i) {
            mistakes.check(calls->call(QStringLiteral("add"), {t, i}).toInt() == t + i, QStringLiteral("add"));
            const QList<SCP_PythonFunction*> functions = calls->functions();
            mistakes.check(functions == listed, QStringLiteral("function list changed"));
            mistakes.check(functions.value(1)->call({i}).toString() == QStringLiteral("n%1").arg(i),
                           QStringLiteral("label"));
            mistakes.check(functions.value(2)->call({QVariant()}).canConvert<PythonQtObjectPtr>(), QStringLiteral("echo"));
            mistakes.check(functions.value(3)->call({t, QStringLiteral("x")}) == QVariantList({t, QStringLiteral("x")}),
                           QStringLiteral("pair"));
            mistakes.check(engine->module(QStringLiteral("stress_calls")) == calls, QStringLiteral("registry"));
            if (i % 100 == 0)
                calls->call(QStringLiteral("speak"), {t, i});
        }
    }

    void importerLoop(const QString& root)
    {
        for (int i = 0; i < importedModules; ++i) {
            const QString folder = QStringLiteral("%1/p%2").arg(root).arg(i);
            const QString name = QStringLiteral("stress_import_%1").arg(i);
            writeFile(folder + QLatin1Char('/') + name + QStringLiteral(".py"),
                      QByteArray("VALUE = ") + QByteArray::number(i) + "\ndef get():\n    return VALUE\n");
            engine->addSysPath(folder);
            engine->addSysPath(folder); // the second time changes nothing
            SCP_PythonModule* imported = engine->importModule(name, false);
            mistakes.check(imported && imported->call(QStringLiteral("get"), {}).toInt() == i, QStringLiteral("import"));
            const char* standard[] = {"json", "textwrap", "email.mime.text", "decimal"};
            mistakes.check(engine->importModule(QString::fromLatin1(standard[i % 4]), false), QStringLiteral("stdlib"));
            const QString loadedPath = writeFile(QStringLiteral("%1/loaded_%2.py").arg(root).arg(i), "def twice(x):\n    return 2 * x\n");
            SCP_PythonModule* loaded = engine->loadModule(loadedPath, false, QString());
            mistakes.check(loaded && loaded->call(QStringLiteral("twice"), {i}).toInt() == 2 * i, QStringLiteral("load"));
        }
    }

private slots:
    void everythingAtOnceStaysRightAndBalanced()
    {
        QTemporaryDir root;
        QVERIFY(root.isValid());
        calls = dynamic_cast<PythonModuleImpl*>(engine->createModule(QStringLiteral("stress_calls")));
        QVERIFY(calls);
        calls->execute(QStringLiteral("shared = object()\n"
                                      "def add(a, b):\n  return a + b\n"
                                      "def label(n):\n  return 'n%d' % n\n"
                                      "def echo(x):\n  return shared if x is None else x\n"
                                      "def pair(a, b):\n  return [a, b]\n"
                                      "def speak(t, i):\n  print('worker %d %d' % (t, i))\n"));
        listed = calls->functions();
        QCOMPARE(listed.size(), 5);
        SCP_PythonModule* printer = engine->createModule(QStringLiteral("stress_printer"));
        QVERIFY(printer);

        std::map<const char*, PyObject*> watched;
        for (const char* name : {"shared", "add", "label", "echo", "pair"})
            watched[name] = globalOf(calls, name);
        watched["module"] = calls->pyModule();
        std::map<const char*, Py_ssize_t> countsBefore;
        for (const auto& [name, object] : watched)
            countsBefore[name] = referenceCount(object);
        const int pathEntriesBefore = sysPath(engine).size();

        MessageRecorder recorder;
        {
            const Watchdog watchdog(watchdogSeconds, "the engine stress run");
            std::vector<std::unique_ptr<QThread>> threads;
            for (int t = 0; t < workerCount; ++t)
                threads.emplace_back(QThread::create([this, t] { callerLoop(t); }));
            threads.emplace_back(QThread::create([this, &root] { importerLoop(root.path()); }));
            for (const auto& thread : threads)
                thread->start();
            for (int i = 0; i < printedLines; ++i) {
                printer->execute(QStringLiteral("print('main %1')").arg(i));
                QCoreApplication::processEvents();
            }
            for (const auto& thread : threads) {
                while (!thread->wait(10))
                    QCoreApplication::processEvents();
            }
        }

        QCOMPARE(mistakes.total(), 0);
        QVERIFY(!engine->hasError());
        for (const auto& [name, object] : watched)
            QVERIFY2(referenceCount(object) == countsBefore[name], name);
        QCOMPARE(SCP_PythonEngine::mainThreadState(), 0);
        QCOMPARE(sysPath(engine).size(), pathEntriesBefore + importedModules);

        // Lines printed on the main thread arrive at once and in order; the workers' lines
        // arrive through the event loop.
        QStringList mainLines;
        for (const QString& text : recorder.messages(MSG_Action::PythonOutput)) {
            if (text.startsWith(QStringLiteral("[PY STDOUT] : main ")))
                mainLines << text;
        }
        QCOMPARE(mainLines.size(), printedLines);
        QCOMPARE(mainLines.last(), QStringLiteral("[PY STDOUT] : main %1").arg(printedLines - 1));
        auto workerLines = [&] {
            return recorder.messages(MSG_Action::PythonOutput).filter(QStringLiteral("[PY STDOUT] : worker ")).size();
        };
        QTRY_COMPARE(workerLines(), workerCount * callsPerWorker / 100);
    }
};

QTEST_MAIN(EngineStressTest)
#include "tst_enginestress.moc"
