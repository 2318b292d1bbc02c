// The benchmark program without a window system.
#include "support/Reporting.h"

int main(int argc, char** argv) {
    return korvyn::bench::RunBenchmarks(argc, argv);
}
