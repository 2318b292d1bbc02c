#include "controls/ThemeColors.h"

#include "platform/ui/WinGdi.h"

namespace {

BYTE ScaleComponent(BYTE c, double f) {
    double v = c - c * f;
    if (v < 0) {
        return 0;
    }
    if (v > 255) {
        return 255;
    }
    return static_cast<BYTE>(v);
}

} // namespace

COLORREF ScaleColor(COLORREF color, double f) {
    // Also refuses NaN, which compares false with everything.
    if (f == 0 || !(f >= -1 && f <= 1)) {
        return color;
    }
    return RGB(ScaleComponent(GetRValue(color), f), ScaleComponent(GetGValue(color), f),
               ScaleComponent(GetBValue(color), f));
}

namespace korvyn {

COLORREF LightTintOf(COLORREF color) {
    return RGB((255 + GetRValue(color)) / 2, (255 + GetGValue(color)) / 2,
               (255 + GetBValue(color)) / 2);
}

COLORREF MixColors(COLORREF a, COLORREF b) {
    return RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2,
               (GetBValue(a) + GetBValue(b)) / 2);
}

COLORREF CaptionColor() {
    return GetSysColor(COLOR_ACTIVECAPTION | SYS_COLOR_INDEX_FLAG);
}

COLORREF CaptionTextColor() {
    return GetSysColor(COLOR_CAPTIONTEXT | SYS_COLOR_INDEX_FLAG);
}

COLORREF LightTint() {
    return LightTintOf(CaptionColor());
}

COLORREF CaptionMix() {
    return MixColors(CaptionColor(), CaptionTextColor());
}

} // namespace korvyn
