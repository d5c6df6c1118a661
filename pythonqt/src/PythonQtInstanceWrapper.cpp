#include "PythonQtInstanceWrapper.h"

#include "PythonQtConv.h"
#include "PythonQtErrors.h"
#include "PythonQtHeapType.h"
#include "PythonQtMember.h"
#include "PythonQtMethodInvoker.h"
#include "PythonQtThreadStates.h"

#include <QHash>
#include <QMetaProperty>
#include <QObject>
#include <QPointer>
#include <QSet>

namespace {

struct WrapperData
{
    QPointer<QObject> pointer;
    QObject* key;
    QByteArray className;
};

struct WrapperObject
{
    PyObject_HEAD
    WrapperData* data;
};

// QObject address -> its wrapper (borrowed). Guarded by the interpreter lock; forgotten when
// the interpreter generation changes.
struct Registry
{
    QHash<QObject*, PyObject*> wrappers;
    unsigned generation = 0;
};

Registry& registry()
{
    static Registry instance;
    if (instance.generation != PythonQtThreadStates::generation()) {
        instance.wrappers.clear();
        instance.generation = PythonQtThreadStates::generation();
    }
    return instance;
}

WrapperData* dataOf(PyObject* self)
{
    return reinterpret_cast<WrapperObject*>(self)->data;
}

QObject* namedChild(QObject* object, const QString& name)
{
    for (QObject* child : object->children()) {
        if (child->objectName() == name)
            return child;
    }
    return nullptr;
}

PyObject* propertyValue(QObject* object, const QMetaProperty& property)
{
    return PythonQtConv::QVariantToPyObject(property.read(object));
}

PyObject* wrapperGetAttr(PyObject* self, PyObject* nameObject)
{
    const char* name = PyUnicode_AsUTF8(nameObject);
    if (!name)
        return nullptr;
    if (name[0] == '_' && name[1] == '_')
        return PyObject_GenericGetAttr(self, nameObject);
    QObject* object = PythonQtInstanceWrapper::liveObject(self);
    if (!object)
        return nullptr;
    const QMetaObject* meta = object->metaObject();
    const int propertyIndex = meta->indexOfProperty(name);
    if (propertyIndex >= 0)
        return propertyValue(object, meta->property(propertyIndex));
    if (PythonQtMethodInvoker::hasMethod(meta, name))
        return PythonQtMember::create(self, name);
    if (object->dynamicPropertyNames().contains(name))
        return PythonQtConv::QVariantToPyObject(object->property(name));
    if (QObject* child = namedChild(object, QString::fromUtf8(name)))
        return PythonQtInstanceWrapper::wrap(child);
    return PyObject_GenericGetAttr(self, nameObject);
}

int writeProperty(QObject* object, const QMetaProperty& property, PyObject* value)
{
    if (!value || !property.isWritable()) {
        PyErr_Format(PyExc_AttributeError, "property '%s' of %s is read-only", property.name(),
                     object->metaObject()->className());
        return -1;
    }
    const QVariant converted = PythonQtConv::PyObjToQVariant(value, property.userType());
    if ((!converted.isValid() && value != Py_None) || !property.write(object, converted)) {
        PyErr_Format(PyExc_TypeError, "cannot set property '%s' of %s (type %s) from a '%s'", property.name(),
                     object->metaObject()->className(), property.typeName(), Py_TYPE(value)->tp_name);
        return -1;
    }
    return 0;
}

int wrapperSetAttr(PyObject* self, PyObject* nameObject, PyObject* value)
{
    const char* name = PyUnicode_AsUTF8(nameObject);
    if (!name)
        return -1;
    QObject* object = PythonQtInstanceWrapper::liveObject(self);
    if (!object)
        return -1;
    const QMetaObject* meta = object->metaObject();
    const int propertyIndex = meta->indexOfProperty(name);
    if (propertyIndex >= 0)
        return writeProperty(object, meta->property(propertyIndex), value);
    if (PythonQtMethodInvoker::hasMethod(meta, name)) {
        PyErr_Format(PyExc_AttributeError, "cannot replace method '%s' of %s", name, meta->className());
        return -1;
    }
    // Anything else becomes (or, on deletion, stops being) a dynamic property.
    object->setProperty(name, value ? PythonQtConv::PyObjToQVariant(value) : QVariant());
    return 0;
}

PyObject* wrapperRepr(PyObject* self)
{
    WrapperData* data = dataOf(self);
    if (!data->pointer)
        return PyUnicode_FromFormat("<deleted %s object>", data->className.constData());
    const QByteArray name = data->pointer->objectName().toUtf8();
    return PyUnicode_FromFormat("<%s object '%s' at %p>", data->className.constData(), name.constData(),
                                static_cast<void*>(data->key));
}

void appendName(PyObject* list, const QByteArray& name)
{
    PyObject* text = PyUnicode_FromStringAndSize(name.constData(), name.size());
    if (text) {
        PyList_Append(list, text);
        Py_DECREF(text);
    }
}

PyObject* wrapperDir(PyObject* self, PyObject*)
{
    QObject* object = PythonQtInstanceWrapper::liveObject(self);
    if (!object)
        return nullptr;
    QSet<QByteArray> names;
    const QMetaObject* meta = object->metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i)
        names.insert(meta->property(i).name());
    for (int i = 0; i < meta->methodCount(); ++i) {
        if (meta->method(i).access() == QMetaMethod::Public)
            names.insert(meta->method(i).name());
    }
    for (const QByteArray& name : object->dynamicPropertyNames())
        names.insert(name);
    for (QObject* child : object->children()) {
        if (!child->objectName().isEmpty())
            names.insert(child->objectName().toUtf8());
    }
    PyObject* list = PyList_New(0);
    for (const QByteArray& name : names)
        appendName(list, name);
    if (list && PyList_Sort(list) < 0)
        Py_CLEAR(list);
    return list;
}

void wrapperDealloc(PyObject* self)
{
    WrapperData* data = dataOf(self);
    Registry& reg = registry();
    if (data) {
        if (reg.wrappers.value(data->key) == self)
            reg.wrappers.remove(data->key);
        delete data;
    }
    PythonQtHeapType::free(self);
}

PyMethodDef wrapperMethods[] = {
    {"__dir__", wrapperDir, METH_NOARGS, "Properties, methods, dynamic properties and named children."},
    {nullptr, nullptr, 0, nullptr},
};

PyType_Slot wrapperSlots[] = {
    {Py_tp_getattro, reinterpret_cast<void*>(wrapperGetAttr)},
    {Py_tp_setattro, reinterpret_cast<void*>(wrapperSetAttr)},
    {Py_tp_repr, reinterpret_cast<void*>(wrapperRepr)},
    {Py_tp_dealloc, reinterpret_cast<void*>(wrapperDealloc)},
    {Py_tp_methods, wrapperMethods},
    {Py_tp_doc, const_cast<char*>("A QObject seen from Python.")},
    {0, nullptr},
};

PyType_Spec wrapperSpec = {"PythonQt.QObject", sizeof(WrapperObject), 0, Py_TPFLAGS_DEFAULT, wrapperSlots};

PythonQtHeapType wrapperType(wrapperSpec);

} // namespace

PyObject* PythonQtInstanceWrapper::wrap(QObject* object)
{
    if (!object)
        Py_RETURN_NONE;
    Registry& reg = registry();
    if (PyObject* existing = reg.wrappers.value(object)) {
        if (dataOf(existing)->pointer == object) {
            Py_INCREF(existing);
            return existing;
        }
    }
    PyObject* wrapper = wrapperType.alloc();
    if (!wrapper)
        return nullptr;
    reinterpret_cast<WrapperObject*>(wrapper)->data =
        new WrapperData{QPointer<QObject>(object), object, QByteArray(object->metaObject()->className())};
    reg.wrappers.insert(object, wrapper);
    return wrapper;
}

bool PythonQtInstanceWrapper::isWrapped(const QObject* object)
{
    PyObject* existing = registry().wrappers.value(const_cast<QObject*>(object));
    return existing && dataOf(existing)->pointer == object;
}

bool PythonQtInstanceWrapper::check(PyObject* object)
{
    PyTypeObject* type = wrapperType.existing();
    return type && object && Py_TYPE(object) == type;
}

QObject* PythonQtInstanceWrapper::object(PyObject* wrapper)
{
    return check(wrapper) ? dataOf(wrapper)->pointer.data() : nullptr;
}

QObject* PythonQtInstanceWrapper::liveObject(PyObject* wrapper)
{
    QObject* object = PythonQtInstanceWrapper::object(wrapper);
    if (!object && check(wrapper)) {
        PyErr_Format(PyExc_RuntimeError, "the underlying C++ object of class %s has been deleted",
                     dataOf(wrapper)->className.constData());
    }
    return object;
}
