#include "PythonQtConsolePump.h"

#include "PythonQtBlockingWake.h"
#include "PythonQtPython.h"

#include <chrono>

namespace {

// Up to 3.11 a request made on a thread other than the main one does not wake the main thread's
// evaluation loop; taking the interpreter lock for a moment does (the main thread hands the
// lock over and, taking it back, sees the request).
int requestCall(PythonQtConsolePump::PendingCall call)
{
    const PyGILState_STATE state = PyGILState_Ensure();
    const int result = Py_AddPendingCall(call, nullptr);
    PyGILState_Release(state);
    return result;
}

} // namespace

void PythonQtConsolePump::start(PendingCall call)
{
    stop();
    m_call = call;
    m_stopping = false;
    m_thread = std::thread([this] {
        std::unique_lock<std::mutex> lock(m_mutex);
        while (!m_wake.wait_for(lock, std::chrono::milliseconds(intervalMs), [this] { return m_stopping; })) {
            lock.unlock();
            if (m_requested.exchange(true)) // not served for an interval: the main thread waits in C
                PythonQtBlockingWake::wake();
            else if (requestCall(m_call) != 0)
                m_requested = false;
            lock.lock();
        }
    });
}

void PythonQtConsolePump::stop()
{
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    // The helper may be waiting for the interpreter lock that this thread holds.
    if (Py_IsInitialized() && PyGILState_Check()) {
        PyThreadState* state = PyEval_SaveThread();
        m_thread.join();
        PyEval_RestoreThread(state);
    } else {
        m_thread.join();
    }
}

void PythonQtConsolePump::requestNow()
{
    if (m_call && !m_requested.exchange(true) && Py_AddPendingCall(m_call, nullptr) != 0)
        m_requested = false;
}

void PythonQtConsolePump::served()
{
    m_requested = false;
}
