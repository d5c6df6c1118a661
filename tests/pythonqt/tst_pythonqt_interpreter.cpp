// The interpreter behind the layer: start-up and the lock, output signals and streams, errors,
// modules, introspection, calls, holders' reference counts, lock scopes of many threads, clean-up.
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

QStringList texts(const QSignalSpy& spy)
{
    QStringList written;
    for (const QList<QVariant>& emission : spy)
        written << emission.at(0).toString();
    return written;
}

} // namespace

class tst_pythonqt_interpreter : public QObject
{
    Q_OBJECT

    PythonQtObjectPtr main;

private slots:
    void initTestCase()
    {
        PythonQt::init(PythonQt::RedirectStdOut | PythonQt::IgnoreSiteModule);
        QVERIFY2(PythonQt::self()->initSuccessfully(), qPrintable(PythonQt::self()->initError()));
        QVERIFY(PythonQt::self()->initError().isEmpty());
        // Before startThreads() the init thread holds the lock: a scope must not block.
        {
            PythonQtGILScope scope;
            QVERIFY(PyGILState_Check());
        }
        PythonQt::self()->startThreads();
        QVERIFY(!PyGILState_Check());
        main = PythonQt::self()->getMainModule();
        QVERIFY(!main.isNull());
        QCOMPARE(main.evalScript("'site' in __import__('sys').modules", Py_eval_input).toBool(), false);
    }

    // One emission per write, unchanged, on the writing thread: print() writes its end apart.
    // The streams look like files.
    void outputSignalsCarryEachWrite()
    {
        QSignalSpy out(PythonQt::self(), &PythonQt::pythonStdOut);
        QSignalSpy err(PythonQt::self(), &PythonQt::pythonStdErr);
        main.evalScript("import sys\nsys.stdout.write('a\\nb \\u00e9')\nprint('x', end='')\nsys.stderr.write('e')\n"
                        "sys.stdout.write('\\u20ac\\U0001F600')\n");
        QCOMPARE(texts(out), (QStringList{QString::fromUtf8("a\nb \u00e9"), "x", "", QString::fromUtf8("\u20ac\U0001F600")}));
        QCOMPARE(texts(err), QStringList{"e"});

        QThread* emittingThread = nullptr;
        const auto connection = connect(PythonQt::self(), &PythonQt::pythonStdOut, this,
                                        [&] { emittingThread = QThread::currentThread(); }, Qt::DirectConnection);
        std::unique_ptr<QThread> worker(QThread::create([this] { main.evalScript("print('from worker')"); }));
        worker->start();
        QVERIFY(worker->wait(10000));
        disconnect(connection);
        QCOMPARE(emittingThread, worker.get());
        QCOMPARE(texts(out).mid(4), (QStringList{"from worker", "\n"}));

        const QVariantList answers = main.evalScript(
            "[sys.stdout.encoding, sys.stdout.isatty(), sys.stderr.writable(), sys.stdout.flush(), sys.stdout.write(''),"
            " sys.stdout.write('\\U0001F600!')]",
            Py_eval_input).toList();
        QCOMPARE(answers, (QVariantList{"utf-8", false, true, QVariant(), 0, 2}));
        QCOMPARE(main.evalScript("try:\n    sys.stdout.write(b'x')\nexcept TypeError as e:\n    r = str(e)\n", Py_file_input),
                 QVariant());
        QCOMPARE(main.getVariable("r").toString(), "write() argument must be str, not bytes");
    }

    void exceptionsArePrintedNeverFatal_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ValueError") << "raise ValueError('bad value')" << "ValueError: bad value";
        QTest::newRow("SystemExit") << "import sys\nsys.exit(3)" << "SystemExit: 3";
        QTest::newRow("SyntaxError") << "def (:" << "SyntaxError";
        QTest::newRow("SystemExit of a call") << "def leave():\n    raise SystemExit(4)\n" << "SystemExit: 4";
    }

    void exceptionsArePrintedNeverFatal()
    {
        QFETCH(QString, code);
        QSignalSpy err(PythonQt::self(), &PythonQt::pythonStdErr);
        QVariant result = main.evalScript(code);
        if (code.startsWith("def "))
            result = main.call("leave");
        QVERIFY(!result.isValid());
        QFETCH(QString, expected);
        QVERIFY2(texts(err).join("").contains(expected), qPrintable(texts(err).join("")));
        QVERIFY(!errorPending());
    }

    void modulesFromScript()
    {
        PythonQtObjectPtr module = PythonQt::self()->createModuleFromScript("tst_made", "value = 6 * 7\n");
        QCOMPARE(module.getVariable("value").toInt(), 42);
        QCOMPARE(main.evalScript("__import__('tst_made').value", Py_eval_input).toInt(), 42);
        QVERIFY(!module.getVariable("missing").isValid());
        module.addVariable("added", "yes");
        QCOMPARE(module.evalScript("added", Py_eval_input).toString(), "yes");
        module.removeVariable("added");
        QVERIFY(!module.getVariable("added").isValid());

        QSignalSpy err(PythonQt::self(), &PythonQt::pythonStdErr);
        QVERIFY(PythonQt::self()->createModuleFromScript("tst_broken", "1/0\n").isNull());
        QVERIFY(!err.isEmpty());
        QVERIFY(!errorPending());
    }

    void introspection()
    {
        PythonQtObjectPtr module = PythonQt::self()->createModuleFromScript(
            "tst_intro", "import os\nclass Shape:\n    def area(self):\n        return 0\ndef second(): pass\ndef first(): pass\ncount = 3\n");
        PythonQt* pythonQt = PythonQt::self();
        QCOMPARE(pythonQt->introspectObject(module, PythonQt::Function), (QStringList{"second", "first"}));
        QCOMPARE(pythonQt->introspectObject(module, PythonQt::Class), QStringList{"Shape"});
        QCOMPARE(pythonQt->introspectObject(module, PythonQt::Module), QStringList{"os"});
        QVERIFY(pythonQt->introspection(module, "os.path", PythonQt::Function).contains("join"));
        QVERIFY(pythonQt->introspection(module, "no.such.name", PythonQt::Anything).isEmpty());
        QVERIFY(!errorPending());
    }

    void callAndReturnPyObject()
    {
        main.evalScript("def combine(a, b, scale=1):\n    return (a + b) * scale\n");
        PythonQtObjectPtr combine;
        QVERIFY(combine.fromVariant(main.getVariable("combine")));
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
        QCOMPARE(main.call("combine", {"a", "b"}).toString(), "ab");
        QVERIFY(!main.call("not_there").isValid());
    }

    void holderReferenceCountsBalance()
    {
        main.evalScript("class Thing: pass\nthing = Thing()\ndef same(x):\n    return x\n");
        PythonQtObjectPtr thing;
        QVERIFY(thing.fromVariant(main.getVariable("thing")));
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
            QCOMPARE(main.call("same", {variant}).value<PythonQtObjectPtr>(), thing);
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
            main.call("same", {thing.toVariant()});
        QCOMPARE(refCount(thing), before);
    }

    void lockScopesFromManyThreads()
    {
        main.evalScript("tally = 0\n");
        std::atomic<int> mismatches{0};
        std::vector<std::unique_ptr<QThread>> threads;
        for (int t = 0; t < 6; ++t) {
            threads.emplace_back(QThread::create([&] {
                PyObject* module = PythonQtObjectPtr(main).object();
                for (int i = 0; i < 500; ++i) {
                    PythonQtGILScope outer;
                    PythonQtGILScope nested;
                    PyObject* dict = PyModule_GetDict(module);
                    PyObject* one = PyLong_FromLong(1);
                    PyObject* next = PyNumber_Add(PyDict_GetItemString(dict, "tally"), one);
                    PyDict_SetItemString(dict, "tally", next);
                    Py_DECREF(one);
                    Py_DECREF(next);
                    nested.release();
                    mismatches += !PyGILState_Check();
                }
            }));
            threads.back()->start();
        }
        for (auto& thread : threads)
            QVERIFY(thread->wait(30000));
        QCOMPARE(mismatches.load(), 0);
        QCOMPARE(main.getVariable("tally").toInt(), 6 * 500);
        QVERIFY(!PyGILState_Check());
    }

    void cleanupFinalisesAndHoldersGoQuietly()
    {
        auto survivor = std::make_unique<PythonQtObjectPtr>(main);
        QVariant variant = survivor->toVariant();
        PythonQtGILScope openAcrossCleanup;
        PythonQt::cleanup();
        QVERIFY(!PythonQt::self());
        QVERIFY(!Py_IsInitialized());
        openAcrossCleanup.release();
        survivor.reset();
        variant = QVariant();
        main = nullptr;
        PythonQtGILScope afterCleanup;
        QVERIFY(!main.evalScript("1").isValid());
    }
};

QTEST_GUILESS_MAIN(tst_pythonqt_interpreter)
#include "tst_pythonqt_interpreter.moc"
