#pragma once

#include <QSet>
#include <QString>

#include <memory>

class AC_Manager;
class BUIAPP_Application;
class CO_CommandManager;
class HostScriptApi;
class LXLayoutManager;
class LXToolbarService;
class PLUG_ScriptingInterface;
class QScriptEngine;
class SC_SessionContext;
class SCP_PythonFinder;
class SCP_PythonManager;

// Everything the host offers its plug-in, made and published in PLUG_Services (and the finder and
// application instances) for its lifetime, except the services named in `without`.
class HostServices
{
public:
    explicit HostServices(const QSet<QString>& without);
    ~HostServices();

    QScriptEngine* scriptEngine() const { return m_scriptEngine.get(); }
    HostScriptApi* scriptApi() const { return m_scriptApi.get(); }
    LXLayoutManager* layoutManager() const { return m_layoutManager.get(); }
    CO_CommandManager* commandManager() const { return m_commandManager.get(); }
    BUIAPP_Application* application() const { return m_application.get(); }

    // Once the plug-in has started Python: gives the Python manager's load messages what the host
    // knows (the interpreter's version line, the executable and home of the installation).
    void recordPythonLoadMessages();

    HostServices(const HostServices&) = delete;
    HostServices& operator=(const HostServices&) = delete;

private:
    std::unique_ptr<SCP_PythonFinder> m_finder;
    std::unique_ptr<QScriptEngine> m_scriptEngine;
    std::unique_ptr<HostScriptApi> m_scriptApi;
    std::unique_ptr<PLUG_ScriptingInterface> m_scriptingInterface;
    std::unique_ptr<SCP_PythonManager> m_pythonManager;
    std::unique_ptr<CO_CommandManager> m_commandManager;
    std::unique_ptr<SC_SessionContext> m_sessionContext;
    std::unique_ptr<AC_Manager> m_actionManager;
    std::unique_ptr<LXLayoutManager> m_layoutManager;
    std::unique_ptr<LXToolbarService> m_toolbarService;
    std::unique_ptr<BUIAPP_Application> m_application;
};
