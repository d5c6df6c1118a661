#pragma once

#include "support/TestHost.h"

#include "console/PythonScriptConsoleView.h"

#include <LXLayoutManager.h>
#include <LXLayoutView.h>
#include <PR_Preference.h>
#include <SCP_PythonEngine.h>
#include <SCP_PythonModule.h>
#include <SC_SessionContext.h>

#include <QMainWindow>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class AC_Manager;
class CO_CommandManager;
class LXToolbarService;
class PythonScriptConsoleTextEdit;
class QUndoStack;
class SCP_PythonManager;

// The plug-in started and polished as a host does it, with the console area docked in a shown
// main window: a session whose Python manager holds the load messages "A" and "B" and whose
// command manager works on an undo stack, action, layout and toolbar services, and the plug-in
// folder of the build (its "resources" beside the library).
class ConsoleHost
{
public:
    ConsoleHost();
    ~ConsoleHost();

    SC_SessionContext* session() const { return sessionContext; }
    LXLayoutManager* layoutManager() const { return layout; }
    QUndoStack* undoStack() const;
    QMainWindow* window() const { return mainWindow.get(); }
    // The working view of the console area and its editor.
    PythonScriptConsoleView* view() const;
    PythonScriptConsoleTextEdit* editor() const;

private:
    QTemporaryDir preferenceFolder;
    TestHost base;
    SCP_PythonManager* manager;
    CO_CommandManager* commands;
    SC_SessionContext* sessionContext;
    AC_Manager* actions;
    LXLayoutManager* layout;
    LXToolbarService* toolbars;
    std::unique_ptr<QMainWindow> mainWindow;
};
