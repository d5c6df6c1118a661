// What Python makes of Qt values and QObjects, and back: variants both ways, requested types,
// objects that come back identical, and a QObject's properties, methods, children and signals.
// Python.h first: Qt defines "slots" as a macro.
#include <PythonQtPython.h>

#include "PythonQt.h"
#include "PythonQtConv.h"

#include <QPoint>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <memory>

// The object scripts see: properties, overloads, defaults, signals, children.
class Gadget : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int count MEMBER m_count)
    Q_PROPERTY(QString label MEMBER m_label)
    Q_PROPERTY(QString kind READ kind)
public:
    using QObject::QObject;
    QString kind() const { return "gadget"; }
    Q_INVOKABLE double scaled(double factor) const { return m_count * factor; }
    int m_count = 1;
    QString m_label;

public slots:
    QString describe(int) { return "int"; }
    QString describe(double) { return "double"; }
    QString describe(const QString&) { return "string"; }
    QString describe(QObject* object) { return object ? object->objectName() : "null"; }
    int add(int a, int b = 10) { return a + b; }
    QVariant echo(const QVariant& value) { return value; }
    QVariantList reversed(const QVariantList& list) { return QVariantList(list.rbegin(), list.rend()); }
    QStringList keys(const QVariantMap& map) { return map.keys(); }
    QObject* makeChild(const QString& name)
    {
        auto* child = new Gadget(this);
        child->setObjectName(name);
        return child;
    }
    void fire(int value, const QString& text) { emit fired(value, text); }

signals:
    void fired(int value, const QString& text);
};

class tst_pythonqt_conversions : public QObject
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
        PythonQt::init();
        QVERIFY(PythonQt::self()->initSuccessfully());
        PythonQt::self()->startThreads();
        main = PythonQt::self()->getMainModule();
        main.evalScript("def error_of(code):\n    try:\n        exec(code)\n    except Exception as e:\n"
                        "        return type(e).__name__ + ': ' + str(e)\n    return ''\n");
    }

    void init()
    {
        gadget = std::make_unique<Gadget>();
        gadget->setObjectName("gadget");
        main.addObject("g", gadget.get());
    }

    void cleanup()
    {
        main.removeVariable("g");
        gadget.reset();
    }

    void cleanupTestCase()
    {
        main = nullptr;
        PythonQt::cleanup();
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
        QTest::newRow("empty string") << QVariant(QString("")) << "str";
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
        QTest::newRow("False") << "False" << -1 << QVariant(false);
        QTest::newRow("small int") << "2**31 - 1" << -1 << QVariant(2147483647);
        QTest::newRow("wide int") << "-2**31 - 1" << -1 << QVariant(qlonglong(-2147483649LL));
        QTest::newRow("float") << "0.25" << -1 << QVariant(0.25);
        QTest::newRow("tuple") << "(1, 'a')" << -1 << QVariant(QVariantList{1, "a"});
        QTest::newRow("str list") << "['x', 'y']" << -1 << QVariant(QVariantList{"x", "y"});
        QTest::newRow("int as double") << "3" << int(QMetaType::Double) << QVariant(3.0);
        QTest::newRow("str as int") << "'12'" << int(QMetaType::Int) << QVariant(12);
        QTest::newRow("list as QStringList") << "['a', 'b']" << int(QMetaType::QStringList) << QVariant(QStringList{"a", "b"});
        QTest::newRow("int as QVariant") << "7" << int(QMetaType::QVariant) << QVariant(7);
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

    void heldAndNarrowValues()
    {
        QCOMPARE(evalToVariant("7", qMetaTypeId<PythonQtObjectPtr>()).metaType(), QMetaType::fromType<PythonQtObjectPtr>());
        PythonQtGILScope scope;
        PyObject* list = PythonQtConv::QVariantToPyObject(QStringList{"p", "q"});
        QVERIFY(PyList_Check(list) && PyList_GET_SIZE(list) == 2 && PyUnicode_Check(PyList_GET_ITEM(list, 0)));
        Py_DECREF(list);
        PyObject* small = PythonQtConv::QVariantToPyObject(QVariant::fromValue<short>(-3));
        QCOMPARE(PyLong_AsLong(small), -3L);
        Py_DECREF(small);
    }

    void otherObjectsComeBackIdentical()
    {
        main.evalScript("odd = object()\nhuge = 2**70\nbykeys = {1: 'one'}\n");
        for (const char* name : {"odd", "huge", "bykeys"}) {
            const QVariant value = main.getVariable(name);
            QCOMPARE(value.metaType(), QMetaType::fromType<PythonQtObjectPtr>());
            main.addVariable("returned", value);
            QVERIFY2(python(QStringLiteral("returned is %1").arg(name)), name);
        }
        PythonQtObjectPtr holder;
        QVERIFY(holder.fromVariant(main.getVariable("odd")));
        QVERIFY(holder.fromVariant(QVariant(5)));
        QVERIFY(!holder.fromVariant(QVariant()));
        QVERIFY(holder.isNull());
    }

    void qobjectPointers()
    {
        main.addVariable("viaVariant", QVariant::fromValue(gadget.get()));
        QVERIFY(python("viaVariant is g and g.objectName == 'gadget'"));
        QCOMPARE(main.getVariable("g").value<QObject*>(), gadget.get());
        main.addVariable("nothing", QVariant::fromValue<QObject*>(nullptr));
        QVERIFY(python("nothing is None"));
        main.removeVariable("viaVariant");
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
        main.evalScript("g.count = 5\ng.label = 'hello'\ng.extra = [1, 2]\n");
        QCOMPARE(gadget->m_count, 5);
        QCOMPARE(gadget->m_label, "hello");
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

    void childrenByNameAndOneWrapperPerObject()
    {
        QVERIFY(python("g.makeChild('kid').objectName == 'kid'"));
        QVERIFY(python("g.kid.kind == 'gadget' and g.kid is g.kid"));
        QVERIFY(python("g.makeChild('other') is g.other and 'other' in dir(g)"));
        main.addObject("again", gadget.get());
        QVERIFY(python("again is g"));
        main.removeVariable("again");
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
};

QTEST_GUILESS_MAIN(tst_pythonqt_conversions)
#include "tst_pythonqt_conversions.moc"
