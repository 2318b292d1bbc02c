#include "platform/resources/Resources.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvyn::platform::Bitmap out;
    korvyn::platform::DecodeBitmap(data, size, out);
    return 0;
}
