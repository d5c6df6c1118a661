#pragma once

#include <QObject>
#include <QThread>

#include <functional>

// A host worker thread that lives for the whole benchmark run, so that whatever Python keeps per
// thread is made once, as in a real host, not once per measurement.
class BenchWorker
{
public:
    BenchWorker();
    ~BenchWorker();

    // Runs job on the worker and waits for it.
    void run(const std::function<void()>& job);
    // Queues job on the worker and returns at once.
    void post(std::function<void()> job);

    BenchWorker(const BenchWorker&) = delete;
    BenchWorker& operator=(const BenchWorker&) = delete;

private:
    QThread thread;
    QObject context;
};
