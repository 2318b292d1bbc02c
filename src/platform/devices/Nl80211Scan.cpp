#include "platform/devices/Nl80211Scan.h"

#include "platform/devices/InformationElements.h"
#include "platform/devices/NetlinkLibrary.h"

#include <linux/nl80211.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace korvyn::platform {
namespace {

constexpr std::uint16_t kCapabilityEss = 0x0001;
constexpr std::uint16_t kCapabilityIbss = 0x0002;
constexpr std::uint16_t kCapabilityPrivacy = 0x0010;
constexpr BYTE kElementSsid = 0;
constexpr LONG kNoSignalDbm = -100; // a BSS without any signal figure counts as the weakest

// What each BSS attribute must look like before it is read.
const std::array<nla_policy, NL80211_BSS_MAX + 1>& BssPolicy() {
    static const auto policy = [] {
        std::array<nla_policy, NL80211_BSS_MAX + 1> p{};
        p[NL80211_BSS_BSSID] = {NLA_UNSPEC, 6, 6};
        p[NL80211_BSS_FREQUENCY] = {NLA_U32, 0, 0};
        p[NL80211_BSS_FREQUENCY_OFFSET] = {NLA_U32, 0, 0};
        p[NL80211_BSS_BEACON_INTERVAL] = {NLA_U16, 0, 0};
        p[NL80211_BSS_CAPABILITY] = {NLA_U16, 0, 0};
        p[NL80211_BSS_SIGNAL_MBM] = {NLA_U32, 0, 0};
        p[NL80211_BSS_SIGNAL_UNSPEC] = {NLA_U8, 0, 0};
        p[NL80211_BSS_SEEN_MS_AGO] = {NLA_U32, 0, 0};
        p[NL80211_BSS_INFORMATION_ELEMENTS] = {NLA_UNSPEC, 0, 0};
        p[NL80211_BSS_BEACON_IES] = {NLA_UNSPEC, 0, 0};
        return p;
    }();
    return policy;
}

// Finds the SSID element among information elements; elements running past the data end
// the search.
bool FindSsid(const NetlinkLibrary* nl, const nlattr* ies, NDIS_802_11_SSID& ssid) {
    if (!ies)
        return false;
    const auto* data = static_cast<const BYTE*>(nl->attrData(ies));
    int left = nl->attrLength(ies);
    while (left >= 2 && left - 2 >= data[1]) {
        if (data[0] == kElementSsid) {
            const std::size_t length = std::min<std::size_t>(data[1], sizeof ssid.Ssid);
            ssid.SsidLength = static_cast<ULONG>(length);
            std::memcpy(ssid.Ssid, data + 2, length);
            return true;
        }
        left -= 2 + data[1];
        data += 2 + data[1];
    }
    return false;
}

} // namespace

LONG MbmToDbm(std::int32_t mbm) {
    const std::int64_t v = mbm;
    return static_cast<LONG>(v >= 0 ? (v + 50) / 100 : -((-v + 50) / 100));
}

LONG UnspecifiedSignalToDbm(unsigned value) {
    const unsigned clamped = value > 100 ? 100 : value;
    return -100 + static_cast<LONG>((clamped * 80 + 50) / 100);
}

std::optional<NDIS_WLAN_BSSID> TranslateScanResult(nl_msg* message) {
    // A message comes from the library, so it is loaded by now.
    const NetlinkLibrary* nl = Netlink();
    if (!message || !nl)
        return std::nullopt;
    nlattr* top[NL80211_ATTR_MAX + 1];
    if (nl->genlParse(nl->msgHeader(message), 0, top, NL80211_ATTR_MAX, nullptr) < 0 ||
        !top[NL80211_ATTR_BSS])
        return std::nullopt;
    nlattr* bss[NL80211_BSS_MAX + 1];
    if (nl->parseNested(bss, NL80211_BSS_MAX, top[NL80211_ATTR_BSS],
                        const_cast<nla_policy*>(BssPolicy().data())) < 0 ||
        !bss[NL80211_BSS_BSSID])
        return std::nullopt;
    if (bss[NL80211_BSS_SEEN_MS_AGO] && nl->getU32(bss[NL80211_BSS_SEEN_MS_AGO]) > kMaxBssAgeMs)
        return std::nullopt;

    NDIS_WLAN_BSSID entry{};
    entry.Length = sizeof entry;
    std::memcpy(entry.MacAddress, nl->attrData(bss[NL80211_BSS_BSSID]), sizeof entry.MacAddress);
    if (!FindSsid(nl, bss[NL80211_BSS_INFORMATION_ELEMENTS], entry.Ssid))
        FindSsid(nl, bss[NL80211_BSS_BEACON_IES], entry.Ssid);

    // The elements of the latest probe response, else those of the latest beacon.
    const nlattr* ies = bss[NL80211_BSS_INFORMATION_ELEMENTS]
                            ? bss[NL80211_BSS_INFORMATION_ELEMENTS]
                            : bss[NL80211_BSS_BEACON_IES];
    const ElementFacts facts =
        ies ? ReadElements(static_cast<const BYTE*>(nl->attrData(ies)),
                           static_cast<std::size_t>(std::max(0, nl->attrLength(ies))))
            : ElementFacts{};

    const std::uint16_t capability =
        bss[NL80211_BSS_CAPABILITY] ? nl->getU16(bss[NL80211_BSS_CAPABILITY]) : 0;
    entry.Privacy = SecurityOf((capability & kCapabilityPrivacy) != 0, facts);
    entry.InfrastructureMode = (capability & kCapabilityEss)    ? Ndis802_11Infrastructure
                               : (capability & kCapabilityIbss) ? Ndis802_11IBSS
                                                                : Ndis802_11AutoUnknown;

    if (bss[NL80211_BSS_SIGNAL_MBM])
        entry.Rssi = MbmToDbm(static_cast<std::int32_t>(nl->getU32(bss[NL80211_BSS_SIGNAL_MBM])));
    else if (bss[NL80211_BSS_SIGNAL_UNSPEC])
        entry.Rssi = UnspecifiedSignalToDbm(nl->getU8(bss[NL80211_BSS_SIGNAL_UNSPEC]));
    else
        entry.Rssi = kNoSignalDbm;

    const DWORD mhz = bss[NL80211_BSS_FREQUENCY] ? nl->getU32(bss[NL80211_BSS_FREQUENCY]) : 0;
    const DWORD offsetKhz =
        bss[NL80211_BSS_FREQUENCY_OFFSET] ? nl->getU32(bss[NL80211_BSS_FREQUENCY_OFFSET]) : 0;
    entry.Configuration.Length = sizeof entry.Configuration;
    entry.Configuration.DSConfig = mhz * 1000 + offsetKhz;
    if (bss[NL80211_BSS_BEACON_INTERVAL])
        entry.Configuration.BeaconPeriod = nl->getU16(bss[NL80211_BSS_BEACON_INTERVAL]);
    entry.NetworkTypeInUse = mhz >= 5000 ? Ndis802_11OFDM5 : Ndis802_11DS;
    const ChannelUse use = ChannelUseOf(entry.Configuration.DSConfig, facts);
    SetChannelWidth(entry, use.widthMhz, use.centreKhz);
    return entry;
}

} // namespace korvyn::platform
