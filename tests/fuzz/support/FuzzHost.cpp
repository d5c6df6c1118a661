// Before Qt, whose "slots" macro clashes with Python's headers.
#include <PythonQtPython.h>

#include "support/FuzzHost.h"

#include "support/AllocationCap.h"
#include "support/TestFiles.h"

#include <PythonQtThreadSupport.h>
#include <SCP_PythonEngine.h>

#include <cstdio>
#include <cstdlib>

namespace {
int argc = 1;
char name[] = "fuzz";
char* argv[] = {name, nullptr};

// Deep enough for the engine's own calls, shallow enough for a sanitised build's stack.
constexpr int recursionLimit = 200;

// The application's argument count; fuzzing needs no display.
int& offscreenArgc()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return argc;
}
}

FuzzHost& FuzzHost::instance()
{
    static FuzzHost host;
    return host;
}

FuzzHost::FuzzHost()
    : application(offscreenArgc(), argv)
    , pythonEngine(host.startPlugin())
{
    if (!pythonEngine || !folder.isValid()) {
        std::fprintf(stderr, "fuzz: the plug-in did not start\n");
        std::abort();
    }
    PythonQtGILScope lock;
    Py_SetRecursionLimit(recursionLimit);
    AllocationCap::install();
}

QString FuzzHost::writeFile(const QString& name, const QByteArray& content) const
{
    return ::writeFile(folder.filePath(name), content);
}
