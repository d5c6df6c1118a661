#pragma once

#include <PythonQtThreadSupport.h>
#include <SCP_PythonEngine.h>

#include <optional>

// The interpreter-lock scope of the script bridge: the host's scope over the session's engine,
// or PythonQt's own when the host runs without one (no session context), so that
// "PythonManager" never touches Python unlocked.
class ScriptLockScope
{
public:
    ScriptLockScope();

    ScriptLockScope(const ScriptLockScope&) = delete;
    ScriptLockScope& operator=(const ScriptLockScope&) = delete;

private:
    explicit ScriptLockScope(SCP_PythonEngine* engine);

    SCP_PythonEngine::GILScope hostScope;
    std::optional<PythonQtGILScope> fallbackScope;
};
