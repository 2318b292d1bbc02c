#include "platform/devices/ChurnDriver.h"

#include "platform/WinError.h"
#include "platform/devices/ScanScript.h"
#include "wifi/SecurityClass.h"

#include <algorithm>

namespace korvyn::platform {
namespace {

std::uint64_t Mix(std::uint64_t v) {
    v ^= v >> 33;
    v *= 0xff51afd7ed558ccdULL;
    v ^= v >> 33;
    return v;
}

// The name of station i: mostly plain, with hidden networks, 32-byte names, quotes and
// commas, and bytes that are not UTF-8 among them.
std::string NameOf(std::uint64_t i) {
    const std::string number = std::to_string(i);
    switch (i % 8) {
    case 0:
        return "";
    case 1:
        return std::string(32 - std::min<std::size_t>(number.size(), 32), 'W') + number;
    case 2:
        return "Caf\xc3\xa9 \"" + number + "\", floor 2";
    case 3:
        return "\xff\xfe" + number + "\xc3";
    default:
        return "Churn-" + number;
    }
}

} // namespace

std::string ChurnDriver::Name() const {
    return arrivingScans_ == std::numeric_limits<std::uint64_t>::max()
               ? "sim:churn"
               : "sim:churn:" + std::to_string(arrivingScans_);
}

std::uint64_t ChurnDriver::ArrivedBy(std::uint64_t n) const {
    if (arrivingScans_ == 0)
        return 0;
    n = std::min(n, arrivingScans_ - 1);
    return (n / kCycle) * kArrivals + std::min(n % kCycle + 1, kArrivals);
}

bool ChurnDriver::InRange(std::uint64_t i, std::uint64_t n) const {
    const std::uint64_t arrived = ArrivedBy(n);
    if (i >= arrived || i + kWindow < arrived)
        return false;
    return Mix(i * 0x9e3779b97f4a7c15ULL + n / kAwayScans) % 5 != 0;
}

NDIS_WLAN_BSSID ChurnDriver::Entry(std::uint64_t i, std::uint64_t n) {
    const BYTE mac[6] = {0x02,
                         0x4b,
                         static_cast<BYTE>(i >> 24),
                         static_cast<BYTE>(i >> 16),
                         static_cast<BYTE>(i >> 8),
                         static_cast<BYTE>(i)};
    // A signal that drifts by up to 10 dB around the station's own level.
    const int level = -35 - static_cast<int>(Mix(i) % 55);
    const int dbm = level + static_cast<int>((n + i) % 21) - 10;
    // Channels of all three bands with their widths (none given for bare channel numbers),
    // and every kind of security.
    struct Channel {
        ULONG dsConfig, width, centre;
    };
    static const Channel kChannels[] = {{1, 0, 0},
                                        {6, 0, 0},
                                        {2412000, 20, 2412000},
                                        {2437000, 40, 2447000},
                                        {5180000, 80, 5210000},
                                        {5745000, 160, 5815000},
                                        {5975000, 80, 5985000},
                                        {6135000, 320, 6105000}};
    static const ULONG kPrivacy[] = {kSecurityOpen, kSecurityWpa2,
                                     kSecurityWpa3, kSecurityWpa2Wpa3,
                                     kSecurityOwe,  kSecurityWpa2 | kSecurityEnterprise,
                                     kSecurityWep,  kSecurityOpen,
                                     kSecurityWpa,  kSecurityUnknown};
    const Channel& channel = kChannels[i % 8];
    NDIS_WLAN_BSSID entry = MakeBssid(mac, EncodeRssi(dbm, i % 5 == 0), channel.dsConfig,
                                      static_cast<ULONG>(i % 3), kPrivacy[i % 10], NameOf(i));
    SetChannelWidth(entry, channel.width, channel.centre);
    return entry;
}

DWORD ChurnDriver::QueryPhysicalMedium(std::u16string_view adapter, ULONG& medium) {
    if (adapter != u"wlan0")
        return ERROR_DEV_NOT_EXIST;
    medium = NdisPhysicalMediumWirelessLan;
    return ERROR_SUCCESS;
}

DWORD ChurnDriver::RequestScan(std::u16string_view adapter) {
    if (adapter != u"wlan0")
        return ERROR_DEV_NOT_EXIST;
    std::lock_guard hold(mutex_);
    ++scan_;
    return ERROR_SUCCESS;
}

DWORD ChurnDriver::ReadNetworkList(std::u16string_view adapter,
                                   std::vector<NDIS_WLAN_BSSID>& entries) {
    if (adapter != u"wlan0")
        return ERROR_DEV_NOT_EXIST;
    std::lock_guard hold(mutex_);
    entries.clear();
    const std::uint64_t arrived = ArrivedBy(scan_);
    for (std::uint64_t i = arrived > kWindow ? arrived - kWindow : 0; i < arrived; ++i)
        if (InRange(i, scan_))
            entries.push_back(Entry(i, scan_));
    return ERROR_SUCCESS;
}

} // namespace korvyn::platform
