#pragma once

#include "PythonQtExport.h"

#include <QMetaType>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

class QObject;

// Owning holder of one Python reference. Reference counts change under the interpreter lock,
// so a holder may be copied and destroyed on any thread; after the interpreter is finalised
// it forgets its reference without calling Python.
class PYTHONQT_EXPORT PythonQtObjectPtr
{
public:
    PythonQtObjectPtr() = default;
    // Takes a new reference to object.
    PythonQtObjectPtr(PyObject* object);
    PythonQtObjectPtr(const PythonQtObjectPtr& other);
    PythonQtObjectPtr(PythonQtObjectPtr&& other) noexcept;
    ~PythonQtObjectPtr();

    PythonQtObjectPtr& operator=(const PythonQtObjectPtr& other);
    PythonQtObjectPtr& operator=(PythonQtObjectPtr&& other) noexcept;
    PythonQtObjectPtr& operator=(PyObject* object);

    // Adopts a reference the caller owns; true when object is not null.
    bool setNewRef(PyObject* object);
    // Takes a new reference to object, releasing the previous one.
    void setObject(PyObject* object);
    PyObject* object() const { return m_object; }
    bool isNull() const { return m_object == nullptr; }
    operator PyObject*() const { return m_object; }

    bool operator==(const PythonQtObjectPtr& other) const { return m_object == other.m_object; }
    bool operator!=(const PythonQtObjectPtr& other) const { return m_object != other.m_object; }

    // Runs a code object in this module's namespace; the value of the code, converted.
    QVariant evalCode(PyObject* code);
    // Runs source in this module's namespace; start is Py_file_input (257), Py_eval_input
    // (258) or Py_single_input (256). Errors are printed to Python's standard error.
    QVariant evalScript(const QString& script, int start = 257);

    // Binds a QObject (seen from Python through the QObject wrapper) or a value in this
    // module's namespace.
    void addObject(const QString& name, QObject* object);
    void addVariable(const QString& name, const QVariant& value);
    void removeVariable(const QString& name);
    // The value bound to name in this module's namespace; invalid when unbound.
    QVariant getVariable(const QString& name);

    // Calls the attribute (or namespace entry) name of this object; invalid on failure.
    QVariant call(const QString& callable, const QVariantList& args = QVariantList(),
                  const QVariantMap& kwargs = QVariantMap());
    // Calls this object itself.
    QVariant call(const QVariantList& args = QVariantList(), const QVariantMap& kwargs = QVariantMap());

    // The holder as a variant, and back; fromVariant takes any variant PythonQtConv makes.
    QVariant toVariant() const;
    bool fromVariant(const QVariant& variant);

private:
    PyObject* m_object = nullptr;
};

Q_DECLARE_METATYPE(PythonQtObjectPtr)
