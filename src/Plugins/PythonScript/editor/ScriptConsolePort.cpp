#include "editor/ScriptConsolePort.h"

namespace {
ScriptConsolePort* current = nullptr;
}

ScriptConsolePort::~ScriptConsolePort()
{
    if (current == this)
        current = nullptr;
}

ScriptConsolePort* ScriptConsolePort::installed()
{
    return current;
}

void ScriptConsolePort::install(ScriptConsolePort* port)
{
    current = port;
}
