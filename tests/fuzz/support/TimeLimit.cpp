#include "support/TimeLimit.h"

#include <PythonQtPython.h>

#include <atomic>
#include <chrono>

namespace {
// A pending call may run after its limit has ended; it then does nothing.
std::atomic<bool> armed{false};
}

TimeLimit::TimeLimit(int milliseconds)
{
    armed = true;
    thread = std::thread([this, milliseconds] {
        std::unique_lock<std::mutex> lock(mutex);
        if (!disarmed.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return done; }))
            Py_AddPendingCall(interrupt, nullptr);
    });
}

TimeLimit::~TimeLimit()
{
    armed = false;
    {
        std::lock_guard<std::mutex> lock(mutex);
        done = true;
    }
    disarmed.notify_one();
    thread.join();
}

int TimeLimit::interrupt(void*)
{
    if (!armed)
        return 0;
    PyErr_SetString(PyExc_KeyboardInterrupt, "fuzz input ran too long");
    return -1;
}
