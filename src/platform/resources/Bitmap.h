#pragma once
// Device-independent bitmaps, the form of the program's bitmap resources, decoded into
// plain pixels the drawing layer can use.
#include "platform/WinTypes.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvyn::platform {

struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // 0x00RRGGBB, top row first, width * height of them

    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Decodes a bitmap resource: an info header (40 bytes or longer, or the 12-byte core
// header), the colour table or colour masks, then the rows. Handles 1, 4, 8, 16, 24 and
// 32 bits per pixel, uncompressed or with colour masks, bottom-up or top-down. Anything
// else, or data shorter than the header promises, returns false and leaves out as it was.
bool DecodeBitmap(const BYTE* data, std::size_t size, Bitmap& out);

} // namespace korvyn::platform
