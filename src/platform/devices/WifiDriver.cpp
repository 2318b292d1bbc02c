#include "platform/devices/WifiDriver.h"

#include <algorithm>
#include <cstring>
#include <mutex>

namespace korvyn::platform {
namespace {

struct Installed {
    std::mutex mutex;
    std::shared_ptr<WifiDriver> driver;
};

Installed& TheDriver() {
    static Installed installed;
    return installed;
}

void PutEntry(BYTE* at, const NDIS_WLAN_BSSID& entry) {
    NDIS_WLAN_BSSID copy = entry;
    copy.Length = sizeof(NDIS_WLAN_BSSID);
    std::memcpy(at, &copy, sizeof copy);
}

} // namespace

void SetWifiDriver(std::shared_ptr<WifiDriver> driver) {
    Installed& installed = TheDriver();
    std::lock_guard hold(installed.mutex);
    installed.driver = std::move(driver);
}

std::shared_ptr<WifiDriver> CurrentWifiDriver() {
    Installed& installed = TheDriver();
    std::lock_guard hold(installed.mutex);
    return installed.driver;
}

DWORD WifiDriver::ReadNetworkListBytes(std::u16string_view adapter, BYTE* area, DWORD capacity,
                                       DWORD& written) {
    scratch_.clear();
    const DWORD error = ReadNetworkList(adapter, scratch_);
    if (error != 0)
        return error;
    written = WriteNetworkList(scratch_, area, capacity);
    return 0;
}

DWORD WriteNetworkList(const std::vector<NDIS_WLAN_BSSID>& entries, BYTE* area, DWORD capacity) {
    constexpr std::size_t kHeader = offsetof(NDIS_802_11_BSSID_LIST, Bssid);
    constexpr std::size_t kEntry = sizeof(NDIS_WLAN_BSSID);
    if (!area || capacity < kHeader)
        return 0;
    const std::size_t room = (capacity - kHeader) / kEntry;
    BYTE* at = area + kHeader;
    std::size_t count = entries.size();
    if (count <= room) {
        for (const NDIS_WLAN_BSSID& entry : entries) {
            PutEntry(at, entry);
            at += kEntry;
        }
    } else {
        // Keep the strongest (the earlier one of equal signals), in the adapter's order.
        std::vector<std::size_t> order(entries.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return RssiDbm(static_cast<DWORD>(entries[a].Rssi)) >
                   RssiDbm(static_cast<DWORD>(entries[b].Rssi));
        });
        order.resize(room);
        std::sort(order.begin(), order.end());
        for (std::size_t i : order) {
            PutEntry(at, entries[i]);
            at += kEntry;
        }
        count = room;
    }
    const ULONG items = static_cast<ULONG>(count);
    std::memcpy(area, &items, sizeof items);
    return static_cast<DWORD>(at - area);
}

} // namespace korvyn::platform
