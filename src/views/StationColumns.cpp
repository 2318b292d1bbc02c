#include "views/StationColumns.h"

#include "core/StationTable.h"
#include "platform/system/SystemTime.h"
#include "platform/system/TextCodec.h"
#include "settings/CLanguageTable.h"
#include "wifi/SecurityClass.h"

#include <array>
#include <charconv>
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
    {30, 0.1, 45, 0},       // Ch, room for a 6 GHz channel such as "6G233"
    {40, 0.1, 40, 0},       // Type
    {30, 0.1, 60, 0},       // Sec, room for "WPA2/3-E"
    {80, 0.1, 90, 0},       // MAC
    {40, 0.1, 40, 0},       // Best sig
    {40, 0.1, 40, 0},       // Worst sig
    {100, 0.1, 100, 0},     // First seen
    {100, 0.1, 100, 0},     // Last seen
}};

// Texts are put together in a small buffer and assigned to the caller's string, so a
// string that is reused row after row needs no memory of its own after the first.
class TextBuffer {
public:
    void Put(char c) { units_[size_++] = static_cast<char16_t>(c); }
    // At least two digits, as "%02d" writes them.
    void PutTwoDigits(long long value) {
        if (value >= 0 && value < 10) {
            Put('0');
        }
        PutNumber(value);
    }
    void PutNumber(long long value) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        for (const char* c = digits; c != end; ++c) {
            Put(*c);
        }
    }
    void PutHex(BYTE value) {
        constexpr char kHex[] = "0123456789ABCDEF";
        Put(kHex[value >> 4]);
        Put(kHex[value & 15]);
    }
    void AssignTo(std::u16string& out) const { out.assign(units_.data(), size_); }

private:
    std::array<char16_t, 64> units_{};
    std::size_t size_ = 0;
};

void PutNumber(long long value, std::u16string& out) {
    TextBuffer text;
    text.PutNumber(value);
    text.AssignTo(out);
}

void PutSignal(LONG rssi, std::u16string& out) {
    PutNumber(100 - std::llabs(static_cast<long long>(rssi)), out);
}

void PutDate(double date, std::u16string& out) {
    SYSTEMTIME st{};
    std::array<int, 6> f{-1, -1, -1, -1, -1, -1};
    if (VariantTimeToSystemTime(date, &st)) {
        f = {st.wYear % 1000, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
    }
    TextBuffer text;
    constexpr char kSeparators[] = "// ::";
    for (std::size_t i = 0; i < f.size(); ++i) {
        if (i > 0) {
            text.Put(kSeparators[i - 1]);
        }
        text.PutTwoDigits(f[i]);
    }
    text.AssignTo(out);
}

void PutMac(const BYTE (&mac)[6], std::u16string& out) {
    TextBuffer text;
    for (std::size_t i = 0; i < 6; ++i) {
        if (i > 0) {
            text.Put('-');
        }
        text.PutHex(mac[i]);
    }
    text.AssignTo(out);
}

void PutName(const StationRecord& station, std::u16string& out) {
    std::size_t n = 0;
    while (n < std::size(station.ssid) - 1 && station.ssid[n] != 0) {
        ++n;
    }
    out.assign(station.ssid, n);
}

// Channels 1 to 233 cover the 2.4, 5 and 6 GHz band plans; anything else is unknown.
void PutChannel(DWORD channel, Band band, std::u16string& out) {
    if (channel < 1 || channel > 233) {
        out.assign(u"--");
        return;
    }
    TextBuffer text;
    if (band == Band::Ghz6) {
        text.Put('6');
        text.Put('G');
    }
    text.PutNumber(channel);
    text.AssignTo(out);
}

} // namespace

std::u16string ChannelText(DWORD channel, Band band) {
    std::u16string text;
    PutChannel(channel, band, text);
    return text;
}

std::u16string SecurityText(DWORD privacy, const CLanguageTable& languages) {
    if (privacy == kSecurityOpen)
        return languages.Text(36);
    const std::string_view name = SecurityName(privacy);
    if (name.empty() || privacy == kSecurityUnknown || privacy == kSecurityWep)
        return languages.Text(35);
    return platform::Utf8ToUtf16(name);
}

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
    std::u16string text;
    PutSignal(rssi, text);
    return text;
}

std::u16string DateText(double date) {
    std::u16string text;
    PutDate(date, text);
    return text;
}

std::u16string StationName(const StationRecord& station) {
    std::u16string name;
    PutName(station, name);
    return name;
}

void StationCellText(const StationRecord& s, int column, const CLanguageTable& languages,
                     const ChannelUse& use, std::u16string& out) {
    switch (column) {
    case 0:
        PutName(s, out);
        break;
    case 1:
        if (s.active == 1) {
            PutSignal(s.rssi, out);
        } else {
            out.assign(u"-----");
        }
        break;
    case 2:
        PutChannel(s.channel, BandOf(use.frequencyKhz), out);
        break;
    case 3:
        out.assign(s.mode == 0 ? languages.Text(33) : s.mode == 1 ? languages.Text(34) : u"?");
        break;
    case 4:
        out.assign(SecurityText(s.privacy, languages));
        break;
    case 5:
        PutMac(s.mac, out);
        break;
    case 6:
        PutSignal(s.bestRssi, out);
        break;
    case 7:
        PutSignal(s.worstRssi, out);
        break;
    case 8:
        PutDate(s.firstSeen, out);
        break;
    case 9:
        PutDate(s.lastSeen, out);
        break;
    default:
        out.clear();
        break;
    }
}

std::u16string StationCellText(const StationRecord& station, int column,
                               const CLanguageTable& languages, const ChannelUse& use) {
    std::u16string text;
    StationCellText(station, column, languages, use, text);
    return text;
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
    const ChannelUse use = found ? stations.GetChannelUse(station.number) : ChannelUse{};
    for (int column = 0; column < kStationColumnCount; ++column) {
        if (found) {
            StationCellText(station, column, languages, use, texts[column]);
        } else {
            texts[column].clear();
        }
    }
}

} // namespace korvyn
