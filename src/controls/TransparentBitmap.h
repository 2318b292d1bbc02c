#pragma once
// Bitmaps drawn with pure black as the transparent colour, as the owner-drawn controls
// draw their pictures.
#include "platform/ui/CDC.h"

namespace korvyn {

// Width and height of a bitmap; 0 x 0 for no bitmap.
CSize BitmapSize(HBITMAP bitmap);
// Draws the bitmap at (x, y) in the given size, leaving its black pixels out.
void DrawTransparent(CDC& dc, HBITMAP bitmap, int x, int y, CSize size);
// Takes `bitmap` and gives it back with every pixel repeated `scale` times each way, as a
// double-resolution screen shows a picture made for a normal one; the bitmap itself for a
// scale of 1 or when the larger one cannot be made.
HBITMAP ScaleBitmap(HBITMAP bitmap, int scale);

} // namespace korvyn
