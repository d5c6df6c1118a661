#pragma once

// Runs the registered benchmarks with Google Benchmark's command line, then prints the summary
// of ratios. Returns the process exit code.
int runBenchmarksWithSummary(int argc, char** argv);
