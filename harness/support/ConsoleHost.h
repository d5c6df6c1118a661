#pragma once

#include "support/TestHost.h"

#include "console/PythonScriptConsoleView.h"

#include <LXLayoutManager.h>
#include <PR_Preference.h>
#include <SCP_PythonEngine.h>
#include <SC_SessionContext.h>

#include <QMainWindow>
#include <QTemporaryDir>

class PythonScriptConsoleTextEdit;

// The plug-in started and polished as a host does it, the console area docked in a shown main
// window: a session whose Python manager holds the load messages "A" and "B" and whose command
// manager works on an undo stack, the host's UI services, the build's plug-in folder, and
// preferences of its own (a toolbar stored by an earlier run must not count).
class ConsoleHost
{
public:
    ConsoleHost();

    SC_SessionContext* session() const { return sessionContext; }
    LXLayoutManager* layoutManager() const { return layout; }
    QMainWindow* window() { return &mainWindow; }
    // The working view of the console area and its editor.
    PythonScriptConsoleView* view() const;
    PythonScriptConsoleTextEdit* editor() const;

private:
    QTemporaryDir preferenceFolder;
    TestHost base{false};
    SC_SessionContext* sessionContext;
    LXLayoutManager* layout;
    QMainWindow mainWindow;
};
