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

HBITMAP ScaleBitmap(HBITMAP bitmap, int scale) {
    const CSize size = BitmapSize(bitmap);
    if (scale <= 1 || size.cx <= 0 || size.cy <= 0) {
        return bitmap;
    }
    CDC source, target;
    source.CreateCompatibleDC(nullptr);
    target.CreateCompatibleDC(nullptr);
    CBitmap scaled;
    if (!scaled.CreateCompatibleBitmap(&source, size.cx * scale, size.cy * scale)) {
        return bitmap;
    }
    source.SelectObject(bitmap);
    target.SelectObject(&scaled);
    // Without smoothing every pixel stays one colour, so black stays transparent.
    target.StretchBlt(0, 0, size.cx * scale, size.cy * scale, &source, 0, 0, size.cx, size.cy,
                      SRCCOPY);
    source.DeleteDC();
    target.DeleteDC();
    ::DeleteObject(bitmap);
    return static_cast<HBITMAP>(scaled.Detach());
}

} // namespace korvyn
