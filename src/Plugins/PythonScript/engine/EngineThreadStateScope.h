#pragma once

#include "engine/PythonEngineImpl.h"

struct _ts;

// Gives the calling thread's interpreter lock up from construction to release. Made by the
// engine's createThreadStateScope() on a thread that holds the lock; released on that thread.
class PythonEngineImpl::EngineThreadStateScope : public SCP_PythonEngine::ThreadStateScope_Priv
{
public:
    EngineThreadStateScope();
    ~EngineThreadStateScope() override;
    // Takes the lock back; a second release does nothing.
    void release() override;

    EngineThreadStateScope(const EngineThreadStateScope&) = delete;
    EngineThreadStateScope& operator=(const EngineThreadStateScope&) = delete;

private:
    // Cell holding the saved thread state; null once released.
    _ts** savedState;
};
