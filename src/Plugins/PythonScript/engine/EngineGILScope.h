#pragma once

#include "engine/PythonEngineImpl.h"

#include <PythonQtThreadSupport.h>

#include <optional>

// Holds the interpreter lock (when PythonQt's lock scopes are on) from construction to release,
// and counts itself in the host's main-thread count while it is open on the main thread (or
// anywhere when there is no application object).
class PythonEngineImpl::EngineGILScope : public SCP_PythonEngine::GILScope_Priv
{
public:
    EngineGILScope();
    ~EngineGILScope() override;
    // Ends the scope early; a second release does nothing.
    void release() override;

    EngineGILScope(const EngineGILScope&) = delete;
    EngineGILScope& operator=(const EngineGILScope&) = delete;

private:
    // Opened very often (every reference-count change), so the PythonQt scope lives in place
    // rather than on the heap; an empty optional is a released scope.
    std::optional<PythonQtGILScope> lockScope;
    bool counted = false;
};
