#include "controls/FittedFont.h"

#include "platform/ui/CDC.h"

namespace korvyn {

HFONT FittedFont::For(HFONT base, const std::u16string& text, CSize area, bool wraps) {
    LOGFONT logFont{};
    if (base == nullptr || text.empty() || CFont::FromHandle(base)->GetLogFont(&logFont) == 0 ||
        logFont.lfHeight == 0) {
        return base;
    }
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    auto fits = [&](HFONT font) {
        HGDIOBJ old = dc.SelectObject(font);
        CRect need(0, 0, area.cx, 0);
        dc.DrawText(text, &need, DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
        dc.SelectObject(old);
        return need.Width() <= area.cx && need.Height() <= area.cy;
    };
    if (fits(base)) {
        return base;
    }
    // The sign of the height tells cell from character height; only its size changes.
    const LONG sign = logFont.lfHeight < 0 ? -1 : 1;
    HFONT smaller = base;
    for (LONG height = sign * logFont.lfHeight - 1; height >= kSmallestFittedHeight; --height) {
        auto [at, made] = m_fonts.try_emplace({base, height});
        if (made) {
            logFont.lfHeight = sign * height;
            at->second.CreateFontIndirect(&logFont);
        }
        if (at->second.GetSafeHandle() == nullptr) {
            continue;
        }
        smaller = at->second;
        if (fits(smaller)) {
            break;
        }
    }
    return smaller;
}

} // namespace korvyn
