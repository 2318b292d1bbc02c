#include "FakeWifiDriver.h"

#include "platform/devices/DeviceIo.h"

#include <algorithm>
#include <cstring>

namespace korvyn::test {

std::vector<std::u16string> FakeWifiDriver::AdapterNames() {
    std::vector<std::u16string> names;
    for (const auto& a : adapters)
        names.push_back(a.first);
    return names;
}

DWORD FakeWifiDriver::QueryPhysicalMedium(std::u16string_view adapter, ULONG& medium) {
    if (mediumFails.count(std::u16string(adapter)))
        return ERROR_GEN_FAILURE;
    for (const auto& a : adapters)
        if (a.first == adapter) {
            medium = a.second;
            return ERROR_SUCCESS;
        }
    return ERROR_DEV_NOT_EXIST;
}

DWORD FakeWifiDriver::RequestScan(std::u16string_view adapter) {
    scanRequests.emplace_back(adapter);
    return scanError;
}

DWORD FakeWifiDriver::ReadNetworkList(std::u16string_view, std::vector<NDIS_WLAN_BSSID>&) {
    return ERROR_NOT_SUPPORTED;
}

DWORD FakeWifiDriver::ReadNetworkListBytes(std::u16string_view, BYTE* area, DWORD capacity,
                                           DWORD& written) {
    if (listError)
        return listError;
    const std::size_t n = std::min<std::size_t>(list.size(), capacity);
    std::memcpy(area, list.data(), n);
    written = claimedBytes.value_or(static_cast<DWORD>(n));
    return ERROR_SUCCESS;
}

std::string EntryBytes::Bytes() const {
    std::string out(sizeof(NDIS_WLAN_BSSID) + extra_, '\0');
    auto put = [&](std::size_t offset, const void* data, std::size_t size) {
        std::memcpy(out.data() + offset, data, size);
    };
    put(offsetof(NDIS_WLAN_BSSID, Length), &length_, 4);
    put(offsetof(NDIS_WLAN_BSSID, MacAddress), mac_.data(), 6);
    put(offsetof(NDIS_WLAN_BSSID, Ssid), &ssidLength_, 4);
    put(offsetof(NDIS_WLAN_BSSID, Ssid) + 4, ssid_.data(), std::min<std::size_t>(ssid_.size(), 32));
    put(offsetof(NDIS_WLAN_BSSID, Privacy), &privacy_, 4);
    put(offsetof(NDIS_WLAN_BSSID, Rssi), &rssi_, 4);
    put(offsetof(NDIS_WLAN_BSSID, Configuration) + offsetof(NDIS_802_11_CONFIGURATION, DSConfig),
        &dsConfig_, 4);
    put(offsetof(NDIS_WLAN_BSSID, InfrastructureMode), &mode_, 4);
    return out;
}

std::string ListBytes(ULONG items, const std::vector<std::string>& entries) {
    std::string out(4, '\0');
    std::memcpy(out.data(), &items, 4);
    for (const std::string& e : entries)
        out += e;
    return out;
}

} // namespace korvyn::test
