#include "platform/devices/ScanScript.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace korvyn::platform {

NDIS_WLAN_BSSID MakeBssid(const BYTE (&mac)[6], DWORD rssi, ULONG dsConfig, ULONG mode,
                          ULONG privacy, const std::string& ssid) {
    NDIS_WLAN_BSSID entry{};
    entry.Length = sizeof(NDIS_WLAN_BSSID);
    std::memcpy(entry.MacAddress, mac, sizeof entry.MacAddress);
    entry.Ssid.SsidLength = static_cast<ULONG>(std::min(ssid.size(), sizeof entry.Ssid.Ssid));
    std::memcpy(entry.Ssid.Ssid, ssid.data(), entry.Ssid.SsidLength);
    entry.Privacy = privacy;
    entry.Rssi = static_cast<LONG>(rssi);
    entry.NetworkTypeInUse = dsConfig >= 5000000 ? Ndis802_11OFDM5 : Ndis802_11DS;
    entry.Configuration.Length = sizeof(NDIS_802_11_CONFIGURATION);
    entry.Configuration.DSConfig = dsConfig;
    entry.InfrastructureMode = mode;
    return entry;
}

DWORD EncodeRssi(int dbm, bool shifted) {
    return shifted ? static_cast<DWORD>(static_cast<std::uint16_t>(dbm)) << 16
                   : static_cast<DWORD>(dbm);
}

} // namespace korvyn::platform
