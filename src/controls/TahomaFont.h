#pragma once
// Every font the program makes is Tahoma: the main window's and the options page's
// (12 pixels, normal), the list's, the meter's and the size sample's (bold), the tab
// strip's (12 or 24 pixels).
#include "platform/ui/CFont.h"

namespace korvyn {

// A Tahoma font of a cell height in pixels and a weight, its other attributes zero
// apart from the character set and clip precision given. False when it cannot be made.
bool CreateTahomaFont(CFont& font, int height, int weight, BYTE charSet = 0,
                      BYTE clipPrecision = 0);

} // namespace korvyn
