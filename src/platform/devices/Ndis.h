#pragma once
// The published NDIS and NDIS user-mode I/O definitions the adapter layer speaks: request
// codes, object identifiers and the little-endian layouts of the query and the network
// list. Entries are written without information elements, so each is 104 bytes long.
#include "platform/WinTypes.h"

#include <cstddef>

constexpr DWORD IOCTL_NDISUIO_QUERY_OID_VALUE = 0x00120804;
constexpr DWORD IOCTL_NDISUIO_SET_OID_VALUE = 0x00120814;
constexpr DWORD IOCTL_NDIS_GET_ADAPTER_NAMES = 0x0017003A;

using NDIS_OID = ULONG;
constexpr NDIS_OID OID_GEN_PHYSICAL_MEDIUM = 0x00010202;
constexpr NDIS_OID OID_802_11_BSSID_LIST_SCAN = 0x0D01011A;
constexpr NDIS_OID OID_802_11_BSSID_LIST = 0x0D010217;

// Values of OID_GEN_PHYSICAL_MEDIUM.
constexpr ULONG NdisPhysicalMediumUnspecified = 0;
constexpr ULONG NdisPhysicalMediumWirelessLan = 1;

// NDIS_802_11_NETWORK_INFRASTRUCTURE.
constexpr ULONG Ndis802_11IBSS = 0;
constexpr ULONG Ndis802_11Infrastructure = 1;
constexpr ULONG Ndis802_11AutoUnknown = 2;

// NDIS_802_11_NETWORK_TYPE.
constexpr ULONG Ndis802_11DS = 1;
constexpr ULONG Ndis802_11OFDM5 = 2;

// The header of a user-mode I/O request; the value follows at Data and may run on past
// it (the network list does). The adapter name is a pointer into the caller's memory.
struct NDISUIO_QUERY_OID {
    NDIS_OID Oid;
    WCHAR* ptcDeviceName;
    BYTE Data[sizeof(ULONG)];
};
struct NDISUIO_SET_OID {
    NDIS_OID Oid;
    WCHAR* ptcDeviceName;
    BYTE Data[sizeof(ULONG)];
};
constexpr std::size_t kNdisuioHeaderSize = offsetof(NDISUIO_QUERY_OID, Data);

struct NDIS_802_11_SSID {
    ULONG SsidLength;
    BYTE Ssid[32];
};

struct NDIS_802_11_CONFIGURATION_FH {
    ULONG Length;
    ULONG HopPattern;
    ULONG HopSet;
    ULONG DwellTime;
};

struct NDIS_802_11_CONFIGURATION {
    ULONG Length;
    ULONG BeaconPeriod;
    ULONG ATIMWindow;
    ULONG DSConfig; // a frequency in kHz, or a channel number
    NDIS_802_11_CONFIGURATION_FH FHConfig;
};

struct NDIS_WLAN_BSSID {
    ULONG Length; // bytes from this entry to the next
    BYTE MacAddress[6];
    BYTE Reserved[2];
    NDIS_802_11_SSID Ssid;
    ULONG Privacy;
    LONG Rssi;
    ULONG NetworkTypeInUse;
    NDIS_802_11_CONFIGURATION Configuration;
    ULONG InfrastructureMode;
    BYTE SupportedRates[8];
};

struct NDIS_802_11_BSSID_LIST {
    ULONG NumberOfItems;
    NDIS_WLAN_BSSID Bssid[1];
};

static_assert(sizeof(NDIS_WLAN_BSSID) == 104);
static_assert(offsetof(NDIS_WLAN_BSSID, MacAddress) == 4);
static_assert(offsetof(NDIS_WLAN_BSSID, Ssid) == 12);
static_assert(offsetof(NDIS_WLAN_BSSID, Privacy) == 48);
static_assert(offsetof(NDIS_WLAN_BSSID, Rssi) == 52);
static_assert(offsetof(NDIS_WLAN_BSSID, Configuration) == 60);
static_assert(offsetof(NDIS_WLAN_BSSID, InfrastructureMode) == 92);
static_assert(offsetof(NDIS_802_11_BSSID_LIST, Bssid) == 4);

namespace korvyn::platform {

// The frequency-hopping part of the configuration means nothing on the DS and OFDM
// channels of today's networks. The adapters of this program use it for the width of the
// channel a network uses: HopPattern holds the width in MHz and HopSet the centre
// frequency in kHz, both 0 when unknown.
inline void SetChannelWidth(NDIS_WLAN_BSSID& entry, ULONG widthMhz, ULONG centreKhz) {
    entry.Configuration.FHConfig.HopPattern = widthMhz;
    entry.Configuration.FHConfig.HopSet = centreKhz;
}
constexpr std::size_t kWidthOffset = offsetof(NDIS_WLAN_BSSID, Configuration) +
                                     offsetof(NDIS_802_11_CONFIGURATION, FHConfig) +
                                     offsetof(NDIS_802_11_CONFIGURATION_FH, HopPattern);
constexpr std::size_t kCentreOffset = offsetof(NDIS_WLAN_BSSID, Configuration) +
                                      offsetof(NDIS_802_11_CONFIGURATION, FHConfig) +
                                      offsetof(NDIS_802_11_CONFIGURATION_FH, HopSet);

// Signal strength in dBm of a reported Rssi: some drivers report dBm shifted left by 16
// bits (0xFFC40000 for -60), the others the plain signed value.
constexpr int RssiDbm(DWORD raw) {
    if ((raw & 0xFFFFu) == 0 && (raw >> 24) == 0xFFu)
        return static_cast<std::int16_t>(raw >> 16);
    return static_cast<std::int32_t>(raw);
}

} // namespace korvyn::platform
