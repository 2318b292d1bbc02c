#pragma once
// A driver for tests: adapters with chosen media, a network list given as raw bytes (so
// malformed lists can be handed out), and a record of scan requests.
#include "platform/devices/WifiDriver.h"

#include <array>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace korvyn::test {

class FakeWifiDriver : public platform::WifiDriver {
public:
    std::vector<std::pair<std::u16string, ULONG>> adapters; // name, physical medium
    std::set<std::u16string> mediumFails;                   // media that cannot be queried
    std::string list;                  // the NDIS_802_11_BSSID_LIST bytes handed out
    std::optional<DWORD> claimedBytes; // bytes reported as written, if not list.size()
    DWORD listError = 0;
    DWORD scanError = 0;
    std::vector<std::u16string> scanRequests;

    std::string Name() const override { return "fake"; }
    std::vector<std::u16string> AdapterNames() override;
    DWORD QueryPhysicalMedium(std::u16string_view adapter, ULONG& medium) override;
    DWORD RequestScan(std::u16string_view adapter) override;
    DWORD ReadNetworkList(std::u16string_view, std::vector<NDIS_WLAN_BSSID>&) override;
    DWORD ReadNetworkListBytes(std::u16string_view adapter, BYTE* area, DWORD capacity,
                               DWORD& written) override;
};

// One NDIS_WLAN_BSSID entry as bytes, for lists built byte by byte:
// EntryBytes().Rssi(0xFFC40000).DsConfig(2437000).Bytes().
class EntryBytes {
public:
    EntryBytes& Mac(std::array<BYTE, 6> v) { return Set(mac_, v); }
    EntryBytes& Ssid(ULONG length, std::string bytes) {
        ssid_ = std::move(bytes);
        return Set(ssidLength_, length);
    }
    EntryBytes& Privacy(ULONG v) { return Set(privacy_, v); }
    EntryBytes& Rssi(DWORD v) { return Set(rssi_, v); }
    EntryBytes& DsConfig(ULONG v) { return Set(dsConfig_, v); }
    EntryBytes& Mode(ULONG v) { return Set(mode_, v); }
    EntryBytes& Length(ULONG v) { return Set(length_, v); }     // the Length field only
    EntryBytes& Extra(std::size_t v) { return Set(extra_, v); } // element bytes after

    std::string Bytes() const;

private:
    template <typename T> EntryBytes& Set(T& field, T v) {
        field = v;
        return *this;
    }

    std::array<BYTE, 6> mac_{0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
    ULONG ssidLength_ = 0;
    std::string ssid_;
    ULONG privacy_ = 0;
    DWORD rssi_ = 0;
    ULONG dsConfig_ = 6;
    ULONG mode_ = 1;
    ULONG length_ = sizeof(NDIS_WLAN_BSSID);
    std::size_t extra_ = 0;
};

// A list: the item count, then the entries' bytes as given.
std::string ListBytes(ULONG items, const std::vector<std::string>& entries);

} // namespace korvyn::test
