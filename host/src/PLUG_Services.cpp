#include "PLUG_Services.h"

#include <QHash>

namespace {

struct Registry
{
    PLUG_ScriptingInterface* scriptingInterface = nullptr;
    SC_SessionContext* sessionContext = nullptr;
    AC_Manager* actionManager = nullptr;
    LXLayoutManager* layoutManager = nullptr;
    LXToolbarService* toolbarService = nullptr;
    QHash<QString, QString> pluginPaths;
};

Registry& registry()
{
    static Registry services;
    return services;
}

} // namespace

PLUG_ScriptingInterface* PLUG_Services::getScriptingInterface() { return registry().scriptingInterface; }
SC_SessionContext* PLUG_Services::getSessionContext() { return registry().sessionContext; }
AC_Manager* PLUG_Services::getActionManager() { return registry().actionManager; }
LXLayoutManager* PLUG_Services::getLayoutManager() { return registry().layoutManager; }
LXToolbarService* PLUG_Services::getToolbarService() { return registry().toolbarService; }

QString PLUG_Services::getPluginPath(const QString& name)
{
    return registry().pluginPaths.value(name);
}

void PLUG_Services::setScriptingInterface(PLUG_ScriptingInterface* service) { registry().scriptingInterface = service; }
void PLUG_Services::setSessionContext(SC_SessionContext* service) { registry().sessionContext = service; }
void PLUG_Services::setActionManager(AC_Manager* service) { registry().actionManager = service; }
void PLUG_Services::setLayoutManager(LXLayoutManager* service) { registry().layoutManager = service; }
void PLUG_Services::setToolbarService(LXToolbarService* service) { registry().toolbarService = service; }

void PLUG_Services::setPluginPath(const QString& name, const QString& folder)
{
    registry().pluginPaths.insert(name, folder);
}
