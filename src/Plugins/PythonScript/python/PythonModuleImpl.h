#pragma once

#include "python/PyObjectPtr.h"

#include <SCP_PythonModule.h>

#include <QObject>
#include <QString>

#include <unordered_map>

class SCP_PythonEngine;
class SCP_PythonFunction;

// A Python module as the host holds it. Its engine is its parent and owner; it owns the function
// objects it lists. Name, file name and function list are cached on first use.
class PythonModuleImpl : public QObject, public SCP_PythonModule
{
    Q_OBJECT
public:
    // module must be a real module; the wrapper takes its own reference. The engine is seen
    // through its host interface and its QObject side, so that this layer needs nothing above it.
    PythonModuleImpl(PyObject* module, SCP_PythonEngine* engine, QObject* owner);
    ~PythonModuleImpl() override;

    const QString& name() override;
    const QString& fileName() override;
    void reload() override;
    void addModule(SCP_PythonModule* module) override;
    bool hasModule(SCP_PythonModule* module) override;
    QVariant execute(const QString& code) override;
    QVariant call(const QString& functionName, QVariantList args) override;
    QList<SCP_PythonFunction*> functions() override;

    virtual QVariant call(const QString& functionName);

    PyObject* pyModule() const { return module.object(); }

private:
    // The held object when it is a real module (an entry of sys.modules may be anything), else null.
    PyObject* realModule() const;
    // The module's namespace (borrowed); null, with no error set, when the wrapped object is
    // not a module.
    PyObject* namespaceDict() const;
    void forgetFunctions();
    // The interned Python str of a name call() looks up (borrowed from the cache); null when
    // the name cannot be made one.
    PyObject* callKey(const QString& functionName);

    PyObjectPtr module;
    SCP_PythonEngine* engine;
    QString nameCache;
    QString fileNameCache;
    QList<SCP_PythonFunction*> functionList;
    bool functionsCached = false;
    static constexpr size_t maxCallKeys = 256;
    std::unordered_map<QString, PyObjectPtr> callKeys;
};
