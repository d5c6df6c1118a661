#include "support/Watchdog.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

Watchdog::Watchdog(int seconds, std::string what)
    : thread([this, seconds, what = std::move(what)] {
        std::unique_lock<std::mutex> lock(mutex);
        if (disarmed.wait_for(lock, std::chrono::seconds(seconds), [this] { return done; }))
            return;
        std::fprintf(stderr, "FAIL! watchdog: %s did not finish within %d s (deadlock?)\n", what.c_str(), seconds);
        std::fflush(stderr);
        // The stuck threads cannot be joined; end the process without running destructors.
        std::_Exit(EXIT_FAILURE);
    })
{
}

Watchdog::~Watchdog()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        done = true;
    }
    disarmed.notify_one();
    thread.join();
}
