#include "support/ConsoleHost.h"

#include "console/PythonScriptConsoleImpl.h"
#include "console/PythonScriptConsoleTextEdit.h"
#include "console/PythonScriptConsoleView.h"
#include "plugin/PlugInEntryPoints.h"

#include <AC_Manager.h>
#include <CO_CommandManager.h>
#include <LXLayoutManager.h>
#include <LXToolbarService.h>
#include <PLUG_Services.h>
#include <PR_Preference.h>
#include <SCP_PythonManager.h>
#include <SC_SessionContext.h>

#include <QMainWindow>

namespace {
const QString areaId = QStringLiteral("Python Script Console");
}

ConsoleHost::ConsoleHost()
    : base(false),
      manager(new SCP_PythonManager),
      commands(new CO_CommandManager),
      sessionContext(new SC_SessionContext(manager, commands)),
      actions(new AC_Manager),
      layout(new LXLayoutManager(&lxPref)),
      toolbars(new LXToolbarService(actions)),
      mainWindow(std::make_unique<QMainWindow>())
{
    // Preferences of their own: a toolbar configuration stored by an earlier run must not count.
    lxPref.setStorageFile(preferenceFolder.filePath(QStringLiteral("preferences.ini")));
    manager->addLoadMessage(QStringLiteral("A"));
    manager->addLoadMessage(QStringLiteral("B"));
    PLUG_Services::setSessionContext(sessionContext);
    PLUG_Services::setActionManager(actions);
    PLUG_Services::setLayoutManager(layout);
    PLUG_Services::setToolbarService(toolbars);
    PLUG_Services::setPluginPath(QStringLiteral("PythonScript"), qEnvironmentVariable("BELLWICK_BIN_DIR"));
    PLUG_Init();
    sessionContext->pythonEngine();
    PLUG_Polish();
    layout->setMainWindow(mainWindow.get());
    mainWindow->resize(800, 600);
    mainWindow->show();
}

ConsoleHost::~ConsoleHost() = default;

QUndoStack* ConsoleHost::undoStack() const
{
    return commands->undoStack();
}

PythonScriptConsoleView* ConsoleHost::view() const
{
    return dynamic_cast<PythonScriptConsoleView*>(layout->view(areaId));
}

PythonScriptConsoleTextEdit* ConsoleHost::editor() const
{
    PythonScriptConsoleView* console = view();
    return console && console->consoleImpl() ? console->consoleImpl()->consoleEditor() : nullptr;
}
