#pragma once
// One adapter reading as the station table takes it, for the tests that merge scans.
#include "wifi/ScanObservation.h"

#include <cstring>
#include <string>

namespace korvyn::test {

// Station id gets the locally administered MAC 02:00 followed by the id's four bytes.
inline ScanObservation Obs(DWORD id, LONG rssi, const char16_t* ssid = u"net", DWORD channel = 6,
                           DWORD mode = 1, DWORD privacy = 0) {
    ScanObservation o{};
    const BYTE mac[6] = {0x02, 0, BYTE(id >> 24), BYTE(id >> 16), BYTE(id >> 8), BYTE(id)};
    std::memcpy(o.mac, mac, 6);
    std::char_traits<char16_t>::copy(o.ssid, ssid, std::char_traits<char16_t>::length(ssid));
    o.rssi = rssi;
    o.channel = channel;
    o.mode = mode;
    o.privacy = privacy;
    return o;
}

} // namespace korvyn::test
