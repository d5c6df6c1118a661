#include "support/ConsoleHost.h"

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

#include <QDockWidget>
#include <QUndoStack>

ConsoleHost::ConsoleHost(const QStringList& loadMessages)
    : host(false),
      commands(new CO_CommandManager),
      manager(new SCP_PythonManager),
      sessionContext(new SC_SessionContext(manager, commands)),
      actions(new AC_Manager),
      layout(new LXLayoutManager(&lxPref)),
      toolbars(new LXToolbarService(actions))
{
    lxPref.setStorageFile(preferencesFile());
    for (const QString& message : loadMessages)
        manager->addLoadMessage(message);
    PLUG_Services::setSessionContext(sessionContext);
    PLUG_Services::setActionManager(actions);
    PLUG_Services::setLayoutManager(layout);
    PLUG_Services::setToolbarService(toolbars);
    PLUG_Services::setPluginPath(QStringLiteral("PythonScript"), qEnvironmentVariable("BELLWICK_BIN_DIR"));
    PLUG_Init();
    sessionContext->pythonEngine();
    PLUG_Polish();
    layout->setMainWindow(&mainWindow);
    mainWindow.resize(900, 600);
    mainWindow.show();
}

// The services stay for the process: the interpreter and the plug-in's objects outlive a test.
ConsoleHost::~ConsoleHost()
{
    layout->setMainWindow(nullptr);
}

QString ConsoleHost::preferencesFile() const
{
    return preferences.filePath(QStringLiteral("preferences.ini"));
}

PythonScriptConsoleView* ConsoleHost::view() const
{
    return dynamic_cast<PythonScriptConsoleView*>(layout->view(QStringLiteral("Python Script Console")));
}

PythonScriptConsoleTextEdit* ConsoleHost::editor() const
{
    QDockWidget* dock = layout->dock(QStringLiteral("Python Script Console"));
    return dock ? dock->findChild<PythonScriptConsoleTextEdit*>() : nullptr;
}

QUndoStack* ConsoleHost::undoStack() const
{
    return commands->undoStack();
}

QString ConsoleHost::commandLine() const
{
    PythonScriptConsoleTextEdit* edit = editor();
    return edit->toPlainText().mid(edit->commandPromptPosition());
}
