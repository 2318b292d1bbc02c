#include "platform/resources/Bitmap.h"

#include "support/ResBuilder.h"

#include <gtest/gtest.h>

using namespace korvyn::platform;
using namespace korvyn::test;
using Pixels = std::vector<std::uint32_t>; // 0x00RRGGBB, top row first

namespace {

struct Dib {
    int width;
    int height; // negative: top-down
    int bpp;
    std::uint32_t compression = 0;
    Pixels palette = {};
    std::uint32_t colorsUsed = 0;
    std::vector<std::uint32_t> masks = {};            // after the header, with compression 3
    std::vector<std::vector<std::uint8_t>> rows = {}; // stored order, padded here

    std::vector<std::uint8_t> Bytes() const {
        std::vector<std::uint8_t> out;
        PutDword(out, 40);
        PutDword(out, static_cast<std::uint32_t>(width));
        PutDword(out, static_cast<std::uint32_t>(height));
        PutWord(out, 1);
        PutWord(out, static_cast<std::uint16_t>(bpp));
        PutDword(out, compression);
        for (int i = 0; i < 3; ++i)
            PutDword(out, 0);
        PutDword(out, colorsUsed);
        PutDword(out, 0);
        for (auto m : masks)
            PutDword(out, m);
        for (auto c : palette)
            PutDword(out, c);
        for (auto row : rows) {
            while (row.size() % 4)
                row.push_back(0);
            out.insert(out.end(), row.begin(), row.end());
        }
        return out;
    }
};

Bitmap Decode(const std::vector<std::uint8_t>& bytes) {
    Bitmap b;
    EXPECT_TRUE(DecodeBitmap(bytes.data(), bytes.size(), b));
    return b;
}

constexpr std::uint32_t K = 0x000000, W = 0xFFFFFF;

TEST(Bitmap, EveryFormatDecodes) {
    const auto indexed = [] {
        Pixels p(256, 0x0000FF);
        p[200] = 0xABCDEF;
        return p;
    }();
    const std::vector<std::vector<std::uint8_t>> rgb = {{0, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0},
                                                        {1, 2, 3, 4, 5, 6, 7, 8, 9}};
    // width, height, bits, compression, palette, colours used, masks, rows as stored.
    const std::tuple<const char*, Dib, Pixels> cases[] = {
        {"1 bit, rows stored bottom-up",
         {10, 2, 1, 0, {K, W}, 0, {}, {{0x80, 0x40}, {0x7F, 0xC0}}},
         {K, W, W, W, W, W, W, W, W, W, W, K, K, K, K, K, K, K, K, W}},
        {"4 bits, three colours given: index 5 lies past the table and reads black",
         {3, 1, 4, 0, {0x112233, 0x445566, 0x778899}, 3, {}, {{0x12, 0x50}}},
         {0x445566, 0x778899, K}},
        {"8 bits", {2, 1, 8, 0, indexed, 0, {}, {{200, 7}}}, {0xABCDEF, 0x0000FF}},
        {"24 bits, top-down, odd width so each row is padded",
         {3, -2, 24, 0, {}, 0, {}, rgb},
         {0xFF0000, 0x00FF00, 0x0000FF, 0x030201, 0x060504, 0x090807}},
        {"32 bits with masks, red in the low byte; the fourth byte is not colour",
         {1, 1, 32, 3, {}, 0, {0xFF, 0xFF00, 0xFF0000}, {{0x10, 0x20, 0x30, 0xFF}}},
         {0x102030}},
        {"16 bits, 5-5-5: pure red, pure blue, and grey rounded to the nearest",
         {3, 1, 16, 0, {}, 0, {}, {{0x00, 0x7C, 0x1F, 0x00, 0x10, 0x42}}},
         {0xFF0000, 0x0000FF, 0x848484}},
    };
    for (const auto& [what, dib, pixels] : cases) {
        const Bitmap b = Decode(dib.Bytes());
        EXPECT_EQ(b.width, dib.width) << what;
        EXPECT_EQ(b.height, std::abs(dib.height)) << what;
        EXPECT_EQ(b.pixels, pixels) << what;
    }
}

TEST(Bitmap, MalformedDataIsRefusedAndLeavesTheImage) {
    const Dib good{
        .width = 4, .height = 4, .bpp = 24, .rows = {4, std::vector<std::uint8_t>(12, 0x80)}};
    const auto bytes = good.Bytes();
    Bitmap b;
    b.width = 7;
    for (std::size_t n = 0; n < bytes.size(); ++n)
        EXPECT_FALSE(DecodeBitmap(bytes.data(), n, b)) << n;
    EXPECT_EQ(b.width, 7);
    EXPECT_FALSE(DecodeBitmap(nullptr, 100, b));

    auto with = [&](auto change) {
        Dib d = good;
        change(d);
        const auto data = d.Bytes();
        return DecodeBitmap(data.data(), data.size(), b);
    };
    EXPECT_FALSE(with([](Dib& d) { d.bpp = 2; }));
    EXPECT_FALSE(with([](Dib& d) { d.compression = 1; })); // run-length encoded
    EXPECT_FALSE(with([](Dib& d) { d.compression = 3; })); // masks on 24 bits
    EXPECT_FALSE(with([](Dib& d) { d.width = 0; }));
    EXPECT_FALSE(with([](Dib& d) { d.height = 0; }));
    EXPECT_FALSE(with([](Dib& d) { d.width = 1 << 30; }));
    EXPECT_FALSE(with([](Dib& d) {
        d.bpp = 8;
        d.colorsUsed = 257;
    }));
    EXPECT_EQ(b.width, 7);
}

} // namespace
