// Python.h first: Qt defines "slots" as a macro.
#include <PythonQtPython.h>

#include "PythonQt.h"

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
    QString kind() const { return QStringLiteral("gadget"); }
    Q_INVOKABLE double scaled(double factor) const { return m_count * factor; }
    int m_count = 1;
    QString m_label;

public slots:
    QString describe(int) { return QStringLiteral("int"); }
    QString describe(double) { return QStringLiteral("double"); }
    QString describe(const QString&) { return QStringLiteral("string"); }
    QString describe(QObject* object) { return object ? object->objectName() : QStringLiteral("null"); }
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

class TestPythonQtQObject : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void properties();
    void methodsAndOverloads();
    void childrenByName();
    void signalsReachPython();
    void signalFromWorkerThreadIsQueued();
    void sameWrapperWhileAlive();
    void deletedObjectRaises();
    void cleanupTestCase();

private:
    bool python(const QString& expression) { return m_main.evalScript(expression, Py_eval_input).toBool(); }
    QString pythonError(const QString& statement);

    PythonQtObjectPtr m_main;
    std::unique_ptr<Gadget> m_gadget;
};

void TestPythonQtQObject::initTestCase()
{
    PythonQt::init();
    QVERIFY(PythonQt::self()->initSuccessfully());
    PythonQt::self()->startThreads();
    m_main = PythonQt::self()->getMainModule();
    m_main.evalScript("def error_of(code):\n"
                      "    try:\n"
                      "        exec(code)\n"
                      "    except Exception as e:\n"
                      "        return type(e).__name__ + ': ' + str(e)\n"
                      "    return ''\n");
}

void TestPythonQtQObject::init()
{
    m_gadget = std::make_unique<Gadget>();
    m_gadget->setObjectName("gadget");
    m_main.addObject("g", m_gadget.get());
}

void TestPythonQtQObject::cleanup()
{
    m_main.removeVariable("g");
    m_gadget.reset();
}

QString TestPythonQtQObject::pythonError(const QString& statement)
{
    return m_main.call("error_of", {statement}).toString();
}

void TestPythonQtQObject::properties()
{
    QVERIFY(python("g.count == 1 and g.kind == 'gadget' and g.objectName == 'gadget'"));
    m_main.evalScript("g.count = 5\ng.label = 'hello'\ng.extra = [1, 2]\n");
    QCOMPARE(m_gadget->m_count, 5);
    QCOMPARE(m_gadget->m_label, QStringLiteral("hello"));
    QCOMPARE(m_gadget->property("extra"), QVariant(QVariantList{1, 2}));
    m_gadget->setProperty("fromCpp", 3.5);
    QVERIFY(python("g.fromCpp == 3.5 and 'fromCpp' in dir(g) and 'describe' in dir(g)"));
    QVERIFY(pythonError("g.kind = 'x'").startsWith("AttributeError"));
    QVERIFY(pythonError("g.count = 'many'").startsWith("TypeError"));
    QVERIFY(pythonError("g.describe = 1").startsWith("AttributeError"));
    QVERIFY(pythonError("g.nothing_here").startsWith("AttributeError"));
    QCOMPARE(m_gadget->m_count, 5);
}

void TestPythonQtQObject::methodsAndOverloads()
{
    QVERIFY(python("g.describe(3) == 'int' and g.describe(2.5) == 'double' and g.describe('s') == 'string'"));
    QVERIFY(python("g.describe(g) == 'gadget'"));
    QVERIFY(python("g.add(1) == 11 and g.add(1, 2) == 3"));
    QVERIFY(python("g.scaled(2) == 2.0"));
    QVERIFY(python("g.echo({'k': [1, 'x']}) == {'k': [1, 'x']} and g.echo(None) is None"));
    QVERIFY(python("g.reversed((1, 'b', 3.0)) == [3.0, 'b', 1]"));
    QVERIFY(python("sorted(g.keys({'b': 1, 'a': 2})) == ['a', 'b']"));
    const QString error = pythonError("g.add('x')");
    QVERIFY2(error.startsWith("TypeError") && error.contains("add(int,int)"), qPrintable(error));
    QVERIFY(pythonError("g.add(2**40)").startsWith("TypeError"));
    QVERIFY(pythonError("g.add(1, b=2)").startsWith("TypeError"));
    QVERIFY(PythonQt::self()->introspection(m_main, "g.describe", PythonQt::CallOverloads).contains("describe(QString)"));
    QVERIFY(PythonQt::self()->introspection(m_main, "g", PythonQt::Function).contains("makeChild"));
}

void TestPythonQtQObject::childrenByName()
{
    QVERIFY(python("g.makeChild('kid').objectName == 'kid'"));
    QVERIFY(python("g.kid.kind == 'gadget' and g.kid is g.kid"));
    QVERIFY(python("g.makeChild('other') is g.other and 'other' in dir(g)"));
}

void TestPythonQtQObject::signalsReachPython()
{
    m_main.evalScript("got = []\ndef on_fired(value, text):\n    got.append((value, text))\n"
                      "g.fired.connect(on_fired)\n");
    m_gadget->fire(1, "cpp");
    m_main.evalScript("g.fired.emit(2, 'emit')\ng.fired(3, 'call')\ng.fire(4, 'slot')\n");
    QVERIFY(python("got == [(1, 'cpp'), (2, 'emit'), (3, 'call'), (4, 'slot')]"));
    QVERIFY(python("g.fired.disconnect(on_fired)"));
    m_gadget->fire(5, "gone");
    QVERIFY(python("len(got) == 4"));
    QVERIFY(pythonError("g.describe.connect(print)").startsWith("TypeError"));
    QVERIFY(pythonError("g.fired.connect(42)").startsWith("TypeError"));
    // A callable that raises is reported, and the emitter goes on.
    QSignalSpy err(PythonQt::self(), &PythonQt::pythonStdErr);
    m_main.evalScript("g.fired.connect(lambda v, t: 1 / 0)\n");
    m_gadget->fire(6, "raises");
    QVERIFY(!err.isEmpty());
}

void TestPythonQtQObject::signalFromWorkerThreadIsQueued()
{
    m_main.evalScript("import threading\nthreads = []\n"
                      "g.fired.connect(lambda v, t: threads.append(threading.get_ident()))\n");
    std::unique_ptr<QThread> worker(QThread::create([this] { m_gadget->fire(7, "worker"); }));
    worker->start();
    QVERIFY(worker->wait(10000));
    QTRY_VERIFY(python("threads == [threading.get_ident()]"));
}

void TestPythonQtQObject::sameWrapperWhileAlive()
{
    m_main.addObject("again", m_gadget.get());
    QVERIFY(python("again is g"));
    m_main.removeVariable("again");
}

void TestPythonQtQObject::deletedObjectRaises()
{
    m_main.evalScript("kept = g.makeChild('doomed')\nbound = kept.describe\n");
    delete m_gadget->findChild<QObject*>("doomed");
    for (const char* statement : {"kept.count", "kept.count = 2", "bound(1)", "dir(kept)", "kept.fired.connect(print)"}) {
        const QString error = pythonError(statement);
        QVERIFY2(error.startsWith("RuntimeError") && error.contains("Gadget") && error.contains("deleted"),
                 qPrintable(QStringLiteral("%1 -> %2").arg(statement, error)));
    }
    QVERIFY(python("'deleted' in repr(kept)"));
    m_main.evalScript("del kept, bound\n");
}

void TestPythonQtQObject::cleanupTestCase()
{
    m_main = nullptr;
    PythonQt::cleanup();
}

QTEST_GUILESS_MAIN(TestPythonQtQObject)
#include "tst_pythonqt_qobject.moc"
