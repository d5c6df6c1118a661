#pragma once

#include <PythonQtThreadSupport.h>

#include <optional>

// Holds the interpreter lock (when PythonQt's lock scopes are on) from construction to release,
// and counts itself in the host's main-thread count while it is open on the main thread (or
// anywhere when there is no application object). Every touch of Python in the plug-in is inside
// one; the engine's scope for the host wraps one too.
class PythonLockScope
{
public:
    PythonLockScope();
    ~PythonLockScope();
    // Ends the scope early; a second release does nothing.
    void release();

    PythonLockScope(const PythonLockScope&) = delete;
    PythonLockScope& operator=(const PythonLockScope&) = delete;

private:
    // Opened very often (every reference-count change), so the PythonQt scope lives in place
    // rather than on the heap; an empty optional is a released scope.
    std::optional<PythonQtGILScope> lockScope;
    bool counted = false;
};
