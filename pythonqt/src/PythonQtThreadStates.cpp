#include "PythonQtThreadStates.h"

#include <atomic>
#include <mutex>

namespace {

std::atomic<unsigned> s_generation{1};
// Held by finalisation and by each thread-exit release, so that a thread never deletes its
// state while the interpreter is being torn down.
std::mutex s_teardownMutex;

// What a lock scope reads on every opening: plain data, so that reaching it is one TLS access
// with no per-access initialisation check.
struct KeptState
{
    PyThreadState* state;
    unsigned generation;
    bool owned;
};
thread_local KeptState t_kept{nullptr, 0, false};

// Gives a state this thread made back when the thread ends. Only threads that made one touch it,
// so only they pay for its registration.
struct KeptStateRelease
{
    ~KeptStateRelease()
    {
        const KeptState& kept = t_kept;
        if (!kept.state || !kept.owned)
            return;
        std::lock_guard<std::mutex> lock(s_teardownMutex);
        if (kept.generation != s_generation.load() || !Py_IsInitialized())
            return;
        // The state was made by PyGILState_Ensure, whose count we never gave back: releasing
        // that count deletes the state and the lock with it.
        PyEval_RestoreThread(kept.state);
        PyGILState_Release(PyGILState_UNLOCKED);
    }
};
thread_local KeptStateRelease t_keptRelease;

} // namespace

unsigned PythonQtThreadStates::generation()
{
    return s_generation.load(std::memory_order_relaxed);
}

PyThreadState* PythonQtThreadStates::keptState()
{
    KeptState& kept = t_kept;
    return kept.generation == generation() ? kept.state : nullptr;
}

PyThreadState* PythonQtThreadStates::createKeptState()
{
    PyGILState_Ensure();
    static_cast<void>(&t_keptRelease); // registers the release at this thread's exit
    KeptState& kept = t_kept;
    kept.state = PyThreadState_Get();
    kept.generation = generation();
    kept.owned = true;
    return kept.state;
}

void PythonQtThreadStates::adoptState(PyThreadState* state)
{
    KeptState& kept = t_kept;
    kept.state = state;
    kept.generation = generation();
    kept.owned = false;
}

void PythonQtThreadStates::beginFinalisation()
{
    s_teardownMutex.lock();
    s_generation.fetch_add(1);
}

void PythonQtThreadStates::endFinalisation()
{
    s_teardownMutex.unlock();
}
