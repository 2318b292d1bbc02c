#include "wifi/DAvirIzev.h"

#include "platform/devices/DeviceIo.h"
#include "support/FakeWifiDriver.h"
#include "support/TraceLog.h"
#include "wifi/ChannelUse.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using korvyn::test::EntryBytes;
using korvyn::test::FakeWifiDriver;
using korvyn::test::ListBytes;
using korvyn::test::TraceLog;
using Messages = std::vector<std::string>;

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
        return count;
    }

    std::shared_ptr<FakeWifiDriver> driver = std::make_shared<FakeWifiDriver>();
    ScanObservation obs[130];
};

std::u16string Ssid(const ScanObservation& o) {
    return std::u16string(o.ssid);
}

TEST_F(DAvirIzevTest, ConvertsEveryFieldOfAnEntry) {
    const std::string entry = EntryBytes()
                                  .Mac({0x00, 0x0a, 0x1b, 0x2c, 0x3d, 0x4e})
                                  .Ssid(4, "Ritz")
                                  .Privacy(7)
                                  .Rssi(static_cast<DWORD>(-61))
                                  .DsConfig(2437000)
                                  .Mode(2)
                                  .Bytes();
    ASSERT_EQ(Read(ListBytes(1, {entry})), 1u);
    const BYTE mac[6] = {0x00, 0x0a, 0x1b, 0x2c, 0x3d, 0x4e};
    EXPECT_EQ(std::memcmp(obs[0].mac, mac, 6), 0);
    EXPECT_EQ(Ssid(obs[0]), u"Ritz");
    for (int i = 4; i < 33; ++i)
        EXPECT_EQ(obs[0].ssid[i], 0) << i;
    EXPECT_EQ(obs[0].rssi, -61);
    EXPECT_EQ(obs[0].channel, 6u);
    EXPECT_EQ(obs[0].privacy, 7u);
    EXPECT_EQ(obs[0].mode, 2u);
    EXPECT_EQ(obs[1].rssi, static_cast<LONG>(0xEEEEEEEE)) << "nothing written past the count";
}

TEST_F(DAvirIzevTest, BothRssiEncodings) {
    std::vector<std::string> entries;
    for (DWORD raw : {0xFFC40000u, 0xFFFFFFC4u, 0x00000000u, 0xFF000000u, 0x00C40000u})
        entries.push_back(EntryBytes().Rssi(raw).Bytes());
    ASSERT_EQ(Read(ListBytes(5, entries)), 5u);
    EXPECT_EQ(obs[0].rssi, -60);
    EXPECT_EQ(obs[1].rssi, -60);
    EXPECT_EQ(obs[2].rssi, 0);
    EXPECT_EQ(obs[3].rssi, -256);
    EXPECT_EQ(obs[4].rssi, 0x00C40000) << "the highest byte must be 0xFF for the shifted form";
}

TEST_F(DAvirIzevTest, SsidLengths) {
    const std::string bytes32 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
    std::vector<std::string> entries = {
        EntryBytes().Ssid(0, "").Bytes(),       // hidden
        EntryBytes().Ssid(0, "Hidden").Bytes(), // length 0, name present
        EntryBytes().Ssid(31, bytes32).Bytes(),
        EntryBytes().Ssid(32, bytes32).Bytes(),
        EntryBytes().Ssid(200, bytes32).Bytes(),
        EntryBytes().Ssid(3, "Cafe").Bytes(),
        EntryBytes().Ssid(6, "K\xc3\xa1v\xc3\xa9").Bytes(), // UTF-8
        EntryBytes().Ssid(9, std::string("ab\0cd", 5)).Bytes(),
    };
    ASSERT_EQ(Read(ListBytes(8, entries)), 8u);
    EXPECT_EQ(Ssid(obs[0]), u"");
    EXPECT_EQ(Ssid(obs[1]), u"Hidden");
    EXPECT_EQ(Ssid(obs[2]), u"ABCDEFGHIJKLMNOPQRSTUVWXYZ01234");
    EXPECT_EQ(Ssid(obs[3]), u"ABCDEFGHIJKLMNOPQRSTUVWXYZ012345");
    EXPECT_EQ(obs[3].ssid[32], 0);
    EXPECT_EQ(Ssid(obs[4]), u"ABCDEFGHIJKLMNOPQRSTUVWXYZ012345");
    EXPECT_EQ(Ssid(obs[5]), u"Caf");
    EXPECT_EQ(Ssid(obs[6]), u"Kávé");
    EXPECT_EQ(Ssid(obs[7]), u"ab") << "conversion stops at the first zero byte";
}

TEST_F(DAvirIzevTest, ChannelsOnAllThreeBands) {
    const std::pair<ULONG, DWORD> cases[] = {
        {6, 6},
        {1, 1},
        {14, 14},
        {0, 0}, // channel numbers
        {2412000, 1},
        {2437000, 6},
        {2472000, 13},
        {2484000, 14}, // 2.4 GHz
        {5180000, 36},
        {5500000, 100},
        {5825000, 165},
        {5920000, 184}, // 5 GHz
        {5935000, 2},
        {5955000, 1},
        {6115000, 33},
        {7115000, 233}, // 6 GHz
        {2477000, 14},
        {5000000, 518},
        {5945000, 707}, // outside the plans
        {100, (100u - 2407000u) / 5000u},
    };
    std::vector<std::string> entries;
    for (const auto& [ds, channel] : cases)
        entries.push_back(EntryBytes().DsConfig(ds).Bytes());
    ASSERT_EQ(Read(ListBytes(static_cast<ULONG>(entries.size()), entries)), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        EXPECT_EQ(obs[i].channel, cases[i].second) << "DSConfig " << cases[i].first;
}

// The centre of a channel named in an element, on each band's plan.
TEST(ChannelFrequency, EachBandsPlan) {
    using korvyn::Band;
    const std::tuple<Band, DWORD, DWORD> cases[] = {
        {Band::Ghz2_4, 1, 2412000}, {Band::Ghz2_4, 14, 2484000}, {Band::Ghz5, 36, 5180000},
        {Band::Ghz6, 2, 5935000},   {Band::Ghz6, 1, 5955000},    {Band::Ghz6, 233, 7115000},
        {Band::Unknown, 6, 0}};
    for (const auto& [band, channel, khz] : cases)
        EXPECT_EQ(korvyn::ChannelFrequency(band, channel), khz) << channel;
}

TEST_F(DAvirIzevTest, WalkStaysWithinTheReturnedBytes) {
    const std::string good = EntryBytes().Rssi(static_cast<DWORD>(-50)).Bytes();
    // An entry with information elements: the next one starts after them.
    const std::string withElements = EntryBytes()
                                         .Rssi(static_cast<DWORD>(-51))
                                         .Length(sizeof(NDIS_WLAN_BSSID) + 20)
                                         .Extra(20)
                                         .Bytes();
    EXPECT_EQ(Read(ListBytes(3, {good, withElements, good})), 3u);
    EXPECT_EQ(obs[1].rssi, -51);
    EXPECT_EQ(obs[2].rssi, -50);

    EXPECT_EQ(Read(ListBytes(3, {good, EntryBytes().Length(0).Bytes(), good})), 1u)
        << "a zero Length ends the walk";
    EXPECT_EQ(Read(ListBytes(3, {good, EntryBytes().Length(50).Bytes(), good})), 1u)
        << "a Length shorter than the fixed part ends the walk";
    EXPECT_EQ(Read(ListBytes(2, {good, EntryBytes().Length(5000).Bytes()})), 1u)
        << "a Length running past the list ends the walk";
    EXPECT_EQ(Read(ListBytes(5, {good, good})), 2u) << "more items claimed than present";

    // The driver says it wrote fewer bytes than it did: the second entry is cut off.
    driver->claimedBytes = static_cast<DWORD>(4 + 104 + 60);
    EXPECT_EQ(Read(ListBytes(2, {good, good})), 1u);
    driver->claimedBytes = 2; // not even the item count
    EXPECT_EQ(Read(ListBytes(2, {good, good})), 0u);
}

TEST_F(DAvirIzevTest, CapacityLimitsTheObservations) {
    std::vector<std::string> entries(3, EntryBytes().Bytes());
    EXPECT_EQ(Read(ListBytes(3, entries), 2 * sizeof(ScanObservation)), 2u);
    EXPECT_EQ(obs[2].rssi, static_cast<LONG>(0xEEEEEEEE));
    EXPECT_EQ(Read(ListBytes(3, entries), sizeof(ScanObservation) + 87), 1u);
    EXPECT_EQ(Read(ListBytes(3, entries), 0), 0u);
    EXPECT_EQ(Read(ListBytes(0, {})), 0u);
    EXPECT_EQ(Read(std::string()), 0u) << "no bytes at all: no item count either";
}

TEST_F(DAvirIzevTest, NullArrayAndFailedReads) {
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
    if (TraceLog::kEnabled) {
        EXPECT_EQ(trace.Messages(), (Messages{"DAvirIzev::OpenDriver: opened NDISUIO driver ok.",
                                              "DAvirIzev::GetBSSIDs: null pointer.",
                                              "DAvirIzev::GetBSSIDs: failed to get list. Err: 170",
                                              "DAvirIzev::GetBSSIDs: received 1 entries.",
                                              "DAvirIzev::GetBSSIDs: processed one entry.",
                                              "DAvirIzev::GetBSSIDs: returning."}));
    }
}

TEST_F(DAvirIzevTest, ScanRequests) {
    TraceLog trace;
    DAvirIzev adapter;
    EXPECT_TRUE(adapter.RefreshBSSIDs(u"wlan1"));
    driver->scanError = ERROR_ACCESS_DENIED;
    EXPECT_FALSE(adapter.RefreshBSSIDs(u"wlan1"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(driver->scanRequests, (std::vector<std::u16string>{u"wlan1", u"wlan1"}));
    if (TraceLog::kEnabled) {
        EXPECT_EQ(trace.Messages(), (Messages{"DAvirIzev::OpenDriver: opened NDISUIO driver ok.",
                                              "DAvirIzev::RefreshBSSIDs: succeeded.",
                                              "DAvirIzev::RefreshBSSIDs: failed. Err: 5"}));
    }
}

// --- adapter filtering ---

class AdapterListTest : public DAvirIzevTest {
protected:
    // GetAdapters into a buffer of the given capacity; the text written, or "<untouched>".
    std::u16string Adapters(DWORD capacity, DWORD& length, bool& ok) {
        std::fill(std::begin(buffer), std::end(buffer), u'#');
        DAvirIzev adapter;
        length = capacity;
        ok = adapter.GetAdapters(buffer, length);
        return buffer[0] == u'#' ? u"<untouched>" : std::u16string(buffer);
    }

    WCHAR buffer[1024];
};

TEST_F(AdapterListTest, ExcludedAndNonWirelessNamesAreLeftOut) {
    TraceLog trace;
    driver->adapters = {{u"ASYNCMAC1", 1}, {u"wlan0", 1}, {u"PPTP1", 1}};
    DWORD length = 0;
    bool ok = false;
    EXPECT_EQ(Adapters(2048, length, ok), u"wlan0");
    EXPECT_TRUE(ok);
    EXPECT_EQ(length, 10u);
    if (TraceLog::kEnabled) {
        EXPECT_EQ(trace.Take(), (Messages{"DAvirIzev::OpenDriver: opened NDISUIO driver ok.",
                                          "DAvirIzev::GetAdapters: found adapter ASYNCMAC1...",
                                          "DAvirIzev::GetAdapters: found adapter wlan0...",
                                          "DAvirIzev::IsWireless: adapter wlan0 is wireless.",
                                          "DAvirIzev::GetAdapters: adapter ok: wlan0...",
                                          "DAvirIzev::GetAdapters: found adapter PPTP1...",
                                          "DAvirIzev::CloseDriver: closing driver."}));
    }

    // Excluded names in any case; a wired adapter; one whose medium cannot be queried.
    driver->adapters = {{u"pptp1", 1},    {u"Xsc1_IrDA1", 1}, {u"l2tp1", 1},
                        {u"eth0", 14},    {u"wlan9", 1},      {u"irsir1", 1},
                        {u"RndisFn1", 1}, {u"wwan1", 1},      {u"IRSIR10", 1}};
    driver->mediumFails = {u"wlan9"};
    EXPECT_EQ(Adapters(2048, length, ok), u"IRSIR10") << "only whole names are excluded";
    EXPECT_EQ(length, 14u);
    if (TraceLog::kEnabled) {
        const Messages messages = trace.Take();
        EXPECT_NE(std::find(messages.begin(), messages.end(),
                            "DAvirIzev::IsWireless: adapter eth0 is not wireless."),
                  messages.end());
        EXPECT_NE(std::find(messages.begin(), messages.end(),
                            "DAvirIzev::IsWireless: cannot query adapter wlan9 phys medium. "
                            "Err: 31"),
                  messages.end());
    }
}

TEST_F(AdapterListTest, WirelessNamesAreJoinedByOneCommaAndCutAtAWholeName) {
    driver->adapters = {{u"wlan0", 1}, {u"eth0", 0}, {u"wlp3s0", 1}};
    DWORD length = 0;
    bool ok = false;
    EXPECT_EQ(Adapters(2048, length, ok), u"wlan0,wlp3s0");
    EXPECT_EQ(length, 24u);

    driver->adapters = {{u"wlan0", 1}, {u"wlan1", 1}};
    EXPECT_EQ(Adapters(24, length, ok), u"wlan0,wlan1") << "22 bytes and the terminator";
    EXPECT_EQ(Adapters(23, length, ok), u"wlan0");
    EXPECT_TRUE(ok);
    EXPECT_EQ(length, 10u);
    EXPECT_EQ(Adapters(11, length, ok), u"<untouched>") << "not even one name fits";
    EXPECT_TRUE(ok);
    EXPECT_EQ(length, 0u);

    EXPECT_EQ(Adapters(1, length, ok), u"<untouched>");
    EXPECT_FALSE(ok);
    EXPECT_EQ(length, 0u);
    DAvirIzev adapter;
    length = 2048;
    EXPECT_FALSE(adapter.GetAdapters(nullptr, length));
    EXPECT_EQ(length, 0u);

    driver->adapters = {{u"lo", 0}, {u"eth0", 0}};
    EXPECT_EQ(Adapters(2048, length, ok), u"<untouched>") << "no wireless adapter";
    EXPECT_TRUE(ok);
    EXPECT_EQ(length, 0u);
}

// --- driver closed ---

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
    EXPECT_FALSE(adapter.GetBSSIDs(u"wlan0", obs, sizeof obs, count))
        << "nothing reopens by itself";
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
                      "DAvirIzev::GetBSSIDs: failed to get list. Err: 6",
                      "DAvirIzev::OpenDriver: opened NDISUIO driver ok.",
                      "DAvirIzev::OpenDriver: driver already opened!",
                      "DAvirIzev::IsWireless: adapter wlan0 is wireless.",
                      "DAvirIzev::CloseDriver: closing driver.",
                      "DAvirIzev::IsWireless: cannot query adapter wlan0 phys medium. Err: 6"}));
    }
}

} // namespace
