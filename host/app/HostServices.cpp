#include "HostServices.h"

#include "AC_Manager.h"
#include "BUIAPP_Application.h"
#include "CO_CommandManager.h"
#include "HostScriptApi.h"
#include "LXLayoutManager.h"
#include "LXToolbarService.h"
#include "PLUG_ScriptingInterface.h"
#include "PLUG_Services.h"
#include "PR_Preference.h"
#include "SCP_PythonEngine.h"
#include "SCP_PythonFinder.h"
#include "SCP_PythonManager.h"
#include "SC_SessionContext.h"

#include <QCoreApplication>
#include <QScriptEngine>

HostServices::HostServices(const QSet<QString>& without)
{
    auto wanted = [&without](const char* name) { return !without.contains(QLatin1String(name)); };

    if (wanted("finder"))
        m_finder = std::make_unique<SCP_PythonFinder>();
    SCP_PythonFinder::setInstance(m_finder.get());

    if (wanted("script-engine")) {
        m_scriptEngine = std::make_unique<QScriptEngine>();
        m_scriptApi = std::make_unique<HostScriptApi>(m_scriptEngine.get());
        m_scriptApi->install();
    }
    if (wanted("scripting-interface"))
        m_scriptingInterface = std::make_unique<PLUG_ScriptingInterface>(m_scriptEngine.get());
    PLUG_Services::setScriptingInterface(m_scriptingInterface.get());

    if (wanted("python-manager"))
        m_pythonManager = std::make_unique<SCP_PythonManager>();
    if (wanted("command-manager"))
        m_commandManager = std::make_unique<CO_CommandManager>();
    if (wanted("session-context"))
        m_sessionContext = std::make_unique<SC_SessionContext>(m_pythonManager.get(), m_commandManager.get());
    PLUG_Services::setSessionContext(m_sessionContext.get());

    if (wanted("action-manager"))
        m_actionManager = std::make_unique<AC_Manager>();
    PLUG_Services::setActionManager(m_actionManager.get());
    if (wanted("layout-manager"))
        m_layoutManager = std::make_unique<LXLayoutManager>(&lxPref);
    PLUG_Services::setLayoutManager(m_layoutManager.get());
    m_toolbarService = std::make_unique<LXToolbarService>(m_actionManager.get());
    PLUG_Services::setToolbarService(m_toolbarService.get());

    m_application = std::make_unique<BUIAPP_Application>();
    BUIAPP_Application::setInstance(m_application.get());
}

// The engine goes first (it may still use the other services), the registrations before the
// objects they point at.
HostServices::~HostServices()
{
    if (m_sessionContext)
        m_sessionContext->releasePythonEngine();
    BUIAPP_Application::setInstance(nullptr);
    PLUG_Services::setToolbarService(nullptr);
    PLUG_Services::setLayoutManager(nullptr);
    PLUG_Services::setActionManager(nullptr);
    PLUG_Services::setSessionContext(nullptr);
    PLUG_Services::setScriptingInterface(nullptr);
    SCP_PythonFinder::setInstance(nullptr);
}

void HostServices::recordPythonLoadMessages()
{
    SCP_PythonEngine* engine = m_sessionContext ? m_sessionContext->pythonEngine() : nullptr;
    if (!engine || !m_pythonManager)
        return;
    const QVariant version = engine->evaluate(QStringLiteral("__import__('sys').version"));
    if (version.isValid())
        m_pythonManager->addLoadMessage(QStringLiteral("Python %1").arg(version.toString().simplified()));
    else
        engine->clearError();
    if (m_finder && !m_finder->pythonExecutablePath().isEmpty())
        m_pythonManager->addLoadMessage(
            QCoreApplication::translate("HostServices", "Executable: %1").arg(m_finder->pythonExecutablePath()));
    if (m_finder && !m_finder->homePath().isEmpty())
        m_pythonManager->addLoadMessage(QCoreApplication::translate("HostServices", "Home: %1").arg(m_finder->homePath()));
}
