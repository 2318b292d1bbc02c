#pragma once
// The zoomed meter's details of its station, in two lines: where it sends (band, channel
// with the channel's width, frequency) and its kind of security; then who made it, by
// the maker registered for its MAC address ("random MAC" for an address the device made
// up), left out when unknown.
#include "controls/FittedFont.h"
#include "core/StationRecord.h"
#include "wifi/ChannelUse.h"

#include <string>

class CDC;
class CLanguageTable;

namespace korvyn {

class OuiMakers;

// "5 GHz Ch 36 (80 MHz) · 5180 MHz · WPA2"; parts that are unknown are left out.
std::u16string StationAirLine(const StationRecord& station, const ChannelUse& use,
                              const CLanguageTable& languages);

class StationDetails {
public:
    // Both lines, centred in rect in a Tahoma of kMeterDetailsHeight times scale pixels,
    // each in a smaller one when it does not fit otherwise.
    void Draw(CDC& dc, const CRect& rect, int scale, const std::u16string& air,
              const std::u16string& maker);

private:
    CFont m_font; // kept, so that the fitted fonts made from it are made once
    int m_scale = 0;
    FittedFont m_fitted;
};

} // namespace korvyn
