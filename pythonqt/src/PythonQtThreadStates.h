#pragma once

#include "PythonQtPython.h"

// Per-thread Python thread states kept for a thread's whole life, and the guard that keeps
// their release at thread exit apart from interpreter finalisation.
class PythonQtThreadStates
{
public:
    // Whether lock scopes may touch the interpreter at all.
    static bool interpreterAlive() { return Py_IsInitialized() != 0; }
    // The attached thread state (the lock holder's), without the fatal error on none.
    static PyThreadState* attached()
    {
#if PY_VERSION_HEX >= 0x030D0000
        return PyThreadState_GetUnchecked();
#else
        return _PyThreadState_UncheckedGet();
#endif
    }
    // Whether this thread holds the lock with its own state. PyGILState_Check cannot tell once
    // a sub-interpreter was created: it then answers true on every thread.
    static bool holdsLockWithOwnState()
    {
        PyThreadState* own = PyGILState_GetThisThreadState();
        return own && attached() == own;
    }
    // Bumped by finalisation; a state remembered under an older generation is gone.
    static unsigned generation();

    // The state this thread keeps, or null when it has none in the current generation.
    static PyThreadState* keptState();
    // Creates and attaches a state owned by this thread (the caller does not hold the lock);
    // it is deleted when the thread ends.
    static PyThreadState* createKeptState();
    // Makes state (owned by someone else, e.g. the init thread's) this thread's kept state.
    static void adoptState(PyThreadState* state);

    // Called by finalisation with the lock NOT held by the caller; blocks thread-exit
    // releases while it runs and makes every kept state stale.
    static void beginFinalisation();
    static void endFinalisation();
};
