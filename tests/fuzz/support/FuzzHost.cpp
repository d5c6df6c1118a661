// Before Qt, whose "slots" macro clashes with Python's headers.
#include <PythonQtPython.h>

#include "support/FuzzHost.h"

#include "support/TestFiles.h"

#include <PythonQtThreadSupport.h>

namespace {
int argc = 1;
char name[] = "fuzz";
char* argv[] = {name, nullptr};

// The largest single block Python may allocate: fuzzed code that grows a value by doubling gets
// a MemoryError instead of the machine's memory.
constexpr size_t maxBlock = size_t(64) << 20;
PyMemAllocatorEx wrappedMem, wrappedObject;

PyMemAllocatorEx* wrapped(void* context) { return static_cast<PyMemAllocatorEx*>(context); }

void capAllocations(PyMemAllocatorDomain domain, PyMemAllocatorEx& allocator)
{
    PyMem_GetAllocator(domain, &allocator);
    PyMemAllocatorEx capped{
        &allocator,
        [](void* c, size_t size) { return size > maxBlock ? nullptr : wrapped(c)->malloc(wrapped(c)->ctx, size); },
        [](void* c, size_t count, size_t size) {
            return size != 0 && count > maxBlock / size ? nullptr : wrapped(c)->calloc(wrapped(c)->ctx, count, size);
        },
        [](void* c, void* block, size_t size) { return size > maxBlock ? nullptr : wrapped(c)->realloc(wrapped(c)->ctx, block, size); },
        [](void* c, void* block) { wrapped(c)->free(wrapped(c)->ctx, block); }};
    PyMem_SetAllocator(domain, &capped);
}

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
    if (!pythonEngine || !folder.isValid())
        qFatal("fuzz: the plug-in did not start");
    PythonQtGILScope lock;
    Py_SetRecursionLimit(200); // deep enough for the engine's own calls, shallow enough for a sanitised build's stack
    capAllocations(PYMEM_DOMAIN_MEM, wrappedMem);
    capAllocations(PYMEM_DOMAIN_OBJ, wrappedObject);
}

QString FuzzHost::writeFile(const QString& name, const QByteArray& content) const
{
    return ::writeFile(folder.filePath(name), content);
}
