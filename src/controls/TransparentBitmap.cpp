#include "controls/TransparentBitmap.h"

#include "platform/ui/CBitmap.h"

namespace korvyn {

CSize BitmapSize(HBITMAP bitmap) {
    const CBitmap* wrapper = CBitmap::FromHandle(bitmap);
    return wrapper != nullptr ? wrapper->GetSize() : CSize{};
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
