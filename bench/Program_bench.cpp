// The whole program as a user starts it, headless on the simulated demo adapter:
//  - start-up to the first painted main window: the process runs until its window is
//    up and drawn into a picture (--ticks=0 --screenshot), then ends; the time covers
//    loading, Qt, the settings, both pages and the first full paint (and the exit);
//  - resident memory after 1,000 scan ticks of the demo: the process's peak resident
//    set when it ends after them.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

struct Outcome {
    int status = -1;
    long maxResidentKb = 0;
};

Outcome RunProgram(std::vector<std::string> args) {
    static const std::filesystem::path work =
        std::filesystem::temp_directory_path() / "korvyn-bench";
    std::filesystem::create_directories(work);
    args.insert(args.begin(), {KORVYN_PROGRAM, "--headless", "--driver=sim:demo",
                               "--registry=" + (work / "settings.reg").string(),
                               "--documents=" + (work / "Documents").string()});
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    Outcome outcome;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        rusage usage{};
        int status = 0;
        if (wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status)) {
            outcome.status = WEXITSTATUS(status);
            outcome.maxResidentKb = usage.ru_maxrss;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    return outcome;
}

void BM_StartUpToFirstPaintedWindow(benchmark::State& state) {
    const std::string picture =
        (std::filesystem::temp_directory_path() / "korvyn-bench" / "window.png").string();
    for (auto _ : state) {
        if (RunProgram({"--ticks=0", "--screenshot=" + picture}).status != 0) {
            state.SkipWithError("the program failed");
            return;
        }
    }
}
BENCHMARK(BM_StartUpToFirstPaintedWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ResidentAfterThousandDemoTicks(benchmark::State& state) {
    long peakKb = 0;
    for (auto _ : state) {
        Outcome o = RunProgram({"--ticks=1000"});
        if (o.status != 0) {
            state.SkipWithError("the program failed");
            return;
        }
        peakKb = std::max(peakKb, o.maxResidentKb);
    }
    state.counters["resident_MB"] = static_cast<double>(peakKb) / 1024.0;
}
BENCHMARK(BM_ResidentAfterThousandDemoTicks)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

} // namespace
