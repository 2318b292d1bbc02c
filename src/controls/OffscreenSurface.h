#pragma once
// A memory drawing surface of a window's client size: the owner-drawn controls draw a
// whole frame on it and then copy it to the window, so the screen never shows a half
// drawn control.
#include "platform/ui/CBitmap.h"
#include "platform/ui/CDC.h"

namespace korvyn {

class OffscreenSurface {
public:
    // The surface in the given size, made on first use and again when the size changed.
    CDC& Prepare(CDC& target, CSize size);

private:
    // The bitmap outlives the DC it is selected into.
    CBitmap bitmap_;
    CSize size_;
    CDC dc_;
};

} // namespace korvyn
