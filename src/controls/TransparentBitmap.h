#pragma once
// Bitmaps drawn with pure black as the transparent colour, as the owner-drawn controls
// draw their pictures.
#include "platform/ui/CDC.h"

namespace korvyn {

// Width and height of a bitmap; 0 x 0 for no bitmap.
CSize BitmapSize(HBITMAP bitmap);
// Draws the bitmap at (x, y) in the given size, leaving its black pixels out.
void DrawTransparent(CDC& dc, HBITMAP bitmap, int x, int y, CSize size);

} // namespace korvyn
