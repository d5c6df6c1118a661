#pragma once

#include "support/TestHost.h"

#include <QMainWindow>
#include <QTemporaryDir>

class AC_Manager;
class CO_CommandManager;
class LXLayoutManager;
class LXToolbarService;
class PythonScriptConsoleTextEdit;
class PythonScriptConsoleView;
class QUndoStack;
class SC_SessionContext;
class SCP_PythonManager;

// A host with everything the console asks for: a session with load messages and a command
// history, action, layout and toolbar services, preferences in a temporary file, the plug-in
// started and polished, and a main window showing the console's dock.
class ConsoleHost
{
public:
    explicit ConsoleHost(const QStringList& loadMessages = {QStringLiteral("A"), QStringLiteral("B")});
    ~ConsoleHost();

    QMainWindow* window() { return &mainWindow; }
    PythonScriptConsoleView* view() const;
    // The working view's editor (null when the dock holds none).
    PythonScriptConsoleTextEdit* editor() const;
    QUndoStack* undoStack() const;
    SC_SessionContext* session() const { return sessionContext; }
    SCP_PythonManager* pythonManager() const { return manager; }
    LXLayoutManager* layoutManager() const { return layout; }
    QString preferencesFile() const;

    // The editor's text after its last prompt.
    QString commandLine() const;

    ConsoleHost(const ConsoleHost&) = delete;
    ConsoleHost& operator=(const ConsoleHost&) = delete;

private:
    QTemporaryDir preferences;
    TestHost host;
    CO_CommandManager* commands;
    SCP_PythonManager* manager;
    SC_SessionContext* sessionContext;
    AC_Manager* actions;
    LXLayoutManager* layout;
    LXToolbarService* toolbars;
    QMainWindow mainWindow;
};
