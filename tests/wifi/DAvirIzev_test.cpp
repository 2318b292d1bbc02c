#include "wifi/DAvirIzev.h"

#include "platform/devices/DeviceIo.h"
#include "platform/system/DocumentsFolder.h"
#include "support/FakeWifiDriver.h"
#include "support/TempDir.h"
#include "wifi/ChannelUse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <optional>
#include <tuple>

namespace {

using korvyn::test::EntryBytes;
using korvyn::test::FakeWifiDriver;
using korvyn::test::ListBytes;
using Messages = std::vector<std::string>;
constexpr LONG kGarbage = static_cast<LONG>(0xEEEEEEEE);

// The adapter trace of the diagnostic build (KORVYN_TRACE), written into a fresh documents
// folder; in the normal build there is none.
struct TraceLog {
#if defined(KORVYN_TRACE) && KORVYN_TRACE
    static constexpr bool kEnabled = true;
#else
    static constexpr bool kEnabled = false;
#endif
    korvyn::test::TempDir dir;
    TraceLog() {
        korvyn::platform::SetDocumentsFolderOverride(dir.path());
    }
    ~TraceLog() {
        korvyn::platform::SetDocumentsFolderOverride({});
    }
    // The messages so far, from the operation's name on (after the time stamp).
    std::vector<std::string> Messages() const {
        std::vector<std::string> messages;
        std::ifstream in(dir / "dizov.txt");
        for (std::string line; std::getline(in, line);) {
            const auto at = line.find("DAvirIzev::");
            messages.push_back(at == std::string::npos ? line : line.substr(at));
        }
        return messages;
    }
};

class DAvirIzevTest : public ::testing::Test {
protected:
    void SetUp() override { korvyn::platform::SetWifiDriver(driver); }
    void TearDown() override { korvyn::platform::SetWifiDriver(nullptr); }

    // Reads the fake's list through a fresh adapter object into observations that start
    // out as garbage, so that every unit the call should write is seen to be written.
    DWORD Read(const std::string& list, DWORD capacity = 128 * sizeof(ScanObservation)) {
        driver->list = list;
        std::memset(obs, 0xEE, sizeof obs);
        DAvirIzev adapter;
        DWORD count = 12345;
        EXPECT_TRUE(adapter.GetBSSIDs(u"wlan0", obs, capacity, count));
        EXPECT_EQ(obs[count].rssi, kGarbage) << "nothing written past the count";
        return count;
    }

    std::shared_ptr<FakeWifiDriver> driver = std::make_shared<FakeWifiDriver>();
    ScanObservation obs[130];
};

TEST_F(DAvirIzevTest, ConvertsEveryFieldOfEachEntry) {
    // Pairs of DSConfig and channel: a channel up to 14, otherwise a frequency on the 2.4,
    // 5 or 6 GHz plan; the last three are outside the plans.
    const DWORD channels[] = {14,      14,  2412000, 1,   2472000, 13, 2484000, 14,
                              5920000, 184, 5935000, 2,   5955000, 1,  7115000, 233,
                              2477000, 14,  5000000, 518, 5945000, 707};
    // Both signal encodings; the shifted one needs 0xFF as its top byte.
    const std::pair<DWORD, LONG> signals[] = {
        {0xFFC40000u, -60}, {0xFFFFFFC4u, -60}, {0xFF000000u, -256}, {0x00C40000u, 0x00C40000}};
    // The name field is compared whole: the name, then zeros up to its 33rd unit. A length
    // of 0 or above 32 takes the whole field; a zero byte ends the name.
    const std::string n32 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
    const std::tuple<ULONG, std::string, std::u16string> names[] = {
        {0, "Hidden", u"Hidden"},
        {31, n32, u"ABCDEFGHIJKLMNOPQRSTUVWXYZ01234"},
        {32, n32, u"ABCDEFGHIJKLMNOPQRSTUVWXYZ012345"},
        {200, n32, u"ABCDEFGHIJKLMNOPQRSTUVWXYZ012345"},
        {6, "K\xc3\xa1v\xc3\xa9", u"K\u00e1v\u00e9"},
        {9, std::string("ab\0cd", 5), u"ab"}};
    std::vector<std::string> entries = {EntryBytes()
                                            .Mac({0x00, 0x0a, 0x1b, 0x2c, 0x3d, 0x4e})
                                            .Ssid(4, "Ritz")
                                            .Privacy(7)
                                            .Rssi(static_cast<DWORD>(-61))
                                            .DsConfig(2437000)
                                            .Mode(2)
                                            .Bytes()};
    for (std::size_t i = 0; i < std::size(channels); i += 2)
        entries.push_back(EntryBytes().DsConfig(channels[i]).Bytes());
    for (const auto& [raw, rssi] : signals)
        entries.push_back(EntryBytes().Rssi(raw).Bytes());
    for (const auto& [length, bytes, name] : names)
        entries.push_back(EntryBytes().Ssid(length, bytes).Bytes());
    const auto items = static_cast<ULONG>(entries.size());
    ASSERT_EQ(Read(ListBytes(items, entries)), items);

    const BYTE mac[6] = {0x00, 0x0a, 0x1b, 0x2c, 0x3d, 0x4e};
    EXPECT_EQ(std::memcmp(obs[0].mac, mac, 6), 0);
    EXPECT_EQ(std::u16string(obs[0].ssid, 33), u"Ritz" + std::u16string(29, 0));
    EXPECT_EQ(obs[0].rssi, -61);
    EXPECT_EQ(obs[0].channel, 6u);
    EXPECT_EQ(obs[0].privacy, 7u);
    EXPECT_EQ(obs[0].mode, 2u);
    const ScanObservation* o = obs + 1;
    for (std::size_t i = 0; i < std::size(channels); i += 2)
        EXPECT_EQ((o++)->channel, channels[i + 1]) << "DSConfig " << channels[i];
    for (const auto& [raw, rssi] : signals)
        EXPECT_EQ((o++)->rssi, rssi) << std::hex << raw;
    for (const auto& [length, bytes, name] : names) {
        EXPECT_EQ(std::u16string(o->ssid, 33), name + std::u16string(33 - name.size(), 0))
            << length << " " << bytes;
        ++o;
    }
}

// The centre of a channel named in an element, on each band's plan, and back.
TEST(ChannelFrequency, EachBandsPlan) {
    using korvyn::Band;
    const std::tuple<Band, DWORD, DWORD> cases[] = {
        {Band::Ghz2_4, 1, 2412000}, {Band::Ghz2_4, 14, 2484000}, {Band::Ghz5, 36, 5180000},
        {Band::Ghz6, 2, 5935000},   {Band::Ghz6, 1, 5955000},    {Band::Ghz6, 233, 7115000},
        {Band::Unknown, 6, 0}};
    for (const auto& [band, channel, khz] : cases) {
        EXPECT_EQ(korvyn::ChannelFrequency(band, channel), khz) << channel;
        EXPECT_EQ(korvyn::BandOf(khz), band) << khz;
    }
}

// The walk stays within the bytes the driver says it returned and the room given; the
// last entry read shows that entries with elements are stepped over whole.
TEST_F(DAvirIzevTest, WalkStaysWithinTheReturnedBytesAndTheRoom) {
    const std::string good = EntryBytes().Rssi(static_cast<DWORD>(-50)).Bytes();
    const std::string elements =
        EntryBytes().Length(sizeof(NDIS_WLAN_BSSID) + 20).Extra(20).Bytes();
    const std::string last = EntryBytes().Rssi(static_cast<DWORD>(-52)).Bytes();
    const auto length = [](ULONG v) { return EntryBytes().Length(v).Bytes(); };
    const DWORD all = 128 * sizeof(ScanObservation), one = sizeof(ScanObservation);
    const DWORD entry = sizeof(NDIS_WLAN_BSSID);
    const struct {
        const char* what;
        std::string list;
        std::optional<DWORD> claimed;
        DWORD room, count;
        LONG lastRssi;
    } cases[] = {
        {"elements", ListBytes(3, {good, elements, last}), {}, all, 3, -52},
        {"short Length", ListBytes(3, {good, length(50), last}), {}, all, 1, -50},
        {"Length past the list", ListBytes(2, {good, length(5000)}), {}, all, 1, -50},
        {"more items claimed", ListBytes(5, {good, last}), {}, all, 2, -52},
        {"second entry a byte short", ListBytes(2, {good, last}), 4 + 2 * entry - 1, all, 1, -50},
        {"no item count", ListBytes(2, {good, last}), 2, all, 0, 0},
        {"room for one", ListBytes(3, {good, good, last}), {}, one + 87, 1, -50},
        {"no room", ListBytes(3, {good, good, last}), {}, 0, 0, 0},
        {"no entries", ListBytes(0, {}), {}, all, 0, 0},
        {"no bytes", "", {}, all, 0, 0},
    };
    for (const auto& c : cases) {
        driver->claimedBytes = c.claimed;
        ASSERT_EQ(Read(c.list, c.room), c.count) << c.what;
        if (c.count > 0) {
            EXPECT_EQ(obs[c.count - 1].rssi, c.lastRssi) << c.what;
        }
    }
}

TEST_F(DAvirIzevTest, FailedReadsAndScanRequests) {
    TraceLog trace;
    DAvirIzev adapter;
    DWORD count = 9;
    EXPECT_FALSE(adapter.GetBSSIDs(u"wlan0", nullptr, 100, count));
    EXPECT_EQ(count, 0u);

    driver->listError = ERROR_BUSY;
    count = 9;
    EXPECT_FALSE(adapter.GetBSSIDs(u"wlan0", obs, sizeof obs, count));
    EXPECT_EQ(count, 9u) << "a failed read leaves the count alone";
    EXPECT_EQ(GetLastError(), ERROR_BUSY);

    driver->listError = 0;
    driver->list = ListBytes(1, {EntryBytes().Bytes()});
    EXPECT_TRUE(adapter.GetBSSIDs(u"wlan0", obs, sizeof obs, count));
    EXPECT_EQ(count, 1u);

    EXPECT_TRUE(adapter.RefreshBSSIDs(u"wlan1"));
    driver->scanError = ERROR_ACCESS_DENIED;
    EXPECT_FALSE(adapter.RefreshBSSIDs(u"wlan1"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(driver->scanRequests, (std::vector<std::u16string>{u"wlan1", u"wlan1"}));
    if (TraceLog::kEnabled) {
        EXPECT_EQ(trace.Messages(), (Messages{"DAvirIzev::OpenDriver: opened NDISUIO driver ok.",
                                              "DAvirIzev::GetBSSIDs: null pointer.",
                                              "DAvirIzev::GetBSSIDs: failed to get list. Err: 170",
                                              "DAvirIzev::GetBSSIDs: received 1 entries.",
                                              "DAvirIzev::GetBSSIDs: processed one entry.",
                                              "DAvirIzev::GetBSSIDs: returning.",
                                              "DAvirIzev::RefreshBSSIDs: succeeded.",
                                              "DAvirIzev::RefreshBSSIDs: failed. Err: 5"}));
    }
}

// Wireless adapters joined by one comma, as many whole names as fit with the terminator;
// names on the excluded list (in any case, whole names only), wired adapters and those
// whose medium cannot be queried left out.
TEST_F(DAvirIzevTest, AdapterListHoldsTheWirelessNamesThatFit) {
    using Adapters = std::vector<std::pair<std::u16string, ULONG>>;
    const Adapters two = {{u"wlan0", 1}, {u"wlan1", 1}};
    Adapters excluded = {{u"eth0", 14}}; // wired
    for (const char16_t* name : {u"pptp1", u"Xsc1_IrDA1", u"l2tp1", u"wlan9", u"irsir1",
                                 u"RndisFn1", u"wwan1", u"wwan", u"IRSIR10"})
        excluded.emplace_back(name, 1);
    const struct {
        Adapters adapters;
        DWORD room;
        const char16_t* text; // nullptr: the buffer is left untouched
        bool ok;
    } cases[] = {
        {{{u"ASYNCMAC1", 1}, {u"wlan0", 1}, {u"PPTP1", 1}}, 2048, u"wlan0", true},
        {excluded, 2048, u"wwan,IRSIR10", true}, // whole names only
        {{{u"wlan0", 1}, {u"eth0", 0}, {u"wlp3s0", 1}}, 2048, u"wlan0,wlp3s0", true},
        {two, 24, u"wlan0,wlan1", true},
        {two, 23, u"wlan0", true},
        {two, 11, nullptr, true},
        {two, 1, nullptr, false},
        {{{u"lo", 0}, {u"eth0", 0}}, 2048, nullptr, true},
    };
    driver->mediumFails = {u"wlan9"};
    for (const auto& c : cases) {
        TraceLog trace;
        driver->adapters = c.adapters;
        WCHAR buffer[1024];
        std::fill(std::begin(buffer), std::end(buffer), u'#');
        DWORD length = c.room;
        EXPECT_EQ(DAvirIzev().GetAdapters(buffer, length), c.ok) << c.room;
        const std::u16string text = c.text ? c.text : u"";
        EXPECT_EQ(length, 2 * text.size()) << c.room;
        EXPECT_EQ(std::u16string(buffer, text.size() + 1), c.text ? text + u'\0' : u"#") << c.room;
        if (TraceLog::kEnabled && &c == cases) {
            EXPECT_EQ(trace.Messages(),
                      (Messages{"DAvirIzev::OpenDriver: opened NDISUIO driver ok.",
                                "DAvirIzev::GetAdapters: found adapter ASYNCMAC1...",
                                "DAvirIzev::GetAdapters: found adapter wlan0...",
                                "DAvirIzev::IsWireless: adapter wlan0 is wireless.",
                                "DAvirIzev::GetAdapters: adapter ok: wlan0...",
                                "DAvirIzev::GetAdapters: found adapter PPTP1...",
                                "DAvirIzev::CloseDriver: closing driver."}));
        }
        if (TraceLog::kEnabled && &c == cases + 1) {
            const Messages messages = trace.Messages();
            for (const char* line :
                 {"DAvirIzev::IsWireless: adapter eth0 is not wireless.",
                  "DAvirIzev::IsWireless: cannot query adapter wlan9 phys medium. Err: 31"})
                EXPECT_NE(std::find(messages.begin(), messages.end(), line), messages.end());
        }
    }
    DWORD length = 2048;
    EXPECT_FALSE(DAvirIzev().GetAdapters(nullptr, length));
    EXPECT_EQ(length, 0u);
}

TEST_F(DAvirIzevTest, ClosedDriverFailsEveryRequest) {
    TraceLog trace;
    korvyn::platform::SetWifiDriver(nullptr); // no driver: the device cannot be opened
    DAvirIzev adapter;
    DWORD count = 4;
    EXPECT_FALSE(adapter.GetBSSIDs(u"wlan0", obs, sizeof obs, count));
    EXPECT_EQ(count, 4u);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(adapter.RefreshBSSIDs(u"wlan0"));
    EXPECT_FALSE(adapter.IsWireless(u"wlan0"));
    DWORD length = 2048;
    EXPECT_FALSE(adapter.GetAdapters(obs[0].ssid, length)) << "NDS0: cannot be opened either";

    korvyn::platform::SetWifiDriver(driver);
    driver->adapters = {{u"wlan0", 1}};
    EXPECT_TRUE(adapter.OpenDriver());
    EXPECT_TRUE(adapter.OpenDriver()) << "a second open keeps the first handle";
    EXPECT_TRUE(adapter.IsWireless(u"wlan0"));
    adapter.CloseDriver();
    EXPECT_FALSE(adapter.IsWireless(u"wlan0"));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_TRUE(driver->scanRequests.empty());

    if (TraceLog::kEnabled) {
        EXPECT_EQ(
            trace.Messages(),
            (Messages{"DAvirIzev::OpenDriver: failed to open NDISUIO driver. Err: 2",
                      "DAvirIzev::GetBSSIDs: failed to get list. Err: 6",
                      "DAvirIzev::RefreshBSSIDs: failed. Err: 6",
                      "DAvirIzev::IsWireless: cannot query adapter wlan0 phys medium. Err: 6",
                      "DAvirIzev::OpenDriver: opened NDISUIO driver ok.",
                      "DAvirIzev::OpenDriver: driver already opened!",
                      "DAvirIzev::IsWireless: adapter wlan0 is wireless.",
                      "DAvirIzev::CloseDriver: closing driver.",
                      "DAvirIzev::IsWireless: cannot query adapter wlan0 phys medium. Err: 6"}));
    }
}

} // namespace
