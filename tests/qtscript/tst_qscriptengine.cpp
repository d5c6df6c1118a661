// Script values, native functions, exceptions, custom types and iteration.
#include <QScriptEngine>
#include <QScriptValueIterator>
#include <QtTest>

namespace {

struct Opaque
{
    int id = 0;
};

QScriptValue echoCallInfo(QScriptContext* ctx, QScriptEngine*)
{
    QScriptValue result = ctx->engine()->newObject();
    result.setProperty(QStringLiteral("name"), ctx->callee().data().toString());
    result.setProperty(QStringLiteral("payload"),
                       ctx->thisObject().data().toVariant().value<Opaque>().id);
    int sum = 0;
    for (int i = 0; i < ctx->argumentCount(); ++i)
        sum += ctx->argument(i).toInt32();
    result.setProperty(QStringLiteral("sum"), sum);
    return result;
}

QScriptValue failing(QScriptContext* ctx, QScriptEngine*)
{
    return ctx->throwError(QStringLiteral("native failure"));
}

} // namespace

Q_DECLARE_METATYPE(Opaque)

class TestQScriptEngine : public QObject
{
    Q_OBJECT
private slots:
    void invalidIsNotUndefined();
    void nativeFunctionSeesCalleeAndThisData();
    void nativeFunctionThrows();
    void exceptionsCarryMessageAndLine();
    void callOfNonFunctionIsInvalid();
    void keepExistingFlagsKeepsReadOnly();
    void propertyOfMissingNameIsInvalid();
    void variantRoundTrip();
    void conversionsToVariant();
    void createUsesRegisteredMarshalling();
    void iteratorFollowsInsertionOrder();
    void valuesOutliveEngineAsInvalid();
};

void TestQScriptEngine::invalidIsNotUndefined()
{
    QScriptEngine engine;
    QScriptValue invalid;
    QVERIFY(!invalid.isValid());
    QVERIFY(!invalid.isUndefined());
    QVERIFY(engine.undefinedValue().isUndefined());
    QVERIFY(QScriptValue(QScriptValue::NullValue).isNull());
    QVERIFY(QScriptValue(QStringLiteral("a")).strictlyEquals(engine.evaluate("'a'")));
    QVERIFY(!QScriptValue(1).strictlyEquals(engine.evaluate("'1'")));
    QVERIFY(QScriptValue(1).equals(engine.evaluate("'1'")));
}

void TestQScriptEngine::nativeFunctionSeesCalleeAndThisData()
{
    QScriptEngine engine;
    QScriptValue holder = engine.newObject();
    holder.setData(engine.newVariant(QVariant::fromValue(Opaque{42})));
    QScriptValue f = engine.newFunction(echoCallInfo, 0);
    f.setData(QScriptValue(QStringLiteral("compute")));
    holder.setProperty(QStringLiteral("f"), f);
    engine.globalObject().setProperty(QStringLiteral("obj"), holder);

    const QScriptValue r = engine.evaluate("obj.f(1, 2)");
    QVERIFY(!engine.hasUncaughtException());
    QCOMPARE(r.property("name").toString(), QStringLiteral("compute"));
    QCOMPARE(r.property("payload").toInt32(), 42);
    QCOMPARE(r.property("sum").toInt32(), 3);
    // The data slot is invisible to script.
    QCOMPARE(engine.evaluate("Object.getOwnPropertyNames(obj).join(',')").toString(), QStringLiteral("f"));
    // Called alone, this is the global object, which has no data.
    QCOMPARE(engine.evaluate("var g = obj.f; g(5).payload").toInt32(), 0);
}

void TestQScriptEngine::nativeFunctionThrows()
{
    QScriptEngine engine;
    engine.globalObject().setProperty("fail", engine.newFunction(failing));
    QCOMPARE(engine.evaluate("try { fail(); 'no' } catch (e) { e.message }").toString(),
             QStringLiteral("native failure"));
    engine.evaluate("\n\nfail()", "native.js");
    QVERIFY(engine.hasUncaughtException());
    QVERIFY(engine.uncaughtException().toString().contains("native failure"));

    // A throw that a native function answered through call() does not escape the program.
    engine.globalObject().setProperty("swallow", engine.newFunction([](QScriptContext* ctx, QScriptEngine*) {
        return ctx->argument(0).call();
    }));
    QCOMPARE(engine.evaluate("swallow(function () { throw new Error('inner'); }); 'done'").toString(),
             QStringLiteral("done"));
    QVERIFY(!engine.hasUncaughtException());
}

void TestQScriptEngine::exceptionsCarryMessageAndLine()
{
    QScriptEngine engine;
    const QScriptValue thrown = engine.evaluate("var a = 1;\nvar b = 2;\nthrow new Error('boom');", "f.js");
    QVERIFY(engine.hasUncaughtException());
    QVERIFY(thrown.isError());
    QCOMPARE(engine.uncaughtException().property("message").toString(), QStringLiteral("boom"));
    QCOMPARE(engine.uncaughtExceptionLineNumber(), 3);

    engine.evaluate("1 +;", "syntax.js", 10);
    QVERIFY(engine.hasUncaughtException());
    QVERIFY(engine.uncaughtException().toString().startsWith("SyntaxError"));
    QCOMPARE(engine.uncaughtExceptionLineNumber(), 10);

    engine.evaluate("throw 'plain';\n");
    QVERIFY(engine.hasUncaughtException());
    QCOMPARE(engine.uncaughtException().toString(), QStringLiteral("plain"));

    engine.clearExceptions();
    QVERIFY(!engine.hasUncaughtException());
    QCOMPARE(engine.evaluate("6 * 7").toInt32(), 42);
    QVERIFY(!engine.hasUncaughtException());

    const QScriptValue thrower = engine.evaluate("(function () { throw new TypeError('in call'); })");
    thrower.call();
    QVERIFY(engine.hasUncaughtException());
    QCOMPARE(engine.uncaughtException().property("message").toString(), QStringLiteral("in call"));
}

void TestQScriptEngine::callOfNonFunctionIsInvalid()
{
    QScriptEngine engine;
    QVERIFY(!engine.evaluate("({})").call().isValid());
    QVERIFY(!QScriptValue(3).call().isValid());
    engine.evaluate("var x = 1; x();");
    QVERIFY(engine.hasUncaughtException());
    QVERIFY(engine.uncaughtException().toString().contains("TypeError"));
}

void TestQScriptEngine::keepExistingFlagsKeepsReadOnly()
{
    QScriptEngine engine;
    QScriptValue object = engine.newObject();
    object.setProperty("fixed", 1, QScriptValue::ReadOnly | QScriptValue::Undeletable);
    object.setProperty("fixed", 2, QScriptValue::KeepExistingFlags);
    QCOMPARE(object.property("fixed").toInt32(), 1);
    QVERIFY(object.propertyFlags("fixed").testFlag(QScriptValue::ReadOnly));

    object.setProperty("open", 1);
    object.setProperty("open", 2, QScriptValue::KeepExistingFlags);
    QCOMPARE(object.property("open").toInt32(), 2);
    QCOMPARE(object.propertyFlags("open"), QScriptValue::PropertyFlags());

    object.setProperty("open", QScriptValue());
    QVERIFY(!object.property("open").isValid());
}

void TestQScriptEngine::propertyOfMissingNameIsInvalid()
{
    QScriptEngine engine;
    engine.evaluate("var present = undefined;");
    QVERIFY(engine.globalObject().property("present").isUndefined());
    QVERIFY(!engine.globalObject().property("absent").isValid());
    QVERIFY(engine.globalObject().property("Object").isFunction());
    QVERIFY(!engine.newObject().property("toString", QScriptValue::ResolveLocal).isValid());
    QVERIFY(engine.newObject().property("toString").isFunction());
}

void TestQScriptEngine::variantRoundTrip()
{
    QScriptEngine engine;
    const QScriptValue custom = engine.newVariant(QVariant::fromValue(Opaque{7}));
    QVERIFY(custom.isVariant());
    QVERIFY(custom.isObject());
    QCOMPARE(custom.toVariant().value<Opaque>().id, 7);

    const QScriptValue number = engine.newVariant(QVariant(int(5)));
    QCOMPARE(number.toVariant(), QVariant(int(5)));
    engine.globalObject().setProperty("n", number);
    QCOMPARE(engine.evaluate("n + 1").toInt32(), 6);

    // A variant passed through script and back stays the same variant.
    engine.globalObject().setProperty("v", custom);
    QCOMPARE(engine.evaluate("[v][0]").toVariant().value<Opaque>().id, 7);
}

void TestQScriptEngine::conversionsToVariant()
{
    QScriptEngine engine;
    const QVariant v = engine.evaluate("({n: 1.5, s: 'x', b: true, z: null, u: undefined, l: [1, 'a']})")
                           .toVariant();
    QCOMPARE(v.metaType().id(), QMetaType::QVariantMap);
    const QVariantMap map = v.toMap();
    QCOMPARE(map.value("n").toDouble(), 1.5);
    QCOMPARE(map.value("s").toString(), QStringLiteral("x"));
    QCOMPARE(map.value("b").metaType().id(), QMetaType::Bool);
    QVERIFY(!map.value("z").isValid());
    QVERIFY(!map.value("u").isValid());
    QCOMPARE(map.value("l").toList(), (QVariantList{1, QStringLiteral("a")}));
    QCOMPARE(map.value("l").toList().at(0).metaType().id(), QMetaType::Int);
    QCOMPARE(map.value("n").metaType().id(), QMetaType::Double);
    QCOMPARE(engine.evaluate("4e9").toVariant().metaType().id(), QMetaType::Double);
    QCOMPARE(engine.evaluate("-0").toVariant().metaType().id(), QMetaType::Double);

    const QScriptValue back = engine.toScriptValue(QVariant(QVariantMap{{"k", QVariantList{1, 2}}}));
    QVERIFY(back.property("k").isArray());
    QCOMPARE(back.property("k").property(1).toInt32(), 2);
    QVERIFY(engine.toScriptValue(QVariant()).isUndefined());
    QCOMPARE(engine.fromScriptValue<int>(engine.evaluate("41 + 1")), 42);
    QCOMPARE(engine.fromScriptValue<QString>(engine.evaluate("'s'")), QStringLiteral("s"));
}

void TestQScriptEngine::createUsesRegisteredMarshalling()
{
    QScriptEngine engine;
    qScriptRegisterMetaType<Opaque>(
        &engine,
        [](QScriptEngine* e, const Opaque& o) {
            QScriptValue v = e->newObject();
            v.setProperty("id", o.id);
            return v;
        },
        [](const QScriptValue& v, Opaque& o) { o.id = v.property("id").toInt32() * 10; });
    const QVariant variant = QVariant::fromValue(Opaque{3});
    const QScriptValue created = engine.create(variant.userType(), variant.data());
    QCOMPARE(created.property("id").toInt32(), 3);
    QCOMPARE(qscriptvalue_cast<Opaque>(engine.evaluate("({id: 4})")).id, 40);

    // Unregistered types take the standard conversion.
    const QVariant list = QVariantList{1, QStringLiteral("two")};
    QVERIFY(engine.create(list.userType(), list.constData()).isArray());
    const QString text = QStringLiteral("t");
    QCOMPARE(engine.create(QMetaType::QString, &text).toString(), text);
}

void TestQScriptEngine::iteratorFollowsInsertionOrder()
{
    QScriptEngine engine;
    QScriptValue object = engine.newObject();
    const QStringList names{"zeta", "alpha", "mid", "beta"};
    for (const QString& name : names)
        object.setProperty(name, int(name.size()));
    object.setProperty("hidden", 0, QScriptValue::SkipInEnumeration);

    QStringList seen;
    QScriptValueIterator it(object);
    while (it.hasNext()) {
        it.next();
        seen << it.name();
        if (it.name() != "hidden")
            QCOMPARE(it.value().toInt32(), int(it.name().size()));
    }
    QCOMPARE(seen, names + QStringList{"hidden"});

    QScriptValueIterator flags(object);
    flags.toBack();
    flags.previous();
    QCOMPARE(flags.name(), QStringLiteral("hidden"));
    QVERIFY(flags.flags().testFlag(QScriptValue::SkipInEnumeration));
    flags.remove();
    QVERIFY(!object.property("hidden").isValid());
}

void TestQScriptEngine::valuesOutliveEngineAsInvalid()
{
    QScriptValue object;
    {
        QScriptEngine engine;
        object = engine.evaluate("({a: 1})");
        QVERIFY(object.isValid());
    }
    QVERIFY(!object.isValid());
    QVERIFY(!object.property("a").isValid());
    QCOMPARE(object.engine(), nullptr);
}

QTEST_MAIN(TestQScriptEngine)
#include "tst_qscriptengine.moc"
