#pragma once

class QScriptEngine;
class SC_SessionContext;
class SCP_PythonEngine;
class SCP_PythonFinder;
class SCP_PythonManager;

// The services a real host offers its plug-ins, set up for one test or benchmark process. They
// live until the process ends (the interpreter is never finalised behind a test's back).
class TestHost
{
public:
    // Installs finder (a default one when null), a script engine, a scripting interface and,
    // with withSession, a session context with a Python manager.
    explicit TestHost(bool withSession = true, SCP_PythonFinder* finder = nullptr);

    // PLUG_Init, then the session's engine (null without a session or a started interpreter).
    SCP_PythonEngine* startPlugin();

    QScriptEngine* scriptEngine() const { return engine; }
    SC_SessionContext* session() const { return sessionContext; }
    SCP_PythonManager* pythonManager() const { return manager; }

private:
    QScriptEngine* engine;
    SCP_PythonManager* manager = nullptr;
    SC_SessionContext* sessionContext = nullptr;
};
