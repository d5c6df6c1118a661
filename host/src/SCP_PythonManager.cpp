#include "SCP_PythonManager.h"

void SCP_PythonManager::registerEngineCreationCallback(EngineCreationCallback callback)
{
    m_callback = callback;
}
