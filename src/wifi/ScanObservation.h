#pragma once
// One network entry as the adapter layer delivers it. The station record begins with the
// same six fields in the same order and widths.
#include "platform/WinTypes.h"

#include <cstddef>

struct ScanObservation {
    BYTE mac[6];    // BSSID in the order the adapter reports it
    WCHAR ssid[33]; // at most 32 characters, NUL-terminated
    LONG rssi;      // dBm
    DWORD channel;  // channel number
    DWORD mode;     // 0 ad-hoc peer, 1 infrastructure (access point), 2 automatic
    DWORD privacy;  // 0 open, anything else secured
};

static_assert(sizeof(ScanObservation) == 88);
static_assert(offsetof(ScanObservation, rssi) == 72);
