// QObjects as Python sees them: one wrapper per object, properties, overloaded slots, signals
// both ways and across threads, and objects deleted behind a script's back.
#include "support/PythonQtTestCase.h"

#include <QSignalSpy>
#include <QThread>

#include <memory>

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

class tst_pythonqt_qobjects : public PythonQtTestCase
{
    Q_OBJECT

    std::unique_ptr<Gadget> gadget;

private slots:
    void init()
    {
        gadget = std::make_unique<Gadget>("gadget");
        main.addObject("g", gadget.get());
    }

    void cleanup()
    {
        main.removeVariable("g");
        gadget.reset();
    }

    void scriptsReadTheObject_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("member property") << "g.count" << QVariant(1);
        QTest::newRow("read-only property") << "g.kind" << QVariant("gadget");
        QTest::newRow("object name") << "g.objectName" << QVariant("gadget");
        QTest::newRow("invokable") << "g.scaled(2)" << QVariant(2.0);
        QTest::newRow("int overload") << "g.describe(3)" << QVariant("int");
        QTest::newRow("double overload") << "g.describe(2.5)" << QVariant("double");
        QTest::newRow("string overload") << "g.describe('s')" << QVariant("string");
        QTest::newRow("QObject overload") << "g.describe(g)" << QVariant("gadget");
        QTest::newRow("default argument") << "g.add(1)" << QVariant(11);
        QTest::newRow("both arguments") << "g.add(1, 2)" << QVariant(3);
        QTest::newRow("variant dict") << "g.echo({'k': [1, 'x']}) == {'k': [1, 'x']}" << QVariant(true);
        QTest::newRow("variant None") << "g.echo(None) is None" << QVariant(true);
        QTest::newRow("tuple as list") << "g.reversed((1, 'b', 3.0))" << QVariant(QVariantList{3.0, "b", 1});
        QTest::newRow("dict as map") << "sorted(g.keys({'b': 1, 'a': 2}))" << QVariant(QVariantList{"a", "b"});
        QTest::newRow("returned child") << "g.makeChild('kid').kind" << QVariant("gadget");
        QTest::newRow("child by name") << "g.makeChild('kid') is g.kid" << QVariant(true);
        QTest::newRow("child listed") << "[g.makeChild('other'), 'other' in dir(g)][1]" << QVariant(true);
        QTest::newRow("property listed") << "'objectName' in dir(g)" << QVariant(true);
        QTest::newRow("slot listed") << "'describe' in dir(g)" << QVariant(true);
    }

    void scriptsReadTheObject()
    {
        QFETCH(QString, expression);
        QFETCH(QVariant, expected);
        QCOMPARE(value(expression), expected);
    }

    // Refused with the error Python code expects, the object unchanged.
    void refusedUses_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("error");
        QTest::newRow("read-only property") << "g.kind = 'x'" << "AttributeError";
        QTest::newRow("wrong property type") << "g.count = 'many'" << "TypeError";
        QTest::newRow("assigning a slot") << "g.describe = 1" << "AttributeError";
        QTest::newRow("unknown attribute") << "g.nothing_here" << "AttributeError";
        QTest::newRow("no matching overload") << "g.add('x')" << "TypeError";
        QTest::newRow("int too wide") << "g.add(2**40)" << "TypeError";
        QTest::newRow("keyword argument") << "g.add(1, b=2)" << "TypeError";
        QTest::newRow("connecting a slot") << "g.describe.connect(print)" << "TypeError";
        QTest::newRow("connecting a non-callable") << "g.fired.connect(42)" << "TypeError";
    }

    void refusedUses()
    {
        QFETCH(QString, statement);
        QTEST(pythonError(statement).section(QLatin1Char(':'), 0, 0), "error");
        QCOMPARE(gadget->m_count, 1);
    }

    void overloadErrorListsTheSignatures()
    {
        QVERIFY(pythonError("g.add('x')").contains("add(int,int)"));
        QVERIFY(PythonQt::self()->introspection(main, "g.describe", PythonQt::CallOverloads).contains("describe(QString)"));
        QVERIFY(PythonQt::self()->introspection(main, "g", PythonQt::Function).contains("makeChild"));
    }

    void oneWrapperPerObject()
    {
        main.addVariable("viaVariant", QVariant::fromValue(gadget.get()));
        main.addObject("again", gadget.get());
        QVERIFY(python("viaVariant is g"));
        QVERIFY(python("again is g"));
        QCOMPARE(main.getVariable("g").value<QObject*>(), gadget.get());
        main.addVariable("nothing", QVariant::fromValue<QObject*>(nullptr));
        QVERIFY(python("nothing is None"));
        main.evalScript("del viaVariant, again, nothing\n");
    }

    void writesReachTheObject()
    {
        main.evalScript("g.count = 5\ng.extra = [1, 2]\n");
        QCOMPARE(gadget->m_count, 5);
        QCOMPARE(gadget->property("extra"), QVariant(QVariantList{1, 2}));
        gadget->setProperty("fromCpp", 3.5);
        QCOMPARE(value("g.fromCpp"), QVariant(3.5));
        QVERIFY(python("'fromCpp' in dir(g)"));
    }

    void signalsReachPython()
    {
        main.evalScript("got = []\ndef on_fired(value, text):\n    got.append((value, text))\ng.fired.connect(on_fired)\n");
        gadget->fire(1, "cpp");
        main.evalScript("g.fired.emit(2, 'emit')\ng.fired(3, 'call')\ng.fire(4, 'slot')\n");
        QVERIFY(python("got == [(1, 'cpp'), (2, 'emit'), (3, 'call'), (4, 'slot')]"));
        QVERIFY(python("g.fired.disconnect(on_fired)"));
        gadget->fire(5, "gone");
        QCOMPARE(value("len(got)"), QVariant(4));
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

    void deletedObjectRaises_data()
    {
        QTest::addColumn<QString>("statement");
        for (const char* statement : {"kept.count", "kept.count = 2", "bound(1)", "dir(kept)", "kept.fired.connect(print)"})
            QTest::newRow(statement) << statement;
    }

    void deletedObjectRaises()
    {
        main.evalScript("kept = g.makeChild('doomed')\nbound = kept.describe\n");
        delete gadget->findChild<QObject*>("doomed");
        QFETCH(QString, statement);
        const QString error = pythonError(statement);
        QVERIFY2(error.startsWith("RuntimeError"), qPrintable(error));
        QVERIFY2(error.contains("Gadget"), qPrintable(error));
        QVERIFY2(error.contains("deleted"), qPrintable(error));
        QVERIFY(python("'deleted' in repr(kept)"));
        main.evalScript("del kept, bound\n");
    }
};

QTEST_MAIN(tst_pythonqt_qobjects)
#include "tst_pythonqt_qobjects.moc"
