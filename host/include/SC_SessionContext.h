#pragma once

#include "BellwickHostExport.h"

class CO_CommandManager;
class SCP_PythonEngine;
class SCP_PythonManager;

// The host's session: its Python manager, its Python engine (made on first request through the
// manager's engine-creation callback) and its command history.
class BELLWICK_HOST_EXPORT SC_SessionContext
{
public:
    SC_SessionContext(SCP_PythonManager* pythonManager, CO_CommandManager* commandManager);
    ~SC_SessionContext();

    SCP_PythonManager* pythonManager() const { return m_pythonManager; }
    CO_CommandManager* commandManager() const { return m_commandManager; }

    // Asks the registered callback the first time it gives an engine, then keeps that engine.
    SCP_PythonEngine* pythonEngine();
    // The engine if one was made, without asking for one.
    SCP_PythonEngine* existingPythonEngine() const { return m_pythonEngine; }
    // Destroys the engine (the host does this at exit).
    void releasePythonEngine();

    SC_SessionContext(const SC_SessionContext&) = delete;
    SC_SessionContext& operator=(const SC_SessionContext&) = delete;

private:
    SCP_PythonManager* m_pythonManager;
    CO_CommandManager* m_commandManager;
    SCP_PythonEngine* m_pythonEngine = nullptr;
};
