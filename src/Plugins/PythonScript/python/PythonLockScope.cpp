#include "python/PythonLockScope.h"

#include <SCP_PythonEngine.h>

#include <QCoreApplication>
#include <QThread>

namespace {

enum class MainThreadTest : signed char { Unknown, Main, Other };

// Computed once per thread, on its first scope opened while an application object exists.
thread_local MainThreadTest mainThreadTest = MainThreadTest::Unknown;

// The host's counter, its address asked for once.
int& mainThreadCount()
{
    static int& count = SCP_PythonEngine::mainThreadState();
    return count;
}

bool isMainThread(const QCoreApplication* application)
{
    if (mainThreadTest == MainThreadTest::Unknown)
        mainThreadTest = application->thread() == QThread::currentThread() ? MainThreadTest::Main
                                                                           : MainThreadTest::Other;
    return mainThreadTest == MainThreadTest::Main;
}

}

PythonLockScope::PythonLockScope()
{
    lockScope.emplace();
    const QCoreApplication* application = QCoreApplication::instance();
    if (!application || isMainThread(application)) {
        ++mainThreadCount();
        counted = true;
    }
}

PythonLockScope::~PythonLockScope()
{
    release();
}

void PythonLockScope::release()
{
    if (!lockScope)
        return;
    if (counted) {
        int& count = mainThreadCount();
        count = count > 0 ? count - 1 : 0;
    }
    lockScope.reset();
}
