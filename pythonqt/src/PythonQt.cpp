#include "PythonQt.h"

#include "PythonQtInstanceWrapper.h"

#include "PythonQtCall.h"
#include "PythonQtErrors.h"
#include "PythonQtIntrospection.h"
#include "PythonQtNumericLocale.h"
#include "PythonQtSignalDispositions.h"
#include "PythonQtSignalTarget.h"
#include "PythonQtStartup.h"
#include "PythonQtStdStream.h"
#include "PythonQtThreadStates.h"

#include "PythonQtPython.h"

namespace {

PythonQt* s_self = nullptr;

bool installStream(const char* name, PythonQtStdStream::Channel channel)
{
    PyObject* stream = PythonQtStdStream::create(channel);
    const bool ok = stream && PySys_SetObject(name, stream) == 0;
    Py_XDECREF(stream);
    return ok;
}

} // namespace

class PythonQt::Private
{
public:
    bool initialized = false;
    QString initError;
    // The init thread's state while it does not hold the lock (after startThreads()).
    PyThreadState* mainThreadState = nullptr;
    bool threadsStarted = false;
    PythonQtObjectPtr pythonQtModule;
};

PythonQt::PythonQt()
    : d(new Private)
{
}

PythonQt::~PythonQt()
{
    delete d;
}

void PythonQt::init(int flags, const QByteArray& pythonQtModuleName)
{
    if (s_self)
        return;
    s_self = new PythonQt;
    Private* d = s_self->d;
    if (Py_IsInitialized()) {
        d->initError = QStringLiteral("The interpreter was already started by someone else");
        return;
    }
    PythonQtStartup::makeLibPythonGlobal();
    PythonQtSignalDispositions::ignoreForPython();
    PythonQtNumericLocale::useCForPython();
    d->initError = PythonQtStartup::initialize(flags & IgnoreSiteModule);
    if (!d->initError.isEmpty())
        return;
    const QByteArray moduleName = pythonQtModuleName.isEmpty() ? QByteArray("PythonQt") : pythonQtModuleName;
    d->pythonQtModule.setObject(PyImport_AddModule(moduleName.constData()));
    if ((flags & RedirectStdOut)
        && !(installStream("stdout", PythonQtStdStream::StdOut) && installStream("stderr", PythonQtStdStream::StdErr))) {
        d->initError = QStringLiteral("Could not redirect the standard streams");
        PyErr_Clear();
        return;
    }
    d->initialized = true;
}

void PythonQt::cleanup()
{
    if (!s_self)
        return;
    Private* d = s_self->d;
    PyThreadState* state = nullptr;
    if (Py_IsInitialized() && d->initialized)
        state = PythonQtThreadStates::holdsLockWithOwnState() ? PythonQtThreadStates::attached() : d->mainThreadState;
    if (state) {
        if (PythonQtThreadStates::attached() != state)
            PyEval_RestoreThread(state);
        PythonQtSignalTarget::releaseAllCallables();
        d->pythonQtModule = nullptr;
        // Threads ending from now on must leave their states to finalisation: fence them out
        // while the lock is free, then take it back and finalise.
        PyEval_SaveThread();
        PythonQtThreadStates::beginFinalisation();
        PyEval_RestoreThread(state);
        Py_FinalizeEx();
        PythonQtThreadStates::endFinalisation();
    }
    PythonQtSignalDispositions::restoreHost();
    PythonQtNumericLocale::restoreHost();
    delete s_self;
    s_self = nullptr;
}

PythonQt* PythonQt::self()
{
    return s_self;
}

bool PythonQt::initSuccessfully() const
{
    return d->initialized;
}

QString PythonQt::initError() const
{
    return d->initError;
}

void PythonQt::startThreads()
{
    if (!d->initialized || d->threadsStarted || !PyGILState_Check())
        return;
    d->threadsStarted = true;
    PythonQtGILScope::setGILScopeEnabled(true);
    d->mainThreadState = PyEval_SaveThread();
    PythonQtThreadStates::adoptState(d->mainThreadState);
}

PythonQtObjectPtr PythonQt::getMainModule()
{
    if (!d->initialized || !Py_IsInitialized())
        return PythonQtObjectPtr();
    PythonQtGILScope scope;
    return PythonQtObjectPtr(PyImport_AddModule("__main__"));
}

PythonQtObjectPtr PythonQt::createModuleFromScript(const QString& name, const QString& script)
{
    PythonQtObjectPtr module;
    if (!d->initialized || !Py_IsInitialized())
        return module;
    PythonQtGILScope scope;
    const QByteArray utf8Name = name.toUtf8();
    module.setNewRef(PyModule_New(utf8Name.constData()));
    PyObject* modules = PyImport_GetModuleDict();
    if (module.isNull() || PyDict_SetItemString(modules, utf8Name.constData(), module) < 0
        || PyDict_SetItemString(PyModule_GetDict(module), "__builtins__", PyEval_GetBuiltins()) < 0) {
        PythonQtErrors::printAndClear();
        return PythonQtObjectPtr();
    }
    if (!script.isEmpty()) {
        PyObject* result = PyRun_String(script.toUtf8().constData(), Py_file_input, PyModule_GetDict(module),
                                        PyModule_GetDict(module));
        if (!result) {
            PythonQtErrors::printAndClear();
            return PythonQtObjectPtr();
        }
        Py_DECREF(result);
    }
    return module;
}

QStringList PythonQt::introspectObject(PyObject* object, ObjectType type)
{
    if (!object || !Py_IsInitialized())
        return QStringList();
    PythonQtGILScope scope;
    return PythonQtIntrospection::names(object, type);
}

QStringList PythonQt::introspection(PyObject* module, const QString& dottedName, ObjectType type)
{
    if (!module || !Py_IsInitialized())
        return QStringList();
    PythonQtGILScope scope;
    PyObject* object = PythonQtIntrospection::resolve(module, dottedName);
    const QStringList names = PythonQtIntrospection::names(object, type);
    Py_XDECREF(object);
    return names;
}

bool PythonQt::hasWrapper(const QObject* object)
{
    return PythonQtInstanceWrapper::isWrapped(object);
}

void PythonQt::addSysPath(const QString& path)
{
    if (!d->initialized || !Py_IsInitialized())
        return;
    PythonQtGILScope scope;
    PyObject* sysPath = PySys_GetObject("path"); // borrowed
    const QByteArray utf8 = path.toUtf8();
    PyObject* entry = PyUnicode_FromStringAndSize(utf8.constData(), utf8.size());
    if (!sysPath || !PyList_Check(sysPath) || !entry || PyList_Insert(sysPath, 0, entry) < 0)
        PythonQtErrors::printAndClear();
    Py_XDECREF(entry);
}

PyObject* PythonQt::callAndReturnPyObject(PyObject* callable, const QVariantList& args, const QVariantMap& kwargs)
{
    if (!Py_IsInitialized())
        return nullptr;
    PythonQtGILScope scope;
    return PythonQtCall::call(callable, args, kwargs);
}
