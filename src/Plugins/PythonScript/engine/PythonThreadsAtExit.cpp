#include <PythonQtPython.h>

#include "engine/PythonThreadsAtExit.h"

#include "engine/EngineGILScope.h"
#include "python/PyObjectPtr.h"

#include <PythonQtConv.h>

namespace {

// threading._shutdown (atexit hooks, then the joins) runs on a helper thread while the caller
// waits with a time limit; finalisation, which calls it again by name, then finds a no-op.
const char* const finishSource = R"(
def finish(limit):
    import sys
    threading = sys.modules.get('threading')
    if threading is None:
        return []
    import _thread
    original = threading._shutdown
    done = _thread.allocate_lock()
    done.acquire()
    def shut_down():
        try:
            original()
        finally:
            done.release()
    _thread.start_new_thread(shut_down, ())
    finished = done.acquire(timeout=limit)
    threading._shutdown = lambda: None
    if finished:
        return []
    return [t.name for t in threading.enumerate()
            if t.is_alive() and not t.daemon and t is not threading.current_thread()
            and t is not threading.main_thread()]
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
