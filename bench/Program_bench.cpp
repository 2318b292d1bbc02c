// The whole program as a user starts it, each time beside a yardstick measured in the same
// run, so that the ratios hold on a machine that other work shares. Wall time, CPU time
// (user and system) and peak resident memory come from the finished processes.
//  - Start-up: Korvyn headless on the simulated demo adapter (--ticks=0: loading, Qt, the
//    settings, both pages, then the end) beside an empty Qt window of the same size shown
//    on the same platform until its event loop runs.
//  - Start-up to the first painted window: the same, each drawing its window once into a
//    PNG file (--screenshot; the empty window's --picture).
//  - Batch ticks: the CPU time of one scan tick of a headless --ticks run (the difference
//    between a long and a short run, per tick) beside the station table's own tick on the
//    same scans (GetBSSIDs, Merge, RebuildView and 30 rows read, as in ScanTick).
//  - Resident memory after 1,000 scan ticks of the demo.
#include "core/StationTable.h"
#include "platform/devices/ScanFile.h"
#include "settings/CSettings.h"
#include "support/TickScans.h"
#include "support/Timing.h"
#include "wifi/DAvirIzev.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstddef>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using korvyn::bench::Ratio;

struct Outcome {
    int status = -1;
    double wallSeconds = 0;
    double cpuSeconds = 0;
    double residentMB = 0;
};

const fs::path& Work() {
    static const fs::path work = [] {
        fs::path path = fs::temp_directory_path() / "korvyn-bench";
        fs::create_directories(path);
        return path;
    }();
    return work;
}

// Runs a program to its end with its output thrown away; the Qt platform is the offscreen
// one at the device's zoom of 2, as a headless Korvyn sets it for itself.
Outcome Run(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        if (entry.rfind("QT_QPA_PLATFORM=", 0) != 0 && entry.rfind("QT_SCALE_FACTOR=", 0) != 0) {
            env.push_back(entry);
        }
    }
    env.push_back("QT_QPA_PLATFORM=offscreen");
    env.push_back("QT_SCALE_FACTOR=2");
    std::vector<char*> envp;
    for (std::string& e : env) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    Outcome outcome;
    const double start = korvyn::bench::WallSeconds();
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0) {
        rusage usage{};
        int status = 0;
        if (wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status)) {
            outcome.wallSeconds = korvyn::bench::WallSeconds() - start;
            outcome.status = WEXITSTATUS(status);
            outcome.cpuSeconds = korvyn::bench::CpuSeconds(usage);
            outcome.residentMB = static_cast<double>(usage.ru_maxrss) / 1024.0;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    return outcome;
}

Outcome Korvyn(std::vector<std::string> args, const std::string& driver = "sim:demo") {
    args.insert(args.begin(), {KORVYN_PROGRAM, "--headless", "--driver=" + driver,
                               "--registry=" + (Work() / "settings.reg").string(),
                               "--documents=" + (Work() / "Documents").string()});
    return Run(std::move(args));
}

Outcome EmptyWindow(std::vector<std::string> args) {
    args.insert(args.begin(), {KORVYN_EMPTY_QT_WINDOW, "--size=240x320"});
    return Run(std::move(args));
}

// The middle value, or the mean of the two middle ones.
double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    if (values.size() % 2 == 1) {
        return *middle;
    }
    return (*middle + *std::max_element(values.begin(), middle)) / 2;
}

// Korvyn and the empty window in turn, each iteration. Times are medians over the
// iterations and each ratio the median of the iterations' own ratios, so that a start
// slowed by other work on the machine moves neither, and both starts of a ratio meet the
// same machine. Peak resident memory is the largest of each program's runs.
void BesideEmptyWindow(benchmark::State& state, const std::vector<std::string>& korvynArgs,
                       const std::vector<std::string>& windowArgs) {
    std::vector<double> ownWall, qtWall, wallRatios, ownCpu, qtCpu, cpuRatios;
    double ownResident = 0, qtResident = 0;
    // The settings file exists before the first timed start, as it does for a user.
    Korvyn({"--ticks=0"});
    for (auto _ : state) {
        const Outcome a = Korvyn(korvynArgs);
        const Outcome b = EmptyWindow(windowArgs);
        if (a.status != 0 || b.status != 0) {
            state.SkipWithError(a.status != 0 ? "Korvyn failed" : "the empty window failed");
            return;
        }
        ownWall.push_back(a.wallSeconds * 1e3);
        qtWall.push_back(b.wallSeconds * 1e3);
        wallRatios.push_back(Ratio(a.wallSeconds, b.wallSeconds));
        ownCpu.push_back(a.cpuSeconds * 1e3);
        qtCpu.push_back(b.cpuSeconds * 1e3);
        cpuRatios.push_back(Ratio(a.cpuSeconds, b.cpuSeconds));
        ownResident = std::max(ownResident, a.residentMB);
        qtResident = std::max(qtResident, b.residentMB);
    }
    state.counters["own_wall_ms"] = Median(ownWall);
    state.counters["qt_wall_ms"] = Median(qtWall);
    state.counters["wall_ratio"] = Median(wallRatios);
    state.counters["own_cpu_ms"] = Median(ownCpu);
    state.counters["qt_cpu_ms"] = Median(qtCpu);
    state.counters["cpu_ratio"] = Median(cpuRatios);
    state.counters["own_resident_MB"] = ownResident;
    state.counters["qt_resident_MB"] = qtResident;
    state.counters["resident_ratio"] = Ratio(ownResident, qtResident);
}

void BM_StartUpBesideEmptyQtWindow(benchmark::State& state) {
    BesideEmptyWindow(state, {"--ticks=0"}, {});
}
BENCHMARK(BM_StartUpBesideEmptyQtWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FirstPaintedWindowBesideEmptyQtWindow(benchmark::State& state) {
    BesideEmptyWindow(state, {"--ticks=0", "--screenshot=" + (Work() / "korvyn.png").string()},
                      {"--picture=" + (Work() / "qt.png").string()});
}
BENCHMARK(BM_FirstPaintedWindowBesideEmptyQtWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

// The station table's own ticks on the tick scans of `stations` stations, in CPU seconds
// per tick after the table has seen every scan.
double TableTickSeconds(DWORD stations, int ticks) {
    CSettings settings;
    settings.SetValue(CSettings::kSound, 1);
    StationTable table(settings);
    korvyn::platform::SetWifiDriver(std::make_shared<korvyn::bench::TickDriver>(stations));
    DAvirIzev adapter;
    ScanObservation observations[128];
    StationRecord row{};
    DWORD total = 0, active = 0;
    auto tick = [&] {
        DWORD count = 0;
        adapter.GetBSSIDs(u"wlan0", observations, sizeof observations, count);
        table.Merge(observations, count);
        table.RebuildView(total, active);
        for (int i = 0; i < 30; ++i) {
            table.GetViewItem(static_cast<int>(total / 2) + i, row);
        }
        benchmark::DoNotOptimize(row);
    };
    for (DWORD i = 0; i < korvyn::bench::kTickScans; ++i) {
        tick();
    }
    const double start = korvyn::bench::ThreadSeconds();
    for (int i = 0; i < ticks; ++i) {
        tick();
    }
    const double seconds = (korvyn::bench::ThreadSeconds() - start) / ticks;
    korvyn::platform::SetWifiDriver(nullptr);
    return seconds;
}

void BM_BatchTickBesideTableTick(benchmark::State& state) {
    constexpr DWORD kStations = 100;
    constexpr int kShort = 500, kLong = 5500;
    const fs::path scans = Work() / "tick.scan";
    {
        std::ofstream out(scans, std::ios::binary);
        out << korvyn::platform::FormatScanFileHeader({{u"wlan0", true}});
        for (const auto& scan : korvyn::bench::TickScans(kStations)) {
            out << korvyn::platform::FormatScan(scan);
        }
    }
    const std::string driver = "sim:" + scans.string();
    double program = 0, table = 0;
    for (auto _ : state) {
        const Outcome a = Korvyn({"--ticks=" + std::to_string(kShort)}, driver);
        const Outcome b = Korvyn({"--ticks=" + std::to_string(kLong)}, driver);
        if (a.status != 0 || b.status != 0) {
            state.SkipWithError("Korvyn failed");
            return;
        }
        program += (b.cpuSeconds - a.cpuSeconds) / (kLong - kShort);
        table += TableTickSeconds(kStations, kLong - kShort);
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["batch_tick_us"] = program / n * 1e6;
    state.counters["table_tick_us"] = table / n * 1e6;
    state.counters["tick_ratio"] = Ratio(program, table);
}
BENCHMARK(BM_BatchTickBesideTableTick)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_ResidentAfterThousandDemoTicks(benchmark::State& state) {
    double peakMB = 0;
    for (auto _ : state) {
        const Outcome o = Korvyn({"--ticks=1000"});
        if (o.status != 0) {
            state.SkipWithError("the program failed");
            return;
        }
        peakMB = std::max(peakMB, o.residentMB);
    }
    state.counters["resident_MB"] = peakMB;
}
BENCHMARK(BM_ResidentAfterThousandDemoTicks)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

} // namespace
