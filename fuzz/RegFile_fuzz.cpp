// Arbitrary text as the registry file; whatever parses must write back and parse again
// to the same text. Inputs reach past the largest file the registry reads (1 MiB), so that
// the time a large file takes and the size limit are tried too.
#include "platform/registry/RegFileFormat.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

// libFuzzer keeps its inputs to the corpus' largest (4096 bytes by default) unless told;
// this target tells it, unless the command line does.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static std::string maxLen =
        "-max_len=" + std::to_string(korvyn::platform::kMaxRegFileSize + 4096);
    static std::vector<char*> args;
    for (int i = 1; i < *argc; ++i)
        if (std::string_view((*argv)[i]).starts_with("-max_len="))
            return 0;
    args.assign(*argv, *argv + *argc);
    args.insert(args.begin() + 1, maxLen.data());
    args.push_back(nullptr);
    ++*argc;
    *argv = args.data();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvyn::platform::RegParseError error;
    const auto tree = korvyn::platform::ParseRegFile(
        std::string_view(reinterpret_cast<const char*>(data), size), error);
    if (!tree)
        return 0;
    const std::string text = korvyn::platform::FormatRegFile(*tree);
    // Written out, a file can outgrow the limit (texts as hex, a section per key above a
    // deep one); the registry then keeps the old file rather than write one it cannot read.
    if (text.size() > korvyn::platform::kMaxRegFileSize)
        return 0;
    const auto again = korvyn::platform::ParseRegFile(text, error);
    if (!again || korvyn::platform::FormatRegFile(*again) != text)
        std::abort();
    return 0;
}
