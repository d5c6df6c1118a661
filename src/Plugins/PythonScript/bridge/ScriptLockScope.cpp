#include "ScriptLockScope.h"

ScriptLockScope::ScriptLockScope()
    : engine(SCP_PythonEngine::current())
    , hostScope(engine)
{
    if (!engine)
        fallbackScope.emplace();
}
