#include "PythonQtIntrospection.h"

#include "PythonQtMember.h"
#include "PythonQtNamespace.h"

#include <algorithm>
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

QStringList PythonQtIntrospection::names(PyObject* object, PythonQt::ObjectType type, const QString& prefix,
                                         const QStringList& known)
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
    qsizetype reached = 0; // in known
    // The known name at reached when it is the name, else a new string; a name inserted or
    // removed since known was made is passed over.
    auto text = [&known, &reached](PyObject* key, const char* name, Py_ssize_t size) {
        if (!PyUnicode_IS_ASCII(key))
            return QString::fromUtf8(name, size);
        const QLatin1StringView ascii(name, size);
        for (qsizetype ahead = reached; ahead < std::min(reached + 2, known.size()); ++ahead) {
            if (known.at(ahead) == ascii) {
                reached = ahead + 1;
                return known.at(ahead);
            }
        }
        return QString(ascii);
    };
    result.reserve(PyList_GET_SIZE(keys));
    for (Py_ssize_t i = 0; i < PyList_GET_SIZE(keys); ++i) {
        PyObject* key = PyList_GET_ITEM(keys, i);
        Py_ssize_t size = 0;
        const char* name = PyUnicode_Check(key) ? PyUnicode_AsUTF8AndSize(key, &size) : nullptr;
        if (name && std::strncmp(name, start.constData(), size_t(start.size())) != 0)
            continue;
        if (name && !lookUp) {
            result.append(text(key, name, size));
            continue;
        }
        PyObject* value = name ? PythonQtNamespace::get(object, name) : nullptr;
        if (value && isKind(value, type))
            result.append(text(key, name, size));
        Py_XDECREF(value);
    }
    PyErr_Clear();
    Py_DECREF(keys);
    if (result.capacity() > 2 * result.size())
        result.squeeze();
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
