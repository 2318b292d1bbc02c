// Program entry. Until the main window is in place it only reports its version.
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::printf("Usage: korvyn [--version] [--help]\n");
            return 0;
        }
    }
    std::printf("korvyn %s\n", KORVYN_VERSION);
    return 0;
}
