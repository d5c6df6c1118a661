#pragma once

#include <QString>

// Where the script views send Python to run: the console, reached through the plug-in, which
// installs the port (the views do not know the console).
class ScriptConsolePort
{
public:
    virtual ~ScriptConsolePort();
    // Runs code in the console as typed code runs; false when no console can take it now.
    virtual bool runCommand(const QString& code) = 0;

    // Null until the plug-in installs one. The port is not owned.
    static ScriptConsolePort* installed();
    static void install(ScriptConsolePort* port);
};
