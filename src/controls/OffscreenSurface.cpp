#include "controls/OffscreenSurface.h"

namespace korvyn {

CDC& OffscreenSurface::Prepare(CDC& target, CSize size) {
    if (dc_.GetSafeHdc() == nullptr || size_ != size) {
        dc_.DeleteDC();
        bitmap_.DeleteObject();
        dc_.CreateCompatibleDC(&target);
        bitmap_.CreateCompatibleBitmap(&target, size.cx, size.cy);
        dc_.SelectObject(&bitmap_);
        size_ = size;
    }
    return dc_;
}

} // namespace korvyn
