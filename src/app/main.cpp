// Program entry: the command line, then the whole program.
#include "app/CommandLine.h"
#include "app/ProgramRun.h"

#include <cstdio>
#include <string_view>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    korvyn::CommandLine options;
    std::string error;
    if (!korvyn::ParseCommandLine(args, options, error)) {
        std::fprintf(stderr, "korvyn: %s\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(korvyn::CommandLineHelp().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("korvyn %s\n", KORVYN_VERSION);
        return 0;
    }
    return korvyn::RunProgram(options, argv[0]);
}
