#include "platform/resources/Bitmap.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace korvyn::platform {

namespace {

constexpr DWORD kBiRgb = 0;
constexpr DWORD kBiBitfields = 3;
constexpr std::int64_t kMaxSide = 8192; // far beyond any resource; bounds the allocation

template <typename T> T Read(const BYTE* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// One colour channel given by a bit mask, scaled to 8 bits.
struct Channel {
    DWORD mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(DWORD m = 0) : mask(m) {
        if (m) {
            shift = std::countr_zero(m);
            bits = std::popcount(m >> shift);
        }
    }
    std::uint32_t Scale(DWORD pixel) const {
        if (!bits)
            return 0;
        const DWORD v = (pixel & mask) >> shift;
        const DWORD max = bits >= 32 ? 0xFFFFFFFFu : ((1u << bits) - 1);
        return static_cast<std::uint32_t>((static_cast<std::uint64_t>(v) * 255 + max / 2) / max);
    }
};

struct Header {
    std::int64_t width = 0;
    std::int64_t height = 0; // negative: top-down
    int bitCount = 0;
    DWORD compression = kBiRgb;
    DWORD colorsUsed = 0;
    std::size_t headerSize = 0;
    std::size_t paletteEntrySize = 4;
    std::size_t masksAfterHeader = 0; // bytes of colour masks between header and table
    std::array<DWORD, 3> masks{};
};

bool ReadHeader(const BYTE* data, std::size_t size, Header& h) {
    if (size < 4)
        return false;
    const DWORD biSize = Read<DWORD>(data);
    if (biSize == 12) { // core header: 16-bit sizes, 3-byte colour table entries
        if (size < 12)
            return false;
        h.width = Read<WORD>(data + 4);
        h.height = Read<WORD>(data + 6);
        if (Read<WORD>(data + 8) != 1)
            return false;
        h.bitCount = Read<WORD>(data + 10);
        h.headerSize = 12;
        h.paletteEntrySize = 3;
        return true;
    }
    if (biSize < 40 || biSize > size)
        return false;
    h.width = Read<std::int32_t>(data + 4);
    h.height = Read<std::int32_t>(data + 8);
    if (Read<WORD>(data + 12) != 1)
        return false;
    h.bitCount = Read<WORD>(data + 14);
    h.compression = Read<DWORD>(data + 16);
    h.colorsUsed = Read<DWORD>(data + 32);
    h.headerSize = biSize;
    if (h.compression == kBiBitfields) {
        // Longer headers carry the masks themselves; the 40-byte one is followed by them.
        if (biSize >= 52) {
            for (int i = 0; i < 3; ++i)
                h.masks[i] = Read<DWORD>(data + 40 + 4 * i);
        } else {
            if (size - biSize < 12)
                return false;
            for (int i = 0; i < 3; ++i)
                h.masks[i] = Read<DWORD>(data + biSize + 4 * i);
            h.masksAfterHeader = 12;
        }
    }
    return true;
}

} // namespace

bool DecodeBitmap(const BYTE* data, std::size_t size, Bitmap& out) {
    if (!data)
        return false;
    Header h;
    if (!ReadHeader(data, size, h))
        return false;
    const int bpp = h.bitCount;
    const bool indexed = bpp == 1 || bpp == 4 || bpp == 8;
    if (!indexed && bpp != 16 && bpp != 24 && bpp != 32)
        return false;
    if (h.compression != kBiRgb && !(h.compression == kBiBitfields && (bpp == 16 || bpp == 32)))
        return false;
    const bool topDown = h.height < 0;
    const std::int64_t width = h.width;
    const std::int64_t height = topDown ? -h.height : h.height;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
        return false;

    // Colour table: indexed bitmaps need one; others may carry an optional one to skip.
    std::size_t paletteCount = h.colorsUsed;
    if (indexed && paletteCount == 0)
        paletteCount = std::size_t{1} << bpp;
    if (paletteCount > 256)
        return false;
    std::size_t pos = h.headerSize + h.masksAfterHeader;
    const std::size_t paletteBytes = paletteCount * h.paletteEntrySize;
    if (pos > size || size - pos < paletteBytes)
        return false;
    std::array<std::uint32_t, 256> palette{}; // indices past the table read as black
    for (std::size_t i = 0; i < paletteCount; ++i) {
        const BYTE* e = data + pos + i * h.paletteEntrySize;
        palette[i] = (std::uint32_t{e[2]} << 16) | (std::uint32_t{e[1]} << 8) | e[0];
    }
    pos += paletteBytes;

    const std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bpp + 31) / 32) * 4;
    if (size - pos < stride * static_cast<std::uint64_t>(height))
        return false;

    Channel red(0x7C00), green(0x03E0), blue(0x001F); // 16-bit default: 5-5-5
    if (h.compression == kBiBitfields) {
        red = Channel(h.masks[0]);
        green = Channel(h.masks[1]);
        blue = Channel(h.masks[2]);
    }

    Bitmap result;
    result.width = static_cast<int>(width);
    result.height = static_cast<int>(height);
    result.pixels.resize(static_cast<std::size_t>(width * height));
    for (std::int64_t y = 0; y < height; ++y) {
        const std::int64_t sourceRow = topDown ? y : height - 1 - y;
        const BYTE* row = data + pos + static_cast<std::size_t>(sourceRow) * stride;
        std::uint32_t* dest = result.pixels.data() + y * width;
        for (std::int64_t x = 0; x < width; ++x) {
            std::uint32_t pixel = 0;
            switch (bpp) {
            case 1:
                pixel = palette[(row[x / 8] >> (7 - x % 8)) & 1];
                break;
            case 4:
                pixel = palette[(row[x / 2] >> (x % 2 ? 0 : 4)) & 0xF];
                break;
            case 8:
                pixel = palette[row[x]];
                break;
            case 16: {
                const DWORD v = Read<WORD>(row + 2 * x);
                pixel = (red.Scale(v) << 16) | (green.Scale(v) << 8) | blue.Scale(v);
                break;
            }
            case 24: {
                const BYTE* p = row + 3 * x;
                pixel = (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
                break;
            }
            case 32: {
                const DWORD v = Read<DWORD>(row + 4 * x);
                if (h.compression == kBiBitfields)
                    pixel = (red.Scale(v) << 16) | (green.Scale(v) << 8) | blue.Scale(v);
                else
                    pixel = v & 0x00FFFFFF;
                break;
            }
            }
            dest[x] = pixel;
        }
    }
    out = std::move(result);
    return true;
}

} // namespace korvyn::platform
