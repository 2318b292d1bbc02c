#include "support/Reporting.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string_view>
#include <vector>

namespace korvyn::bench {
namespace {

// The library's own CSV reporter is marked for removal, yet it is what
// --benchmark_format=csv writes with.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

// Google Benchmark's CSV reporter takes its header from the first benchmark it reports
// and stops the program at a counter that header lacks; given every run at once it
// writes them all under one header.
class GatheredCsvReporter : public benchmark::CSVReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        runs_.insert(runs_.end(), runs.begin(), runs.end());
    }
    void Finalize() override {
        if (!runs_.empty()) {
            benchmark::CSVReporter::ReportRuns(runs_);
        }
        benchmark::CSVReporter::Finalize();
    }

private:
    std::vector<Run> runs_;
};

#pragma GCC diagnostic pop

// The value of --name=value on the command line, or of the variable the library reads
// for it (BENCHMARK_FORMAT, ...).
std::string_view Flag(int argc, char** argv, std::string_view name, const char* variable) {
    std::string_view value;
    if (const char* set = std::getenv(variable)) {
        value = set;
    }
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg.size() > name.size() + 3 && arg.substr(0, 2) == "--" &&
            arg.substr(2, name.size()) == name && arg[name.size() + 2] == '=') {
            value = arg.substr(name.size() + 3);
        }
    }
    return value;
}

} // namespace

int RunBenchmarks(int argc, char** argv) {
    const bool csvShown = Flag(argc, argv, "benchmark_format", "BENCHMARK_FORMAT") == "csv";
    const bool csvFile =
        Flag(argc, argv, "benchmark_out_format", "BENCHMARK_OUT_FORMAT") == "csv" &&
        !Flag(argc, argv, "benchmark_out", "BENCHMARK_OUT").empty();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    // Without a reporter of its own, the library makes the one its flags ask for.
    GatheredCsvReporter shown;
    GatheredCsvReporter file;
    benchmark::RunSpecifiedBenchmarks(csvShown ? &shown : nullptr, csvFile ? &file : nullptr);
    benchmark::Shutdown();
    return 0;
}

} // namespace korvyn::bench
