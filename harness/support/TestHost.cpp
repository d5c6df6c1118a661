#include "TestHost.h"

#include "plugin/PlugInEntryPoints.h"

#include <PLUG_ScriptingInterface.h>
#include <PLUG_Services.h>
#include <SCP_PythonFinder.h>
#include <SCP_PythonManager.h>
#include <SC_SessionContext.h>

#include <QScriptEngine>

TestHost::TestHost(bool withSession, SCP_PythonFinder* finder) : engine(new QScriptEngine)
{
    SCP_PythonFinder::setInstance(finder ? finder : new SCP_PythonFinder);
    PLUG_Services::setScriptingInterface(new PLUG_ScriptingInterface(engine));
    if (withSession) {
        manager = new SCP_PythonManager;
        sessionContext = new SC_SessionContext(manager, nullptr);
    }
    PLUG_Services::setSessionContext(sessionContext);
}

SCP_PythonEngine* TestHost::startPlugin()
{
    PLUG_Init();
    return sessionContext ? sessionContext->pythonEngine() : nullptr;
}
