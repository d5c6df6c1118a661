#include "support/BenchRun.h"

#include "support/RatioBoard.h"

#include <benchmark/benchmark.h>

#include <iostream>

int runBenchmarksWithSummary(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    RatioBoard::instance().printSummary(std::cout);
    return 0;
}
