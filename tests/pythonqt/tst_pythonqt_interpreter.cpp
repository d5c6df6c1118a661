// Python.h first: Qt defines "slots" as a macro.
#include <PythonQtPython.h>

#include "PythonQt.h"
#include "PythonQtConv.h"

#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <atomic>
#include <memory>
#include <vector>

namespace {

Py_ssize_t refCount(PyObject* object)
{
    PythonQtGILScope scope;
    return Py_REFCNT(object);
}

bool errorPending()
{
    PythonQtGILScope scope;
    return PyErr_Occurred() != nullptr;
}

} // namespace

class TestPythonQtInterpreter : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void outputSignalsOnMainThread();
    void outputSignalsOnWorkerThread();
    void outputStreamsLookLikeFiles();
    void exceptionsArePrintedNeverFatal_data();
    void exceptionsArePrintedNeverFatal();
    void modulesFromScript();
    void introspection();
    void addSysPathPutsPathFirst();
    void callAndReturnPyObject();
    void holderReferenceCountsBalance();
    void lockScopesFromManyThreads();
    void cleanupFinalisesAndHoldersGoQuietly();

private:
    PythonQtObjectPtr m_main;
};

void TestPythonQtInterpreter::initTestCase()
{
    PythonQt::init(PythonQt::RedirectStdOut | PythonQt::IgnoreSiteModule);
    QVERIFY(PythonQt::self());
    QVERIFY2(PythonQt::self()->initSuccessfully(), qPrintable(PythonQt::self()->initError()));
    QVERIFY(PythonQt::self()->initError().isEmpty());
    // Before startThreads() the init thread holds the lock: a scope must not block.
    {
        PythonQtGILScope scope;
        QVERIFY(PyGILState_Check());
    }
    PythonQt::self()->startThreads();
    QVERIFY(!PyGILState_Check());
    m_main = PythonQt::self()->getMainModule();
    QVERIFY(!m_main.isNull());
    QCOMPARE(m_main.evalScript("'site' in __import__('sys').modules", Py_eval_input).toBool(), false);
}

void TestPythonQtInterpreter::outputSignalsOnMainThread()
{
    QSignalSpy out(PythonQt::self(), &PythonQt::pythonStdOut);
    QSignalSpy err(PythonQt::self(), &PythonQt::pythonStdErr);
    m_main.evalScript("import sys\nsys.stdout.write('a\\nb \\u00e9')\nprint('x', end='')\nsys.stderr.write('e')\n");
    // One emission per write, unchanged: print() writes its (here empty) end separately.
    QCOMPARE(out.count(), 3);
    QCOMPARE(out.at(0).at(0).toString(), QString::fromUtf8("a\nb \u00e9"));
    QCOMPARE(out.at(1).at(0).toString(), QStringLiteral("x"));
    QCOMPARE(out.at(2).at(0).toString(), QString());
    QCOMPARE(err.count(), 1);
    QCOMPARE(err.at(0).at(0).toString(), QStringLiteral("e"));
}

void TestPythonQtInterpreter::outputSignalsOnWorkerThread()
{
    QThread* emittingThread = nullptr;
    QStringList texts;
    auto connection = connect(PythonQt::self(), &PythonQt::pythonStdOut, this, [&](const QString& written) {
        emittingThread = QThread::currentThread();
        texts.append(written);
    }, Qt::DirectConnection);
    std::unique_ptr<QThread> worker(QThread::create([this] { m_main.evalScript("print('from worker')"); }));
    worker->start();
    QVERIFY(worker->wait(10000));
    disconnect(connection);
    QCOMPARE(emittingThread, worker.get());
    QCOMPARE(texts, (QStringList{"from worker", "\n"}));
}

void TestPythonQtInterpreter::outputStreamsLookLikeFiles()
{
    const QVariantList answers = m_main.evalScript(
        "[sys.stdout.encoding, sys.stdout.isatty(), sys.stderr.writable(), sys.stdout.flush(), sys.stdout.write('')]",
        Py_eval_input).toList();
    QCOMPARE(answers, (QVariantList{QStringLiteral("utf-8"), false, true, QVariant(), 0}));
}

void TestPythonQtInterpreter::exceptionsArePrintedNeverFatal_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ValueError") << "raise ValueError('bad value')" << "ValueError: bad value";
    QTest::newRow("SystemExit") << "import sys\nsys.exit(3)" << "SystemExit: 3";
    QTest::newRow("KeyboardInterrupt") << "raise KeyboardInterrupt" << "KeyboardInterrupt";
    QTest::newRow("SyntaxError") << "def (:" << "SyntaxError";
}

void TestPythonQtInterpreter::exceptionsArePrintedNeverFatal()
{
    QFETCH(QString, code);
    QFETCH(QString, expected);
    QSignalSpy err(PythonQt::self(), &PythonQt::pythonStdErr);
    QVERIFY(!m_main.evalScript(code).isValid());
    QString printed;
    for (const QList<QVariant>& emission : err)
        printed += emission.at(0).toString();
    QVERIFY2(printed.contains(expected), qPrintable(printed));
    QVERIFY(!errorPending());
    // A call that raises SystemExit is reported the same way.
    m_main.evalScript("def leave():\n    raise SystemExit(4)\n");
    QVERIFY(!m_main.call("leave").isValid());
    QVERIFY(!errorPending());
}

void TestPythonQtInterpreter::modulesFromScript()
{
    PythonQtObjectPtr module = PythonQt::self()->createModuleFromScript("tst_made", "value = 6 * 7\n");
    QVERIFY(!module.isNull());
    QCOMPARE(module.getVariable("value").toInt(), 42);
    QCOMPARE(m_main.evalScript("__import__('tst_made').value", Py_eval_input).toInt(), 42);
    QVERIFY(!module.getVariable("missing").isValid());
    module.addVariable("added", QStringLiteral("yes"));
    QCOMPARE(module.evalScript("added", Py_eval_input).toString(), QStringLiteral("yes"));
    module.removeVariable("added");
    QVERIFY(!module.getVariable("added").isValid());

    QSignalSpy err(PythonQt::self(), &PythonQt::pythonStdErr);
    QVERIFY(PythonQt::self()->createModuleFromScript("tst_broken", "1/0\n").isNull());
    QVERIFY(!err.isEmpty());
    QVERIFY(!errorPending());
}

void TestPythonQtInterpreter::introspection()
{
    PythonQtObjectPtr module = PythonQt::self()->createModuleFromScript(
        "tst_intro", "import os\nclass Shape:\n    def area(self):\n        return 0\n"
                     "def second(): pass\ndef first(): pass\ncount = 3\n");
    PythonQt* pythonQt = PythonQt::self();
    QCOMPARE(pythonQt->introspectObject(module, PythonQt::Function), (QStringList{"second", "first"}));
    QCOMPARE(pythonQt->introspectObject(module, PythonQt::Class), QStringList{"Shape"});
    QCOMPARE(pythonQt->introspectObject(module, PythonQt::Module), QStringList{"os"});
    QVERIFY(pythonQt->introspectObject(module, PythonQt::Variable).contains("count"));
    QVERIFY(!pythonQt->introspectObject(module, PythonQt::Variable).contains("first"));
    QVERIFY(pythonQt->introspectObject(module, PythonQt::Anything).contains("Shape"));
    QVERIFY(pythonQt->introspection(module, "Shape", PythonQt::Function).contains("area"));
    QVERIFY(pythonQt->introspection(module, "os.path", PythonQt::Function).contains("join"));
    QVERIFY(pythonQt->introspection(module, "no.such.name", PythonQt::Anything).isEmpty());
    QVERIFY(pythonQt->introspectObject(nullptr, PythonQt::Anything).isEmpty());
    QVERIFY(!errorPending());
}

void TestPythonQtInterpreter::addSysPathPutsPathFirst()
{
    PythonQt::self()->addSysPath("/no/such/folder");
    QCOMPARE(m_main.evalScript("__import__('sys').path[0]", Py_eval_input).toString(), QStringLiteral("/no/such/folder"));
    QVERIFY(!m_main.evalScript("import tst_module_nowhere").isValid());
}

void TestPythonQtInterpreter::callAndReturnPyObject()
{
    m_main.evalScript("def combine(a, b, scale=1):\n    return (a + b) * scale\n");
    PythonQtObjectPtr combine;
    QVERIFY(combine.fromVariant(m_main.getVariable("combine")));
    PythonQtObjectPtr result;
    QVERIFY(result.setNewRef(PythonQt::self()->callAndReturnPyObject(combine, {2, 3}, {{"scale", 10}})));
    {
        PythonQtGILScope scope;
        QCOMPARE(PythonQtConv::PyObjToQVariant(result).toInt(), 50);
    }
    QVERIFY(!PythonQt::self()->callAndReturnPyObject(combine, {2}));
    {
        PythonQtGILScope scope;
        QVERIFY(PyErr_ExceptionMatches(PyExc_TypeError)); // left pending for the caller
        PyErr_Clear();
    }
    QCOMPARE(m_main.call("combine", {QStringLiteral("a"), QStringLiteral("b")}).toString(), QStringLiteral("ab"));
    QVERIFY(!m_main.call("not_there").isValid());
}

void TestPythonQtInterpreter::holderReferenceCountsBalance()
{
    m_main.evalScript("class Thing: pass\nthing = Thing()\ndef same(x):\n    return x\n");
    PythonQtObjectPtr thing;
    QVERIFY(thing.fromVariant(m_main.getVariable("thing")));
    const Py_ssize_t before = refCount(thing);
    {
        PythonQtObjectPtr copy(thing);
        PythonQtObjectPtr moved(std::move(copy));
        PythonQtObjectPtr assigned;
        assigned = moved;
        assigned = thing.object();
        QVariant variant = thing.toVariant();
        QVariant variantCopy = variant; // shares the variant's holder
        QCOMPARE(refCount(thing), before + 3);
        // Through a call and back: the same object returns.
        const QVariant back = m_main.call("same", {variant});
        QCOMPARE(back.value<PythonQtObjectPtr>(), thing);
        PythonQtObjectPtr adopted;
        {
            PythonQtGILScope scope;
            Py_INCREF(thing.object());
        }
        adopted.setNewRef(thing);
        adopted.setNewRef(nullptr);
    }
    QCOMPARE(refCount(thing), before);
    for (int i = 0; i < 100; ++i)
        m_main.call("same", {thing.toVariant()});
    QCOMPARE(refCount(thing), before);
}

void TestPythonQtInterpreter::lockScopesFromManyThreads()
{
    m_main.evalScript("tally = 0\n");
    constexpr int threadCount = 6;
    constexpr int rounds = 500;
    std::atomic<int> mismatches{0};
    std::vector<std::unique_ptr<QThread>> threads;
    for (int t = 0; t < threadCount; ++t) {
        threads.emplace_back(QThread::create([&] {
            PyObject* globals = PythonQtObjectPtr(m_main).object();
            for (int i = 0; i < rounds; ++i) {
                PythonQtGILScope outer;
                PythonQtGILScope nested;
                if (!PyGILState_Check())
                    ++mismatches;
                PyObject* dict = PyModule_GetDict(globals);
                PyObject* tally = PyDict_GetItemString(dict, "tally");
                PyObject* one = PyLong_FromLong(1);
                PyObject* next = PyNumber_Add(tally, one);
                Py_DECREF(one);
                PyDict_SetItemString(dict, "tally", next);
                Py_DECREF(next);
                nested.release();
                if (!PyGILState_Check())
                    ++mismatches;
            }
            PythonQtObjectPtr keepsItsState(m_main);
        }));
        threads.back()->start();
    }
    for (auto& thread : threads)
        QVERIFY(thread->wait(30000));
    QCOMPARE(mismatches.load(), 0);
    QCOMPARE(m_main.getVariable("tally").toInt(), threadCount * rounds);
    QVERIFY(!PyGILState_Check());
}

void TestPythonQtInterpreter::cleanupFinalisesAndHoldersGoQuietly()
{
    auto survivor = std::make_unique<PythonQtObjectPtr>(m_main);
    QVariant variant = survivor->toVariant();
    PythonQtGILScope openAcrossCleanup;
    PythonQt::cleanup();
    QVERIFY(!PythonQt::self());
    QVERIFY(!Py_IsInitialized());
    openAcrossCleanup.release();
    survivor.reset();
    variant = QVariant();
    m_main = nullptr;
    PythonQtGILScope afterCleanup;
    QVERIFY(!m_main.evalScript("1").isValid());
}

QTEST_GUILESS_MAIN(TestPythonQtInterpreter)
#include "tst_pythonqt_interpreter.moc"
