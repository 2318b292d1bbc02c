#include "platform/devices/SimScenarios.h"

#include "wifi/SecurityClass.h"

namespace korvyn::platform {
namespace {

constexpr int kDemoScans = 60;
constexpr ULONG kWpa2Enterprise = kSecurityWpa2 | kSecurityEnterprise;
constexpr ULONG kWpa3Enterprise = kSecurityWpa3 | kSecurityEnterprise;

struct DemoStation {
    BYTE mac[6];
    const char* ssid; // UTF-8 bytes
    ULONG mode;
    ULONG privacy;  // wifi/SecurityClass.h
    ULONG dsConfig; // kHz, or a channel number
    ULONG width;    // MHz of the whole channel; 0 when the adapter does not say
    ULONG centre;   // kHz
    bool shifted;   // RSSI reported shifted left by 16 bits
    int signal;     // mean dBm
    int swing;      // dBm above and below the mean
    int period;     // scans per drift cycle
    int appears;    // first scan in range
    int awayFrom;   // out of range from this scan...
    int awayTo;     // ...until this one
};

// clang-format off
const DemoStation kDemo[] = {
    {{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x01}, "Cafe \"Ritz\"",           1, kSecurityWpa2,      2437000, 20,  2437000, false, -48, 4, 12,  0,  0,  0},
    {{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x02}, "Smith, Jones & Co",       1, kWpa2Enterprise,    5180000, 80,  5210000, false, -63, 5, 16,  0, 30, 38},
    {{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x03}, "Kávézó",                  1, kSecurityOpen,      1,       0,   0,       false, -71, 3, 10,  2,  0,  0},
    {{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x04}, "Пекарня",                 1, kSecurityWpa2Wpa3,  2412000, 20,  2412000, true,  -55, 6, 20,  0, 20, 26},
    {{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x05}, "",                        1, kSecurityWpa2,      5500000, 80,  5530000, false, -77, 3, 14,  4,  0,  0},
    {{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x06}, "Łódź Guest",              1, kSecurityOpen,      2462000, 20,  2462000, false, -66, 8, 24,  1, 40, 47},
    {{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x07}, "HomeNet-5G",              1, kSecurityWpa3,      5745000, 80,  5775000, true,  -59, 4, 18,  0,  0,  0},
    {{0x02, 0x5e, 0x11, 0x22, 0x33, 0x08}, "PrinterDirect",           0, kSecurityOpen,      11,      0,   0,       false, -82, 2,  8,  6, 33, 41},
    {{0x02, 0x5e, 0x11, 0x22, 0x33, 0x09}, "Laptop-Ad-Hoc",           0, kSecurityWep,       2437000, 20,  2437000, false, -74, 6, 12,  2,  0,  0},
    {{0x02, 0x5e, 0x11, 0x22, 0x33, 0x0a}, "AutoMesh",                2, kSecurityWpa3,      6135000, 160, 6185000, false, -69, 5, 22,  3, 15, 19},
    {{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x0b}, "Library Free WiFi",       1, kSecurityOwe,       2412000, 20,  2412000, false, -80, 4, 16,  1,  0,  0},
    {{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x0c}, "Bäckerei Müller",         1, kSecurityWpa,       2447000, 20,  2447000, false, -61, 3, 10,  5, 44, 50},
    {{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x0d}, "Office 2.4",              1, kWpa2Enterprise,    2422000, 20,  2422000, false, -52, 2, 30,  0,  0,  0},
    {{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x0e}, "Office 5",                1, kWpa3Enterprise,    5200000, 80,  5210000, true,  -57, 3, 30,  0, 36, 39},
    {{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x0f}, "Guest \\ lounge",         1, kSecurityOpen,      2472000, 20,  2472000, false, -84, 3,  9, 15,  0,  0},
    {{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x10}, "A name of exactly 32 bytes long!", 1, kSecurityWpa2, 6, 0, 0,       false, -73, 4, 14,  7, 25, 29},
    {{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x11}, "Platform 14",             1, kSecurityOpen,      2484000, 20,  2484000, false, -88, 2, 11, 18,  0,  0},
    {{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x12}, "Tram 7",                  1, kSecurityOpen,      3,       0,   0,       true,  -79, 7, 13, 10, 22, 35},
    {{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x13}, "Gîte du Lac",             1, kSecurityWpa2,      5320000, 40,  5310000, false, -68, 4, 17,  8,  0,  0},
    {{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x14}, "Café, \"Le Nord\"",       1, kSecurityWpa2Wpa3,  2457000, 40,  2467000, false, -62, 5, 19,  1, 50, 55},
    {{0x02, 0x5e, 0x11, 0x22, 0x33, 0x15}, "Sensor-42",               0, kSecurityUnknown,   5805000, 20,  5805000, false, -86, 2,  7, 20,  0,  0},
    {{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x16}, "Hotel Ædelweiß",          1, kSecurityWpa3,      5975000, 80,  5985000, false, -75, 6, 21, 14, 28, 31},
    {{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x17}, "Garden Shed",             1, kSecurityWpa2,      2427000, 20,  2427000, true,  -83, 3, 15, 24,  0,  0},
    {{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x18}, "Neighbour",               1, kSecurityWpa2Wpa3,  2452000, 20,  2452000, false, -77, 5, 26,  0, 10, 14},
    {{0x02, 0x5e, 0x11, 0x22, 0x33, 0x19}, "Parking Level 2",         2, kSecurityOwe,       7015000, 320, 6905000, false, -81, 4, 13, 30,  0,  0},
    {{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x1a}, "Studio 6E",               1, kSecurityWpa3,      6295000, 160, 6345000, false, -64, 4, 20,  0,  0,  0},
};
// clang-format on

// Triangle wave between signal - swing and signal + swing.
int DriftedSignal(const DemoStation& s, int scan) {
    const int half = s.period / 2;
    const int phase = scan % s.period;
    const int rise = phase <= half ? phase : s.period - phase;
    return s.signal - s.swing + (2 * s.swing * rise) / half;
}

} // namespace

ScanScript DemoScenario() {
    ScanScript script;
    script.adapters = {{u"wlan0", true}, {u"eth0", false}};
    for (int scan = 0; scan < kDemoScans; ++scan) {
        auto& entries = script.scans.emplace_back();
        for (const DemoStation& s : kDemo) {
            if (scan < s.appears || (scan >= s.awayFrom && scan < s.awayTo))
                continue;
            NDIS_WLAN_BSSID& e =
                entries.emplace_back(MakeBssid(s.mac, EncodeRssi(DriftedSignal(s, scan), s.shifted),
                                               s.dsConfig, s.mode, s.privacy, s.ssid));
            SetChannelWidth(e, s.width, s.centre);
        }
    }
    return script;
}

ScanScript EmptyScenario() {
    ScanScript script;
    script.adapters = {{u"wlan0", true}};
    return script;
}

ScanScript NoneScenario() {
    ScanScript script;
    script.adapters = {{u"lo", false}, {u"eth0", false}, {u"PPTP1", true}, {u"asyncmac1", true}};
    return script;
}

} // namespace korvyn::platform
