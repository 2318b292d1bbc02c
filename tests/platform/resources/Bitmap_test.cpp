#include "platform/resources/Bitmap.h"

#include "support/ResBuilder.h"

#include <gtest/gtest.h>

using korvyn::platform::Bitmap;
using korvyn::platform::DecodeBitmap;
using korvyn::test::PutDword;
using korvyn::test::PutWord;

namespace {

struct Dib {
    Dib(int w, int h, int b, std::uint32_t c = 0, std::vector<std::uint32_t> p = {},
        std::uint32_t used = 0)
        : width(w), height(h), bpp(b), compression(c), palette(std::move(p)), colorsUsed(used) {}

    int width;
    int height; // negative: top-down
    int bpp;
    std::uint32_t compression;
    std::vector<std::uint32_t> palette; // 0x00RRGGBB
    std::uint32_t colorsUsed;
    std::vector<std::uint32_t> masks;            // after the header, with compression 3
    std::vector<std::vector<std::uint8_t>> rows; // stored order, padded here

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

TEST(Bitmap, IndexedFormatsBottomUp) {
    // 1 bit: rows stored bottom-up; the top row is the second stored one.
    Dib mono{10, 2, 1, 0, {0x000000, 0xFFFFFF}};
    mono.rows = {{0b10000000, 0b01000000}, {0b01111111, 0b11000000}};
    Bitmap b = Decode(mono.Bytes());
    ASSERT_EQ(b.width, 10);
    ASSERT_EQ(b.height, 2);
    EXPECT_EQ(b.At(0, 0), 0x000000u);
    EXPECT_EQ(b.At(1, 0), 0xFFFFFFu);
    EXPECT_EQ(b.At(9, 0), 0xFFFFFFu);
    EXPECT_EQ(b.At(0, 1), 0xFFFFFFu);
    EXPECT_EQ(b.At(9, 1), 0xFFFFFFu);
    EXPECT_EQ(b.At(8, 1), 0x000000u);

    // 4 bits, three palette entries given; index 5 lies past the table and reads black.
    Dib sixteen{3, 1, 4, 0, {0x112233, 0x445566, 0x778899}, 3};
    sixteen.rows = {{0x12, 0x50}};
    b = Decode(sixteen.Bytes());
    EXPECT_EQ(b.pixels, (std::vector<std::uint32_t>{0x445566, 0x778899, 0x000000}));

    Dib indexed{2, 1, 8, 0, std::vector<std::uint32_t>(256, 0x0000FF)};
    indexed.palette[200] = 0xABCDEF;
    indexed.rows = {{200, 7}};
    b = Decode(indexed.Bytes());
    EXPECT_EQ(b.pixels, (std::vector<std::uint32_t>{0xABCDEF, 0x0000FF}));
}

TEST(Bitmap, TrueColourFormats) {
    // 24 bits, top-down, odd width so each row is padded.
    Dib rgb{3, -2, 24};
    rgb.rows = {{0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00},
                {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09}};
    Bitmap b = Decode(rgb.Bytes());
    ASSERT_EQ(b.height, 2);
    EXPECT_EQ(b.At(0, 0), 0xFF0000u);
    EXPECT_EQ(b.At(1, 0), 0x00FF00u);
    EXPECT_EQ(b.At(2, 0), 0x0000FFu);
    EXPECT_EQ(b.At(2, 1), 0x090807u);

    Dib rgba{1, 1, 32};
    rgba.rows = {{0x10, 0x20, 0x30, 0xFF}}; // the fourth byte is not colour
    EXPECT_EQ(Decode(rgba.Bytes()).At(0, 0), 0x302010u);

    Dib masked{1, 1, 32, 3};
    masked.masks = {0x000000FF, 0x0000FF00, 0x00FF0000}; // red in the low byte
    masked.rows = {{0x10, 0x20, 0x30, 0x00}};
    EXPECT_EQ(Decode(masked.Bytes()).At(0, 0), 0x102030u);

    Dib rgb555{2, 1, 16};
    rgb555.rows = {{0x00, 0x7C, 0x1F, 0x00}}; // pure red, pure blue
    EXPECT_EQ(Decode(rgb555.Bytes()).pixels, (std::vector<std::uint32_t>{0xFF0000, 0x0000FF}));

    Dib rgb565{1, 1, 16, 3};
    rgb565.masks = {0xF800, 0x07E0, 0x001F};
    rgb565.rows = {{0xE0, 0x07}}; // pure green
    EXPECT_EQ(Decode(rgb565.Bytes()).At(0, 0), 0x00FF00u);
}

TEST(Bitmap, CoreHeader) {
    std::vector<std::uint8_t> core;
    PutDword(core, 12);
    PutWord(core, 2);
    PutWord(core, 1);
    PutWord(core, 1);
    PutWord(core, 1);
    core.insert(core.end(), {0x00, 0x00, 0x00, 0x00, 0x80, 0x00}); // black, green
    core.insert(core.end(), {0x40, 0, 0, 0});
    EXPECT_EQ(Decode(core).pixels, (std::vector<std::uint32_t>{0x000000, 0x008000}));
}

TEST(Bitmap, MalformedDataIsRefusedAndLeavesTheImage) {
    Dib good{4, 4, 24};
    good.rows.assign(4, std::vector<std::uint8_t>(12, 0x80));
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
    EXPECT_FALSE(with([](Dib& d) { d.width = -4; }));
    EXPECT_FALSE(with([](Dib& d) { d.width = 1 << 30; }));
    EXPECT_FALSE(with([](Dib& d) {
        d.bpp = 8;
        d.colorsUsed = 257;
    }));
    EXPECT_EQ(b.width, 7);
}

} // namespace
