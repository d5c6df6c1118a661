// Python.h first: Qt defines "slots" as a macro.
#include <PythonQtPython.h>

#include "PythonQt.h"
#include "PythonQtConv.h"

#include <QPoint>
#include <QTest>
#include <QThread>

class TestPythonQtConversions : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void variantRoundTrip_data();
    void variantRoundTrip();
    void pythonToVariant_data();
    void pythonToVariant();
    void requestedTypes();
    void otherObjectsComeBackIdentical();
    void qobjectPointers();
    void unconvertibleValues();
    void cleanupTestCase();

private:
    QVariant evalToVariant(const char* expression, int type = -1);
    PythonQtObjectPtr m_main;
};

void TestPythonQtConversions::initTestCase()
{
    PythonQt::init();
    QVERIFY(PythonQt::self()->initSuccessfully());
    PythonQt::self()->startThreads();
    m_main = PythonQt::self()->getMainModule();
}

QVariant TestPythonQtConversions::evalToVariant(const char* expression, int type)
{
    PythonQtGILScope scope;
    PyObject* globals = PyModule_GetDict(m_main);
    PyObject* object = PyRun_String(expression, Py_eval_input, globals, globals);
    if (!object) {
        PyErr_Print();
        return QVariant();
    }
    const QVariant value = PythonQtConv::PyObjToQVariant(object, type);
    Py_DECREF(object);
    return value;
}

void TestPythonQtConversions::variantRoundTrip_data()
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
    QTest::newRow("list") << QVariant(QVariantList{1, QString("two"), QVariantList{3.5}}) << "list";
    QTest::newRow("map") << QVariant(QVariantMap{{"a", 1}, {"b", QVariantMap{{"c", QString("d")}}}}) << "dict";
}

void TestPythonQtConversions::variantRoundTrip()
{
    QFETCH(QVariant, value);
    QFETCH(QString, pythonType);
    PythonQtGILScope scope;
    PyObject* object = PythonQtConv::QVariantToPyObject(value);
    QVERIFY(object);
    QCOMPARE(QString::fromUtf8(Py_TYPE(object)->tp_name), pythonType);
    const QVariant back = PythonQtConv::PyObjToQVariant(object);
    Py_DECREF(object);
    QCOMPARE(back, value);
    QCOMPARE(back.metaType(), value.metaType());
}

void TestPythonQtConversions::pythonToVariant_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("None") << "None" << QVariant();
    QTest::newRow("False") << "False" << QVariant(false);
    QTest::newRow("small int") << "2**31 - 1" << QVariant(2147483647);
    QTest::newRow("wide int") << "-2**31 - 1" << QVariant(qlonglong(-2147483649LL));
    QTest::newRow("float") << "0.25" << QVariant(0.25);
    QTest::newRow("tuple") << "(1, 'a')" << QVariant(QVariantList{1, QString("a")});
    QTest::newRow("str list") << "['x', 'y']" << QVariant(QVariantList{QString("x"), QString("y")});
}

void TestPythonQtConversions::pythonToVariant()
{
    QFETCH(QString, expression);
    QFETCH(QVariant, expected);
    const QVariant value = evalToVariant(expression.toUtf8().constData());
    QCOMPARE(value, expected);
    QCOMPARE(value.metaType(), expected.metaType());
}

void TestPythonQtConversions::requestedTypes()
{
    QCOMPARE(evalToVariant("3", QMetaType::Double), QVariant(3.0));
    QCOMPARE(evalToVariant("'12'", QMetaType::Int), QVariant(12));
    QCOMPARE(evalToVariant("['a', 'b']", QMetaType::QStringList), QVariant(QStringList{"a", "b"}));
    QCOMPARE(evalToVariant("7", QMetaType::QVariant), QVariant(7));
    QVERIFY(!evalToVariant("'seven'", QMetaType::Int).isValid());
    const QVariant held = evalToVariant("7", qMetaTypeId<PythonQtObjectPtr>());
    QCOMPARE(held.metaType(), QMetaType::fromType<PythonQtObjectPtr>());

    PythonQtGILScope scope;
    PyObject* list = PythonQtConv::QVariantToPyObject(QStringList{"p", "q"});
    QVERIFY(PyList_Check(list) && PyList_GET_SIZE(list) == 2 && PyUnicode_Check(PyList_GET_ITEM(list, 0)));
    Py_DECREF(list);
    PyObject* small = PythonQtConv::QVariantToPyObject(QVariant::fromValue<short>(-3));
    QCOMPARE(PyLong_AsLong(small), -3L);
    Py_DECREF(small);
}

void TestPythonQtConversions::otherObjectsComeBackIdentical()
{
    m_main.evalScript("import decimal\nodd = object()\nhuge = 2**70\nbykeys = {1: 'one'}\n");
    for (const char* name : {"odd", "huge", "bykeys"}) {
        const QVariant value = m_main.getVariable(name);
        QCOMPARE(value.metaType(), QMetaType::fromType<PythonQtObjectPtr>());
        m_main.addVariable("returned", value);
        QVERIFY2(m_main.evalScript(QStringLiteral("returned is %1").arg(name), Py_eval_input).toBool(), name);
    }
    PythonQtObjectPtr holder;
    QVERIFY(holder.fromVariant(m_main.getVariable("odd")));
    QVERIFY(holder.fromVariant(QVariant(5)));
    QVERIFY(!holder.fromVariant(QVariant()));
    QVERIFY(holder.isNull());
}

void TestPythonQtConversions::qobjectPointers()
{
    QThread owner; // any QObject-derived pointer type
    owner.setObjectName("owner");
    m_main.addVariable("viaVariant", QVariant::fromValue(&owner));
    m_main.addObject("viaObject", &owner);
    QVERIFY(m_main.evalScript("viaVariant is viaObject", Py_eval_input).toBool());
    const QVariant back = m_main.getVariable("viaObject");
    QCOMPARE(back.value<QObject*>(), &owner);
    QCOMPARE(m_main.evalScript("viaObject.objectName", Py_eval_input).toString(), QStringLiteral("owner"));
    m_main.evalScript("derived = viaObject");
    m_main.addVariable("nothing", QVariant::fromValue<QObject*>(nullptr));
    QVERIFY(m_main.evalScript("nothing is None", Py_eval_input).toBool());
    m_main.evalScript("del viaVariant, viaObject, derived\n");
}

void TestPythonQtConversions::unconvertibleValues()
{
    PythonQtGILScope scope;
    QVERIFY(!PythonQtConv::QVariantToPyObject(QVariant(QPoint(1, 2))));
    QVERIFY(PyErr_ExceptionMatches(PyExc_TypeError));
    PyErr_Clear();
    QVERIFY(!PythonQtConv::QVariantToPyObject(QVariantList{QPoint(1, 2)}));
    PyErr_Clear();
    QVERIFY(!PythonQtConv::PyObjToQVariant(nullptr).isValid());
}

void TestPythonQtConversions::cleanupTestCase()
{
    m_main = nullptr;
    PythonQt::cleanup();
}

QTEST_GUILESS_MAIN(TestPythonQtConversions)
#include "tst_pythonqt_conversions.moc"
