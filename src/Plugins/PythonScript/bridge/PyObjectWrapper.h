#pragma once

#include <PythonQtObjectPtr.h>

#include <QMetaType>
#include <QObject>
#include <QScriptValue>

class PythonScript;
class QScriptEngine;

// What a host script holds of a Python module loaded through "PythonManager": it tests and binds
// names in the module's namespace.
class PyObjectWrapper : public QObject
{
    Q_OBJECT
public:
    PyObjectWrapper(PythonQtObjectPtr module, PythonScript* owner);

public slots:
    bool hasObject(QString name);
    // Binds value under name unless the name is already bound.
    bool addObject(QString name, QScriptValue value);
    // Binds value under name, replacing any binding.
    bool setObject(QString name, QScriptValue value);

private:
    void bind(const QString& name, const QScriptValue& value);

    PythonQtObjectPtr pyObject;
    PythonScript* owner;
};

Q_DECLARE_METATYPE(PyObjectWrapper*)

// The script engine's conversions of the PyObjectWrapper* meta-type, in the engine's
// custom-type signatures: wrapper points at a PyObjectWrapper*.
QScriptValue pyObjectWrapperToScript(QScriptEngine* engine, const void* wrapper);
void pyObjectWrapperFromScript(const QScriptValue& value, void* wrapper);
