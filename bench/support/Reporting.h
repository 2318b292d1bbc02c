#pragma once
// Runs the registered benchmarks as Google Benchmark's own main does, except that
// comma-separated output (--benchmark_format=csv, or --benchmark_out_format=csv for the
// file) names in its header every counter that any benchmark reports: the runs are
// gathered and printed together at the end, a benchmark without a counter leaving that
// field empty.
namespace korvyn::bench {

int RunBenchmarks(int argc, char** argv);

} // namespace korvyn::bench
