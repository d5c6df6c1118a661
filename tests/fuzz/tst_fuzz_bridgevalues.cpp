// Fuzzed values across the bridge. The first byte picks the direction: a nested variant to
// Python and back (the conversions, a module function's call, and a host script handing it to
// Python through "PythonManager"), or a Python value to C++ and to a host script. A variant
// that has been to Python once must come back from a second trip, and from an echo, unchanged.

// Before Qt, whose "slots" macro clashes with Python's headers.
#include <PythonQtPython.h>

#include "support/FuzzHost.h"

#include <PythonQtConv.h>
#include <PythonQtObjectPtr.h>
#include <PythonQtThreadSupport.h>
#include <SCP_PythonEngine.h>
#include <SCP_PythonModule.h>

#include <QScriptEngine>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {
// Reads values off a fuzz input front to back; once the bytes run out every read gives zero.
// Sizes are drawn here, and each input has a budget of values, so that building always ends.
class FuzzBytes
{
public:
    FuzzBytes(const uint8_t* data, size_t size) : data(data), size(size) {}

    bool nextValue() { return ++values <= 256 && position < size; }
    uint8_t byte() { return position < size ? data[position++] : 0; }
    int count() { return byte() % 8; }
    int64_t integer()
    {
        uint64_t value = 0;
        for (int i = 0; i < 8; ++i)
            value = value << 8 | byte();
        return int64_t(value);
    }
    double real()
    {
        const int64_t bits = integer();
        double result;
        std::memcpy(&result, &bits, sizeof result);
        return result;
    }
    // Up to 32 bytes, the length read first.
    QByteArray text()
    {
        QByteArray result;
        for (int length = byte() % 33; length > 0 && position < size; --length)
            result.append(char(byte()));
        return result;
    }
    // Raw UTF-16 units, so that lone surrogates occur.
    QString string()
    {
        const QByteArray raw = text();
        return QString(reinterpret_cast<const QChar*>(raw.constData()), raw.size() / 2);
    }

private:
    const uint8_t* data;
    size_t size;
    size_t position = 0;
    int values = 0;
};

QVariant buildVariant(FuzzBytes& bytes)
{
    if (!bytes.nextValue())
        return QVariant();
    switch (bytes.byte() % 11) {
    case 0: return QVariant();
    case 1: return bytes.byte() % 2 == 1;
    case 2: return int(bytes.integer());
    case 3: return qlonglong(bytes.integer());
    case 4: return qulonglong(bytes.integer());
    case 5: return bytes.real();
    case 6: return bytes.string();
    case 7: return bytes.text();
    case 8: {
        QStringList strings;
        for (int i = bytes.count(); i > 0; --i)
            strings << bytes.string();
        return strings;
    }
    case 9: {
        QVariantList list;
        for (int i = bytes.count(); i > 0; --i)
            list << buildVariant(bytes);
        return list;
    }
    default: {
        QVariantMap map;
        for (int i = bytes.count(); i > 0; --i) {
            const QString key = bytes.string();
            map.insert(key, buildVariant(bytes));
        }
        return map;
    }
    }
}

PyObject* newRef(PyObject* object)
{
    Py_XINCREF(object);
    return object;
}

// Python values, new references, never null (what Python refuses becomes None): scalars of every
// kind, str with lone surrogates, bytes, containers that may hold one made before them or
// themselves. The caller holds the interpreter lock.
class PyObjectBuilder
{
public:
    explicit PyObjectBuilder(FuzzBytes& bytes) : bytes(bytes) {}

    PyObject* value()
    {
        if (!bytes.nextValue())
            Py_RETURN_NONE;
        const int kind = bytes.byte() % 17;
        if (PyObject* made = kind < 10 ? scalar(kind) : kind < 16 ? container(kind) : earlier())
            return made;
        PyErr_Clear();
        Py_RETURN_NONE;
    }

private:
    PyObject* scalar(int kind)
    {
        switch (kind) {
        case 0: Py_RETURN_NONE;
        case 1: return PyBool_FromLong(bytes.byte() % 2);
        case 2: return PyLong_FromLongLong(bytes.integer());
        case 3: {
            QByteArray digits = QByteArray::number(qulonglong(bytes.integer())); // far beyond 64 bits
            for (int i = bytes.byte() % 8; i > 0; --i)
                digits += QByteArray::number(qulonglong(bytes.integer()));
            return PyLong_FromString(digits.constData(), nullptr, 10);
        }
        case 4: return PyFloat_FromDouble(bytes.real());
        case 5: return PyComplex_FromDoubles(bytes.real(), bytes.real());
        case 6: {
            const QByteArray raw = bytes.text();
            return PyUnicode_DecodeUTF8(raw.constData(), raw.size(), "surrogateescape");
        }
        case 7: {
            const QByteArray raw = bytes.text();
            return bytes.byte() % 2 ? PyBytes_FromStringAndSize(raw.constData(), raw.size())
                                    : PyByteArray_FromStringAndSize(raw.constData(), raw.size());
        }
        case 8: return newRef(PyDict_GetItemString(PyEval_GetBuiltins(), bytes.byte() % 2 ? "int" : "len"));
        default: return newRef(Py_Ellipsis);
        }
    }

    // 10: tuple, 11: list, 12 and 13: dict, 14: set, 15: frozenset.
    PyObject* container(int kind)
    {
        if (kind == 15) {
            PythonQtObjectPtr members;
            members.setNewRef(container(10));
            return members.isNull() ? nullptr : PyFrozenSet_New(members);
        }
        const int items = bytes.count();
        if (kind == 10) {
            // Filled before anyone sees it, a tuple holds no cycle of its own.
            PyObject* tuple = PyTuple_New(items);
            for (int i = 0; tuple && i < items; ++i)
                PyTuple_SET_ITEM(tuple, i, value());
            if (tuple)
                containers.emplace_back(tuple);
            return tuple;
        }
        PyObject* made = kind == 11 ? PyList_New(0) : kind <= 13 ? PyDict_New() : PySet_New(nullptr);
        if (!made)
            return nullptr;
        containers.emplace_back(made);
        for (int i = 0; i < items; ++i) {
            PythonQtObjectPtr item, entry;
            item.setNewRef(value());
            if (kind == 11) {
                PyList_Append(made, item);
            } else if (kind <= 13) {
                entry.setNewRef(value());
                PyDict_SetItem(made, item, entry);
            } else {
                PySet_Add(made, item);
            }
            PyErr_Clear(); // unhashable keys and members are left out
        }
        return made;
    }

    // A container made earlier (a cycle when it is still being filled), or None.
    PyObject* earlier()
    {
        if (containers.empty())
            Py_RETURN_NONE;
        return newRef(containers[bytes.byte() % containers.size()]);
    }

    FuzzBytes& bytes;
    std::vector<PythonQtObjectPtr> containers;
};

// Lists and maps item by item, doubles by bits (so that NaN equals NaN), anything else by
// QVariant's equality.
bool sameValue(const QVariant& a, const QVariant& b)
{
    if (a.userType() != b.userType())
        return false;
    if (a.userType() == QMetaType::QVariantList) {
        const QVariantList x = a.toList(), y = b.toList();
        return std::equal(x.cbegin(), x.cend(), y.cbegin(), y.cend(), sameValue);
    }
    if (a.userType() == QMetaType::QVariantMap) {
        const QVariantMap x = a.toMap(), y = b.toMap();
        return x.keys() == y.keys() && std::equal(x.cbegin(), x.cend(), y.cbegin(), sameValue);
    }
    return a.userType() == QMetaType::Double ? std::memcmp(a.constData(), b.constData(), sizeof(double)) == 0 : a == b;
}

void check(bool right, const char* what)
{
    if (!right)
        qFatal("fuzz: %s", what);
}

// The result as a variant, exceptions dropped.
QVariant runScript(const QString& program)
{
    QScriptEngine* scripts = FuzzHost::instance().scripts();
    const QVariant result = scripts->evaluate(program).toVariant();
    scripts->clearExceptions();
    return result;
}

// The module a host script created through "PythonManager" as `bridge`; made before the first
// input touches Python.
PythonQtObjectPtr& bridge()
{
    static PythonQtObjectPtr module = [] {
        FuzzHost& host = FuzzHost::instance();
        host.scripts()->globalObject().setProperty(
            "FILE", host.writeFile("fuzz_bridge.py", "value = None\ndef echo(x):\n    return x\ndef held():\n    return value\n"));
        runScript("var bridge = PythonManager.createPyObject(FILE)");
        PythonQtGILScope lock;
        PythonQtObjectPtr loaded = PyDict_GetItemString(PyImport_GetModuleDict(), "fuzz_bridge");
        check(!loaded.isNull() && host.engine()->module("fuzz_bridge"), "the bridge module did not load");
        return loaded;
    }();
    return module;
}

// Null (error cleared) when the value cannot convert.
QVariant throughPython(const QVariant& value)
{
    PythonQtObjectPtr object;
    object.setNewRef(PythonQtConv::QVariantToPyObject(value));
    if (object.isNull())
        PyErr_Clear();
    return object.isNull() ? QVariant() : PythonQtConv::PyObjToQVariant(object);
}

void variantToPython(FuzzBytes& bytes)
{
    const QVariant value = buildVariant(bytes);
    PythonQtGILScope lock;
    const QVariant once = throughPython(value);
    check(sameValue(once, throughPython(once)), "a second trip to Python changed a value");
    check(sameValue(once, bridge().call("echo", {value})), "a module function's echo changed a value");
    lock.release();

    QScriptEngine* scripts = FuzzHost::instance().scripts();
    scripts->globalObject().setProperty("fuzzed", scripts->create(value.userType(), value.constData()));
    runScript("bridge.py.echo(fuzzed)");
    runScript("bridge.setObject('value', fuzzed); bridge.py.held()");
}

void pythonToScript(FuzzBytes& bytes)
{
    {
        PythonQtGILScope lock;
        PythonQtObjectPtr value;
        value.setNewRef(PyObjectBuilder(bytes).value());
        PyObject_SetAttrString(bridge(), "value", value);
        throughPython(PythonQtConv::PyObjToQVariant(value));
        PyErr_Clear();
    }
    FuzzHost::instance().engine()->module("fuzz_bridge")->call("held", {});
    runScript("var held = bridge.py.held(); JSON.stringify(held); bridge.py.echo(held)");
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    bridge();
    FuzzBytes bytes(data, size);
    if (bytes.byte() % 2)
        pythonToScript(bytes);
    else
        variantToPython(bytes);

    // The next input meets none of this one's values.
    runScript("fuzzed = undefined; held = undefined");
    PythonQtGILScope lock;
    PyObject_SetAttrString(bridge(), "value", Py_None);
    PyErr_Clear();
    lock.release();
    FuzzHost::instance().engine()->clearError();
    return 0;
}
