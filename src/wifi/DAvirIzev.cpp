#include "wifi/DAvirIzev.h"

#include "platform/devices/DeviceIo.h"
#include "platform/devices/Ndis.h"
#include "platform/system/TextCodec.h"
#include "wifi/TraceMessage.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

constexpr std::size_t kListBufferSize = 8192;
constexpr std::size_t kNamesBufferSize = 2048;
constexpr std::size_t kNamesUnits = kNamesBufferSize / sizeof(WCHAR);

// Names of adapters that are never wireless, compared without regard to case.
constexpr std::u16string_view kExcluded[] = {u"ASYNCMAC1", u"IRSIR1", u"L2TP1",     u"PPTP1",
                                             u"RNDISFN1",  u"WWAN1",  u"XSC1_IRDA1"};

WCHAR Upper(WCHAR c) {
    return c >= u'a' && c <= u'z' ? static_cast<WCHAR>(c - u'a' + u'A') : c;
}

bool IsExcluded(std::u16string_view name) {
    for (std::u16string_view excluded : kExcluded) {
        if (excluded.size() != name.size())
            continue;
        bool same = true;
        for (std::size_t i = 0; i < name.size() && same; ++i)
            same = Upper(name[i]) == Upper(excluded[i]);
        if (same)
            return true;
    }
    return false;
}

// DSConfig is a channel number when it is 14 or less, otherwise a frequency in kHz,
// converted by the 802.11 band plans of 2.4, 5 and 6 GHz.
DWORD ChannelOf(DWORD f) {
    if (f <= 14)
        return f;
    if (f >= 2412000 && f <= 2472000)
        return (f - 2407000) / 5000;
    if (f == 2484000)
        return 14;
    if (f > 5000000 && f < 5925000)
        return (f - 5000000) / 5000;
    if (f == 5935000)
        return 2;
    if (f >= 5950000 && f <= 7125000)
        return (f - 5950000) / 5000;
    return (f - 2407000) / 5000; // unsigned on purpose: what the adapter meant is unknown
}

template <typename T> T ReadAt(const BYTE* p) {
    T value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

// The fixed-size user-mode I/O request for one value (medium query, scan request).
struct OidRequest {
    alignas(NDISUIO_QUERY_OID) BYTE bytes[sizeof(NDISUIO_QUERY_OID)];
};

void PutHeader(BYTE* request, NDIS_OID oid, LPCWSTR adapter) {
    auto* name = const_cast<WCHAR*>(adapter);
    std::memcpy(request + offsetof(NDISUIO_QUERY_OID, Oid), &oid, sizeof oid);
    std::memcpy(request + offsetof(NDISUIO_QUERY_OID, ptcDeviceName), &name, sizeof name);
}

void FillObservation(const BYTE* entry, ScanObservation& out) {
    std::memcpy(out.mac, entry + offsetof(NDIS_WLAN_BSSID, MacAddress), sizeof out.mac);

    std::memset(out.ssid, 0, sizeof out.ssid);
    const ULONG ssidLength = ReadAt<ULONG>(entry + offsetof(NDIS_WLAN_BSSID, Ssid));
    const std::size_t units = ssidLength >= 1 && ssidLength <= 31 ? ssidLength : 32;
    korvyn::platform::SystemBytesToWide(entry + offsetof(NDIS_WLAN_BSSID, Ssid) +
                                            offsetof(NDIS_802_11_SSID, Ssid),
                                        units, out.ssid, units);

    out.rssi = korvyn::platform::RssiDbm(ReadAt<DWORD>(entry + offsetof(NDIS_WLAN_BSSID, Rssi)));
    out.channel = ChannelOf(ReadAt<DWORD>(entry + offsetof(NDIS_WLAN_BSSID, Configuration) +
                                          offsetof(NDIS_802_11_CONFIGURATION, DSConfig)));
    out.privacy = ReadAt<DWORD>(entry + offsetof(NDIS_WLAN_BSSID, Privacy));
    out.mode = ReadAt<DWORD>(entry + offsetof(NDIS_WLAN_BSSID, InfrastructureMode));
}

korvyn::ChannelUse ChannelUseOf(const BYTE* entry) {
    korvyn::ChannelUse use;
    use.frequencyKhz =
        korvyn::FrequencyOfDsConfig(ReadAt<DWORD>(entry + offsetof(NDIS_WLAN_BSSID, Configuration) +
                                                  offsetof(NDIS_802_11_CONFIGURATION, DSConfig)));
    use.widthMhz = ReadAt<DWORD>(entry + korvyn::platform::kWidthOffset);
    use.centreKhz = ReadAt<DWORD>(entry + korvyn::platform::kCentreOffset);
    return use;
}

} // namespace

DAvirIzev::DAvirIzev() {
    OpenDriver();
}

DAvirIzev::~DAvirIzev() {
    if (driver_)
        CloseDriver();
}

bool DAvirIzev::OpenDriver() {
    if (driver_) {
        TraceMessage("%s: driver already opened!", "DAvirIzev::OpenDriver");
        return true;
    }
    HANDLE handle = CreateFile(u"UIO1:", GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, INVALID_HANDLE_VALUE);
    if (handle == INVALID_HANDLE_VALUE) {
        TraceMessage("%s: failed to open NDISUIO driver. Err: %d", "DAvirIzev::OpenDriver",
                     static_cast<int>(GetLastError()));
        return false;
    }
    driver_ = handle;
    TraceMessage("%s: opened NDISUIO driver ok.", "DAvirIzev::OpenDriver");
    return true;
}

void DAvirIzev::CloseDriver() {
    CloseHandle(driver_);
    driver_ = nullptr;
    TraceMessage("%s: closing driver.", "DAvirIzev::CloseDriver");
}

bool DAvirIzev::IsWireless(LPCWSTR adapter) {
    OidRequest query{};
    PutHeader(query.bytes, OID_GEN_PHYSICAL_MEDIUM, adapter);
    DWORD returned = 0;
    if (!DeviceIoControl(driver_, IOCTL_NDISUIO_QUERY_OID_VALUE, query.bytes, sizeof query.bytes,
                         query.bytes, sizeof query.bytes, &returned, nullptr)) {
        TraceMessage("%s: cannot query adapter %S phys medium. Err: %d", "DAvirIzev::IsWireless",
                     adapter, static_cast<int>(GetLastError()));
        return false;
    }
    if (ReadAt<ULONG>(query.bytes + kNdisuioHeaderSize) == NdisPhysicalMediumWirelessLan) {
        TraceMessage("%s: adapter %S is wireless.", "DAvirIzev::IsWireless", adapter);
        return true;
    }
    TraceMessage("%s: adapter %S is not wireless.", "DAvirIzev::IsWireless", adapter);
    return false;
}

bool DAvirIzev::GetAdapters(LPWSTR list, DWORD& length) {
    if (!list || length < 2) {
        length = 0;
        return false;
    }
    std::lock_guard hold(lock_);
    HANDLE nds =
        CreateFile(u"NDS0:", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (nds == INVALID_HANDLE_VALUE)
        return false;
    WCHAR names[kNamesUnits];
    DWORD returned = 0;
    if (!DeviceIoControl(nds, IOCTL_NDIS_GET_ADAPTER_NAMES, nullptr, 0, names, sizeof names,
                         &returned, nullptr)) {
        CloseHandle(nds);
        return false;
    }

    WCHAR result[kNamesUnits];
    DWORD bytes = 0;
    // Room for the joined text and its terminator, in units.
    const std::size_t room = std::min<std::size_t>(kNamesUnits, length / sizeof(WCHAR));
    const std::size_t end = std::min<std::size_t>(kNamesUnits, returned / sizeof(WCHAR));
    std::size_t at = 0;
    while (at < end && names[at]) {
        std::size_t size = 0;
        while (at + size < end && names[at + size])
            ++size;
        if (at + size == end)
            break; // a name without its terminator: the list ends here
        LPCWSTR name = names + at;
        at += size + 1;
        TraceMessage("%s: found adapter %S...", "DAvirIzev::GetAdapters", name);
        if (IsExcluded({name, size}) || !IsWireless(name))
            continue;
        const std::size_t used = bytes / sizeof(WCHAR);
        const std::size_t separator = used ? 1 : 0;
        if (used + separator + size + 1 > room)
            break;
        if (separator) {
            result[used] = u',';
            bytes += 2;
        }
        std::memcpy(result + used + separator, name, size * sizeof(WCHAR));
        bytes += static_cast<DWORD>(2 * size);
        TraceMessage("%s: adapter ok: %S...", "DAvirIzev::GetAdapters", name);
    }
    if (bytes) {
        result[bytes / sizeof(WCHAR)] = 0;
        std::memcpy(list, result, bytes + sizeof(WCHAR));
    }
    length = bytes;
    CloseHandle(nds);
    return true;
}

bool DAvirIzev::RefreshBSSIDs(LPCWSTR adapter) {
    std::lock_guard hold(lock_);
    OidRequest request{};
    PutHeader(request.bytes, OID_802_11_BSSID_LIST_SCAN, adapter);
    DWORD returned = 0;
    if (DeviceIoControl(driver_, IOCTL_NDISUIO_SET_OID_VALUE, request.bytes, sizeof request.bytes,
                        nullptr, 0, &returned, nullptr)) {
        TraceMessage("%s: succeeded.", "DAvirIzev::RefreshBSSIDs");
        return true;
    }
    TraceMessage("%s: failed. Err: %d", "DAvirIzev::RefreshBSSIDs",
                 static_cast<int>(GetLastError()));
    return false;
}

bool DAvirIzev::GetBSSIDs(LPCWSTR adapter, ScanObservation* observations, DWORD capacity,
                          DWORD& count) {
    return GetBSSIDs(adapter, observations, capacity, count, nullptr);
}

bool DAvirIzev::GetBSSIDs(LPCWSTR adapter, ScanObservation* observations, DWORD capacity,
                          DWORD& count, korvyn::ChannelUse* uses) {
    if (!observations) {
        count = 0;
        TraceMessage("%s: null pointer.", "DAvirIzev::GetBSSIDs");
        return false;
    }
    std::lock_guard hold(lock_);
    alignas(NDISUIO_QUERY_OID) BYTE buffer[kListBufferSize];
    PutHeader(buffer, OID_802_11_BSSID_LIST, adapter);
    std::memset(buffer + kNdisuioHeaderSize, 0, sizeof(ULONG));
    DWORD returned = 0;
    if (!DeviceIoControl(driver_, IOCTL_NDISUIO_QUERY_OID_VALUE, buffer, sizeof buffer, buffer,
                         sizeof buffer, &returned, nullptr)) {
        TraceMessage("%s: failed to get list. Err: %d", "DAvirIzev::GetBSSIDs",
                     static_cast<int>(GetLastError()));
        return false;
    }

    // The list is walked only within the bytes the driver returned; an entry that is
    // shorter than its fixed part or runs past them ends the walk.
    const BYTE* list = buffer + kNdisuioHeaderSize;
    const std::size_t listBytes =
        std::min<std::size_t>(returned, sizeof buffer) > kNdisuioHeaderSize
            ? std::min<std::size_t>(returned, sizeof buffer) - kNdisuioHeaderSize
            : 0;
    const ULONG items = listBytes >= sizeof(ULONG) ? ReadAt<ULONG>(list) : 0;
    TraceMessage("%s: received %d entries.", "DAvirIzev::GetBSSIDs", static_cast<int>(items));

    const std::size_t room = capacity / sizeof(ScanObservation);
    std::size_t written = 0;
    std::size_t offset = offsetof(NDIS_802_11_BSSID_LIST, Bssid);
    for (ULONG i = 0; i < items && written < room; ++i) {
        const ULONG entryLength =
            offset + sizeof(ULONG) <= listBytes ? ReadAt<ULONG>(list + offset) : 0;
        if (entryLength < sizeof(NDIS_WLAN_BSSID) || entryLength > listBytes - offset)
            break;
        if (uses)
            uses[written] = ChannelUseOf(list + offset);
        FillObservation(list + offset, observations[written++]);
        TraceMessage("%s: processed one entry.", "DAvirIzev::GetBSSIDs");
        offset += entryLength;
    }
    count = static_cast<DWORD>(written);
    TraceMessage("%s: returning.", "DAvirIzev::GetBSSIDs");
    return true;
}
