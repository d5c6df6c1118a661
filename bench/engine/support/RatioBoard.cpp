#include "support/RatioBoard.h"

#include <algorithm>
#include <iomanip>

RatioBoard& RatioBoard::instance()
{
    static RatioBoard board;
    return board;
}

void RatioBoard::compare(benchmark::State& state, const std::string& name, double nanos, const std::string& baseline,
                         double baselineNanos, double goal)
{
    if (baselineNanos <= 0)
        return;
    state.counters["best_ns"] = nanos;
    state.counters["baseline_ns"] = baselineNanos;
    state.counters["vs_baseline"] = nanos / baselineNanos;
    // Google Benchmark calls a case several times while it settles its iteration count; the
    // last call is the measurement that counts.
    auto same = [&](const Comparison& c) { return c.name == name; };
    comparisons.erase(std::remove_if(comparisons.begin(), comparisons.end(), same), comparisons.end());
    comparisons.push_back({name, nanos, baseline, baselineNanos, goal});
}

void RatioBoard::printSummary(std::ostream& out) const
{
    if (comparisons.empty())
        return;
    out << "\nBest-batch nanoseconds per operation, case and baseline measured in alternation:\n"
        << std::left << std::setw(36) << "case" << std::right << std::setw(12) << "ns/op"
        << "  " << std::left << std::setw(36) << "baseline" << std::right << std::setw(12) << "ns/op"
        << std::setw(8) << "ratio" << std::setw(8) << "goal" << "\n";
    for (const Comparison& c : comparisons) {
        const double ratio = c.nanos / c.baselineNanos;
        out << std::left << std::setw(36) << c.name << std::right << std::fixed << std::setprecision(1)
            << std::setw(12) << c.nanos << "  " << std::left << std::setw(36) << c.baseline << std::right
            << std::setw(12) << c.baselineNanos << std::setprecision(2) << std::setw(8) << ratio;
        if (c.goal > 0)
            out << std::setw(8) << c.goal << (ratio <= c.goal ? "  met" : "  MISSED");
        out << "\n";
    }
}
