#pragma once

#include <benchmark/benchmark.h>

#include <ostream>
#include <string>
#include <vector>

// The comparisons of one benchmark run: each case against the raw baseline it names, both
// measured in the same run, and the ratio the case should stay within.
class RatioBoard
{
public:
    static RatioBoard& instance();

    // Sets the counters baseline_ns and vs_baseline (nanos / baselineNanos) on state and files
    // the comparison for the summary. Without a goal (0) the ratio is only shown.
    void compare(benchmark::State& state, const std::string& name, double nanos, const std::string& baseline,
                 double baselineNanos, double goal = 0);

    // One line per case: name, nanos, baseline, its nanos, ratio, goal and whether it is met.
    void printSummary(std::ostream& out) const;

private:
    struct Comparison
    {
        std::string name;
        double nanos;
        std::string baseline;
        double baselineNanos;
        double goal;
    };

    std::vector<Comparison> comparisons;
};
