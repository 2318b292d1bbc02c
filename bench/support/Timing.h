#pragma once
// Clocks for benchmarks on a machine that other work shares: CPU time of this thread, and
// of a finished child process.
#include <sys/resource.h>
#include <time.h>

namespace korvyn::bench {

inline double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

inline double WallSeconds() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// User and system time together.
inline double CpuSeconds(const rusage& usage) {
    auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// a / b for a counter: 0 when b is not positive, so that the JSON output stays numbers.
inline double Ratio(double a, double b) {
    return b > 0 ? a / b : 0;
}

} // namespace korvyn::bench
