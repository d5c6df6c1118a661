#include "PythonQtThreadStates.h"

#include <atomic>
#include <mutex>

namespace {

std::atomic<unsigned> s_generation{1};
// Held by finalisation and by each thread-exit release, so that a thread never deletes its
// state while the interpreter is being torn down.
std::mutex s_teardownMutex;

struct KeptState
{
    PyThreadState* state = nullptr;
    unsigned generation = 0;
    bool owned = false;

    ~KeptState()
    {
        if (!state || !owned)
            return;
        std::lock_guard<std::mutex> lock(s_teardownMutex);
        if (generation != s_generation.load() || !Py_IsInitialized())
            return;
        // The state was made by PyGILState_Ensure, whose count we never gave back: releasing
        // that count deletes the state and the lock with it.
        PyEval_RestoreThread(state);
        PyGILState_Release(PyGILState_UNLOCKED);
    }
};

// Read on every lock scope: a static TLS slot avoids the dynamic lookup.
__attribute__((tls_model("initial-exec"))) thread_local KeptState t_kept;

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
