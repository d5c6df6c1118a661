#include "SC_SessionContext.h"

#include "SCP_PythonEngine.h"
#include "SCP_PythonManager.h"

SC_SessionContext::SC_SessionContext(SCP_PythonManager* pythonManager, CO_CommandManager* commandManager)
    : m_pythonManager(pythonManager), m_commandManager(commandManager)
{
}

SC_SessionContext::~SC_SessionContext()
{
    releasePythonEngine();
}

SCP_PythonEngine* SC_SessionContext::pythonEngine()
{
    if (!m_pythonEngine && m_pythonManager) {
        if (auto callback = m_pythonManager->engineCreationCallback())
            m_pythonEngine = callback(this);
    }
    return m_pythonEngine;
}

void SC_SessionContext::releasePythonEngine()
{
    SCP_PythonEngine* engine = m_pythonEngine;
    m_pythonEngine = nullptr;
    SCP_PythonEngine::destroy(engine);
}
