#include "PythonQtIntrospection.h"

#include "PythonQtMember.h"
#include "PythonQtNamespace.h"

#include <cstring>

namespace {

bool isKind(PyObject* value, PythonQt::ObjectType type)
{
    switch (type) {
    case PythonQt::Anything:
        return true;
    case PythonQt::Module:
        return PyModule_Check(value);
    case PythonQt::Class:
        return PyType_Check(value);
    case PythonQt::Function:
    case PythonQt::CallOverloads:
        return PyCallable_Check(value) && !PyType_Check(value);
    case PythonQt::Variable:
        return !PyCallable_Check(value) && !PyModule_Check(value);
    }
    return false;
}

// Module and dictionary entries keep their definition order; other objects give dir().
PyObject* attributeNames(PyObject* object)
{
    if (PyObject* dict = PythonQtNamespace::globals(object))
        return PyDict_Keys(dict);
    return PyObject_Dir(object);
}

QStringList callOverloads(PyObject* callable)
{
    if (PythonQtMember::check(callable))
        return PythonQtMember::signatures(callable);
    QStringList result;
    PyObject* doc = PyObject_GetAttrString(callable, "__doc__");
    if (doc && PyUnicode_Check(doc))
        result.append(QString::fromUtf8(PyUnicode_AsUTF8(doc)).section(QLatin1Char('\n'), 0, 0));
    Py_XDECREF(doc);
    PyErr_Clear();
    return result;
}

} // namespace

QStringList PythonQtIntrospection::names(PyObject* object, PythonQt::ObjectType type, const QString& prefix)
{
    QStringList result;
    if (!object)
        return result;
    if (type == PythonQt::CallOverloads)
        return PyCallable_Check(object) ? callOverloads(object) : result;
    PyObject* keys = attributeNames(object);
    if (!keys) {
        PyErr_Clear();
        return result;
    }
    // A UTF-8 prefix of the name is a prefix of its text: others are passed over unread.
    const QByteArray start = prefix.toUtf8();
    // A dictionary's own keys are always found in it: any kind needs no lookup.
    const bool lookUp = type != PythonQt::Anything || !PythonQtNamespace::globals(object);
    for (Py_ssize_t i = 0; i < PyList_GET_SIZE(keys); ++i) {
        PyObject* key = PyList_GET_ITEM(keys, i);
        const char* name = PyUnicode_Check(key) ? PyUnicode_AsUTF8(key) : nullptr;
        if (name && std::strncmp(name, start.constData(), size_t(start.size())) != 0)
            continue;
        if (name && !lookUp) {
            result.append(QString::fromUtf8(name));
            continue;
        }
        PyObject* value = name ? PythonQtNamespace::get(object, name) : nullptr;
        if (value && isKind(value, type))
            result.append(QString::fromUtf8(name));
        Py_XDECREF(value);
    }
    PyErr_Clear();
    Py_DECREF(keys);
    return result;
}

PyObject* PythonQtIntrospection::resolve(PyObject* module, const QString& dottedName)
{
    if (!module)
        return nullptr;
    Py_INCREF(module);
    PyObject* current = module;
    for (const QString& part : dottedName.split(QLatin1Char('.'), Qt::SkipEmptyParts)) {
        PyObject* next = PythonQtNamespace::get(current, part.toUtf8().constData());
        Py_DECREF(current);
        if (!next)
            return nullptr;
        current = next;
    }
    return current;
}
