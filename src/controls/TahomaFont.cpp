#include "controls/TahomaFont.h"

namespace korvyn {

bool CreateTahomaFont(CFont& font, int height, int weight, BYTE charSet, BYTE clipPrecision) {
    return font.CreateFont(height, 0, 0, 0, weight, 0, 0, 0, charSet, 0, clipPrecision, 0, 0,
                           u"Tahoma") != FALSE;
}

} // namespace korvyn
