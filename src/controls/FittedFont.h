#pragma once
// FittedFont: the font a caption is drawn with so that it fits its area. A caption that
// does not fit in its control's font is drawn in the largest smaller font of the same
// face in which it does, never below kSmallestFittedHeight pixels of cell height. The
// smaller fonts are made once per height and kept.
#include "platform/ui/CFont.h"
#include "platform/ui/Geometry.h"

#include <map>
#include <string>

namespace korvyn {

class FittedFont {
public:
    static constexpr int kSmallestFittedHeight = 8;

    // `base` when `text` fits `area` in it (one line unless `wraps`), else a smaller font
    // held by this object. Handles stay valid while the object lives.
    HFONT For(HFONT base, const std::u16string& text, CSize area, bool wraps);

private:
    std::map<std::pair<HFONT, LONG>, CFont> m_fonts;
};

} // namespace korvyn
