#include "PythonQtThreadSupport.h"

#include "PythonQtThreadStates.h"

#include <atomic>

namespace {

std::atomic<bool> s_enabled{true};

enum ScopeState {
    NothingTaken = 0,
    KeptStateAttached = 1,
    EnsuredLocked = 2,   // PyGILState_Ensure on a foreign state, answered LOCKED
    EnsuredUnlocked = 3, // ... answered UNLOCKED
};

} // namespace

PythonQtGILScope::PythonQtGILScope()
{
    if (!s_enabled.load(std::memory_order_relaxed) || !PythonQtThreadStates::interpreterAlive())
        return;
    // Nested scopes, the init thread before startThreads() and Python calling back into C++
    // all arrive here with the lock already held by this thread. A kept state is the thread's
    // own PyGILState state, so comparing it with the attached one answers PyGILState_Check
    // without its thread-specific-storage lookup.
    PyThreadState* kept = PythonQtThreadStates::keptState();
    if (kept ? PythonQtThreadStates::attached() == kept : PythonQtThreadStates::holdsLockWithOwnState())
        return;
    m_generation = PythonQtThreadStates::generation();
    m_held = true;
    if (kept) {
        PyEval_RestoreThread(kept);
        m_state = KeptStateAttached;
    } else if (PyGILState_GetThisThreadState()) {
        // A state we did not make (e.g. a thread started by Python): it may vanish with its
        // owner, so it is only borrowed for this scope.
        m_state = PyGILState_Ensure() == PyGILState_LOCKED ? EnsuredLocked : EnsuredUnlocked;
    } else {
        PythonQtThreadStates::createKeptState();
        m_state = KeptStateAttached;
    }
}

PythonQtGILScope::~PythonQtGILScope()
{
    release();
}

void PythonQtGILScope::release()
{
    if (!m_held)
        return;
    m_held = false;
    if (m_generation != PythonQtThreadStates::generation() || !PythonQtThreadStates::interpreterAlive())
        return;
    if (m_state == KeptStateAttached)
        PyEval_SaveThread();
    else
        PyGILState_Release(m_state == EnsuredLocked ? PyGILState_LOCKED : PyGILState_UNLOCKED);
}

void PythonQtGILScope::setGILScopeEnabled(bool enabled)
{
    s_enabled.store(enabled);
}

bool PythonQtGILScope::isGILScopeEnabled()
{
    return s_enabled.load();
}
