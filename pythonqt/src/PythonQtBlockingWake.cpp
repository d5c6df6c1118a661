#include "PythonQtBlockingWake.h"

#include "PythonQtObjectPtr.h"
#include "PythonQtPython.h"
#include "PythonQtThreadSupport.h"

#include <atomic>

#include <pthread.h>

namespace {

std::atomic<PythonQtBlockingWake::PendingCall> s_call{nullptr};
std::atomic<bool> s_installed{false};
pthread_t s_mainThread;

PyObject* onWakeSignal(PyObject*, PyObject*)
{
    const PythonQtBlockingWake::PendingCall call = s_call.load();
    if (call && call(nullptr) < 0)
        return nullptr; // the exception the call set, KeyboardInterrupt
    Py_RETURN_NONE;
}

PyMethodDef wakeHandlerDef = {"_console_wake", onWakeSignal, METH_VARARGS, nullptr};

bool install()
{
    PythonQtGILScope scope;
    PythonQtObjectPtr signalModule;
    PythonQtObjectPtr handler;
    PythonQtObjectPtr done;
    const bool installed = signalModule.setNewRef(PyImport_ImportModule("signal"))
                        && handler.setNewRef(PyCFunction_New(&wakeHandlerDef, nullptr))
                        && done.setNewRef(PyObject_CallMethod(signalModule.object(), "signal", "iO",
                                                              PythonQtBlockingWake::signalNumber(), handler.object()));
    // Not the main thread (ValueError), or no signal support: the waits stay as they are.
    PyErr_Clear();
    return installed;
}

} // namespace

void PythonQtBlockingWake::arm(PendingCall call)
{
    if (!s_installed) {
        if (!install())
            return;
        s_mainThread = pthread_self();
        s_installed = true;
    }
    if (pthread_equal(s_mainThread, pthread_self()))
        s_call = call;
}

void PythonQtBlockingWake::disarm()
{
    s_call = nullptr;
}

void PythonQtBlockingWake::wake()
{
    if (s_call.load())
        pthread_kill(s_mainThread, signalNumber());
}
