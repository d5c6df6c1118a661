// What Python makes of Qt values and back: each type to its Python counterpart and back to the
// same type, conversions asked for by the receiving type, and values without a counterpart.
#include "support/PythonQtTestCase.h"

#include "PythonQtConv.h"

#include <QPoint>

class tst_pythonqt_conversions : public PythonQtTestCase
{
    Q_OBJECT

    QVariant evalToVariant(const QString& expression, int type)
    {
        PythonQtGILScope scope;
        PyObject* globals = PyModule_GetDict(main);
        PythonQtObjectPtr object;
        object.setNewRef(PyRun_String(expression.toUtf8().constData(), Py_eval_input, globals, globals));
        const QVariant value = object.object() ? PythonQtConv::PyObjToQVariant(object, type) : QVariant();
        PyErr_Clear();
        return value;
    }

private slots:
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
        PythonQtObjectPtr object;
        QVERIFY(object.setNewRef(PythonQtConv::QVariantToPyObject(value)));
        QTEST(QString::fromUtf8(Py_TYPE(object.object())->tp_name), "pythonType");
        const QVariant back = PythonQtConv::PyObjToQVariant(object);
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
        // bool is a subclass of int: it must not come back as 1.
        QTest::newRow("bool") << "True" << -1 << QVariant(true);
        QTest::newRow("str with NUL") << "'a\\x00b'" << -1 << QVariant(QString(QStringLiteral("a") + QChar(0) + QStringLiteral("b")));
        QTest::newRow("bytes with NUL") << "b'\\x00\\xff'" << -1 << QVariant(QByteArray("\0\xff", 2));
        QTest::newRow("infinity") << "float('inf')" << -1 << QVariant(qInf());
        QTest::newRow("empty list") << "[]" << -1 << QVariant(QVariantList());
        QTest::newRow("empty dict") << "{}" << -1 << QVariant(QVariantMap());
        QTest::newRow("nested tuple in dict") << "{'k': (1, [2])}" << -1 << QVariant(QVariantMap{{"k", QVariantList{1, QVariantList{2}}}});
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
};

QTEST_MAIN(tst_pythonqt_conversions)
#include "tst_pythonqt_conversions.moc"
