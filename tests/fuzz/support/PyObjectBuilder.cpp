// Before Qt, whose "slots" macro clashes with Python's headers.
#include <PythonQtPython.h>

#include "support/PyObjectBuilder.h"

#include "support/FuzzBytes.h"

namespace {
constexpr int maxNodes = 256;
constexpr int maxItems = 8;
constexpr int maxText = 32;
constexpr int scalarKinds = 10;
constexpr int containerKinds = 6;

// A new reference to the built-in named name.
PyObject* builtin(const char* name)
{
    PyObject* object = PyDict_GetItemString(PyEval_GetBuiltins(), name);
    Py_XINCREF(object);
    return object;
}
}

PyObjectBuilder::PyObjectBuilder(FuzzBytes& bytes)
    : bytes(bytes)
{
}

PythonQtObjectPtr PyObjectBuilder::build()
{
    nodes = 0;
    containers.clear();
    PythonQtObjectPtr result;
    result.setNewRef(value());
    containers.clear();
    return result;
}

PyObject* PyObjectBuilder::value()
{
    PyObject* object = nullptr;
    if (++nodes <= maxNodes && !bytes.atEnd()) {
        const int kind = bytes.byte() % (scalarKinds + containerKinds + 1);
        object = kind < scalarKinds ? scalar(kind) : kind < scalarKinds + containerKinds ? container(kind - scalarKinds) : earlier();
    }
    if (!object) {
        PyErr_Clear();
        Py_RETURN_NONE;
    }
    return object;
}

PyObject* PyObjectBuilder::scalar(int kind)
{
    switch (kind) {
    case 0:
        Py_RETURN_NONE;
    case 1:
        return PyBool_FromLong(bytes.byte() % 2);
    case 2:
        return PyLong_FromLongLong(bytes.integer());
    case 3: {
        // Digits far beyond 64 bits.
        QByteArray digits = QByteArray::number(static_cast<qulonglong>(bytes.integer()));
        for (int i = bytes.byte() % 8; i > 0; --i)
            digits += QByteArray::number(static_cast<qulonglong>(bytes.integer()));
        return PyLong_FromString(digits.constData(), nullptr, 10);
    }
    case 4:
        return PyFloat_FromDouble(bytes.real());
    case 5:
        return PyComplex_FromDoubles(bytes.real(), bytes.real());
    case 6: {
        const QByteArray raw = bytes.bytes(maxText);
        return PyUnicode_DecodeUTF8(raw.constData(), raw.size(), "surrogateescape");
    }
    case 7: {
        const QByteArray raw = bytes.bytes(maxText);
        return bytes.byte() % 2 ? PyBytes_FromStringAndSize(raw.constData(), raw.size())
                                : PyByteArray_FromStringAndSize(raw.constData(), raw.size());
    }
    case 8:
        return builtin(bytes.byte() % 2 ? "int" : "len");
    default:
        Py_INCREF(Py_Ellipsis);
        return Py_Ellipsis;
    }
}

PyObject* PyObjectBuilder::container(int kind)
{
    if (kind == 5) {
        // A frozenset takes its members at birth.
        PythonQtObjectPtr members;
        members.setNewRef(container(0));
        return members.isNull() ? nullptr : PyFrozenSet_New(members);
    }
    const int items = bytes.byte() % maxItems;
    if (kind == 0) {
        // A tuple is filled before anyone sees it, so it holds no cycle of its own.
        PyObject* tuple = PyTuple_New(items);
        for (int i = 0; tuple && i < items; ++i)
            PyTuple_SET_ITEM(tuple, i, value());
        if (tuple)
            containers.emplace_back(tuple);
        return tuple;
    }
    PyObject* made = kind == 1 ? PyList_New(0) : kind <= 3 ? PyDict_New() : PySet_New(nullptr);
    if (!made)
        return nullptr;
    containers.emplace_back(made);
    for (int i = 0; i < items; ++i) {
        PythonQtObjectPtr item;
        item.setNewRef(value());
        if (kind == 1) {
            PyList_Append(made, item);
        } else if (kind <= 3) {
            PythonQtObjectPtr entry;
            entry.setNewRef(value());
            PyDict_SetItem(made, item, entry);
        } else {
            PySet_Add(made, item);
        }
        // Unhashable keys and members are left out.
        PyErr_Clear();
    }
    return made;
}

PyObject* PyObjectBuilder::earlier()
{
    if (containers.empty())
        Py_RETURN_NONE;
    PyObject* object = containers[bytes.byte() % containers.size()];
    Py_INCREF(object);
    return object;
}
