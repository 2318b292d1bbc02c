#pragma once
// The pictures of the tab strip's buttons: a monochrome image 48 pixels wide and 7 high
// holding six glyphs of 8 x 7 side by side (first, previous, next, last, close and a
// solid block), drawn in one colour with their white pixels left transparent.
#include "platform/ui/CDC.h"

namespace korvyn {

constexpr int kTabGlyphWidth = 8;
constexpr int kTabGlyphHeight = 7;
constexpr int kTabGlyphCount = 6;

// True where glyph `index` has a black pixel at (x, y) of its 8 x 7 cell.
bool TabGlyphPixel(int index, int x, int y);
// Draws the glyph's black pixels in the colour with the cell's top-left corner at (x, y).
void DrawTabGlyph(CDC& dc, int index, int x, int y, COLORREF color);

} // namespace korvyn
