#include "python/PythonInclude.h"

#include "plugin/PythonScript.h"

#include <PLUG_ScriptingInterface.h>
#include <PLUG_Services.h>
#include <PythonQt.h>
#include <PythonQtThreadSupport.h>
#include <SCP_PythonFinder.h>
#include <ST_BatchParams.h>

#include <QCoreApplication>

namespace {
PythonScript* pluginObject = nullptr;

void logFailedStart()
{
    SCP_PythonFinder::logPythonInit(QCoreApplication::translate("PythonScript", "\nFailed to initialize Python."));
    if (PythonQt::self())
        SCP_PythonFinder::logPythonInit(PythonQt::self()->initError());
    SCP_PythonFinder::logPythonInit(
        QCoreApplication::translate("PythonScript", "\nPotential mismatch in PYTHONPATH path and PYTHON_LIB_PATH"));
    SCP_PythonFinder::logPythonInit(QCoreApplication::translate(
        "PythonScript",
        "    PYTHON_LIB_PATH preference defines a custom location from which Bellwick will load Python and "
        "its linked libraries."));
    SCP_PythonFinder::logPythonInit(QCoreApplication::translate(
        "PythonScript", "    PYTHONPATH preference defines the location from which Python load its libraries."));
}
}

PythonScript* PythonScript::instance()
{
    if (!pluginObject)
        pluginObject = new PythonScript;
    return pluginObject;
}

PythonScript::PythonScript()
    : SCR_AbstractInterface(nullptr, QStringLiteral("PythonManager"))
{
    startPython();
}

void PythonScript::startPython()
{
    if (ST_BatchParams::isBatchPython()) {
        // The batch host runs the interpreter itself; only its lock scopes are switched on.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        PyEval_InitThreads();
#pragma GCC diagnostic pop
        PythonQtGILScope::setGILScopeEnabled(true);
        return;
    }
    PLUG_ScriptingInterface* scripting = PLUG_Services::getScriptingInterface();
    if (!scripting)
        return;
    scriptEngine = scripting->scriptEngine();
    if (!scriptEngine)
        return;

    PythonQt::init(PythonQt::RedirectStdOut | PythonQt::IgnoreSiteModule, QByteArray());
    if (!PythonQt::self() || !PythonQt::self()->initSuccessfully()) {
        logFailedStart();
        return;
    }
    initialized = true;
    // The script engine's conversions of PyObjectWrapper* are registered here, before the
    // threads start.
    PythonQt::self()->startThreads();
    SCP_PythonFinder::logPythonInit(QCoreApplication::translate("PythonScript", "Python script plugin initialized.\n"));
}
