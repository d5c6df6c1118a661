#pragma once

#include "BellwickHostExport.h"

class BELLWICK_HOST_EXPORT ST_BatchParams
{
public:
    // True when the host runs a Python batch job.
    static bool isBatchPython();
    static void setBatchPython(bool batch);
};
