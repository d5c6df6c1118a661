#include <PythonQtPython.h>

#include "engine/PythonThreadsAtExit.h"

#include "engine/EngineGILScope.h"
#include "python/PyObjectPtr.h"

#include <PythonQtConv.h>

namespace {

// On the interpreter's main thread, as plain Python does at exit: threading's own exit hooks
// (concurrent.futures stops its workers there), then the joins, within the time limit in all,
// then threading._shutdown, which has nothing left to wait for but releases the main thread.
// Elsewhere threading._shutdown cannot finish while the main thread lives, so the joins alone.
// Threads still running are left to finalisation, which then finds threading._shutdown a no-op.
const char* const finishSource = R"(
def finish(limit):
    import sys
    threading = sys.modules.get('threading')
    if threading is None:
        return []
    import time
    deadline = time.monotonic() + limit
    me = threading.current_thread()
    on_main = me is threading.main_thread()
    hooks = getattr(threading, '_threading_atexits', [])
    while on_main and hooks:
        try:
            hooks.pop()()
        except Exception:
            sys.excepthook(*sys.exc_info())
    for thread in threading.enumerate():
        if thread is not me and not thread.daemon and thread is not threading.main_thread():
            thread.join(max(0.0, deadline - time.monotonic()))
    stuck = [t.name for t in threading.enumerate()
             if t.is_alive() and not t.daemon and t is not me and t is not threading.main_thread()]
    if on_main and not stuck:
        threading._shutdown()
    threading._shutdown = lambda: None
    return stuck
)";

} // namespace

QStringList finishPythonThreads(double seconds)
{
    PythonEngineImpl::EngineGILScope lock;
    const PyObjectPtr globals(PyDict_New(), false);
    if (!globals.object() || PyDict_SetItemString(globals.object(), "__builtins__", PyEval_GetBuiltins()) < 0) {
        PyErr_Clear();
        return {};
    }
    const PyObjectPtr defined(PyRun_String(finishSource, Py_file_input, globals.object(), globals.object()), false);
    PyObject* finish = PyDict_GetItemString(globals.object(), "finish"); // borrowed
    const PyObjectPtr stuck(finish ? PyObject_CallFunction(finish, "d", seconds) : nullptr, false);
    const QStringList names = PythonQtConv::PyObjToQVariant(stuck.object()).toStringList();
    PyErr_Clear();
    return names;
}
