#include "ST_BatchParams.h"

#include <atomic>

namespace {
std::atomic<bool> batchPython{false};
}

bool ST_BatchParams::isBatchPython()
{
    return batchPython;
}

void ST_BatchParams::setBatchPython(bool batch)
{
    batchPython = batch;
}
