#include "platform/devices/Nl80211Scan.h"

#include "platform/devices/DeviceIo.h"
#include "platform/devices/InformationElements.h"
#include "platform/devices/NetlinkLibrary.h"
#include "platform/devices/Nl80211Driver.h"
#include "platform/devices/WifiDriver.h"
#include "support/TempDir.h"
#include "wifi/SecurityClass.h"

#include <linux/nl80211.h>
#include <netlink/attr.h>
#include <netlink/genl/genl.h>
#include <netlink/msg.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <optional>

namespace {

using namespace korvyn::platform;

const BYTE kBssid[6] = {0x00, 0x0a, 0x1b, 0x2c, 0x3d, 0x4e};

// Information elements built byte by byte.
std::string Ie(int id, const std::string& body) {
    return std::string(1, static_cast<char>(id)) + static_cast<char>(body.size()) + body;
}
// Information elements: the SSID (element 0) between the rates and the DS parameter set.
std::string Elements(const std::string& ssid) {
    return Ie(1, "\x82\x84\x8b\x96") + Ie(0, ssid) + Ie(3, "\x06");
}

using Message = std::unique_ptr<nl_msg, decltype(&nlmsg_free)>;
using Fill = std::function<void(nl_msg*)>;

// A scan result as the kernel sends it, translated; fill adds the BSS attributes.
std::optional<NDIS_WLAN_BSSID> Bss(const Fill& fill) {
    Message m(nlmsg_alloc(), &nlmsg_free);
    genlmsg_put(m.get(), 0, 1, 0x1c, 0, NLM_F_MULTI, NL80211_CMD_NEW_SCAN_RESULTS, 0);
    nla_put_u32(m.get(), NL80211_ATTR_IFINDEX, 3);
    nlattr* bss = nla_nest_start(m.get(), NL80211_ATTR_BSS);
    fill(m.get());
    nla_nest_end(m.get(), bss);
    return TranslateScanResult(m.get());
}

// A typical access point; extra adds or overrides attributes.
std::optional<NDIS_WLAN_BSSID> AccessPoint(const Fill& extra = [](nl_msg*) {}) {
    return Bss([&](nl_msg* m) {
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

// Only a BSSID, then fill.
std::optional<NDIS_WLAN_BSSID> Bare(const Fill& fill = [](nl_msg*) {}) {
    return Bss([&](nl_msg* m) {
        nla_put(m, NL80211_BSS_BSSID, 6, kBssid);
        fill(m);
    });
}

std::string Ssid(const NDIS_WLAN_BSSID& e) {
    return std::string(reinterpret_cast<const char*>(e.Ssid.Ssid), e.Ssid.SsidLength);
}

TEST(Nl80211Translation, AccessPoint) {
    const auto entry = AccessPoint();
    ASSERT_TRUE(entry);
    EXPECT_EQ(std::memcmp(entry->MacAddress, kBssid, 6), 0);
    EXPECT_EQ(Ssid(*entry), "Cafe Ritz");
    EXPECT_EQ(entry->Privacy, korvyn::kSecurityWep) << "the privacy bit without RSN or WPA";
    EXPECT_EQ(entry->Rssi, -42);
    EXPECT_EQ(entry->Configuration.DSConfig, 2437000u);
    EXPECT_EQ(entry->Configuration.BeaconPeriod, 100u);
    EXPECT_EQ(entry->InfrastructureMode, Ndis802_11Infrastructure);
    const auto fiveGhz =
        AccessPoint([](nl_msg* m) { nla_put_u32(m, NL80211_BSS_FREQUENCY, 5180); });
    EXPECT_EQ(fiveGhz->Configuration.DSConfig, 5180000u);
    EXPECT_EQ(fiveGhz->NetworkTypeInUse, Ndis802_11OFDM5);
}

// Signals in mBm are rounded to dBm, not truncated; an unspecified signal (0 to 100) is
// spread over -100 to -20 dBm; without either, -100.
TEST(Nl80211Translation, Signals) {
    const std::pair<std::int32_t, LONG> mbm[] = {{-4249, -42}, {-4250, -43}, {150, 2}};
    for (const auto& [value, dbm] : mbm) {
        const auto entry = AccessPoint([&](nl_msg* m) {
            nla_put_u32(m, NL80211_BSS_SIGNAL_MBM, static_cast<std::uint32_t>(value));
        });
        EXPECT_EQ(entry->Rssi, dbm) << value << " mBm";
    }
    const std::pair<unsigned, LONG> unspec[] = {{1, -99}, {255, -20}};
    for (const auto& [value, dbm] : unspec) {
        const auto entry = Bare([&](nl_msg* m) {
            nla_put_u8(m, NL80211_BSS_SIGNAL_UNSPEC, static_cast<std::uint8_t>(value));
        });
        EXPECT_EQ(entry->Rssi, dbm) << value;
    }
    const auto silent = Bare();
    ASSERT_TRUE(silent);
    EXPECT_EQ(silent->Rssi, -100);
    EXPECT_EQ(silent->InfrastructureMode, Ndis802_11AutoUnknown) << "no capability at all";
}

TEST(Nl80211Translation, ModeAndPrivacyFromTheCapability) {
    const std::tuple<std::uint16_t, ULONG, ULONG> cases[] = {{0x0001, Ndis802_11Infrastructure, 0},
                                                             {0x0002, Ndis802_11IBSS, 0},
                                                             {0x0012, Ndis802_11IBSS, 2},
                                                             {0x0010, Ndis802_11AutoUnknown, 2}};
    for (const auto& [capability, mode, privacy] : cases) {
        const auto entry =
            AccessPoint([&](nl_msg* m) { nla_put_u16(m, NL80211_BSS_CAPABILITY, capability); });
        EXPECT_EQ(entry->InfrastructureMode, mode) << std::hex << capability;
        EXPECT_EQ(entry->Privacy, privacy) << std::hex << capability;
    }
}

TEST(Nl80211Translation, SsidElement) {
    auto ssid = [](const std::string& ies, const std::string& beacon = {}) {
        return Ssid(*Bare([&](nl_msg* m) {
            if (!ies.empty())
                nla_put(m, NL80211_BSS_INFORMATION_ELEMENTS, static_cast<int>(ies.size()),
                        ies.data());
            if (!beacon.empty())
                nla_put(m, NL80211_BSS_BEACON_IES, static_cast<int>(beacon.size()), beacon.data());
        }));
    };
    EXPECT_EQ(ssid(Elements(std::string(40, 'l'))), std::string(32, 'l')) << "at most 32 bytes";
    EXPECT_EQ(ssid(Elements("")), "") << "hidden network";
    EXPECT_EQ(ssid(Elements("probe"), Elements("beacon")), "probe");
}

std::string Bytes(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes)
        s += static_cast<char>(b);
    return s;
}
// An RSN or WPA body: version, group cipher, one pairwise cipher, then the key management
// suites.
std::string Suites(const std::string& oui, std::initializer_list<int> akms) {
    const int n = static_cast<int>(akms.size());
    std::string s =
        Bytes({1, 0}) + oui + '\x04' + Bytes({1, 0}) + oui + '\x04' + Bytes({n & 0xff, n >> 8});
    for (int akm : akms)
        s += oui + static_cast<char>(akm);
    return s;
}
const std::string kIeee = Bytes({0x00, 0x0f, 0xac});
const std::string kMs = Bytes({0x00, 0x50, 0xf2});
std::string Rsn(std::initializer_list<int> akms) {
    return Ie(48, Suites(kIeee, akms) + Bytes({0, 0}));
}
std::string Wpa(std::initializer_list<int> akms) {
    return Ie(221, kMs + '\x01' + Suites(kMs, akms));
}

TEST(InformationElements, SecurityKinds) {
    using namespace korvyn;
    constexpr DWORD E = kSecurityEnterprise;
    const std::string rsnSae = Rsn({8});
    const struct {
        const char* name;
        bool privacyBit;
        std::string ies;
        DWORD privacy;
    } cases[] = {
        {"open", false, "", kSecurityOpen},
        {"privacy bit alone", true, "", kSecurityWep},
        {"WPA with PSK", true, Wpa({2}), kSecurityWpa},
        {"WPA with 802.1X", true, Wpa({1}), kSecurityWpa | E},
        {"PSK", true, Rsn({2}), kSecurityWpa2},
        {"802.1X", true, Rsn({1}), kSecurityWpa2 | E},
        {"FT-802.1X, 802.1X-SHA256", true, Rsn({3, 5}), kSecurityWpa2 | E},
        {"SAE", true, Rsn({8}), kSecurityWpa3},
        {"FT-SAE", true, Rsn({9}), kSecurityWpa3},
        {"SAE with any group", true, Rsn({24}), kSecurityWpa3},
        {"Suite B", true, Rsn({12}), kSecurityWpa3 | E},
        {"Suite B 192", true, Rsn({13}), kSecurityWpa3 | E},
        {"SAE and FT-PSK", true, Rsn({8, 4}), kSecurityWpa2Wpa3},
        {"OWE", true, Rsn({18}), kSecurityOwe},
        {"WPA then RSN", true, Wpa({2}) + Rsn({2}), kSecurityWpa2},
        {"RSN without privacy bit", false, Rsn({8}), kSecurityWpa3},
        {"RSN cut after the group cipher", true, Ie(48, Bytes({1, 0}) + kIeee + '\x04'),
         kSecurityWpa2},
        {"RSN of one byte is not read", true, Ie(48, "\x01"), kSecurityWep},
        {"unknown suite", true, Rsn({0x77}), kSecurityWpa2},
        {"suite of another OUI", true, Ie(48, Suites(Bytes({0x00, 0x10, 0x18}), {8})),
         kSecurityWpa2},
        {"WMM is not WPA", true, Ie(221, kMs + '\x02' + std::string(20, '\0')), kSecurityWep},
        {"elements before a broken one count", true, rsnSae + Bytes({221, 80, 0}), kSecurityWpa3},
    };
    for (const auto& c : cases) {
        const auto* data = reinterpret_cast<const BYTE*>(c.ies.data());
        EXPECT_EQ(SecurityOf(c.privacyBit, ReadElements(data, c.ies.size())), c.privacy) << c.name;
    }
}

TEST(InformationElements, ChannelWidthAndCentre) {
    const std::string ht40above = Ie(61, Bytes({36, 0x05}) + std::string(20, '\0'));
    const std::string ht40below = Ie(61, Bytes({6, 0x07}) + std::string(20, '\0'));
    auto he = [](int p1, int p2, const std::string& between, std::initializer_list<int> info) {
        return Ie(255, Bytes({36, 0, p1, p2, 0, 0, 0}) + between + Bytes(info));
    };
    auto eht = [](int width, int ccfs0, int ccfs1) {
        return Ie(255, Bytes({106, 1, 0, 0, 0, 0, width, ccfs0, ccfs1}));
    };
    const struct {
        const char* name;
        DWORD frequency;
        std::string ies;
        DWORD width, centre;
    } cases[] = {
        {"no element", 2437000, "", 20, 2437000},
        {"unknown frequency", 0, ht40above, 0, 0},
        {"HT 40 above", 5180000, ht40above, 40, 5190000},
        {"HT 40 below", 2437000, ht40below, 40, 2427000},
        {"HT offset without the width bit", 2437000, Ie(61, Bytes({6, 0x01, 0})), 20, 2437000},
        {"VHT 80", 5180000, ht40above + Ie(192, Bytes({1, 42, 0, 0, 0})), 80, 5210000},
        {"VHT 160", 5180000, Ie(192, Bytes({1, 42, 50, 0, 0})), 160, 5250000},
        {"VHT 80+80", 5180000, Ie(192, Bytes({1, 42, 106, 0, 0})), 80, 5210000},
        {"VHT 160, older form", 5180000, Ie(192, Bytes({2, 50, 0, 0, 0})), 160, 5250000},
        {"VHT 20/40 leaves HT", 5180000, ht40above + Ie(192, Bytes({0, 0, 0, 0, 0})), 40, 5190000},
        {"VHT of two bytes", 5180000, Ie(192, Bytes({1, 42})), 20, 5180000},
        {"HE 6 GHz 80", 6135000, he(0, 0x02, "", {37, 2, 39, 0, 0}), 80, 6145000},
        {"HE 6 GHz 160", 6135000, he(0, 0x02, "", {37, 3, 39, 47, 0}), 160, 6185000},
        {"HE 6 GHz after VHT information and co-hosted indicator", 6135000,
         he(0xC0, 0x02, Bytes({0, 0, 0, 0}), {37, 1, 38, 0, 0}), 40, 6140000},
        {"HE without 6 GHz information", 6135000, he(0, 0, "", {37, 2, 39, 0, 0}), 20, 6135000},
        {"EHT 320 over HE", 6135000, he(0, 0x02, "", {37, 3, 39, 47, 0}) + eht(4, 39, 31), 320,
         6105000},
        {"EHT 80 in 5 GHz", 5180000, eht(2, 42, 0), 80, 5210000},
        {"EHT of an unknown width", 5180000, eht(7, 42, 0), 20, 5180000},
    };
    for (const auto& c : cases) {
        const auto* data = reinterpret_cast<const BYTE*>(c.ies.data());
        const korvyn::ChannelUse use = ChannelUseOf(c.frequency, ReadElements(data, c.ies.size()));
        EXPECT_EQ(use.widthMhz, c.width) << c.name;
        EXPECT_EQ(use.centreKhz, c.centre) << c.name;
    }
}

// The name, the kind and the width travel in the entry the adapter layer reads, from the
// probe response's elements or else the beacon's (entry lengths: fuzz/Nl80211Scan_fuzz.cpp).
TEST(Nl80211Translation, SecurityAndWidthFromTheElements) {
    for (const int attribute : {NL80211_BSS_INFORMATION_ELEMENTS, NL80211_BSS_BEACON_IES}) {
        const std::string ies =
            Elements("Studio") + Rsn({2, 8}) + Ie(192, Bytes({1, 42, 50, 0, 0}));
        const auto entry = Bare([&](nl_msg* m) {
            nla_put_u32(m, NL80211_BSS_FREQUENCY, 5180);
            nla_put_u16(m, NL80211_BSS_CAPABILITY, 0x11);
            nla_put(m, attribute, static_cast<int>(ies.size()), ies.data());
        });
        ASSERT_TRUE(entry);
        EXPECT_EQ(Ssid(*entry), "Studio");
        EXPECT_EQ(entry->Privacy, korvyn::kSecurityWpa2Wpa3);
        EXPECT_EQ(entry->Configuration.FHConfig.HopPattern, 160u);
        EXPECT_EQ(entry->Configuration.FHConfig.HopSet, 5250000u);
    }
}

TEST(Nl80211Translation, StaleAndUnusableResultsAreLeftOut) {
    EXPECT_TRUE(AccessPoint([](nl_msg* m) { nla_put_u32(m, NL80211_BSS_SEEN_MS_AGO, 10000); }));
    EXPECT_FALSE(AccessPoint([](nl_msg* m) { nla_put_u32(m, NL80211_BSS_SEEN_MS_AGO, 10001); }));
    EXPECT_FALSE(Bss([](nl_msg* m) { nla_put_u32(m, NL80211_BSS_FREQUENCY, 2412); })) << "no BSSID";
    EXPECT_FALSE(Bss([](nl_msg* m) { nla_put(m, NL80211_BSS_BSSID, 4, kBssid); }))
        << "a BSSID of the wrong size";
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
    EXPECT_EQ(driver.RequestScan(u"zz-korvyn1"), ERROR_DEV_NOT_EXIST);
}

} // namespace

// The netlink library is loaded when the driver first needs it: every function found, or
// the reason it could not be, naming the file.
TEST(NetlinkLibrary, LoadedWholeOrTheMissingFileNamed) {
    std::string error;
    const auto nl = LoadNetlinkLibrary(kNetlinkLibraryFile, error);
    ASSERT_NE(nl, nullptr) << error;
    EXPECT_EQ(Netlink(&error) != nullptr, true) << error;
    EXPECT_EQ(LoadNetlinkLibrary("libnl-genl-3.so.0-none", error), nullptr);
    EXPECT_NE(error.find("libnl-genl-3.so.0-none"), std::string::npos) << error;
}
