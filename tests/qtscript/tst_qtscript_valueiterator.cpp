// QScriptValueIterator: an object's own properties in the order scripts define them, walked both
// ways, read, written and removed while walking.
#include <QScriptEngine>
#include <QScriptValueIterator>
#include <QTest>

class tst_qtscript_valueiterator : public QObject
{
    Q_OBJECT

    QScriptEngine engine;

    static QStringList namesForwards(QScriptValueIterator& it)
    {
        QStringList names;
        while (it.hasNext()) {
            it.next();
            names << it.name();
        }
        return names;
    }

private slots:
    void walksOwnPropertiesInOrder_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("insertion order") << "({b: 1, a: 2, c: 3})" << QStringList{"b", "a", "c"};
        QTest::newRow("indexes first") << "({b: 1, 1: 'x', 0: 'y'})" << QStringList{"0", "1", "b"};
        QTest::newRow("array") << "[10, 20]" << QStringList{"0", "1", "length"};
        QTest::newRow("not inherited") << "Object.create({inherited: 1}, {own: {value: 2}})" << QStringList{"own"};
        QTest::newRow("symbols skipped") << "({[Symbol('s')]: 1, named: 2})" << QStringList{"named"};
        QTest::newRow("empty") << "({})" << QStringList();
        QTest::newRow("not an object") << "7" << QStringList();
    }

    void walksOwnPropertiesInOrder()
    {
        QFETCH(QString, program);
        QScriptValueIterator it(engine.evaluate(program));
        QTEST(namesForwards(it), "names");
        QStringList backwards;
        while (it.hasPrevious()) {
            it.previous();
            backwards.prepend(it.name());
        }
        QTEST(backwards, "names");
    }

    void readsTheCurrentProperty()
    {
        QScriptValueIterator it(engine.evaluate("Object.defineProperty({n: 1}, 'fixed', {value: 2})"));
        QVERIFY(!it.value().isValid()); // before the first next()
        it.next();
        QCOMPARE(it.value().toInt32(), 1);
        QCOMPARE(it.flags(), QScriptValue::PropertyFlags());
        it.next();
        QCOMPARE(it.name(), "fixed");
        QCOMPARE(it.value().toInt32(), 2);
        QCOMPARE(it.flags(), QScriptValue::ReadOnly | QScriptValue::SkipInEnumeration | QScriptValue::Undeletable);
        it.toBack();
        it.previous();
        QCOMPARE(it.name(), "fixed");
    }

    void setValueWritesTheObject()
    {
        const QScriptValue object = engine.evaluate("({a: 1, b: 2})");
        QScriptValueIterator it(object);
        while (it.hasNext()) {
            it.next();
            it.setValue(it.value().toInt32() * 10);
        }
        QCOMPARE(object.property("a").toInt32(), 10);
        QCOMPARE(object.property("b").toInt32(), 20);
    }

    // Removing deletes the property and the walk goes on with the next one, none skipped.
    void removeWhileWalking()
    {
        QScriptValue object = engine.evaluate("({a: 1, b: 2, c: 3})");
        engine.globalObject().setProperty("o", object);
        QScriptValueIterator it(object);
        it.next();
        it.next();
        it.remove();
        QVERIFY(!engine.evaluate("'b' in o").toBool());
        QVERIFY(!it.value().isValid());
        QVERIFY(it.hasNext());
        it.next();
        QCOMPARE(it.name(), "c");
        it.toFront();
        QCOMPARE(namesForwards(it), (QStringList{"a", "c"}));
        it = object;
        QCOMPARE(namesForwards(it), (QStringList{"a", "c"}));
    }
};

QTEST_MAIN(tst_qtscript_valueiterator)
#include "tst_qtscript_valueiterator.moc"
