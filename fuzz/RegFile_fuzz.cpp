// Arbitrary text as the registry file; whatever parses must write back and parse again
// to the same text.
#include "platform/registry/RegFileFormat.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvyn::platform::RegParseError error;
    const auto tree = korvyn::platform::ParseRegFile(
        std::string_view(reinterpret_cast<const char*>(data), size), error);
    if (!tree)
        return 0;
    const std::string text = korvyn::platform::FormatRegFile(*tree);
    const auto again = korvyn::platform::ParseRegFile(text, error);
    if (!again || korvyn::platform::FormatRegFile(*again) != text)
        std::abort();
    return 0;
}
