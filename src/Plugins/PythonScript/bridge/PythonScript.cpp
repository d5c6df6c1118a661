#include <PythonQtPython.h>

#include "bridge/PythonScript.h"

#include "bridge/JsFunctionWrapper.h"
#include "bridge/JsObjectWrapper.h"
#include "bridge/PyObjectWrapper.h"
#include "bridge/ScriptLockScope.h"
#include "python/PyStringConversion.h"

#include <BUIAPP_Application.h>
#include <MSG_Action.h>
#include <MSG_Scope.h>
#include <PLUG_ScriptingInterface.h>
#include <PLUG_Services.h>
#include <PythonQt.h>
#include <PythonQtThreadSupport.h>
#include <ST_BatchParams.h>
#include <oswRemapPath.h>

#include <QFile>
#include <QFileInfo>
#include <QScriptContext>
#include <QScriptEngine>
#include <QScriptValueIterator>

namespace {
PythonScript* pluginObject = nullptr;
PythonScript::InterpreterStartUp interpreterStartUp;

void report(const char* text)
{
    MSG_Scope(text, PythonScript::tr(text), MSG_Action::Error);
}

void report(const char* text, const QString& value)
{
    MSG_Scope scope(text, PythonScript::tr(text), MSG_Action::Error);
    scope.arg(value, 0);
}

// Several object arguments convert together, as one array: an object that two of them reach
// then arrives in Python as one object.
QVariantList argumentVariants(QScriptContext* context, QScriptEngine* engine)
{
    const int count = context->argumentCount();
    int objects = 0;
    for (int i = 0; i < count; ++i)
        objects += context->argument(i).isObject() ? 1 : 0;
    if (objects > 1 && engine) {
        QScriptValue array = engine->newArray(uint(count));
        for (int i = 0; i < count; ++i)
            array.setProperty(quint32(i), context->argument(i));
        return array.toVariant().toList();
    }
    QVariantList args;
    args.reserve(count);
    for (int i = 0; i < count; ++i)
        args.append(context->argument(i).toVariant());
    return args;
}

QDateTime modificationTime(const QString& path)
{
    return QFileInfo(path).fileTime(QFileDevice::FileModificationTime);
}

}

void PythonScript::setInterpreterStartUp(const InterpreterStartUp& startUp)
{
    interpreterStartUp = startUp;
}

PythonScript* PythonScript::instance()
{
    if (!pluginObject)
        pluginObject = new PythonScript;
    return pluginObject;
}

PythonScript::PythonScript()
    : SCR_AbstractInterface(nullptr, QStringLiteral("PythonManager"))
{
    startPython();
}

void PythonScript::startPython()
{
    if (ST_BatchParams::isBatchPython()) {
        // The batch host runs the interpreter itself; only its lock scopes are switched on.
        // PyEval_InitThreads, deprecated from 3.9, does nothing there: the interpreter has
        // made its lock when it started.
        PythonQtGILScope::setGILScopeEnabled(true);
        return;
    }
    PLUG_ScriptingInterface* scripting = PLUG_Services::getScriptingInterface();
    scriptEngine = scripting ? scripting->scriptEngine() : nullptr;
    if (!scriptEngine || !interpreterStartUp.start || !interpreterStartUp.start())
        return;
    initialized = true;
    scriptEngine->registerCustomType(qMetaTypeId<PyObjectWrapper*>(), pyObjectWrapperToScript,
                                     pyObjectWrapperFromScript, QScriptValue());
    publishGlobalJsObject();
    interpreterStartUp.finish();
}

const char* const PythonScript::globalJsObjectName = "js";

void PythonScript::publishGlobalJsObject()
{
    // One holder, seen as the same name by Python code (in __main__, so the console has it too)
    // and by host scripts: what a script publishes with addToGlobalJsObject appears on it.
    globalJsObject = new QObject(this);
    globalJsObject->setObjectName(QString::fromLatin1(globalJsObjectName));
    PythonQt::self()->getMainModule().addObject(globalJsObject->objectName(), globalJsObject);
    if (PLUG_ScriptingInterface* scripting = PLUG_Services::getScriptingInterface())
        scripting->registerObject(globalJsObject, globalJsObject->objectName());
}

QScriptValue PythonScript::createPyObject(QString path, QString moduleName)
{
    const QString remappedPath = oswRemapPath::RemapPath2(path);
    // Only a regular file has an end to read to: a device or pipe would block or never end.
    QFile file(remappedPath);
    if (!QFileInfo(remappedPath).isFile() || !file.open(QIODevice::ReadOnly)) {
        report(QT_TR_NOOP("The following file does not exist or cannot be open : %1"), remappedPath);
        return QScriptValue();
    }
    if (!PythonQt::self()) {
        report(QT_TR_NOOP("Error while creating PyObject"));
        return QScriptValue();
    }
    QString key = moduleName.trimmed();
    if (key.isEmpty())
        key = QFileInfo(remappedPath).baseName();
    const auto cached = pyObjects.constFind(key);
    if (cached != pyObjects.cend() && cached->filePath == remappedPath
        && !(cached->lastModified < modificationTime(remappedPath)))
        return cached->value;

    ScriptLockScope scope;
    PyErr_Clear();
    const QByteArray source = file.readAll();
    PythonQtObjectPtr code;
    if (isCompilableSource(source))
        code.setNewRef(Py_CompileStringExFlags(source.constData(), file.fileName().toUtf8().constData(),
                                               Py_file_input, nullptr, -1));
    if (code.isNull() || code.object() == Py_None) {
        report(QT_TR_NOOP("Error while creating PyObject from file : %1"), remappedPath);
        return QScriptValue();
    }
    PythonQtObjectPtr module = key == QLatin1String("__main__")
                                         ? PythonQt::self()->getMainModule()
                                         : PythonQt::self()->createModuleFromScript(key, QString());
    if (module.isNull()) {
        report(QT_TR_NOOP("Error while creating PyObject module '%1'"), key);
        return QScriptValue();
    }
    module.evalCode(code);
    const QStringList functionNames = PythonQt::self()->introspectObject(module, PythonQt::Function);
    if (functionNames.isEmpty()) {
        report(QT_TR_NOOP("No function were found in the following file : %1"), remappedPath);
        report(QT_TR_NOOP("This can happen if the file does not contain any function or if there is some error "
                          "in the script (ex: cannot find some import module)"));
        return QScriptValue();
    }
    const QScriptValue value = scriptObjectFor(module, functionNames);
    pyObjects.insert(key, PyObjectEntry{value, remappedPath, modificationTime(remappedPath)});
    return value;
}

QScriptValue PythonScript::scriptObjectFor(const PythonQtObjectPtr& module, const QStringList& functionNames)
{
    QScriptValue value = scriptEngine->newQObject(new PyObjectWrapper(module, this), QScriptEngine::QtOwnership);
    QScriptValue py = scriptEngine->newObject();
    py.setData(scriptEngine->newVariant(QVariant::fromValue(module)));
    for (const QString& name : functionNames) {
        QScriptValue function = scriptEngine->newFunction(callPyFunction, 0);
        function.setData(QScriptValue(name));
        py.setProperty(name, function, QScriptValue::KeepExistingFlags);
    }
    value.setProperty(QStringLiteral("py"), py, QScriptValue::KeepExistingFlags);
    return value;
}

QScriptValue PythonScript::callPyFunction(QScriptContext* context, QScriptEngine* engine)
{
    const QString name = context->callee().data().toString();
    ScriptLockScope scope;
    PythonQtObjectPtr module;
    module.fromVariant(context->thisObject().data().toVariant());
    if (module.isNull())
        return QScriptValue();
    const QVariantList args = argumentVariants(context, engine);
    if (context->state() == QScriptContext::ExceptionState) // an argument too large to convert
        return QScriptValue();
    const QVariant result = module.call(name, args, QVariantMap());
    if (!engine)
        return QScriptValue();
    return engine->create(result.userType(), result.data());
}

QScriptValue PythonScript::getPyObjects()
{
    QScriptValue objects = scriptEngine->newObject();
    for (auto it = pyObjects.cbegin(); it != pyObjects.cend(); ++it)
        objects.setProperty(it.key(), it->value, QScriptValue::KeepExistingFlags);
    return objects;
}

QScriptValue PythonScript::wrapFunction(QScriptValue jsFunction)
{
    if (!jsFunction.isFunction())
        return QScriptValue();
    return scriptEngine->newQObject(new JsFunctionWrapper(scriptEngine, jsFunction, QString()),
                                    QScriptEngine::QtOwnership);
}

JsObjectWrapper* PythonScript::wrapObject(QString objName, QScriptValue objValue)
{
    auto* wrapper = new JsObjectWrapper(scriptEngine, objName);
    wrapper->setObjectName(objName);
    QScriptValueIterator it(objValue);
    while (it.hasNext()) {
        it.next();
        const QScriptValue value = it.value();
        if (value.isFunction()) {
            auto* method = new JsFunctionWrapper(scriptEngine, value, objName);
            method->setObjectName(it.name());
            method->setParent(wrapper);
        } else {
            wrapper->setProperty(it.name().toUtf8().constData(), value.toVariant());
        }
    }
    return wrapper;
}

void PythonScript::addToGlobalJsObject(QString name, QScriptValue myObject)
{
    if (myObject.isQObject()) {
        if (globalJsObject)
            globalJsObject->setProperty(name.toUtf8().constData(), myObject.toVariant());
    } else if (myObject.isFunction()) {
        auto* wrapper = new JsFunctionWrapper(scriptEngine, myObject, name);
        wrapper->setObjectName(name);
        wrapper->setParent(globalJsObject);
    } else if (myObject.isObject()) {
        JsObjectWrapper* wrapper = wrapObject(name, myObject);
        wrapper->enableSyncToScript();
        wrapper->setParent(globalJsObject);
    }
}

QWidget* PythonScript::appWidget()
{
    BUIAPP_Application* application = BUIAPP_Application::instance();
    return application ? application->mainWidget() : nullptr;
}
