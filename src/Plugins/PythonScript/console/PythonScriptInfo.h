#pragma once

#include <QString>

class SCP_PythonModule;

// One Python script file of the host's scripts folder and whether the engine has it loaded.
struct PythonScriptInfo
{
    QString name;
    QString filePath;
    bool loaded = false;
    QString auxText;
    // The engine's module for the script, not owned: the engine owns its modules.
    SCP_PythonModule* module = nullptr;
    bool auxFlag = false;
};
