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
    std::uint32_t colorsUsed = 0;
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

// The program's bitmaps are all of 24 bits, stored bottom-up or top-down; rows of an odd
// width are padded.
TEST(Bitmap, TwentyFourBitRowsDecodeInEitherOrder) {
    const std::vector<std::vector<std::uint8_t>> rgb = {{0, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0},
                                                        {1, 2, 3, 4, 5, 6, 7, 8, 9}};
    const std::pair<int, Pixels> cases[] = {
        {-2, {0xFF0000, 0x00FF00, 0x0000FF, 0x030201, 0x060504, 0x090807}},
        {2, {0x030201, 0x060504, 0x090807, 0xFF0000, 0x00FF00, 0x0000FF}}};
    for (const auto& [height, pixels] : cases) {
        const Bitmap b = Decode(Dib{.width = 3, .height = height, .bpp = 24, .rows = rgb}.Bytes());
        EXPECT_EQ(std::tuple(b.width, b.height, b.pixels), std::tuple(3, 2, pixels)) << height;
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
