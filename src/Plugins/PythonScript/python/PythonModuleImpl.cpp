#include <PythonQtPython.h>

#include "python/PythonModuleImpl.h"

#include "python/PythonLockScope.h"
#include "python/PyStringConversion.h"
#include "python/PythonFunctionImpl.h"

#include <PythonQtConv.h>
#include <SCP_PythonEngine.h>

#include <QFileInfo>

PythonModuleImpl::PythonModuleImpl(PyObject* pyObject, SCP_PythonEngine* pythonEngine, QObject* owner)
    : QObject(owner)
    , module(pyObject)
    , engine(pythonEngine)
{
}

// The function objects go with the QObject children.
PythonModuleImpl::~PythonModuleImpl() = default;

PyObject* PythonModuleImpl::realModule() const
{
    PyObject* object = module.object();
    return object && PyModule_Check(object) ? object : nullptr;
}

PyObject* PythonModuleImpl::namespaceDict() const
{
    PyObject* object = realModule();
    return object ? PyModule_GetDict(object) : nullptr;
}

const QString& PythonModuleImpl::name()
{
    PythonLockScope lock;
    if (nameCache.isEmpty() && realModule()) {
        if (const char* moduleName = PyModule_GetName(realModule()))
            nameCache = QString::fromUtf8(moduleName);
    }
    return nameCache;
}

const QString& PythonModuleImpl::fileName()
{
    if (!fileNameCache.isEmpty())
        return fileNameCache;
    PythonLockScope lock;
    if (!realModule())
        return fileNameCache;
    const PyObjectPtr path(PyModule_GetFilenameObject(realModule()), false);
    if (!path.object())
        return fileNameCache;
    if (const char* utf8 = PyUnicode_AsUTF8(path.object()))
        fileNameCache = QFileInfo(QString::fromUtf8(utf8)).canonicalFilePath();
    return fileNameCache;
}

void PythonModuleImpl::reload()
{
    for (SCP_PythonFunction* function : std::as_const(functionList))
        delete static_cast<PythonFunctionImpl*>(function);
    forgetFunctions();

    PythonLockScope lock;
    PyObject* reloaded = PyImport_ReloadModule(module.object());
    if (!reloaded)
        return;
    module.reset(reloaded);
    Py_DecRef(reloaded);
}

void PythonModuleImpl::addModule(SCP_PythonModule* other)
{
    auto* otherImpl = dynamic_cast<PythonModuleImpl*>(other);
    if (!otherImpl)
        return;
    PythonLockScope lock;
    PyObject* dict = namespaceDict();
    PyObject* otherObject = otherImpl->pyModule();
    if (!dict || !otherObject)
        return;
    PyDict_SetItemString(dict, otherImpl->name().toUtf8().constData(), otherObject);
}

bool PythonModuleImpl::hasModule(SCP_PythonModule* other)
{
    auto* otherImpl = dynamic_cast<PythonModuleImpl*>(other);
    if (!otherImpl)
        return false;
    PythonLockScope lock;
    PyObject* dict = namespaceDict();
    PyObject* otherObject = otherImpl->pyModule();
    if (!dict || !otherObject)
        return false;
    return PyDict_GetItemString(dict, otherImpl->name().toUtf8().constData()) == otherObject;
}

QVariant PythonModuleImpl::execute(const QString& code)
{
    engine->clearError();
    // Code may define or replace functions; the objects listed so far stay valid.
    forgetFunctions();

    QVariant result;
    PythonLockScope lock;
    PyObject* dict = namespaceDict();
    if (!dict)
        return result;
    const QByteArray source = code.toUtf8();
    PyObject* value = isCompilableSource(source)
        ? PyRun_StringFlags(source.constData(), Py_file_input, dict, dict, nullptr)
        : nullptr;
    if (value) {
        result = PythonQtConv::PyObjToQVariant(value, -1);
        Py_DecRef(value);
    } else {
        engine->reportError();
    }
    return result;
}

PyObject* PythonModuleImpl::callKey(const QString& functionName)
{
    const auto cached = callKeys.find(functionName);
    if (cached != callKeys.end())
        return cached->second.object();
    // Names come from the host's code, so there are few; a caller inventing names cannot grow
    // the cache without end.
    if (callKeys.size() >= maxCallKeys)
        callKeys.clear();
    const QByteArray utf8 = functionName.toUtf8();
    PyObject* key = PyUnicode_InternFromString(utf8.constData());
    if (!key) {
        PyErr_Clear();
        return nullptr;
    }
    return callKeys.try_emplace(functionName, key, false).first->second.object();
}

QVariant PythonModuleImpl::call(const QString& functionName, QVariantList args)
{
    PythonLockScope lock;
    PyObject* dict = namespaceDict();
    if (!dict)
        return QVariant();
    // The interned name hashes once and compares by identity with the namespace's own key.
    PyObject* key = callKey(functionName);
    // A lookup that finds nothing sets no error and leaves a pending one as it was.
    PyObject* found = key ? PyDict_GetItem(dict, key) : nullptr;
    // Only plain def/lambda functions: classes, built-ins and other callables are refused.
    if (!found || Py_TYPE(found) != &PyFunction_Type)
        return QVariant();
    // The call may unbind the name; keep the function alive until it returns.
    Py_INCREF(found);
    const QVariant result = PythonFunctionImpl::callObject(found, args);
    Py_DECREF(found);
    return result;
}

QVariant PythonModuleImpl::call(const QString& functionName)
{
    return static_cast<SCP_PythonModule*>(this)->call(functionName, QVariantList());
}

QList<SCP_PythonFunction*> PythonModuleImpl::functions()
{
    if (functionsCached)
        return functionList;
    functionsCached = true;
    PythonLockScope lock;
    PyObject* dict = namespaceDict();
    if (!dict)
        return functionList;
    Py_ssize_t position = 0;
    PyObject* key = nullptr;
    PyObject* value = nullptr;
    while (PyDict_Next(dict, &position, &key, &value)) {
        if (Py_TYPE(value) == &PyFunction_Type)
            functionList.append(new PythonFunctionImpl(value, toQString(key), this));
    }
    return functionList;
}

void PythonModuleImpl::forgetFunctions()
{
    functionList.clear();
    functionsCached = false;
}
