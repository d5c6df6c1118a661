#include "python/PythonInclude.h"

#include "engine/PythonEngineImpl.h"

#include "engine/EngineGILScope.h"
#include "engine/EngineThreadStateScope.h"
#include "engine/MessageActions.h"
#include "plugin/PythonScript.h"
#include "python/PyObjectPtr.h"
#include "python/PyStringConversion.h"
#include "python/PythonModuleImpl.h"

#include <BAPP_SharedSpecialFolders.h>
#include <MSG_Scope.h>
#include <PythonQt.h>
#include <SCP_PythonRedirect.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

PythonEngineImpl::PythonEngineImpl(SC_SessionContext*)
    : QObject(nullptr)
{
    EngineGILScope lock;

    const QFileInfo addOnFolder(BAPP_SharedSpecialFolders() + QStringLiteral("/python-packages"));
    addSysPath(addOnFolder.exists() ? addOnFolder.absoluteFilePath() : QString());

    mainModule();

    if (PythonQt* pythonQt = PythonQt::self()) {
        connect(pythonQt, &PythonQt::pythonStdOut, this, &PythonEngineImpl::onPythonOut);
        connect(pythonQt, &PythonQt::pythonStdErr, this, &PythonEngineImpl::onPythonErr);
    }

    recordSysPath();
}

PythonEngineImpl::~PythonEngineImpl()
{
    mainModuleImpl = nullptr;
    // The module wrappers die afterwards, with the QObject base; their holders see the
    // interpreter finalised and make no Python call.
    if (PythonQt::self())
        PythonQt::cleanup();
}

void PythonEngineImpl::recordSysPath()
{
    SCP_PythonModule* helpers = helpersModule();
    if (!helpers)
        return;
    addModuleToMain(helpers);
    helpers->execute(QStringLiteral("import sys\ndef getSysPath():\n  return sys.path"));
    const QVariantList paths = helpers->call(QStringLiteral("getSysPath"), QVariantList()).toList();
    for (const QVariant& path : paths)
        knownSysPaths.insert(QDir(path.toString()).canonicalPath());
}

void PythonEngineImpl::addSysPath(const QString& path)
{
    EngineGILScope lock;
    if (path.isEmpty())
        return;
    const QDir directory(path);
    if (!directory.exists())
        return;
    const QString canonical = directory.canonicalPath();
    if (knownSysPaths.contains(canonical))
        return;
    PythonScript::instance();
    knownSysPaths.insert(canonical);
    if (PythonQt::self())
        PythonQt::self()->addSysPath(path);
}

SCP_PythonEngine::GILScope_Priv* PythonEngineImpl::createGILScope()
{
    return new EngineGILScope;
}

SCP_PythonEngine::ThreadStateScope_Priv* PythonEngineImpl::createThreadStateScope()
{
    return new EngineThreadStateScope;
}

// Output and errors

void PythonEngineImpl::setRedirectObject(SCP_PythonRedirect* redirect)
{
    redirectObject = redirect;
}

void PythonEngineImpl::onPythonOut(const QString& text)
{
    if (redirectObject) {
        redirectObject->writeStdOut(text);
        return;
    }
    MSG_Scope message(QStringLiteral("[PY STDOUT] : ") + text, MessageAction::pythonOutput);
}

void PythonEngineImpl::onPythonErr(const QString& text)
{
    if (redirectObject) {
        redirectObject->writeStdErr(text);
        return;
    }
    if (capturingErrors) {
        capturedErrors += text;
        return;
    }
    const QString simplified = text.simplified();
    if (simplified.isEmpty())
        return;
    MSG_Scope message(QStringLiteral("[PY STDERR] : ") + simplified, MessageAction::pythonOutput);
}

void PythonEngineImpl::writeStdOut(const QString& text)
{
    onPythonOut(text);
}

void PythonEngineImpl::writeStdErr(const QString& text)
{
    onPythonErr(text);
}

bool PythonEngineImpl::hasError()
{
    EngineGILScope lock;
    return PyErr_Occurred() != nullptr;
}

void PythonEngineImpl::clearError()
{
    EngineGILScope lock;
    PyErr_Clear();
}

bool PythonEngineImpl::reportError()
{
    EngineGILScope lock;
    if (!PyErr_Occurred())
        return false;
    capturingErrors = true;
    capturedErrors.clear();
    printPendingError();
    capturingErrors = false;

    const QStringList lines = capturedErrors.split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const QString simplified = line.simplified();
        if (!simplified.isEmpty())
            MSG_Scope message(simplified, MessageAction::error);
    }
    capturedErrors.clear();
    PyErr_Clear();
    return true;
}

void PythonEngineImpl::printPendingError()
{
    // PyErr_Print ends the process on SystemExit; display that one like any other exception.
    if (!PyErr_ExceptionMatches(PyExc_SystemExit)) {
        PyErr_Print();
        return;
    }
    PyObject* type = nullptr;
    PyObject* value = nullptr;
    PyObject* traceback = nullptr;
    PyErr_Fetch(&type, &value, &traceback);
    PyErr_NormalizeException(&type, &value, &traceback);
    const PyObjectPtr ownedType(type, false);
    const PyObjectPtr ownedValue(value, false);
    const PyObjectPtr ownedTraceback(traceback, false);
    if (value && traceback)
        PyException_SetTraceback(value, traceback);
    PyErr_Display(type, value, traceback);
}

// Module registry

PythonModuleImpl* PythonEngineImpl::fileModule(const QString& name, PyObject* object)
{
    auto* wrapper = new PythonModuleImpl(object, this);
    moduleRegistry.insert(name, wrapper);
    return wrapper;
}

PythonModuleImpl* PythonEngineImpl::mainModule()
{
    if (mainModuleImpl)
        return mainModuleImpl;
    EngineGILScope lock;
    PyObject* main = PyDict_GetItemString(PyImport_GetModuleDict(), "__main__");
    if (!main || !PyModule_Check(main))
        return nullptr;
    mainModuleImpl = new PythonModuleImpl(main, this);
    // A wrapper handed out earlier under that name keeps its place.
    if (!moduleRegistry.contains(mainModuleImpl->name()))
        moduleRegistry.insert(mainModuleImpl->name(), mainModuleImpl);
    return mainModuleImpl;
}

PythonModuleImpl* PythonEngineImpl::module(const QString& name)
{
    EngineGILScope lock;
    if (PythonModuleImpl* known = moduleRegistry.value(name))
        return known;
    PyObject* object = PyDict_GetItemString(PyImport_GetModuleDict(), name.toUtf8().constData());
    return object ? fileModule(name, object) : nullptr;
}

SCP_PythonModule* PythonEngineImpl::createModule(const QString& name)
{
    EngineGILScope lock;
    if (PythonModuleImpl* existing = module(name))
        return existing;
    PyObject* created = PyImport_AddModule(name.toUtf8().constData());
    return created ? fileModule(name, created) : nullptr;
}

PythonModuleImpl* PythonEngineImpl::importModule(const QString& name, bool reload)
{
    EngineGILScope lock;
    if (PythonModuleImpl* existing = module(name)) {
        if (reload)
            existing->reload();
        return existing;
    }
    const PyObjectPtr imported(PyImport_ImportModule(name.toUtf8().constData()), false);
    return imported.object() ? fileModule(name, imported.object()) : nullptr;
}

SCP_PythonModule* PythonEngineImpl::loadModule(const QString& filePath, bool reload, const QString& moduleName)
{
    const QString name = moduleName.isEmpty() ? QFileInfo(filePath).baseName() : moduleName;
    EngineGILScope lock;
    if (PythonModuleImpl* existing = module(name)) {
        if (reload)
            existing->reload();
        return existing;
    }
    QFile file(QFileInfo(filePath).filePath());
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    const QByteArray source = file.readAll();
    if (!isCompilableSource(source))
        return nullptr;
    const PyObjectPtr fileNameObject = toPyString(filePath);
    if (!fileNameObject.object())
        return nullptr;
    const PyObjectPtr code(Py_CompileStringObject(source.constData(), fileNameObject.object(),
                                                  Py_file_input, nullptr, -1),
                           false);
    if (!code.object())
        return nullptr;
    const PyObjectPtr loaded(PyImport_ExecCodeModule(name.toUtf8().constData(), code.object()), false);
    return loaded.object() ? fileModule(name, loaded.object()) : nullptr;
}

QList<SCP_PythonModule*> PythonEngineImpl::modules()
{
    EngineGILScope lock;
    QList<SCP_PythonModule*> result;
    Py_ssize_t position = 0;
    PyObject* key = nullptr;
    PyObject* value = nullptr;
    while (PyDict_Next(PyImport_GetModuleDict(), &position, &key, &value)) {
        if (!PyModule_Check(value) || !PyUnicode_Check(key))
            continue;
        const char* name = PyUnicode_AsUTF8(key);
        if (!name)
            continue;
        if (PythonModuleImpl* wrapper = module(QString::fromUtf8(name)))
            result.append(wrapper);
    }
    return result;
}
