#pragma once

#include "BellwickHostExport.h"

#include <QString>

class AC_Manager;
class LXLayoutManager;
class LXToolbarService;
class PLUG_ScriptingInterface;
class SC_SessionContext;

// What the host offers its plug-ins. Each service may be absent (null); callers test and skip.
class BELLWICK_HOST_EXPORT PLUG_Services
{
public:
    static PLUG_ScriptingInterface* getScriptingInterface();
    static SC_SessionContext* getSessionContext();
    static AC_Manager* getActionManager();
    static LXLayoutManager* getLayoutManager();
    static LXToolbarService* getToolbarService();
    // The folder of the named plug-in's library; empty when unknown.
    static QString getPluginPath(const QString& name);

    // Set by the host application.
    static void setScriptingInterface(PLUG_ScriptingInterface* service);
    static void setSessionContext(SC_SessionContext* service);
    static void setActionManager(AC_Manager* service);
    static void setLayoutManager(LXLayoutManager* service);
    static void setToolbarService(LXToolbarService* service);
    static void setPluginPath(const QString& name, const QString& folder);
};
