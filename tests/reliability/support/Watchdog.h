#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

// Ends the process with a failure when it is still alive after a time limit: a deadlocked test
// fails instead of hanging. Disarmed by its destructor.
class Watchdog
{
public:
    Watchdog(int seconds, std::string what);
    ~Watchdog();

    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    std::mutex mutex;
    std::condition_variable disarmed;
    bool done = false;
    std::thread thread;
};
