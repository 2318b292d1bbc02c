// The fixed colour theme of the handheld: the program's own looks derive from the
// caption colours, so they are chosen to read well together.
#include "platform/ui/WinGdi.h"
#include "platform/ui/detail/GdiObject.h"

#include <array>

namespace {

constexpr std::array<COLORREF, 29> kTheme = {
    RGB(192, 192, 192), // 0 scroll bar
    RGB(0, 128, 128),   // 1 background
    RGB(8, 76, 156),    // 2 active caption
    RGB(128, 128, 128), // 3 inactive caption
    RGB(255, 255, 255), // 4 menu
    RGB(255, 255, 255), // 5 window
    RGB(0, 0, 0),       // 6 window frame
    RGB(0, 0, 0),       // 7 menu text
    RGB(0, 0, 0),       // 8 window text
    RGB(255, 255, 255), // 9 caption text
    RGB(192, 192, 192), // 10 active border
    RGB(192, 192, 192), // 11 inactive border
    RGB(128, 128, 128), // 12 application workspace
    RGB(8, 76, 156),    // 13 highlight
    RGB(255, 255, 255), // 14 highlight text
    RGB(212, 208, 200), // 15 button face
    RGB(128, 128, 128), // 16 button shadow
    RGB(128, 128, 128), // 17 grey text
    RGB(0, 0, 0),       // 18 button text
    RGB(212, 208, 200), // 19 inactive caption text
    RGB(255, 255, 255), // 20 button highlight
    RGB(64, 64, 64),    // 21 3-D dark shadow
    RGB(227, 227, 227), // 22 3-D light
    RGB(0, 0, 0),       // 23 tooltip text
    RGB(255, 255, 225), // 24 tooltip background
    RGB(212, 208, 200), // 25 static background
    RGB(0, 0, 0),       // 26 static text
    RGB(57, 133, 213),  // 27 active caption gradient
    RGB(180, 180, 180), // 28 inactive caption gradient
};

int Index(int index) {
    return index & ~SYS_COLOR_INDEX_FLAG;
}

} // namespace

COLORREF GetSysColor(int index) {
    int i = Index(index);
    return i >= 0 && i < int(kTheme.size()) ? kTheme[i] : 0;
}

HBRUSH GetSysColorBrush(int index) {
    static std::array<HBRUSH, kTheme.size()> brushes{};
    int i = Index(index);
    if (i < 0 || i >= int(kTheme.size())) {
        return nullptr;
    }
    if (brushes[i] == nullptr) {
        brushes[i] = CreateSolidBrush(kTheme[i]);
        korvyn::platform::GdiFrom(brushes[i])->stock = true;
    }
    return brushes[i];
}
