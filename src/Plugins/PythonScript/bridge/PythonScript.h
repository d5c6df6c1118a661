#pragma once

#include <SCR_AbstractInterface.h>

#include <QDateTime>
#include <QMap>
#include <QScriptValue>

class JsObjectWrapper;
class PythonQtObjectPtr;
class QScriptContext;
class QScriptEngine;
class QWidget;

// The plug-in object, published to host scripts as "PythonManager". Constructing it starts the
// interpreter; it lives for the rest of the process.
class PythonScript : public SCR_AbstractInterface
{
    Q_OBJECT
public:
    // The interpreter's start-up, in the two steps between which the object registers its script
    // conversions and publishes its objects. The entry layer owns start-up and installs it before
    // the first instance(); without it the object never starts Python.
    struct InterpreterStartUp
    {
        bool (*start)() = nullptr; // false, with the failure logged, when Python did not start
        void (*finish)() = nullptr;
    };
    static void setInterpreterStartUp(const InterpreterStartUp& startUp);

    // Creates the object on first use.
    static PythonScript* instance();

    bool isInitialized() const { return initialized; }

    // Name under which the holder of addToGlobalJsObject is published to Python's __main__ and to
    // the host's scripts.
    static const char* const globalJsObjectName;

public slots:
    // Loads a Python file as a module; its functions are callable from script through "py".
    QScriptValue createPyObject(QString path, QString moduleName = QString());
    QScriptValue getPyObjects();
    QScriptValue wrapFunction(QScriptValue jsFunction);
    JsObjectWrapper* wrapObject(QString objName, QScriptValue objValue);
    void addToGlobalJsObject(QString name, QScriptValue myObject);
    QWidget* appWidget();

private:
    PythonScript();
    void startPython();
    void publishGlobalJsObject();
    QScriptValue scriptObjectFor(const PythonQtObjectPtr& module, const QStringList& functionNames);

    // Native script function behind each "py" property: calls the Python function of its name.
    static QScriptValue callPyFunction(QScriptContext* context, QScriptEngine* engine);

    // One object made from a file, remembered with the file's state at loading.
    struct PyObjectEntry
    {
        QScriptValue value;
        QString filePath;
        QDateTime lastModified;
    };

    QScriptEngine* scriptEngine = nullptr;
    QObject* globalJsObject = nullptr;
    QMap<QString, PyObjectEntry> pyObjects;
    bool initialized = false;
};
