#include "support/AllocationCap.h"

#include <PythonQtPython.h>

#include <cstddef>

namespace {
constexpr size_t maxBlock = size_t(64) << 20;

PyMemAllocatorEx wrappedMem;
PyMemAllocatorEx wrappedObject;

void* capMalloc(void* context, size_t size)
{
    auto* wrapped = static_cast<PyMemAllocatorEx*>(context);
    return size > maxBlock ? nullptr : wrapped->malloc(wrapped->ctx, size);
}

void* capCalloc(void* context, size_t count, size_t size)
{
    auto* wrapped = static_cast<PyMemAllocatorEx*>(context);
    return size != 0 && count > maxBlock / size ? nullptr : wrapped->calloc(wrapped->ctx, count, size);
}

void* capRealloc(void* context, void* block, size_t size)
{
    auto* wrapped = static_cast<PyMemAllocatorEx*>(context);
    return size > maxBlock ? nullptr : wrapped->realloc(wrapped->ctx, block, size);
}

void capFree(void* context, void* block)
{
    auto* wrapped = static_cast<PyMemAllocatorEx*>(context);
    wrapped->free(wrapped->ctx, block);
}

void wrap(PyMemAllocatorDomain domain, PyMemAllocatorEx& wrapped)
{
    PyMem_GetAllocator(domain, &wrapped);
    PyMemAllocatorEx capped{&wrapped, capMalloc, capCalloc, capRealloc, capFree};
    PyMem_SetAllocator(domain, &capped);
}
}

void AllocationCap::install()
{
    wrap(PYMEM_DOMAIN_MEM, wrappedMem);
    wrap(PYMEM_DOMAIN_OBJ, wrappedObject);
}
