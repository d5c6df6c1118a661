#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

// Raises KeyboardInterrupt in the Python code the main thread runs once a time limit has
// passed while the limit is alive: a fuzzed endless recursion ends instead of hanging.
class TimeLimit
{
public:
    explicit TimeLimit(int milliseconds);
    ~TimeLimit();

    TimeLimit(const TimeLimit&) = delete;
    TimeLimit& operator=(const TimeLimit&) = delete;

private:
    static int interrupt(void*);

    std::mutex mutex;
    std::condition_variable disarmed;
    bool done = false;
    std::thread thread;
};
