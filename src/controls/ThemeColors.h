#pragma once
// The program's colours follow the device theme: everything derives from the active
// caption colour and the caption text colour, so the program looks right in any theme.
#include "platform/WinTypes.h"

// Darker (f above 0) or lighter (f below 0) by the factor f: each component c becomes
// c - c * f, computed in floating point, truncated and kept within 0 to 255. An f of 0
// or outside -1 to 1 leaves the colour as it is.
COLORREF ScaleColor(COLORREF color, double f);

namespace korvyn {

// Each component halfway to white, rounded down.
COLORREF LightTintOf(COLORREF color);
// Each component the average of the two colours, rounded down.
COLORREF MixColors(COLORREF a, COLORREF b);

// The active caption colour of the theme (system colour 2).
COLORREF CaptionColor();
// The caption text colour of the theme (system colour 9).
COLORREF CaptionTextColor();
// The caption colour halfway to white: the background of the pages.
COLORREF LightTint();
// The caption colour and the caption text colour mixed half and half.
COLORREF CaptionMix();

} // namespace korvyn
