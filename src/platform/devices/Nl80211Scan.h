#pragma once
// Turns one nl80211 scan result message (NL80211_CMD_NEW_SCAN_RESULTS with its
// NL80211_ATTR_BSS) into the network list entry an NDIS adapter would report.
#include "platform/devices/Ndis.h"

#include <optional>

struct nl_msg;

namespace korvyn::platform {

// The kernel keeps a BSS for 30 s after its last beacon; one not heard for longer than
// this is left out, so that a station that went away stops being shown as present.
constexpr DWORD kMaxBssAgeMs = 10000;

// Nothing when the message holds no usable BSS (no BSSID, malformed attributes) or the
// BSS was last seen more than kMaxBssAgeMs ago.
std::optional<NDIS_WLAN_BSSID> TranslateScanResult(nl_msg* message);

// mBm (1/100 dBm) to dBm, rounded half away from zero.
LONG MbmToDbm(std::int32_t mbm);

// A signal in unspecified units (0 to 100) spread over -100 to -20 dBm.
LONG UnspecifiedSignalToDbm(unsigned value);

} // namespace korvyn::platform
