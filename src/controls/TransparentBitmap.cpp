#include "controls/TransparentBitmap.h"

namespace korvyn {

CSize BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (bitmap == nullptr || ::GetObject(bitmap, sizeof(info), &info) == 0) {
        return {};
    }
    return {info.bmWidth, info.bmHeight};
}

void DrawTransparent(CDC& dc, HBITMAP bitmap, int x, int y, CSize size) {
    if (bitmap == nullptr || size.cx <= 0 || size.cy <= 0) {
        return;
    }
    CDC source;
    source.CreateCompatibleDC(&dc);
    // The bitmap leaves the source DC when the DC goes away.
    source.SelectObject(bitmap);
    dc.TransparentBlt(x, y, size.cx, size.cy, &source, 0, 0, size.cx, size.cy, RGB(0, 0, 0));
}

} // namespace korvyn
