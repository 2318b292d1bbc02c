#include "platform/devices/Nl80211Scan.h"

#include "platform/devices/DeviceIo.h"
#include "platform/devices/Nl80211Driver.h"
#include "platform/devices/WifiDriver.h"
#include "support/TempDir.h"

#include <linux/nl80211.h>
#include <netlink/attr.h>
#include <netlink/genl/genl.h>
#include <netlink/msg.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

namespace {

using namespace korvyn::platform;

const BYTE kBssid[6] = {0x00, 0x0a, 0x1b, 0x2c, 0x3d, 0x4e};

// Information elements: the SSID (element 0) between two others.
std::string Elements(const std::string& ssid) {
    std::string ies = std::string("\x01\x04\x82\x84\x8b\x96", 6); // supported rates
    ies += '\0';
    ies += static_cast<char>(ssid.size());
    ies += ssid;
    ies += std::string("\x03\x01\x06", 3); // DS parameter set
    return ies;
}

using Message = std::unique_ptr<nl_msg, decltype(&nlmsg_free)>;

// A scan result as the kernel sends it; fill adds the BSS attributes.
Message ScanResult(const std::function<void(nl_msg*)>& fill) {
    Message m(nlmsg_alloc(), &nlmsg_free);
    genlmsg_put(m.get(), 0, 1, 0x1c, 0, NLM_F_MULTI, NL80211_CMD_NEW_SCAN_RESULTS, 0);
    nla_put_u32(m.get(), NL80211_ATTR_IFINDEX, 3);
    nlattr* bss = nla_nest_start(m.get(), NL80211_ATTR_BSS);
    fill(m.get());
    nla_nest_end(m.get(), bss);
    return m;
}

// A typical access point; extra adds or overrides attributes.
Message AccessPoint(const std::function<void(nl_msg*)>& extra = [](nl_msg*) {}) {
    return ScanResult([&](nl_msg* m) {
        nla_put(m, NL80211_BSS_BSSID, 6, kBssid);
        nla_put_u32(m, NL80211_BSS_FREQUENCY, 2437);
        nla_put_u16(m, NL80211_BSS_BEACON_INTERVAL, 100);
        nla_put_u16(m, NL80211_BSS_CAPABILITY, 0x0411); // ESS, privacy, short slot
        nla_put_u32(m, NL80211_BSS_SIGNAL_MBM, static_cast<std::uint32_t>(-4200));
        nla_put_u32(m, NL80211_BSS_SEEN_MS_AGO, 120);
        const std::string ies = Elements("Cafe Ritz");
        nla_put(m, NL80211_BSS_INFORMATION_ELEMENTS, static_cast<int>(ies.size()), ies.data());
        extra(m);
    });
}

std::string Ssid(const NDIS_WLAN_BSSID& e) {
    return std::string(reinterpret_cast<const char*>(e.Ssid.Ssid), e.Ssid.SsidLength);
}

TEST(Nl80211Translation, AccessPoint) {
    const auto entry = TranslateScanResult(AccessPoint().get());
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->Length, sizeof(NDIS_WLAN_BSSID));
    EXPECT_EQ(std::memcmp(entry->MacAddress, kBssid, 6), 0);
    EXPECT_EQ(Ssid(*entry), "Cafe Ritz");
    EXPECT_EQ(entry->Privacy, 1u);
    EXPECT_EQ(entry->Rssi, -42);
    EXPECT_EQ(entry->Configuration.DSConfig, 2437000u);
    EXPECT_EQ(entry->Configuration.BeaconPeriod, 100u);
    EXPECT_EQ(entry->InfrastructureMode, Ndis802_11Infrastructure);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(entry->Ssid.Ssid) + 9, 23),
              std::string(23, '\0'));
}

TEST(Nl80211Translation, SignalInDbmIsRoundedNotTruncated) {
    const std::pair<std::int32_t, LONG> cases[] = {{-4200, -42},
                                                   {-4249, -42},
                                                   {-4250, -43},
                                                   {-4251, -43},
                                                   {-4549, -45},
                                                   {-4550, -46},
                                                   {-49, 0},
                                                   {-50, -1},
                                                   {0, 0},
                                                   {150, 2},
                                                   {INT32_MIN, INT32_MIN / 100}};
    for (const auto& [mbm, dbm] : cases) {
        const auto entry = TranslateScanResult(AccessPoint([&](nl_msg* m) {
                                                   nla_put_u32(m, NL80211_BSS_SIGNAL_MBM,
                                                               static_cast<std::uint32_t>(mbm));
                                               }).get());
        ASSERT_TRUE(entry);
        EXPECT_EQ(entry->Rssi, dbm) << mbm << " mBm";
    }
}

TEST(Nl80211Translation, UnspecifiedSignalAndNoSignal) {
    const std::pair<unsigned, LONG> cases[] = {{0, -100}, {50, -60}, {100, -20},
                                               {1, -99},  {99, -21}, {255, -20}};
    for (const auto& [value, dbm] : cases) {
        const auto entry = TranslateScanResult(ScanResult([&](nl_msg* m) {
                                                   nla_put(m, NL80211_BSS_BSSID, 6, kBssid);
                                                   nla_put_u8(m, NL80211_BSS_SIGNAL_UNSPEC,
                                                              static_cast<std::uint8_t>(value));
                                               }).get());
        ASSERT_TRUE(entry);
        EXPECT_EQ(entry->Rssi, dbm) << value;
    }
    const auto silent = TranslateScanResult(
        ScanResult([](nl_msg* m) { nla_put(m, NL80211_BSS_BSSID, 6, kBssid); }).get());
    ASSERT_TRUE(silent);
    EXPECT_EQ(silent->Rssi, -100);
    EXPECT_EQ(silent->InfrastructureMode, Ndis802_11AutoUnknown) << "no capability at all";
    EXPECT_EQ(silent->Privacy, 0u);
    EXPECT_EQ(silent->Ssid.SsidLength, 0u);
}

TEST(Nl80211Translation, ModeAndPrivacyFromTheCapability) {
    const std::tuple<std::uint16_t, ULONG, ULONG> cases[] = {
        {0x0001, Ndis802_11Infrastructure, 0}, {0x0002, Ndis802_11IBSS, 0},
        {0x0012, Ndis802_11IBSS, 1},           {0x0010, Ndis802_11AutoUnknown, 1},
        {0x0003, Ndis802_11Infrastructure, 0}, {0xFFEC, Ndis802_11AutoUnknown, 0}};
    for (const auto& [capability, mode, privacy] : cases) {
        const auto entry =
            TranslateScanResult(AccessPoint([&](nl_msg* m) {
                                    nla_put_u16(m, NL80211_BSS_CAPABILITY, capability);
                                }).get());
        ASSERT_TRUE(entry);
        EXPECT_EQ(entry->InfrastructureMode, mode) << std::hex << capability;
        EXPECT_EQ(entry->Privacy, privacy) << std::hex << capability;
    }
}

TEST(Nl80211Translation, SsidElement) {
    auto translate = [](const std::string& ies, const std::string& beacon = {}) {
        return TranslateScanResult(ScanResult([&](nl_msg* m) {
                                       nla_put(m, NL80211_BSS_BSSID, 6, kBssid);
                                       if (!ies.empty())
                                           nla_put(m, NL80211_BSS_INFORMATION_ELEMENTS,
                                                   static_cast<int>(ies.size()), ies.data());
                                       if (!beacon.empty())
                                           nla_put(m, NL80211_BSS_BEACON_IES,
                                                   static_cast<int>(beacon.size()), beacon.data());
                                   }).get());
    };
    const std::string name32(32, 'n');
    EXPECT_EQ(Ssid(*translate(Elements(name32))), name32);
    EXPECT_EQ(Ssid(*translate(Elements(std::string(40, 'l')))), std::string(32, 'l'))
        << "at most 32 bytes";
    EXPECT_EQ(Ssid(*translate(Elements(""))), "") << "hidden network";
    EXPECT_EQ(Ssid(*translate(Elements(std::string(3, '\0')))), std::string(3, '\0'));
    EXPECT_EQ(Ssid(*translate({}, Elements("beacon"))), "beacon")
        << "from the beacon when the probe response has none";
    EXPECT_EQ(Ssid(*translate(Elements("probe"), Elements("beacon"))), "probe");
    // An SSID element claiming more bytes than there are is not read.
    EXPECT_EQ(Ssid(*translate(std::string("\x01\x01\x82\x00\x09"
                                          "Cafe",
                                          9))),
              "");
}

TEST(Nl80211Translation, FrequencyInKhz) {
    const auto fiveGhz = TranslateScanResult(
        AccessPoint([](nl_msg* m) { nla_put_u32(m, NL80211_BSS_FREQUENCY, 5180); }).get());
    EXPECT_EQ(fiveGhz->Configuration.DSConfig, 5180000u);
    EXPECT_EQ(fiveGhz->NetworkTypeInUse, Ndis802_11OFDM5);
    const auto withOffset =
        TranslateScanResult(AccessPoint([](nl_msg* m) {
                                nla_put_u32(m, NL80211_BSS_FREQUENCY, 916);
                                nla_put_u32(m, NL80211_BSS_FREQUENCY_OFFSET, 500);
                            }).get());
    EXPECT_EQ(withOffset->Configuration.DSConfig, 916500u);
}

TEST(Nl80211Translation, StaleAndUnusableResultsAreLeftOut) {
    EXPECT_TRUE(TranslateScanResult(
        AccessPoint([](nl_msg* m) { nla_put_u32(m, NL80211_BSS_SEEN_MS_AGO, 10000); }).get()));
    EXPECT_FALSE(TranslateScanResult(
        AccessPoint([](nl_msg* m) { nla_put_u32(m, NL80211_BSS_SEEN_MS_AGO, 10001); }).get()));
    EXPECT_FALSE(TranslateScanResult(
        ScanResult([](nl_msg* m) { nla_put_u32(m, NL80211_BSS_FREQUENCY, 2412); }).get()))
        << "no BSSID";
    EXPECT_FALSE(TranslateScanResult(
        ScanResult([](nl_msg* m) { nla_put(m, NL80211_BSS_BSSID, 4, kBssid); }).get()))
        << "a BSSID of the wrong size";
    EXPECT_FALSE(TranslateScanResult(ScanResult([](nl_msg* m) {
                                         nla_put(m, NL80211_BSS_BSSID, 6, kBssid);
                                         nla_put_u8(m, NL80211_BSS_CAPABILITY, 1);
                                     }).get()))
        << "a capability too short for its type";
    Message bare(nlmsg_alloc(), &nlmsg_free);
    genlmsg_put(bare.get(), 0, 1, 0x1c, 0, 0, NL80211_CMD_NEW_SCAN_RESULTS, 0);
    EXPECT_FALSE(TranslateScanResult(bare.get())) << "no BSS attribute";
    EXPECT_FALSE(TranslateScanResult(nullptr));
}

// The interface list comes from the directory, in name order; a name that is not a
// network interface of this system is never taken for a wireless one.
TEST(Nl80211Driver, InterfacesAreListedInNameOrder) {
    korvyn::test::TempDir net;
    for (const char* name : {"zz-korvyn1", "eth-korvyn", "lo-korvyn"})
        std::filesystem::create_directory(net / name);
    Nl80211Driver driver(net.path());
    EXPECT_EQ(driver.AdapterNames(),
              (std::vector<std::u16string>{u"eth-korvyn", u"lo-korvyn", u"zz-korvyn1"}));
    ULONG medium = 99;
    EXPECT_EQ(driver.QueryPhysicalMedium(u"eth-korvyn", medium), ERROR_SUCCESS);
    EXPECT_EQ(medium, NdisPhysicalMediumUnspecified);
    EXPECT_EQ(driver.QueryPhysicalMedium(u"missing", medium), ERROR_DEV_NOT_EXIST);
    EXPECT_EQ(driver.QueryPhysicalMedium(u"../x", medium), ERROR_DEV_NOT_EXIST);
    std::vector<NDIS_WLAN_BSSID> entries;
    EXPECT_EQ(driver.ReadNetworkList(u"zz-korvyn1", entries), ERROR_DEV_NOT_EXIST);
    EXPECT_EQ(driver.RequestScan(u"zz-korvyn1"), ERROR_DEV_NOT_EXIST);

    Nl80211Driver nowhere(net / "missing");
    EXPECT_TRUE(nowhere.AdapterNames().empty());
}

} // namespace
