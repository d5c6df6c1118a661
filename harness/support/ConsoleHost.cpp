#include "support/ConsoleHost.h"

#include "console/PythonScriptConsoleImpl.h"
#include "console/PythonScriptConsoleTextEdit.h"
#include "plugin/PlugInEntryPoints.h"

#include <AC_Manager.h>
#include <CO_CommandManager.h>
#include <LXToolbarService.h>
#include <PLUG_Services.h>
#include <SCP_PythonManager.h>

ConsoleHost::ConsoleHost()
    : layout(new LXLayoutManager(&lxPref))
{
    lxPref.setStorageFile(preferenceFolder.filePath(QStringLiteral("preferences.ini")));
    auto* manager = new SCP_PythonManager;
    manager->addLoadMessage(QStringLiteral("A"));
    manager->addLoadMessage(QStringLiteral("B"));
    sessionContext = new SC_SessionContext(manager, new CO_CommandManager);
    auto* actions = new AC_Manager;
    PLUG_Services::setSessionContext(sessionContext);
    PLUG_Services::setActionManager(actions);
    PLUG_Services::setLayoutManager(layout);
    PLUG_Services::setToolbarService(new LXToolbarService(actions));
    PLUG_Services::setPluginPath(QStringLiteral("PythonScript"), qEnvironmentVariable("BELLWICK_BIN_DIR"));
    PLUG_Init();
    sessionContext->pythonEngine();
    PLUG_Polish();
    layout->setMainWindow(&mainWindow);
    mainWindow.resize(800, 600);
    mainWindow.show();
}

PythonScriptConsoleView* ConsoleHost::view() const
{
    return dynamic_cast<PythonScriptConsoleView*>(layout->view(QStringLiteral("Python Script Console")));
}

PythonScriptConsoleTextEdit* ConsoleHost::editor() const
{
    PythonScriptConsoleView* console = view();
    return console && console->consoleImpl() ? console->consoleImpl()->consoleEditor() : nullptr;
}
