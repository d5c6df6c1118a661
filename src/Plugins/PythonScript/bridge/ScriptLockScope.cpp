#include "ScriptLockScope.h"

ScriptLockScope::ScriptLockScope()
    : ScriptLockScope(SCP_PythonEngine::current())
{
}

ScriptLockScope::ScriptLockScope(SCP_PythonEngine* engine)
    : hostScope(engine)
{
    if (!engine)
        fallbackScope.emplace();
}
