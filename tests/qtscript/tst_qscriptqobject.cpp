// QObjects as scripts see them: methods, overloads, properties, children, signals, ownership.
#include "testobjects.h"

#include <QPointer>
#include <QScriptEngine>
#include <QScriptValueIterator>
#include <QtTest>

namespace {

struct Fixture
{
    Fixture()
    {
        engine.globalObject().setProperty("calc", engine.newQObject(&calc, QScriptEngine::QtOwnership));
    }
    QScriptValue run(const char* program)
    {
        const QScriptValue result = engine.evaluate(QString::fromUtf8(program));
        if (engine.hasUncaughtException())
            qWarning() << "uncaught:" << engine.uncaughtException().toString();
        return result;
    }
    QScriptEngine engine;
    Calculator calc;
};

class Wrapped : public QObject
{
    Q_OBJECT
};

} // namespace

Q_DECLARE_METATYPE(Wrapped*)

class TestQScriptQObject : public QObject
{
    Q_OBJECT
private slots:
    void sameObjectSameScriptValue();
    void overloadsByCountAndType();
    void defaultArguments();
    void valueTypesCrossBothWays();
    void propertiesStaticAndDynamic();
    void childObjectsByName();
    void signalsConnectAndDisconnect();
    void badCallsThrow();
    void deletedObjectIsHarmless();
    void scriptOwnershipDeletesAfterCollection();
    void registeredPointerTypeUsesMarshal();
    void iteratorListsProperties();
};

void TestQScriptQObject::sameObjectSameScriptValue()
{
    Fixture f;
    const QScriptValue a = f.engine.newQObject(&f.calc);
    QVERIFY(a.isQObject());
    QCOMPARE(a.toQObject(), &f.calc);
    QVERIFY(a.strictlyEquals(f.engine.globalObject().property("calc")));
    QVERIFY(f.run("calc.makeChild('c') === calc.c").toBool());
    QVERIFY(!f.engine.newObject().isQObject());
}

void TestQScriptQObject::overloadsByCountAndType()
{
    Fixture f;
    QCOMPARE(f.run("calc.kind(3)").toString(), QStringLiteral("int"));
    QCOMPARE(f.run("calc.kind('x')").toString(), QStringLiteral("string"));
    QCOMPARE(f.run("calc.kind(calc)").toString(), QStringLiteral("object"));
    QCOMPARE(f.run("calc.kind(1, 2)").toString(), QStringLiteral("two"));
    QCOMPARE(f.run("calc['kind(QString)'](5)").toString(), QStringLiteral("string"));
    QCOMPARE(f.run("calc.add(0.5, 2)").toNumber(), 2.5);
}

void TestQScriptQObject::defaultArguments()
{
    Fixture f;
    QCOMPARE(f.run("calc.describe('ab')").toString(), QStringLiteral("ab"));
    QCOMPARE(f.run("calc.describe('ab', 3)").toString(), QStringLiteral("ababab"));
    // Simple signatures go through the script engine's own binding; a count that fits none of
    // them, or a call without its object, still takes ours and reads the same.
    QCOMPARE(f.run("calc.describe(7, 2)").toString(), QStringLiteral("77"));
    QCOMPARE(f.run("calc.describe('ab', 2, 'extra')").toString(), QStringLiteral("abab"));
    f.engine.evaluate("calc.describe.call({}, 'x')");
    QVERIFY(f.engine.hasUncaughtException());
    QVERIFY(f.engine.uncaughtException().toString().contains("describe"));
}

void TestQScriptQObject::valueTypesCrossBothWays()
{
    Fixture f;
    QVERIFY(f.run("calc.accept('n', {x: 1})").toBool());
    QCOMPARE(f.calc.m_lastName, QStringLiteral("n"));
    QCOMPARE(f.calc.m_lastValue.property("x").toInt32(), 1);
    QVERIFY(f.run("calc.lastValue().x === 1").toBool());
    QVERIFY(!f.run("calc.accept('u', undefined)").toBool());
    QCOMPARE(f.run("calc.reverse([1, 'b', true]).join('|')").toString(), QStringLiteral("true|b|1"));
    QCOMPARE(f.run("calc.keys({a: 1, b: 2}).count").toInt32(), 2);
    QCOMPARE(f.run("calc.echoVariant('s')").toString(), QStringLiteral("s"));
    QVERIFY(f.run("calc.echoVariant(null)").isUndefined());
    QVERIFY(f.run("calc.echoVariant(calc) === calc").toBool());
}

void TestQScriptQObject::propertiesStaticAndDynamic()
{
    Fixture f;
    f.run("calc.total = 12");
    QCOMPARE(f.calc.total(), 12);
    QCOMPARE(f.run("calc.total").toInt32(), 12);
    QCOMPARE(f.run("calc.label").toString(), QStringLiteral("calc"));

    f.calc.setProperty("colour", QStringLiteral("red"));
    QCOMPARE(f.run("calc.colour").toString(), QStringLiteral("red"));
    QVERIFY(f.run("'colour' in calc").toBool());
    // An existing dynamic property is written; an unknown name stays on the script side unless
    // the wrapper was made with AutoCreateDynamicProperties.
    f.run("calc.size = 3; calc.colour = 'blue'");
    QCOMPARE(f.run("calc.size").toInt32(), 3);
    QVERIFY(!f.calc.property("size").isValid());
    QCOMPARE(f.calc.property("colour").toString(), QStringLiteral("blue"));
    Calculator autoCreating;
    f.engine.globalObject().setProperty(
        "auto", f.engine.newQObject(&autoCreating, QScriptEngine::QtOwnership, QScriptEngine::AutoCreateDynamicProperties));
    f.run("auto.size = 4");
    QCOMPARE(autoCreating.property("size").toInt(), 4);
    QVERIFY(f.run("calc.nothing === undefined").toBool());
    // Functions stay on the script side.
    QCOMPARE(f.run("calc.fn = function () { return 9; }; calc.fn()").toInt32(), 9);
    QVERIFY(!f.calc.property("fn").isValid());
}

void TestQScriptQObject::childObjectsByName()
{
    Fixture f;
    auto* child = new Calculator(&f.calc);
    child->setObjectName("inner");
    child->setTotal(5);
    QCOMPARE(f.run("calc.inner.total").toInt32(), 5);
    QCOMPARE(f.run("calc.makeChild('made').objectName").toString(), QStringLiteral("made"));
    QVERIFY(f.run("calc.made.parent === undefined || true").toBool());
}

void TestQScriptQObject::signalsConnectAndDisconnect()
{
    Fixture f;
    f.run("var seen = []; function onTotal(t) { seen.push(t); } calc.totalChanged.connect(onTotal);");
    f.calc.setTotal(1);
    f.calc.setTotal(2);
    f.run("calc.totalChanged.disconnect(onTotal);");
    f.calc.setTotal(3);
    QCOMPARE(f.run("seen.join(',')").toString(), QStringLiteral("1,2"));
}

void TestQScriptQObject::badCallsThrow()
{
    Fixture f;
    f.engine.evaluate("calc.add('x')", "bad.js");
    QVERIFY(f.engine.hasUncaughtException());
    QVERIFY(f.engine.uncaughtException().toString().contains("add"));
    QCOMPARE(f.engine.uncaughtExceptionLineNumber(), 1);
    f.engine.evaluate("calc.kind()");
    QVERIFY(f.engine.hasUncaughtException());
    f.engine.evaluate("\ncalc.label()", "nonfunction.js");
    QVERIFY(f.engine.hasUncaughtException());
    QCOMPARE(f.engine.uncaughtExceptionLineNumber(), 2);
    f.engine.evaluate("var m = calc.add; m(1, 2)");
    QVERIFY(f.engine.hasUncaughtException());
}

void TestQScriptQObject::deletedObjectIsHarmless()
{
    QScriptEngine engine;
    auto* doomed = new Calculator;
    engine.globalObject().setProperty("d", engine.newQObject(doomed));
    const QScriptValue kept = engine.globalObject().property("d");
    delete doomed;
    QCOMPARE(kept.toQObject(), nullptr);
    engine.evaluate("d.total");
    QVERIFY(engine.hasUncaughtException());
    QVERIFY(engine.uncaughtException().toString().contains("deleted"));
    engine.evaluate("d.add(1, 2)");
    QVERIFY(engine.hasUncaughtException());
    engine.evaluate("d.dyn = 1; d.dyn");
    QVERIFY(engine.hasUncaughtException());
}

void TestQScriptQObject::scriptOwnershipDeletesAfterCollection()
{
    QScriptEngine engine;
    QPointer<QObject> scriptOwned = new QObject;
    QPointer<QObject> qtOwned = new QObject;
    engine.globalObject().setProperty("s", engine.newQObject(scriptOwned, QScriptEngine::ScriptOwnership));
    engine.globalObject().setProperty("q", engine.newQObject(qtOwned, QScriptEngine::QtOwnership));
    engine.collectGarbage();
    QVERIFY(scriptOwned);
    engine.evaluate("s = null; q = null;");
    engine.collectGarbage();
    QVERIFY(!scriptOwned);
    QVERIFY(qtOwned);
    delete qtOwned;

    // Objects returned from slots stay with Qt.
    Calculator calc;
    QPointer<QObject> returned = new QObject;
    calc.setOrphan(returned);
    engine.globalObject().setProperty("calc", engine.newQObject(&calc));
    engine.evaluate("calc.orphan(); calc.orphan();");
    engine.collectGarbage();
    QVERIFY(returned);
    delete returned;
}

void TestQScriptQObject::registeredPointerTypeUsesMarshal()
{
    QScriptEngine engine;
    qScriptRegisterMetaType<Wrapped*>(
        &engine,
        [](QScriptEngine* e, Wrapped* const& w) {
            return e->newQObject(w, QScriptEngine::ScriptOwnership);
        },
        [](const QScriptValue& v, Wrapped*& w) { w = qobject_cast<Wrapped*>(v.toQObject()); });
    QPointer<Wrapped> wrapped = new Wrapped;
    const QVariant variant = QVariant::fromValue(wrapped.data());
    {
        const QScriptValue value = engine.create(variant.userType(), variant.data());
        QCOMPARE(value.toQObject(), wrapped.data());
        QCOMPARE(engine.fromScriptValue<Wrapped*>(value), wrapped.data());
    }
    engine.collectGarbage();
    QVERIFY(!wrapped);
}

void TestQScriptQObject::iteratorListsProperties()
{
    Fixture f;
    f.calc.setProperty("dyn", 1);
    QStringList names;
    QScriptValueIterator it(f.engine.globalObject().property("calc"));
    while (it.hasNext()) {
        it.next();
        names << it.name();
    }
    QCOMPARE(names, (QStringList{"objectName", "total", "label", "dyn"}));
}

QTEST_MAIN(TestQScriptQObject)
#include "tst_qscriptqobject.moc"
