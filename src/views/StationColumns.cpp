#include "views/StationColumns.h"

#include "core/StationTable.h"
#include "platform/system/SystemTime.h"
#include "platform/system/TextCodec.h"
#include "settings/CLanguageTable.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>

namespace korvyn {
namespace {

struct ColumnRule {
    int initialWidth;
    double firstFactor;
    double secondFactor;
    double addend;
};

constexpr std::array<ColumnRule, kStationColumnCount> kColumns = {{
    {50, 0.1, 50, 0},       // Name
    {35, 1.0 / 14, 35, 10}, // Sig, wide enough for the wedge
    {30, 0.1, 30, 0},       // Ch
    {40, 0.1, 40, 0},       // Type
    {30, 0.1, 35, 0},       // Sec
    {80, 0.1, 90, 0},       // MAC
    {40, 0.1, 40, 0},       // Best sig
    {40, 0.1, 40, 0},       // Worst sig
    {100, 0.1, 100, 0},     // First seen
    {100, 0.1, 100, 0},     // Last seen
}};

std::u16string Number(long long value) {
    return platform::Utf8ToUtf16(std::to_string(value));
}

std::u16string MacText(const BYTE (&mac)[6]) {
    char text[18];
    std::snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", mac[0], mac[1], mac[2],
                  mac[3], mac[4], mac[5]);
    return platform::Utf8ToUtf16(text);
}

// Channels 1 to 233 cover the 2.4, 5 and 6 GHz band plans; anything else is unknown.
std::u16string ChannelText(DWORD channel) {
    return channel >= 1 && channel <= 233 ? Number(channel) : u"--";
}

} // namespace

int ListFontSize(long long stored) {
    return stored >= 10 && stored <= 20 ? static_cast<int>(stored) : 12;
}

int ColumnInitialWidth(int column) {
    return column >= 0 && column < kStationColumnCount ? kColumns[column].initialWidth : 0;
}

int ColumnWidth(int column, int fontSize) {
    if (column < 0 || column >= kStationColumnCount) {
        return 0;
    }
    const ColumnRule& rule = kColumns[column];
    double width = static_cast<double>(fontSize) * rule.firstFactor;
    width = width * rule.secondFactor;
    width = width + rule.addend;
    return static_cast<int>(width);
}

std::u16string SignalText(LONG rssi) {
    return Number(100 - std::llabs(static_cast<long long>(rssi)));
}

std::u16string DateText(double date) {
    SYSTEMTIME st{};
    std::array<int, 6> f{-1, -1, -1, -1, -1, -1};
    if (VariantTimeToSystemTime(date, &st)) {
        f = {st.wYear % 1000, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
    }
    char text[64];
    std::snprintf(text, sizeof text, "%02d/%02d/%02d %02d:%02d:%02d", f[0], f[1], f[2], f[3], f[4],
                  f[5]);
    return platform::Utf8ToUtf16(text);
}

std::u16string StationName(const StationRecord& station) {
    std::size_t n = 0;
    while (n < std::size(station.ssid) - 1 && station.ssid[n] != 0) {
        ++n;
    }
    return std::u16string(station.ssid, n);
}

std::u16string StationCellText(const StationRecord& s, int column,
                               const CLanguageTable& languages) {
    switch (column) {
    case 0:
        return StationName(s);
    case 1:
        return s.active == 1 ? SignalText(s.rssi) : u"-----";
    case 2:
        return ChannelText(s.channel);
    case 3:
        return s.mode == 0 ? languages.Text(33) : s.mode == 1 ? languages.Text(34) : u"?";
    case 4:
        return languages.Text(s.privacy == 0 ? 36 : 35);
    case 5:
        return MacText(s.mac);
    case 6:
        return SignalText(s.bestRssi);
    case 7:
        return SignalText(s.worstRssi);
    case 8:
        return DateText(s.firstSeen);
    case 9:
        return DateText(s.lastSeen);
    default:
        return {};
    }
}

StationTexts StationHeadings(const CLanguageTable& languages) {
    StationTexts headings;
    for (int column = 0; column < kStationColumnCount; ++column) {
        headings[column] = languages.Text(kFirstHeadingText + column);
    }
    return headings;
}

void StationRowTexts(const StationTable& stations, int row, const CLanguageTable& languages,
                     StationTexts& texts) {
    StationRecord station{};
    const bool found = stations.GetViewItem(row, station);
    for (int column = 0; column < kStationColumnCount; ++column) {
        texts[column] = found ? StationCellText(station, column, languages) : std::u16string();
    }
}

} // namespace korvyn
