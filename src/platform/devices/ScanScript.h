#pragma once
// What a simulated adapter replays: its adapters, then a sequence of scans. Built-in
// scenarios and scan files both come down to this.
#include "platform/devices/Ndis.h"

#include <string>
#include <vector>

namespace korvyn::platform {

struct ScanAdapter {
    std::u16string name;
    bool wireless = false;
};

struct ScanScript {
    std::vector<ScanAdapter> adapters;
    std::vector<std::vector<NDIS_WLAN_BSSID>> scans;
};

// One network entry with the fields a scan file gives; the rest of the record is filled
// as an adapter would (record length, network type, configuration length).
NDIS_WLAN_BSSID MakeBssid(const BYTE (&mac)[6], DWORD rssi, ULONG dsConfig, ULONG mode,
                          ULONG privacy, const std::string& ssid);

// The RSSI field for a level in dBm: as it is, or shifted left by 16 bits as some adapters
// report it.
DWORD EncodeRssi(int dbm, bool shifted);

} // namespace korvyn::platform
