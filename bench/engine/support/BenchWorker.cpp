#include "support/BenchWorker.h"

BenchWorker::BenchWorker()
{
    context.moveToThread(&thread);
    thread.start();
}

BenchWorker::~BenchWorker()
{
    thread.quit();
    thread.wait();
}

void BenchWorker::run(const std::function<void()>& job)
{
    QMetaObject::invokeMethod(&context, job, Qt::BlockingQueuedConnection);
}

void BenchWorker::post(std::function<void()> job)
{
    QMetaObject::invokeMethod(&context, std::move(job), Qt::QueuedConnection);
}
