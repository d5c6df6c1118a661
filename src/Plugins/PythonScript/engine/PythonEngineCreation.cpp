#include "engine/PythonEngineCreation.h"

#include "engine/PythonEngineImpl.h"

#include <PythonQt.h>

namespace {
SCP_PythonEngine* processEngine = nullptr;
}

SCP_PythonEngine* createPythonEngine(SC_SessionContext* context)
{
    if (!PythonQt::self() || !PythonQt::self()->initSuccessfully())
        return nullptr;
    if (processEngine)
        return processEngine;
    if (!context)
        return nullptr;
    processEngine = new PythonEngineImpl(context);
    return processEngine;
}
