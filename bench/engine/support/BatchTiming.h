#pragma once

#include "support/BenchWorker.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <limits>

// Nanoseconds per operation of a case and of its baseline, measured in alternation so that both
// meet the same machine (frequency, other processes). The best batch is the one others disturbed
// least; the mean is over all batches of the case.
struct PairedFigures
{
    double best = 0;
    double baselineBest = 0;
    double mean = 0;
};

// A measurement: runs batchSize calls of body on worker (on the calling thread when null) and
// returns the seconds they took, timed where they ran.
template <typename Body>
auto batchOf(Body body, int batchSize, BenchWorker* worker = nullptr)
{
    return [=] {
        double seconds = 0;
        auto batch = [&] {
            const auto start = std::chrono::steady_clock::now();
            for (int i = 0; i < batchSize; ++i)
                body();
            seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        };
        if (worker)
            worker->run(batch);
        else
            batch();
        return seconds;
    };
}

// Each benchmark iteration takes one measurement of the case (its time is the iteration's
// manual time) and one of the baseline; both cover opsPerMeasurement operations.
template <typename Case, typename Baseline>
PairedFigures timePaired(benchmark::State& state, Case measureCase, Baseline measureBaseline, double opsPerMeasurement)
{
    double total = 0;
    double best = std::numeric_limits<double>::max();
    double baselineBest = std::numeric_limits<double>::max();
    for (auto _ : state) {
        const double seconds = measureCase();
        state.SetIterationTime(seconds);
        total += seconds;
        best = std::min(best, seconds);
        baselineBest = std::min(baselineBest, measureBaseline());
    }
    state.SetItemsProcessed(int64_t(double(state.iterations()) * opsPerMeasurement));
    if (state.iterations() == 0)
        return {};
    const double perOp = 1e9 / opsPerMeasurement;
    return {best * perOp, baselineBest * perOp, total * perOp / double(state.iterations())};
}
