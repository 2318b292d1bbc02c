#pragma once
// One tab of the strip: its title and item data, where the last layout put it, and its
// selection and highlight.
#include "platform/ui/Geometry.h"

#include <string>

class CCustomTabItem {
public:
    // Where the layout put a tab: left of the stub and not drawn, the stub (the tab just
    // before the first visible one, drawn narrow and without title), or shown.
    enum class Placement { Hidden, Stub, Shown };

    std::u16string title;
    DWORD data = 0;
    CRect tabRect;
    CRect textRect;
    Placement placement = Placement::Shown;
    bool selected = false;
    bool highlighted = false;
    // Set when the highlight changed and the parent has not been told yet.
    bool highlightChanged = false;
};
