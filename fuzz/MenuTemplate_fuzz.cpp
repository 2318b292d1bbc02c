#include "platform/resources/Resources.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<korvyn::platform::MenuItem> out;
    korvyn::platform::ParseMenuTemplate(data, size, out);
    return 0;
}
