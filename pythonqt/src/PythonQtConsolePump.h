#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

// A helper thread that, while it runs, asks the interpreter at a fixed interval to call a
// function on its main thread between two bytecodes. A request is only made again once the
// previous one was served, so a main thread blocked in C never fills the interpreter's queue.
class PythonQtConsolePump
{
public:
    using PendingCall = int (*)(void*);

    static constexpr int intervalMs = 25;

    void start(PendingCall call);
    void stop();
    // Asks at once; wakes the evaluation loop when called on the main thread.
    void requestNow();
    // Called by the pending call when it runs.
    void served();

    ~PythonQtConsolePump() { stop(); }

private:
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = false;
    std::atomic<bool> m_requested{false};
    PendingCall m_call = nullptr;
};
