#pragma once

#include "editor/ScriptConsolePort.h"

// The script views' way into the console: the console area's working view runs what they send,
// and its dock comes to the front.
class ConsoleScriptPort : public ScriptConsolePort
{
public:
    bool runCommand(const QString& code) override;
};
