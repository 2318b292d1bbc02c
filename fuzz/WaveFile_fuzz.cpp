#include "platform/resources/Resources.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvyn::platform::WaveFormat out;
    korvyn::platform::ParseWave(data, size, out);
    return 0;
}
