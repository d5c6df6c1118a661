#pragma once

#include "BellwickHostExport.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <QVector>

class SC_SessionContext;
class SCP_PythonFunction;
class SCP_PythonModule;
class SCP_PythonRedirect;

// The host's abstract Python engine. A plug-in implements it; the host reaches Python only
// through it. Operations may be called from any thread; each takes the interpreter lock itself.
//
// Errors: no operation of the engine, its modules or its functions throws. They answer a failure
// with null, false or an invalid QVariant, and the Python error that caused it is left pending;
// the engine never reports or clears one on its own. Two exceptions: a module's execute() clears
// any pending error before it runs and reports (reportError()) and clears the one its code raised;
// queries that find nothing (module(name) of an unloaded name, a file that cannot be opened) set
// no error. The host decides when to call hasError(), reportError() or clearError():
// reportError() logs the pending error's traceback one host error message per non-blank line (or
// writes it to the installed redirect) and clears it.
class BELLWICK_HOST_EXPORT SCP_PythonEngine
{
public:
    // Holds the interpreter lock for its lifetime; made by the engine's createGILScope().
    class BELLWICK_HOST_EXPORT GILScope_Priv
    {
    public:
        virtual ~GILScope_Priv();
        virtual void release() = 0;
    };

    // Gives the interpreter lock up for its lifetime; made by createThreadStateScope().
    class BELLWICK_HOST_EXPORT ThreadStateScope_Priv
    {
    public:
        virtual ~ThreadStateScope_Priv();
        virtual void release() = 0;
    };

    // The lock scope host code opens. Without an engine argument it uses the session's engine
    // (current()); with no engine at all it holds nothing.
    class BELLWICK_HOST_EXPORT GILScope
    {
    public:
        GILScope();
        explicit GILScope(SCP_PythonEngine* engine);
        ~GILScope();
        void release();

        GILScope(const GILScope&) = delete;
        GILScope& operator=(const GILScope&) = delete;

    private:
        GILScope_Priv* m_priv;
    };

    // The same for giving the lock up while host code works without Python.
    class BELLWICK_HOST_EXPORT ThreadStateScope
    {
    public:
        ThreadStateScope();
        explicit ThreadStateScope(SCP_PythonEngine* engine);
        ~ThreadStateScope();
        void release();

        ThreadStateScope(const ThreadStateScope&) = delete;
        ThreadStateScope& operator=(const ThreadStateScope&) = delete;

    private:
        ThreadStateScope_Priv* m_priv;
    };

    SCP_PythonEngine();

    virtual SCP_PythonModule* mainModule() = 0;
    virtual SCP_PythonModule* createModule(const QString& name) = 0;
    virtual SCP_PythonModule* importModule(const QString& name, bool reload) = 0;
    virtual SCP_PythonModule* loadModule(const QString& filePath, bool reload, const QString& moduleName) = 0;
    virtual SCP_PythonModule* module(const QString& name) = 0;
    virtual QList<SCP_PythonModule*> modules() = 0;
    virtual void addSysPath(const QString& path) = 0;
    virtual bool hasError() = 0;
    virtual void clearError() = 0;
    virtual bool reportError() = 0;
    // Evaluates a Python expression in __main__.
    virtual QVariant evaluate(const QString& code);
    virtual void writeStdOut(const QString& text) = 0;
    virtual void writeStdErr(const QString& text) = 0;

protected:
    // The host never deletes an engine through a plain delete; see destroy().
    virtual ~SCP_PythonEngine();

public:
    virtual void setRedirectObject(SCP_PythonRedirect* redirect) = 0;
    virtual GILScope_Priv* createGILScope() = 0;
    virtual ThreadStateScope_Priv* createThreadStateScope() = 0;

    // A module of host helpers, made once through createModule().
    SCP_PythonModule* helpersModule();
    // Binds module into __main__ under its own name.
    void addModuleToMain(SCP_PythonModule* module);
    // The host's redirect stack; its top (or null) is handed to setRedirectObject().
    void pushRedirectObject(SCP_PythonRedirect* redirect);
    void popRedirectObject();

    // Process-wide count of lock scopes open on the main thread.
    static int& mainThreadState();

    // The engine of the session (asks the session context, which may create it); null if none.
    static SCP_PythonEngine* current();

    // Ends an engine's life; used by the host when it discards its engine.
    static void destroy(SCP_PythonEngine* engine);

private:
    SCP_PythonModule* m_helpersModule = nullptr;
    QVector<SCP_PythonRedirect*> m_redirectStack;
};
