#pragma once
// What sits behind the "UIO1:" and "NDS0:" devices: a source of adapter names, physical
// media, scan requests and network lists. The program picks one at start (the system's
// nl80211, a simulated adapter, a scan file); tests install their own.
#include "platform/WinTypes.h"
#include "platform/devices/Ndis.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace korvyn::platform {

class WifiDriver {
public:
    virtual ~WifiDriver() = default;

    // A short name for messages: "nl80211", "sim:demo", "sim:/path/to/file", ...
    virtual std::string Name() const = 0;

    // Every network interface, wireless or not, in the system's order.
    virtual std::vector<std::u16string> AdapterNames() = 0;

    // The calls below answer with a platform error code, 0 (ERROR_SUCCESS) on success.
    virtual DWORD QueryPhysicalMedium(std::u16string_view adapter, ULONG& medium) = 0;
    virtual DWORD RequestScan(std::u16string_view adapter) = 0;
    // The adapter's current network list, in the adapter's own order. Entries are whole
    // 104-byte NDIS_WLAN_BSSID records; the device layer decides which fit.
    virtual DWORD ReadNetworkList(std::u16string_view adapter,
                                  std::vector<NDIS_WLAN_BSSID>& entries) = 0;

    // The list as the device hands it out: an NDIS_802_11_BSSID_LIST written into area,
    // with written set to the bytes used. By default the entries of ReadNetworkList,
    // whole, the weakest left out when they do not all fit.
    virtual DWORD ReadNetworkListBytes(std::u16string_view adapter, BYTE* area, DWORD capacity,
                                       DWORD& written);

private:
    std::vector<NDIS_WLAN_BSSID> scratch_; // reused so that a scan tick allocates nothing
};

// Writes entries as an NDIS_802_11_BSSID_LIST of whole 104-byte records into area and
// returns the bytes used (0 when not even the item count fits). When they do not all fit,
// the weakest signals are left out and the others keep their order.
DWORD WriteNetworkList(const std::vector<NDIS_WLAN_BSSID>& entries, BYTE* area, DWORD capacity);

// The driver that devices opened from now on talk to; nullptr leaves them absent.
// Handles already open keep the driver they were opened with.
void SetWifiDriver(std::shared_ptr<WifiDriver> driver);
std::shared_ptr<WifiDriver> CurrentWifiDriver();

} // namespace korvyn::platform
