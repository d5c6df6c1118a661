#pragma once

#include "python/PythonModuleImpl.h"

#include <PythonQtExport.h>
#include <SCP_PythonEngine.h>

#include <QMap>
#include <QObject>
#include <QSet>
#include <QString>


// The one Python engine of the process. Every operation takes the interpreter lock itself, so
// the host may call it from any thread; its slots run on the thread that created it.
class PythonEngineImpl : public QObject, public SCP_PythonEngine
{
    Q_OBJECT
public:
    class EngineGILScope;
    class EngineThreadStateScope;

    // How long destruction waits for Python threads that are still running before it finalises
    // the interpreter without them.
    static constexpr double threadWaitAtExitSeconds = 5.0;

    explicit PythonEngineImpl(SC_SessionContext* context);

    // What addSysPath runs first to make sure the plug-in object exists. The engine sits below the
    // plug-in object, so the entry layer installs this before the first engine is made.
    static void setPluginObjectHook(void (*hook)());

    PythonModuleImpl* mainModule() override;
    SCP_PythonModule* createModule(const QString& name) override;
    PythonModuleImpl* importModule(const QString& name, bool reload) override;
    SCP_PythonModule* loadModule(const QString& filePath, bool reload, const QString& moduleName) override;
    PythonModuleImpl* module(const QString& name) override;
    QList<SCP_PythonModule*> modules() override;
    void addSysPath(const QString& path) override;
    bool hasError() override;
    void clearError() override;
    bool reportError() override;
    void writeStdOut(const QString& text) override;
    void writeStdErr(const QString& text) override;

protected:
    ~PythonEngineImpl() override;

public:
    void setRedirectObject(SCP_PythonRedirect* redirect) override;
    GILScope_Priv* createGILScope() override;
    ThreadStateScope_Priv* createThreadStateScope() override;

public slots:
    void onPythonOut(const QString& text);
    void onPythonErr(const QString& text);

private:
    void recordSysPath();
    // Wraps a module object (borrowed) and files the wrapper under name.
    PythonModuleImpl* fileModule(const QString& name, PyObject* object);

    PythonModuleImpl* mainModuleImpl = nullptr;
    SCP_PythonRedirect* redirectObject = nullptr;
    bool capturingErrors = false;
    QString capturedErrors;
    QMap<QString, PythonModuleImpl*> moduleRegistry;
    QSet<QString> knownSysPaths;
};

// The engine-creation callback handed to the session's Python manager. Every context shares the
// one engine of the process; null while Python is not running or for a first, null, context.
SCP_PythonEngine* createPythonEngine(SC_SessionContext* context);
