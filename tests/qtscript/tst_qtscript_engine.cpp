// The script engine as the host and the plug-in use it: values and their conversions, native
// functions and their data, exceptions, registered types, and QObjects as scripts see them
// (slots with overloads, properties, children, deletion, ownership).
#include <QScriptEngine>
#include <QtTest>

namespace {

struct Opaque
{
    int id = 0;
};

// A QObject seen from script, with overloads, default arguments and the value types a bridge uses.
class Calculator : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int total MEMBER total)
    Q_PROPERTY(QString label READ label)
public:
    QString label() const { return "calc"; }
    Q_INVOKABLE QString describe(const QString& text, int times = 1) const { return text.repeated(times); }
    int total = 0;
    QScriptValue lastValue;
    QObject* orphanObject = nullptr;

public slots:
    QString kind(int) { return "int"; }
    QString kind(const QString&) { return "string"; }
    QString kind(QObject*) { return "object"; }
    QString kind(int, int) { return "two"; }
    bool accept(const QString&, const QScriptValue& value)
    {
        lastValue = value;
        return value.isValid() && !value.isUndefined();
    }
    QScriptValue last() const { return lastValue; }
    QVariant echoVariant(const QVariant& v) { return v; }
    QVariantList reverse(const QVariantList& list) { return QVariantList(list.crbegin(), list.crend()); }
    QVariantMap keys(const QVariantMap& map) { return {{"count", map.size()}}; }
    double add(double a, double b) { return a + b; }
    QObject* makeChild(const QString& name)
    {
        auto* child = new Calculator;
        child->setParent(this);
        child->setObjectName(name);
        return child;
    }
    QObject* orphan() { return orphanObject; }
};

class Wrapped : public QObject
{
    Q_OBJECT
};

// Answers the callee's data, the payload of this object's data and the sum of the arguments.
QScriptValue echoCallInfo(QScriptContext* ctx, QScriptEngine*)
{
    int sum = 0;
    for (int i = 0; i < ctx->argumentCount(); ++i)
        sum += ctx->argument(i).toInt32();
    return QString("%1|%2|%3").arg(ctx->callee().data().toString()).arg(ctx->thisObject().data().toVariant().value<Opaque>().id).arg(sum);
}

} // namespace

Q_DECLARE_METATYPE(Opaque)
Q_DECLARE_METATYPE(Wrapped*)

class tst_qtscript_engine : public QObject
{
    Q_OBJECT

    std::unique_ptr<Calculator> calc;
    std::unique_ptr<QScriptEngine> engine;

    QScriptValue run(const QString& program)
    {
        const QScriptValue result = engine->evaluate(program);
        if (engine->hasUncaughtException())
            qWarning("uncaught: %s", qPrintable(engine->uncaughtException().toString()));
        return result;
    }

private slots:
    // An engine with calc, a Calculator; obj, whose data holds Opaque 42 and whose f, named
    // "compute" by its data, echoes its call; native functions fail, which throws, and swallow,
    // which calls its argument.
    void init()
    {
        calc = std::make_unique<Calculator>();
        engine = std::make_unique<QScriptEngine>();
        QScriptValue global = engine->globalObject();
        global.setProperty("calc", engine->newQObject(calc.get(), QScriptEngine::QtOwnership));
        QScriptValue obj = engine->newObject();
        obj.setData(engine->newVariant(QVariant::fromValue(Opaque{42})));
        QScriptValue f = engine->newFunction(echoCallInfo, 0);
        f.setData(QScriptValue("compute"));
        obj.setProperty("f", f);
        global.setProperty("obj", obj);
        global.setProperty("fail", engine->newFunction([](QScriptContext* ctx, QScriptEngine*) { return ctx->throwError("native failure"); }));
        global.setProperty("swallow", engine->newFunction([](QScriptContext* ctx, QScriptEngine*) { return ctx->argument(0).call(); }));
    }

    void cleanup()
    {
        engine.reset();
        calc.reset();
    }

    void answers_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("answer");
        QTest::newRow("native function") << "obj.f(1, 2)" << "compute|42|3";
        QTest::newRow("data is hidden") << "Object.getOwnPropertyNames(obj).join()" << "f";
        QTest::newRow("global this has no data") << "var g = obj.f; g(5)" << "compute|0|5";
        QTest::newRow("native throw caught") << "try { fail(); 'no' } catch (e) { e.message }" << "native failure";
        // A throw that a native function answered through call() does not escape the program.
        QTest::newRow("throw swallowed") << "swallow(function () { throw new Error('inner'); }); 'done'" << "done";
        QTest::newRow("overloads") << "[calc.kind(3), calc.kind('x'), calc.kind(calc), calc.kind(1, 2)].join()" << "int,string,object,two";
        QTest::newRow("overload by signature") << "calc['kind(QString)'](5)" << "string";
        QTest::newRow("doubles") << "calc.add(0.5, 2)" << "2.5";
        QTest::newRow("default argument") << "calc.describe('ab')" << "ab";
        // Simple signatures go through the engine's own binding; a count that fits none of
        // them takes ours and reads the same.
        QTest::newRow("converted argument") << "calc.describe(7, 2)" << "77";
        QTest::newRow("extra argument") << "calc.describe('ab', 2, 'extra')" << "abab";
        QTest::newRow("script values") << "calc.accept('n', {x: 1}) + '|' + calc.last().x + '|' + calc.accept('u', undefined)" << "true|1|false";
        QTest::newRow("list, map") << "calc.reverse([1, 'b', true]).join('|') + calc.keys({a: 1, b: 2}).count" << "true|b|12";
        QTest::newRow("variants") << "calc.echoVariant(null) + '|' + (calc.echoVariant(calc) === calc)" << "undefined|true";
        QTest::newRow("properties") << "calc.label + '|' + calc.nothing" << "calc|undefined";
        QTest::newRow("children") << "calc.makeChild('inner').total = 5; calc.inner.total + '|' + (calc.makeChild('c') === calc.c)" << "5|true";
    }

    void answers()
    {
        QFETCH(QString, script);
        QFETCH(QString, answer);
        QCOMPARE(run(script).toString(), answer);
        QVERIFY(!engine->hasUncaughtException());
    }

    void throws_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("firstLine");
        QTest::addColumn<QString>("part"); // of the exception's text
        QTest::addColumn<int>("line");
        QTest::newRow("native") << "\n\nfail()" << 1 << "native failure" << 3;
        QTest::newRow("error") << "var a = 1;\nvar b = 2;\nthrow new Error('boom');" << 1 << "Error: boom" << 3;
        QTest::newRow("syntax") << "1 +;" << 10 << "SyntaxError" << 10;
        QTest::newRow("slot without object") << "calc.describe.call({}, 'x')" << 1 << "describe" << 1;
        QTest::newRow("argument that fits no slot") << "calc.add('x')" << 1 << "add" << 1;
        QTest::newRow("no overload") << "calc.kind()" << 1 << "kind" << 1;
        QTest::newRow("call of a property") << "\ncalc.label()" << 1 << "" << 2;
        QTest::newRow("thrown non-error") << "\nthrow 42;" << 1 << "42" << 2;
        QTest::newRow("inside a function") << "function f() {\n  return null.x;\n}\nf();" << 5 << "TypeError" << 6;
    }

    void throws()
    {
        QFETCH(QString, script);
        QFETCH(int, firstLine);
        QFETCH(QString, part);
        QFETCH(int, line);
        const QScriptValue thrown = engine->evaluate(script, "t.js", firstLine);
        QVERIFY(engine->hasUncaughtException());
        QVERIFY2(thrown.toString().contains(part), qPrintable(thrown.toString()));
        QCOMPARE(engine->uncaughtException().toString(), thrown.toString());
        QCOMPARE(engine->uncaughtExceptionLineNumber(), line);
        engine->clearExceptions();
        QVERIFY(!engine->hasUncaughtException());
        QCOMPARE(run("6 * 7").toInt32(), 42);
    }

    // Invalid (nothing there) is not undefined (a value); calls of what is no function are invalid.
    void invalidIsNotUndefined()
    {
        QVERIFY(!QScriptValue().isValid());
        QVERIFY(!QScriptValue().isUndefined());
        QVERIFY(QScriptValue(1).equals(run("'1'")));
        QVERIFY(!QScriptValue(1).strictlyEquals(run("'1'")));
        run("var present = undefined;");
        QVERIFY(engine->globalObject().property("present").isUndefined());
        QVERIFY(!engine->globalObject().property("absent").isValid());
        QVERIFY(!engine->newObject().property("toString", QScriptValue::ResolveLocal).isValid());
        QVERIFY(!run("({})").call().isValid());
        QVERIFY(!QScriptValue(3).call().isValid());
        QVERIFY(!engine->hasUncaughtException());
        run("(function () { throw new TypeError('in call'); })").call();
        QCOMPARE(engine->uncaughtException().property("message").toString(), "in call");
    }

    void conversionsOfVariants()
    {
        const QScriptValue custom = engine->newVariant(QVariant::fromValue(Opaque{7}));
        QVERIFY(custom.isVariant());
        QVERIFY(custom.isObject());
        engine->globalObject().setProperty("v", custom);
        QCOMPARE(run("[v][0]").toVariant().value<Opaque>().id, 7);
        engine->globalObject().setProperty("n", engine->newVariant(5));
        QCOMPARE(run("n + 1").toInt32(), 6);

        const QVariantMap map = run("({n: 1.5, s: 'x', b: true, z: null, u: undefined, l: [1, 'a']})").toVariant().toMap();
        QCOMPARE(map, (QVariantMap{{"n", 1.5}, {"s", "x"}, {"b", true}, {"z", QVariant()}, {"u", QVariant()}, {"l", QVariantList{1, "a"}}}));
        QCOMPARE(map.value("l").toList().at(0).metaType().id(), QMetaType::Int);
        QCOMPARE(run("4e9").toVariant().metaType().id(), QMetaType::Double);
        QCOMPARE(run("-0").toVariant().metaType().id(), QMetaType::Double);

    }

    // Script values read as C++ types by the script language's own rules (wrap-around, NaN as 0,
    // a number's shortest text), whatever path the value took.
    void scriptValuesAsCppTypes_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("int32 wraps") << "Math.pow(2, 32) + 5" << "int32" << QVariant(5);
        QTest::newRow("int32 of NaN") << "NaN" << "int32" << QVariant(0);
        QTest::newRow("int32 truncates") << "-2.7" << "int32" << QVariant(-2);
        QTest::newRow("uint32 of -1") << "-1" << "uint32" << QVariant(4294967295u);
        QTest::newRow("number of hex text") << "'0x10'" << "number" << QVariant(16.0);
        QTest::newRow("number of blank") << "' '" << "number" << QVariant(0.0);
        QTest::newRow("bool of empty text") << "''" << "bool" << QVariant(false);
        QTest::newRow("bool of an object") << "({})" << "bool" << QVariant(true);
        QTest::newRow("string of a double") << "0.1 + 0.2" << "string" << QVariant("0.30000000000000004");
        QTest::newRow("string of undefined") << "undefined" << "string" << QVariant("undefined");
        QTest::newRow("string list") << "['a', 1, true]" << "stringlist" << QVariant(QStringList{"a", "1", "true"});
    }

    void scriptValuesAsCppTypes()
    {
        QFETCH(QString, script);
        QFETCH(QString, type);
        const QScriptValue value = run(script);
        QVariant read;
        if (type == "int32")
            read = value.toInt32();
        else if (type == "uint32")
            read = value.toUInt32();
        else if (type == "number")
            read = value.toNumber();
        else if (type == "bool")
            read = value.toBool();
        else if (type == "string")
            read = value.toString();
        else
            read = qscriptvalue_cast<QStringList>(value);
        QTEST(read, "expected");
    }

    // As the bridge's wrappers: a pointer type's marshalling hands the object to script, which deletes it.
    void createUsesRegisteredMarshalling()
    {
        qScriptRegisterMetaType<Wrapped*>(
            engine.get(), [](QScriptEngine* e, Wrapped* const& w) { return e->newQObject(w, QScriptEngine::ScriptOwnership); },
            [](const QScriptValue& v, Wrapped*& w) { w = qobject_cast<Wrapped*>(v.toQObject()); });
        QPointer<Wrapped> wrapped = new Wrapped;
        const QVariant pointer = QVariant::fromValue(wrapped.data());
        QCOMPARE(engine->fromScriptValue<Wrapped*>(engine->create(pointer.userType(), pointer.data())), wrapped.data());
        engine->collectGarbage();
        QVERIFY(!wrapped);
        // Unregistered types take the standard conversion.
        const QVariant list = QVariantList{1, "two"};
        QVERIFY(engine->create(list.userType(), list.constData()).isArray());
    }

    // Values of a deleted object, or of a deleted engine, are harmless.
    void deletionsAreHarmless()
    {
        const QScriptValue kept = engine->globalObject().property("calc");
        calc.reset();
        QCOMPARE(kept.toQObject(), nullptr);
        for (const char* use : {"calc.total", "calc.add(1, 2)", "calc.dyn = 1; calc.dyn"}) {
            engine->evaluate(use);
            QVERIFY2(engine->hasUncaughtException(), use);
            QVERIFY(engine->uncaughtException().toString().contains("deleted"));
            engine->clearExceptions();
        }
        const QScriptValue object = run("({a: 1})");
        engine.reset();
        QVERIFY(!object.isValid());
        QVERIFY(!object.property("a").isValid());
        QVERIFY(!object.engine());
        QVERIFY(!kept.isValid());
    }

    // Objects owned by Qt, or returned from slots, survive the collection of their wrappers.
    void qtOwnedObjectsSurviveCollection()
    {
        QPointer<QObject> qtOwned = new QObject, returned = calc->orphanObject = new QObject;
        engine->globalObject().setProperty("q", engine->newQObject(qtOwned, QScriptEngine::QtOwnership));
        run("q = null; calc.orphan(); calc.orphan();");
        engine->collectGarbage();
        QVERIFY(qtOwned);
        QVERIFY(returned);
        delete qtOwned;
        delete returned;
    }
};

QTEST_MAIN(tst_qtscript_engine)
#include "tst_qtscript_engine.moc"
