#pragma once
// A simulated adapter for long runs ("sim:churn"): stations keep arriving and leaving for
// as long as it is asked to scan, so the station table keeps growing.
//
// Scans come in cycles of kCycle. In the first kArrivals scans of a cycle one new station
// arrives per scan; the rest of the cycle brings no new station. In range are the latest
// kWindow stations to arrive (older ones have left for good), except that each of them is
// away now and then for a stretch of kAwayScans scans. Arrivals may be limited to the
// first scans: after them the same stations keep coming and going, and the table stops
// growing. Names, signals, channels of all three bands with their widths, modes and kinds
// of security vary by station, including hidden networks, names of 32 bytes and names that
// are not UTF-8.
#include "platform/devices/WifiDriver.h"

#include <cstdint>
#include <limits>
#include <mutex>

namespace korvyn::platform {

class ChurnDriver : public WifiDriver {
public:
    static constexpr std::uint64_t kCycle = 100;
    static constexpr std::uint64_t kArrivals = 10;
    static constexpr std::uint64_t kWindow = 40;
    static constexpr std::uint64_t kAwayScans = 8;

    // Stations arrive in scans 0 to arrivingScans - 1.
    explicit ChurnDriver(std::uint64_t arrivingScans = std::numeric_limits<std::uint64_t>::max())
        : arrivingScans_(arrivingScans) {}

    std::string Name() const override;
    std::vector<std::u16string> AdapterNames() override { return {u"wlan0"}; }
    DWORD QueryPhysicalMedium(std::u16string_view adapter, ULONG& medium) override;
    DWORD RequestScan(std::u16string_view adapter) override;
    DWORD ReadNetworkList(std::u16string_view adapter,
                          std::vector<NDIS_WLAN_BSSID>& entries) override;

    // The stations that have arrived by scan n (counting from 0), and whether station i
    // is in range in scan n. The entry station i gives in scan n.
    std::uint64_t ArrivedBy(std::uint64_t n) const;
    bool InRange(std::uint64_t i, std::uint64_t n) const;
    static NDIS_WLAN_BSSID Entry(std::uint64_t i, std::uint64_t n);

private:
    const std::uint64_t arrivingScans_;
    std::mutex mutex_;
    std::uint64_t scan_ = 0;
};

} // namespace korvyn::platform
