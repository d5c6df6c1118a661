#include "console/PythonScriptConsoleRegistration.h"
#include "console/PythonScriptsListTypes.h"
#include "engine/PythonEngineCreation.h"
#include "plugin/PlugInEntryPoints.h"
#include "plugin/PythonEnvironment.h"
#include "plugin/PythonScript.h"

#include <PLUG_ScriptingInterface.h>
#include <PLUG_Services.h>
#include <SCP_PythonFinder.h>
#include <SCP_PythonManager.h>
#include <SC_SessionContext.h>

#include <cstdio>

#define PLUG_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

void initialize()
{
    SCP_PythonFinder* finder = SCP_PythonFinder::instance();
    if (!finder)
        return;
    finder->initialize();
    if (!finder->buildPythonEnvironment())
        return;
    setUpPythonEnvironment(finder);

    PythonScript* plugin = PythonScript::instance();
    if (!plugin->isInitialized())
        return;
    if (PLUG_ScriptingInterface* scripting = PLUG_Services::getScriptingInterface())
        scripting->registerObject(plugin, QStringLiteral("PythonManager"));
    SC_SessionContext* session = PLUG_Services::getSessionContext();
    if (session && session->pythonManager()) {
        std::printf("Python Manager Callback Registration.\n");
        std::fflush(stdout);
        session->pythonManager()->registerEngineCreationCallback(createPythonEngine);
    }
}

// Nothing may leave an entry point as an exception.
template <typename Step>
void guarded(Step step)
{
    try {
        step();
    } catch (...) {
    }
}

}

PLUG_EXPORT void PLUG_Init()
{
    guarded(registerScriptsListTypes);
    guarded(initialize);
}

PLUG_EXPORT void PLUG_Polish()
{
    guarded(registerConsoleView);
}

PLUG_EXPORT void PLUG_Unpolish()
{
    guarded(unregisterConsoleView);
}
