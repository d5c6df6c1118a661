// The interpreter behind the layer: start-up and the lock, output signals and streams, errors,
// modules, introspection, calls, holders' reference counts, lock scopes of many threads; what
// Python makes of Qt values and QObjects and back; clean-up.
// Python.h first: Qt defines "slots" as a macro.
#include <PythonQtPython.h>

#include "PythonQt.h"
#include "PythonQtConv.h"

#include <QPoint>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <atomic>
#include <memory>
#include <vector>

// The object scripts see: properties, overloads, defaults, signals, children.
class Gadget : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int count MEMBER m_count)
    Q_PROPERTY(QString kind READ kind)
public:
    explicit Gadget(const QString& name, QObject* parent = nullptr) : QObject(parent) { setObjectName(name); }
    QString kind() const { return "gadget"; }
    Q_INVOKABLE double scaled(double factor) const { return m_count * factor; }
    int m_count = 1;

public slots:
    QString describe(int) { return "int"; }
    QString describe(double) { return "double"; }
    QString describe(const QString&) { return "string"; }
    QString describe(QObject* object) { return object ? object->objectName() : "null"; }
    int add(int a, int b = 10) { return a + b; }
    QVariant echo(const QVariant& value) { return value; }
    QVariantList reversed(const QVariantList& list) { return QVariantList(list.rbegin(), list.rend()); }
    QStringList keys(const QVariantMap& map) { return map.keys(); }
    QObject* makeChild(const QString& name) { return new Gadget(name, this); }
    void fire(int value, const QString& text) { emit fired(value, text); }

signals:
    void fired(int value, const QString& text);
};

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
    std::unique_ptr<Gadget> gadget;

    bool python(const QString& expression) { return main.evalScript(expression, Py_eval_input).toBool(); }
    // "Type: message" of what the statement raises, empty when it raises nothing.
    QString pythonError(const QString& statement) { return main.call("error_of", {statement}).toString(); }

    QVariant evalToVariant(const QString& expression, int type)
    {
        PythonQtGILScope scope;
        PyObject* globals = PyModule_GetDict(main);
        PyObject* object = PyRun_String(expression.toUtf8().constData(), Py_eval_input, globals, globals);
        const QVariant value = object ? PythonQtConv::PyObjToQVariant(object, type) : QVariant();
        Py_XDECREF(object);
        PyErr_Clear();
        return value;
    }

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
        main.evalScript("def error_of(code):\n    try:\n        exec(code)\n    except Exception as e:\n"
                        "        return type(e).__name__ + ': ' + str(e)\n    return ''\n");
    }

    void init()
    {
        gadget = std::make_unique<Gadget>("gadget");
        main.addObject("g", gadget.get());
    }

    void cleanup()
    {
        if (PythonQt::self())
            main.removeVariable("g");
        gadget.reset();
    }

    // One emission per write, unchanged, on the writing thread: print() writes its end apart.
    // The streams look like files.
    void outputSignalsCarryEachWrite()
    {
        QSignalSpy out(PythonQt::self(), &PythonQt::pythonStdOut);
        QSignalSpy err(PythonQt::self(), &PythonQt::pythonStdErr);
        main.evalScript("import sys\nsys.stdout.write('a\\nb \\u00e9')\nprint('x', end='')\nsys.stderr.write('e')\n");
        QCOMPARE(texts(out), (QStringList{QString::fromUtf8("a\nb \u00e9"), "x", ""}));
        QCOMPARE(texts(err), QStringList{"e"});

        QThread* emittingThread = nullptr;
        const auto connection = connect(PythonQt::self(), &PythonQt::pythonStdOut, this,
                                        [&] { emittingThread = QThread::currentThread(); }, Qt::DirectConnection);
        std::unique_ptr<QThread> worker(QThread::create([this] { main.evalScript("print('from worker')"); }));
        worker->start();
        QVERIFY(worker->wait(10000));
        disconnect(connection);
        QCOMPARE(emittingThread, worker.get());
        QCOMPARE(texts(out).mid(3), (QStringList{"from worker", "\n"}));

        const QVariantList answers = main.evalScript(
            "[sys.stdout.encoding, sys.stdout.isatty(), sys.stderr.writable(), sys.stdout.flush(), sys.stdout.write('')]",
            Py_eval_input).toList();
        QCOMPARE(answers, (QVariantList{"utf-8", false, true, QVariant(), 0}));
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

    void variantRoundTrip_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("pythonType");
        QTest::newRow("invalid") << QVariant() << "NoneType";
        QTest::newRow("bool") << QVariant(true) << "bool";
        QTest::newRow("int") << QVariant(-7) << "int";
        QTest::newRow("int64") << QVariant(qlonglong(1) << 40) << "int";
        QTest::newRow("uint64") << QVariant(~qulonglong(0)) << "int";
        QTest::newRow("double") << QVariant(2.5) << "float";
        QTest::newRow("string") << QVariant(QString::fromUtf8("gr\u00fc\u00df \U0001F600")) << "str";
        QTest::newRow("bytes") << QVariant(QByteArray("a\0b", 3)) << "bytes";
        QTest::newRow("list") << QVariant(QVariantList{1, "two", QVariantList{3.5}}) << "list";
        QTest::newRow("map") << QVariant(QVariantMap{{"a", 1}, {"b", QVariantMap{{"c", "d"}}}}) << "dict";
    }

    void variantRoundTrip()
    {
        QFETCH(QVariant, value);
        PythonQtGILScope scope;
        PyObject* object = PythonQtConv::QVariantToPyObject(value);
        QVERIFY(object);
        QTEST(QString::fromUtf8(Py_TYPE(object)->tp_name), "pythonType");
        const QVariant back = PythonQtConv::PyObjToQVariant(object);
        Py_DECREF(object);
        QCOMPARE(back, value);
        QCOMPARE(back.metaType(), value.metaType());
    }

    // Without a type the value's own; with one, converted to it where Python's value allows.
    void pythonToVariant_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<int>("type");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("None") << "None" << -1 << QVariant();
        QTest::newRow("small int") << "2**31 - 1" << -1 << QVariant(2147483647);
        QTest::newRow("wide int") << "-2**31 - 1" << -1 << QVariant(qlonglong(-2147483649LL));
        QTest::newRow("tuple") << "(1, 'a')" << -1 << QVariant(QVariantList{1, "a"});
        QTest::newRow("int beyond 64 bits") << "2**70" << -1 << QVariant(1180591620717411303424.0);
        QTest::newRow("non-string keys") << "{1: 'one'}" << -1 << QVariant(QVariantMap{{"1", "one"}});
        QTest::newRow("int as double") << "3" << int(QMetaType::Double) << QVariant(3.0);
        QTest::newRow("str as int") << "'12'" << int(QMetaType::Int) << QVariant(12);
        QTest::newRow("list as QStringList") << "['a', 'b']" << int(QMetaType::QStringList) << QVariant(QStringList{"a", "b"});
        QTest::newRow("word as int") << "'seven'" << int(QMetaType::Int) << QVariant();
    }

    void pythonToVariant()
    {
        QFETCH(QString, expression);
        QFETCH(int, type);
        QFETCH(QVariant, expected);
        const QVariant value = evalToVariant(expression, type);
        QCOMPARE(value, expected);
        QCOMPARE(value.metaType(), expected.metaType());
    }

    void otherObjectsComeBackIdentical()
    {
        main.evalScript("odd = object()\n");
        const QVariant value = main.getVariable("odd");
        QCOMPARE(value.metaType(), QMetaType::fromType<PythonQtObjectPtr>());
        main.addVariable("returned", value);
        QVERIFY(python("returned is odd"));
        PythonQtObjectPtr holder;
        QVERIFY(holder.fromVariant(main.getVariable("odd")));
        QVERIFY(holder.fromVariant(QVariant(5)));
        QVERIFY(!holder.fromVariant(QVariant()));
        QVERIFY(holder.isNull());
    }

    // One wrapper per object, however it reaches Python; children by name.
    void qobjectPointersAndChildren()
    {
        main.addVariable("viaVariant", QVariant::fromValue(gadget.get()));
        main.addObject("again", gadget.get());
        QVERIFY(python("viaVariant is g and again is g and g.objectName == 'gadget'"));
        QCOMPARE(main.getVariable("g").value<QObject*>(), gadget.get());
        main.addVariable("nothing", QVariant::fromValue<QObject*>(nullptr));
        QVERIFY(python("nothing is None"));
        QVERIFY(python("g.makeChild('kid').objectName == 'kid'"));
        QVERIFY(python("g.kid.kind == 'gadget' and g.kid is g.kid"));
        QVERIFY(python("g.makeChild('other') is g.other and 'other' in dir(g)"));
        main.evalScript("del viaVariant, again\n");
    }

    void unconvertibleValues()
    {
        PythonQtGILScope scope;
        QVERIFY(!PythonQtConv::QVariantToPyObject(QVariant(QPoint(1, 2))));
        QVERIFY(PyErr_ExceptionMatches(PyExc_TypeError));
        PyErr_Clear();
        QVERIFY(!PythonQtConv::QVariantToPyObject(QVariantList{QPoint(1, 2)}));
        PyErr_Clear();
        QVERIFY(!PythonQtConv::PyObjToQVariant(nullptr).isValid());
    }

    void properties()
    {
        QVERIFY(python("g.count == 1 and g.kind == 'gadget' and g.objectName == 'gadget'"));
        main.evalScript("g.count = 5\ng.extra = [1, 2]\n");
        QCOMPARE(gadget->m_count, 5);
        QCOMPARE(gadget->property("extra"), QVariant(QVariantList{1, 2}));
        gadget->setProperty("fromCpp", 3.5);
        QVERIFY(python("g.fromCpp == 3.5 and 'fromCpp' in dir(g) and 'describe' in dir(g)"));
        QVERIFY(pythonError("g.kind = 'x'").startsWith("AttributeError"));
        QVERIFY(pythonError("g.count = 'many'").startsWith("TypeError"));
        QVERIFY(pythonError("g.describe = 1").startsWith("AttributeError"));
        QVERIFY(pythonError("g.nothing_here").startsWith("AttributeError"));
        QCOMPARE(gadget->m_count, 5);
    }

    void methodsAndOverloads()
    {
        QVERIFY(python("g.describe(3) == 'int' and g.describe(2.5) == 'double' and g.describe('s') == 'string'"));
        QVERIFY(python("g.describe(g) == 'gadget' and g.add(1) == 11 and g.add(1, 2) == 3 and g.scaled(2) == 2.0"));
        QVERIFY(python("g.echo({'k': [1, 'x']}) == {'k': [1, 'x']} and g.echo(None) is None"));
        QVERIFY(python("g.reversed((1, 'b', 3.0)) == [3.0, 'b', 1] and sorted(g.keys({'b': 1, 'a': 2})) == ['a', 'b']"));
        const QString error = pythonError("g.add('x')");
        QVERIFY2(error.startsWith("TypeError") && error.contains("add(int,int)"), qPrintable(error));
        QVERIFY(pythonError("g.add(2**40)").startsWith("TypeError"));
        QVERIFY(pythonError("g.add(1, b=2)").startsWith("TypeError"));
        QVERIFY(PythonQt::self()->introspection(main, "g.describe", PythonQt::CallOverloads).contains("describe(QString)"));
        QVERIFY(PythonQt::self()->introspection(main, "g", PythonQt::Function).contains("makeChild"));
    }

    void signalsReachPython()
    {
        main.evalScript("got = []\ndef on_fired(value, text):\n    got.append((value, text))\ng.fired.connect(on_fired)\n");
        gadget->fire(1, "cpp");
        main.evalScript("g.fired.emit(2, 'emit')\ng.fired(3, 'call')\ng.fire(4, 'slot')\n");
        QVERIFY(python("got == [(1, 'cpp'), (2, 'emit'), (3, 'call'), (4, 'slot')]"));
        QVERIFY(python("g.fired.disconnect(on_fired)"));
        gadget->fire(5, "gone");
        QVERIFY(python("len(got) == 4"));
        QVERIFY(pythonError("g.describe.connect(print)").startsWith("TypeError"));
        QVERIFY(pythonError("g.fired.connect(42)").startsWith("TypeError"));
        // A callable that raises is reported, and the emitter goes on.
        QSignalSpy err(PythonQt::self(), &PythonQt::pythonStdErr);
        main.evalScript("g.fired.connect(lambda v, t: 1 / 0)\n");
        gadget->fire(6, "raises");
        QVERIFY(!err.isEmpty());
    }

    void signalFromWorkerThreadIsQueued()
    {
        main.evalScript("import threading\nthreads = []\ng.fired.connect(lambda v, t: threads.append(threading.get_ident()))\n");
        std::unique_ptr<QThread> worker(QThread::create([this] { gadget->fire(7, "worker"); }));
        worker->start();
        QVERIFY(worker->wait(10000));
        QTRY_VERIFY(python("threads == [threading.get_ident()]"));
    }

    void deletedObjectRaises()
    {
        main.evalScript("kept = g.makeChild('doomed')\nbound = kept.describe\n");
        delete gadget->findChild<QObject*>("doomed");
        for (const char* statement : {"kept.count", "kept.count = 2", "bound(1)", "dir(kept)", "kept.fired.connect(print)"}) {
            const QString error = pythonError(statement);
            QVERIFY2(error.startsWith("RuntimeError") && error.contains("Gadget") && error.contains("deleted"),
                     qPrintable(QStringLiteral("%1 -> %2").arg(statement, error)));
        }
        QVERIFY(python("'deleted' in repr(kept)"));
        main.evalScript("del kept, bound\n");
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
