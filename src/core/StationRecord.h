#pragma once
// One station (access point or ad-hoc peer) as the station table keeps it. It begins with
// the six fields of a scan observation, in the same order and widths.
#include "platform/WinTypes.h"

struct StationRecord {
    BYTE mac[6];      // BSSID, set when the record is created
    WCHAR ssid[33];   // name of the latest observation, NUL-terminated
    LONG rssi;        // dBm of the latest observation
    DWORD channel;    // of the latest observation
    DWORD mode;       // 0 ad-hoc peer, 1 infrastructure (access point), 2 automatic
    DWORD privacy;    // 0 open, anything else secured
    DWORD number;     // order of discovery: 0, 1, 2, ... with no gaps
    BYTE active;      // 1 when in the most recently merged scan
    double firstSeen; // local time as an OLE Automation date
    double lastSeen;
    LONG bestRssi;  // highest rssi ever observed
    LONG worstRssi; // lowest rssi ever observed
};
