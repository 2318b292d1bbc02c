#include "platform/devices/ScanFile.h"

#include "platform/devices/DeviceIo.h"
#include "platform/devices/SimScenarios.h"
#include "platform/devices/SimulatedDriver.h"
#include "platform/devices/WifiDriverFactory.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

using namespace korvyn::platform;
using korvyn::test::ReadFileBytes;
using korvyn::test::TempDir;
using korvyn::test::WriteFileBytes;
namespace fs = std::filesystem;

std::string SsidOf(const NDIS_WLAN_BSSID& e) {
    return std::string(reinterpret_cast<const char*>(e.Ssid.Ssid), e.Ssid.SsidLength);
}

bool SameEntry(const NDIS_WLAN_BSSID& a, const NDIS_WLAN_BSSID& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Scripts compare through their text, which holds every field the reader reads.
std::string Text(const ScanScript& script) {
    std::string text = FormatScanFileHeader(script.adapters);
    for (const auto& scan : script.scans)
        text += FormatScan(scan);
    return text;
}

// Comments, blank lines, CR LF line ends, spaces, escapes and extreme numbers.
TEST(ScanFile, ReadsEveryField) {
    const BYTE odd[6] = {0xaa, 0xbb, 0xcc, 0xdd, 0xee, 0xff},
               peer[6] = {2, 0x11, 0x22, 0x33, 0x44, 0x55};
    const NDIS_WLAN_BSSID expected[] = {
        MakeBssid(odd, 0x80000000u, 0, 2, 4294967295u, std::string("a\\b\0\xff\"", 6)),
        MakeBssid(peer, 0xFFC40000u, 7125000, 1, 0, "12345678901234567890123456789012")};
    ScanScript script;
    std::string error;
    ASSERT_TRUE(ParseScanFile(
        "korvyn-scan 1\r\n# a comment\r\n\r\nadapter wlan0 wireless\r\nadapter eth0 other\r\n"
        "scan\r\n  bss AA:bb:CC:dd:EE:ff -2147483648 0 2 4294967295 \"a\\\\b\\x00\\xFF\\\"\"  \r\n"
        "bss 02:11:22:33:44:55 0xffc40000 7125000 1 0 \"12345678901234567890123456789012\"\r\n"
        "end\r\n",
        script, error))
        << error;
    ASSERT_EQ(script.adapters.size(), 2u);
    EXPECT_EQ(script.adapters[0].name, u"wlan0");
    EXPECT_TRUE(script.adapters[0].wireless && !script.adapters[1].wireless);
    ASSERT_EQ(script.scans.size(), 1u);
    ASSERT_EQ(script.scans[0].size(), 2u);
    for (std::size_t i = 0; i < 2; ++i)
        EXPECT_TRUE(SameEntry(script.scans[0][i], expected[i])) << SsidOf(script.scans[0][i]);
}

TEST(ScanFile, MalformedFilesAreRefusedWithTheirLineNumber) {
    // A file whose third line is a bss line ending in tail.
    auto bss = [](const char* tail) {
        return std::string("korvyn-scan 1\nscan\nbss 00:0a:1b:2c:3d:4e ") + tail + "\nend\n";
    };
    const std::pair<std::string, const char*> cases[] = {
        {"", "line 1: not a scan file"},
        {"\n\nkorvyn-scan 2\n", "line 3: unsupported scan file version"},
        {"korvyn-scan 1\nadapter wlan0\n", "line 2: expected \"adapter NAME wireless\""},
        {"korvyn-scan 1\nadapter a other\nadapter a wireless\n",
         "line 3: adapter \"a\" listed twice"},
        {"korvyn-scan 1\nscan\nend\nadapter wlan0 wireless\n", "line 4: adapters must come"},
        {"korvyn-scan 1\nend\n", "line 2: end without scan"},
        {"korvyn-scan 1\nscan\nscan\n", "line 3: scan inside a scan (the one of line 2"},
        {"korvyn-scan 1\nbss 00:0a:1b:2c:3d:4e -60 6 1 1 \"x\"\n", "line 2: bss outside a scan"},
        {"korvyn-scan 1\nscan\nbss 00:0a:1b:2c:3d:4g -60 6 1 1 \"x\"\nend\n", "line 3: bad MAC"},
        {bss("-60dB 6 1 1 \"x\""), "line 3: bad RSSI"},
        {bss("-60 -6 1 1 \"x\""), "line 3: bad DSConfig"},
        {bss("-60 6 1 +1 \"x\""), "line 3: bad privacy"},
        {bss("-60 6 1 1 x"), "line 3: expected the SSID"},
        {bss("-60 6 1 1 \"x"), "line 3: SSID without"},
        {bss("-60 6 1 1 \"x\" y"), "line 3: unknown field \"y\""},
        {bss("-60 6 1 1 \"\\x4\""), "line 3: bad escape"},
        {bss("-60 6 1 1 \"123456789012345678901234567890123\""),
         "line 3: SSID longer than 32 bytes"},
        {bss("-60 6 1 1 \"x\"sec=wpa2"), "line 3: text after the SSID"},
        {bss("-60 6 1 1 \"x\" sec=xpa2"), "line 3: bad sec="}, // every letter counts
        {bss("-60 6 1 1 \"x\" sec=wpa2 sec=wpa3"), "line 3: sec= given twice"},
        {bss("-60 6 1 0 \"x\" sec=wpa2"), "line 3: sec=wpa2 disagrees with privacy 0"},
        {bss("-60 6 1 1 \"x\" sec=open"), "line 3: sec=open disagrees with privacy 1"},
        {bss("-60 6 1 1 \"x\" width=30"), "line 3: bad width="},
        {bss("-60 6 1 1 \"x\" center=0"), "line 3: bad center="},
        {"korvyn-scan 1\nscan extra\n", "line 2: text after \"scan\""},
        // File content in a message: control characters escaped, long text cut short.
        {"korvyn-scan \x07\x1b]0;owned\x9c\n",
         "line 1: unsupported scan file version \"\\x07\\x1b]0;owned\\x9c\" (expected 1)"},
        {"korvyn-scan 1\n\x1b[2J\xc2\x9b"
         "31m\xff\xe2\x82\xac x\n",
         "line 2: unknown line \"\\x1b[2J\\x9b31m\\xff\xe2\x82\xac\""},
        {"korvyn-scan 1\n" + std::string(100000, 'w') + "\n",
         "line 2: unknown line \"wwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwww...\""},
    };
    for (const auto& [text, expected] : cases) {
        ScanScript script;
        script.adapters = {{u"kept", true}};
        std::string error;
        EXPECT_FALSE(ParseScanFile(text, script, error)) << text;
        EXPECT_EQ(error.rfind(expected, 0), 0u) << "file:\n" << text << "gave: " << error;
        EXPECT_EQ(script.adapters.size(), 1u) << "a refused file changes nothing";
    }
}

// Line ends of old systems (a byte-order mark: tests/app), and files that end part-way through
// their last scan, as a crash or a full disk leaves a recording: the whole scans are read and the
// cut one is left out.
TEST(ScanFile, LineEndsAndACutLastScan) {
    const std::string scan1 = "scan\nbss 00:0a:1b:2c:3d:4e -60 6 1 1 \"a\"\nend\n";
    const std::string scan2 = "scan\nbss 02:11:22:33:44:55 -70 11 1 0 \"b\"\nend\n";
    const std::string whole = "korvyn-scan 1\nadapter wlan0 wireless\n" + scan1 + scan2;
    struct Case {
        std::string what, text;
        std::size_t scans, cutLine, bytes; // bytes before the cut scan
    };
    const std::size_t second = whole.size() - scan2.size();
    std::vector<Case> cases = {
        {"LF", whole, 2, 0, whole.size()},
        {"no line end after the last end", whole.substr(0, whole.size() - 1), 2, 0,
         whole.size() - 1},
    };
    std::string cr = whole; // CR LF: ReadsEveryField
    std::replace(cr.begin(), cr.end(), '\n', '\r');
    cases.push_back({"CR", cr, 2, 0, cr.size()});
    // Cut at every byte of the second scan: the first one is read, the second left out.
    for (std::size_t at = second + 1; at < whole.size() - 1; ++at)
        cases.push_back({"cut at byte " + std::to_string(at), whole.substr(0, at), 1, 6, second});
    for (const Case& c : cases) {
        ScanScript script;
        std::string error;
        ScanFileCut cut;
        ASSERT_TRUE(ParseScanFile(c.text, script, error, &cut)) << c.what << ": " << error;
        EXPECT_EQ(script.adapters.size(), 1u) << c.what;
        ASSERT_EQ(script.scans.size(), c.scans) << c.what;
        EXPECT_EQ(SsidOf(script.scans.back().at(0)), c.scans == 1 ? "a" : "b") << c.what;
        EXPECT_EQ(cut.line, c.cutLine) << c.what;
        EXPECT_EQ(cut.bytes, c.bytes) << c.what;
    }
}

// The fields after the name, in any order (each kind and width by itself: tests/app).
TEST(ScanFile, OptionalFieldsAfterTheName) {
    const struct {
        const char* line;
        ULONG privacy, width, centre;
    } cases[] = {
        {"1 \"x\" sec=WPA2-E width=80 center=5210000", 20, 80, 5210000},
        {"1 \"x\"  center=6185000\twidth=160   sec=wpa3 ", 5, 160, 6185000},
        {"9 \"x\" sec=owe", 7, 0, 0},
        {"3 \"x\" sec=secured", 1, 0, 0},
        {"1 \"a \\\" b=c\" sec=wpa", 3, 0, 0},
    };
    for (const auto& c : cases) {
        ScanScript script;
        std::string error;
        const std::string text = std::string("korvyn-scan 1\nscan\nbss 00:0a:1b:2c:3d:4e -60 "
                                             "2412000 1 ") +
                                 c.line + "\nend\n";
        ASSERT_TRUE(ParseScanFile(text, script, error)) << c.line << ": " << error;
        const NDIS_WLAN_BSSID& e = script.scans.at(0).at(0);
        EXPECT_EQ(e.Privacy, c.privacy) << c.line;
        EXPECT_EQ(e.Configuration.FHConfig.HopPattern, c.width) << c.line;
        EXPECT_EQ(e.Configuration.FHConfig.HopSet, c.centre) << c.line;
    }
}

// Reading the text back is tried with any bytes by fuzz/ScanFile_fuzz.cpp; here, how it reads.
TEST(ScanFile, FormatKeepsNamesReadableAndKindsByName) {
    ScanScript script = DemoScenario();
    const BYTE mac[6] = {0xde, 0xad, 0xbe, 0xef, 0x00, 0x01};
    script.scans[0].push_back(MakeBssid(mac, 0xFF000000u, 5935000, 2, 9,
                                        std::string("\x01\"\\\x7f\xc3(\xe2\x82\xac\0", 10)));
    const std::string text = Text(script);
    EXPECT_NE(text.find(" 2457000 1 1 \"Café, \\\"Le Nord\\\"\" sec=wpa2/3 width=40 "
                        "center=2467000\n"),
              std::string::npos)
        << "the kind by name, the privacy field as the flag";
    EXPECT_NE(text.find(" 5805000 0 1 \"Sensor-42\" width=20 center=5805000\n"), std::string::npos)
        << "an unknown kind stays the plain flag";
    EXPECT_NE(text.find("\"\\x01\\\"\\\\\\x7f\\xc3(€\\x00\""), std::string::npos) << text;
}

// --- the recorder (a disk filling up under it: tests/app) ---

// Ticks of the adapter wlan0 through a driver, each after a failed read of another one;
// false when a read of wlan0 failed.
bool Record(WifiDriver& driver, int ticks) {
    std::vector<NDIS_WLAN_BSSID> entries;
    for (int tick = 0; tick < ticks; ++tick)
        if (driver.ReadNetworkList(u"eth9", entries) == ERROR_SUCCESS ||
            driver.ReadNetworkList(u"wlan0", entries) != ERROR_SUCCESS ||
            driver.RequestScan(u"wlan0") != ERROR_SUCCESS)
            return false;
    return true;
}

// Only a scan file (or nothing) is recorded into, and nothing else is changed; a failed
// read records nothing. Pipes, folders, devices, links and replays of a recording: tests/app.
TEST(ScanRecorder, RecordsOnlyIntoAScanFile) {
    TempDir dir;
    WriteFileBytes(dir / "notes.txt", "my notes\n");
    WriteFileBytes(dir / "cut.scan",
                   "korvyn-scan 1\nadapter wlan0 wireless\nscan\nend\nscan\nbss 0");
    const std::pair<fs::path, const char*> cases[] = {
        {dir / "notes.txt", "line 1: not a scan file"},
        {dir / "no/such/dir/x.scan", "cannot be written"},
        {dir / "cut.scan", nullptr}};
    for (const auto& [target, refusal] : cases) {
        std::string error;
        auto driver = MakeWifiDriver("sim:demo", target, error);
        EXPECT_EQ(driver && Record(*driver, 2), refusal == nullptr) << target << ": " << error;
        if (refusal) {
            EXPECT_NE(error.find(refusal), std::string::npos) << error;
            EXPECT_NE(error.find(target.string()), std::string::npos) << error;
        }
    }
    EXPECT_EQ(ReadFileBytes(dir / "notes.txt"), "my notes\n");
    // The cut scan made way for the new ones, which are the demo's first two.
    ScanScript script;
    std::string error;
    ScanFileCut cut;
    ASSERT_TRUE(ParseScanFile(ReadFileBytes(dir / "cut.scan"), script, error, &cut)) << error;
    EXPECT_EQ(cut.line, 0u);
    ASSERT_EQ(script.scans.size(), 3u);
    const ScanScript demo = DemoScenario();
    EXPECT_EQ(FormatScan(script.scans[1]) + FormatScan(script.scans[2]),
              FormatScan(demo.scans[0]) + FormatScan(demo.scans[1]));
}

} // namespace
