#include <PythonQtPython.h>

#include "engine/PythonEngineImpl.h"

#include "engine/EngineGILScope.h"
#include "engine/EngineThreadStateScope.h"
#include "engine/PythonThreadsAtExit.h"
#include "python/PyObjectPtr.h"
#include "python/PyStringConversion.h"
#include "python/PythonModuleImpl.h"

#include <BAPP_SharedSpecialFolders.h>
#include <MSG_Action.h>
#include <MSG_Scope.h>
#include <PythonQt.h>
#include <PythonQtErrors.h>
#include <SCP_PythonRedirect.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace {
void (*pluginObjectHook)() = nullptr;
}

void PythonEngineImpl::setPluginObjectHook(void (*hook)())
{
    pluginObjectHook = hook;
}

SCP_PythonEngine* createPythonEngine(SC_SessionContext* context)
{
    static SCP_PythonEngine* processEngine = nullptr;
    if (!PythonQt::self() || !PythonQt::self()->initSuccessfully())
        return nullptr;
    if (!processEngine && context)
        processEngine = new PythonEngineImpl(context);
    return processEngine;
}

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
    if (!PythonQt::self())
        return;
    const QStringList leftRunning = finishPythonThreads(threadWaitAtExitSeconds);
    // What threads printed is queued to this object; the event loop may be over, so deliver it
    // now, while there is still someone to receive it.
    if (thread() == QThread::currentThread())
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    if (!leftRunning.isEmpty())
        MSG_Scope message(QCoreApplication::translate("PythonScript",
                                                      "Python threads still running at exit were not waited for: %1")
                              .arg(leftRunning.join(QStringLiteral(", "))),
                          MSG_Action::Error);
    // The module wrappers die afterwards, with the QObject base; their holders see the
    // interpreter finalised and make no Python call.
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
    if (pluginObjectHook)
        pluginObjectHook();
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
    MSG_Scope message(QStringLiteral("[PY STDOUT] : ") + text, MSG_Action::PythonOutput);
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
    MSG_Scope message(QStringLiteral("[PY STDERR] : ") + simplified, MSG_Action::PythonOutput);
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
    const QString summary = PythonQtErrors::printAndClear();
    capturingErrors = false;

    // A standard error that swallowed the traceback must not hide the failure. (On another
    // thread the traceback arrives later, queued, and is not collected here.)
    if (!redirectObject && capturedErrors.trimmed().isEmpty() && QThread::currentThread() == thread())
        capturedErrors = summary;
    const QStringList lines = capturedErrors.split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const QString simplified = line.simplified();
        if (!simplified.isEmpty())
            MSG_Scope message(simplified, MSG_Action::Error);
    }
    capturedErrors.clear();
    return true;
}

// Module registry

PythonModuleImpl* PythonEngineImpl::fileModule(const QString& name, PyObject* object)
{
    auto* wrapper = new PythonModuleImpl(object, this, this);
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
    mainModuleImpl = new PythonModuleImpl(main, this, this);
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
    // Only a regular file has an end to read to: a device or pipe would block or never end.
    const QFileInfo info(filePath);
    QFile file(info.filePath());
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
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
