#include "console/PythonScriptConsoleRegistration.h"
#include "console/PythonScriptsListTypes.h"
#include "engine/PythonEngineImpl.h"
#include "plugin/PlugInEntryPoints.h"
#include "plugin/PythonEnvironment.h"
#include "plugin/PythonStartup.h"
#include "plugin/ScriptViewsWiring.h"
#include "bridge/PythonScript.h"

#include <PLUG_EntryPoint.h>
#include <PLUG_ScriptingInterface.h>
#include <PLUG_Services.h>
#include <SCP_PythonFinder.h>
#include <SCP_PythonManager.h>
#include <SC_SessionContext.h>

#include <cstdio>

namespace {

void initialize()
{
    SCP_PythonFinder* finder = SCP_PythonFinder::readyInstance();
    if (!finder)
        return;
    setUpPythonEnvironment(finder);

    // The layers below reach start-up and the plug-in object only through what is installed here.
    PythonScript::setInterpreterStartUp({&PythonStartup::start, &PythonStartup::finish});
    PythonEngineImpl::setPluginObjectHook([] { PythonScript::instance(); });
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

}

PLUG_EXPORT void PLUG_Init()
{
    PLUG_guarded(registerScriptsListTypes);
    PLUG_guarded(initialize);
}

PLUG_EXPORT void PLUG_Polish()
{
    PLUG_guarded(registerConsoleView);
    PLUG_guarded(wireScriptViews);
}

PLUG_EXPORT void PLUG_Unpolish()
{
    PLUG_guarded(unregisterConsoleView);
}
