#pragma once

#include "engine/PythonEngineImpl.h"
#include "python/PythonLockScope.h"

// The lock scope the engine hands to the host (createGILScope) and opens in its own operations.
class PythonEngineImpl::EngineGILScope : public SCP_PythonEngine::GILScope_Priv
{
public:
    EngineGILScope() = default;
    // Ends the scope early; a second release does nothing.
    void release() override { scope.release(); }

private:
    PythonLockScope scope;
};
