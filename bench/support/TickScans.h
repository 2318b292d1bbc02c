#pragma once
// The scans of the scan-tick benchmarks: four lists of 78 stations (as many as an
// 8,192-byte list holds) out of a given number, in turn, their signals drifting; and a
// driver that returns them one per read, so that the station table and the whole
// program can be timed on the same surroundings.
#include "platform/devices/ScanScript.h"
#include "platform/devices/WifiDriver.h"

#include <array>
#include <cstring>
#include <vector>

namespace korvyn::bench {

inline constexpr DWORD kTickEntries = 78;
inline constexpr DWORD kTickScans = 4;

inline std::array<BYTE, 6> TickMac(DWORD id) {
    return {0x02,
            0x4b,
            static_cast<BYTE>(id >> 24),
            static_cast<BYTE>(id >> 16),
            static_cast<BYTE>(id >> 8),
            static_cast<BYTE>(id)};
}

inline std::vector<std::vector<NDIS_WLAN_BSSID>> TickScans(DWORD stations) {
    std::vector<std::vector<NDIS_WLAN_BSSID>> scans(kTickScans);
    for (DWORD s = 0; s < kTickScans; ++s) {
        for (DWORD i = 0; i < kTickEntries; ++i) {
            const DWORD id = (s * 7919 + i * 1543) % stations;
            BYTE mac[6];
            std::memcpy(mac, TickMac(id).data(), 6);
            scans[s].push_back(platform::MakeBssid(mac, static_cast<DWORD>(-40 - int((i + s) % 50)),
                                                   2412000 + 5000 * (i % 13), 1, i % 3,
                                                   "bench net"));
        }
    }
    return scans;
}

class TickDriver : public platform::WifiDriver {
public:
    explicit TickDriver(DWORD stations) : scans_(TickScans(stations)) {}
    std::string Name() const override { return "bench"; }
    std::vector<std::u16string> AdapterNames() override { return {u"wlan0"}; }
    DWORD QueryPhysicalMedium(std::u16string_view, ULONG& medium) override {
        medium = NdisPhysicalMediumWirelessLan;
        return 0;
    }
    DWORD RequestScan(std::u16string_view) override { return 0; }
    DWORD ReadNetworkList(std::u16string_view, std::vector<NDIS_WLAN_BSSID>& out) override {
        out = scans_[next_++ % kTickScans];
        return 0;
    }

private:
    std::vector<std::vector<NDIS_WLAN_BSSID>> scans_;
    DWORD next_ = 0;
};

} // namespace korvyn::bench
