#include "controls/TabGlyphs.h"

namespace korvyn {
namespace {

// The 48 x 7 image, '#' black and '.' white.
constexpr const char* kRows[kTabGlyphHeight] = {
    // eight columns each: first, previous, next, last, close, block
    ".#....#......#....#......#....#.#.....#.########",
    ".#...##.....##....##.....##...#..#...#..########",
    ".#..###....###....###....###..#...#.#...########",
    ".#.####...####....####...####.#....#....########",
    ".#..###....###....###....###..#...#.#...########",
    ".#...##.....##....##.....##...#..#...#..########",
    ".#....#......#....#......#....#.#.....#.########",
};

} // namespace

bool TabGlyphPixel(int index, int x, int y) {
    if (index < 0 || index >= kTabGlyphCount || x < 0 || x >= kTabGlyphWidth || y < 0 ||
        y >= kTabGlyphHeight) {
        return false;
    }
    return kRows[y][index * kTabGlyphWidth + x] == '#';
}

void DrawTabGlyph(CDC& dc, int index, int x, int y, COLORREF color) {
    for (int row = 0; row < kTabGlyphHeight; ++row) {
        for (int col = 0; col < kTabGlyphWidth; ++col) {
            if (TabGlyphPixel(index, col, row)) {
                dc.SetPixel(x + col, y + row, color);
            }
        }
    }
}

} // namespace korvyn
