#include "views/StationDetails.h"

#include "controls/TahomaFont.h"
#include "platform/system/TextCodec.h"
#include "platform/ui/CDC.h"
#include "settings/CLanguageTable.h"
#include "views/MeterLayout.h"
#include "views/StationColumns.h"

namespace korvyn {

namespace {

constexpr int kChannelHeading = kFirstHeadingText + 2; // "Ch"

const char16_t* BandText(Band band) {
    switch (band) {
    case Band::Ghz2_4:
        return u"2.4 GHz";
    case Band::Ghz5:
        return u"5 GHz";
    case Band::Ghz6:
        return u"6 GHz";
    default:
        return u"";
    }
}

std::u16string Number(DWORD n) {
    return platform::Utf8ToUtf16(std::to_string(n));
}

} // namespace

std::u16string StationAirLine(const StationRecord& station, const ChannelUse& use,
                              const CLanguageTable& languages) {
    std::u16string where = BandText(BandOf(use.frequencyKhz));
    if (station.channel >= 1 && station.channel <= 233) {
        if (!where.empty())
            where += u' ';
        where += languages.Text(kChannelHeading) + u' ' + Number(station.channel);
        if (use.widthMhz != 0)
            where += u" (" + Number(use.widthMhz) + u" MHz)";
    }
    std::u16string line = where;
    auto add = [&line](const std::u16string& part) {
        if (part.empty())
            return;
        if (!line.empty())
            line += u" \u00B7 ";
        line += part;
    };
    if (use.frequencyKhz != 0)
        add(Number(use.frequencyKhz / 1000) + u" MHz");
    add(SecurityText(station.privacy, languages));
    return line;
}

void StationDetails::Draw(CDC& dc, const CRect& rect, int scale, const std::u16string& air,
                          const std::u16string& maker) {
    if (rect.IsRectEmpty())
        return;
    if (scale != m_scale) {
        m_fitted = FittedFont();
        m_font.DeleteObject();
        CreateTahomaFont(m_font, kMeterDetailsHeight * scale, FW_NORMAL);
        m_scale = scale;
    }
    const HFONT font = static_cast<HFONT>(m_font.m_hObject);
    const int half = rect.Height() / 2;
    const CRect lines[] = {CRect(rect.left, rect.top, rect.right, rect.top + half),
                           CRect(rect.left, rect.top + half, rect.right, rect.bottom)};
    const std::u16string* texts[] = {&air, &maker};
    for (int i = 0; i < 2; ++i) {
        if (texts[i]->empty())
            continue;
        CRect line = lines[i];
        HGDIOBJ old = dc.SelectObject(m_fitted.For(font, *texts[i], line.Size(), false));
        dc.DrawText(*texts[i], &line,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        dc.SelectObject(old);
    }
}

} // namespace korvyn
