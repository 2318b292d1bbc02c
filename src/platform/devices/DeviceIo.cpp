#include "platform/devices/DeviceIo.h"

#include "platform/devices/Ndis.h"
#include "platform/devices/WifiDriver.h"
#include "platform/system/TextCodec.h"

#include <cstring>
#include <mutex>
#include <string_view>
#include <unordered_map>

namespace {

using korvyn::platform::WifiDriver;

enum class Device { Uio, Nds };

struct OpenDevice {
    Device device;
    std::shared_ptr<WifiDriver> driver;
};

struct HandleTable {
    std::mutex mutex;
    std::unordered_map<std::uintptr_t, OpenDevice> open;
    std::uintptr_t next = 0x1000; // handles are never reused, so a stale one stays invalid
};

HandleTable& Handles() {
    static HandleTable table;
    return table;
}

thread_local DWORD t_lastError = ERROR_SUCCESS;

BOOL Fail(DWORD code) {
    t_lastError = code;
    return FALSE;
}

bool NameIs(LPCWSTR name, std::u16string_view device) {
    std::size_t i = 0;
    for (; name[i] && i < device.size(); ++i) {
        WCHAR c = name[i];
        if (c >= u'a' && c <= u'z')
            c = static_cast<WCHAR>(c - u'a' + u'A');
        if (c != device[i])
            return false;
    }
    return i == device.size() && !name[i];
}

// The adapter name a user-mode I/O request points at.
std::u16string_view RequestAdapter(const BYTE* request) {
    WCHAR* name = nullptr;
    std::memcpy(&name, request + offsetof(NDISUIO_QUERY_OID, ptcDeviceName), sizeof name);
    if (!name)
        return {};
    return {name, korvyn::platform::WideLength(name)};
}

NDIS_OID RequestOid(const BYTE* request) {
    NDIS_OID oid = 0;
    std::memcpy(&oid, request + offsetof(NDISUIO_QUERY_OID, Oid), sizeof oid);
    return oid;
}

BOOL QueryOid(WifiDriver& driver, const BYTE* in, DWORD inSize, BYTE* out, DWORD outSize,
              DWORD& returned) {
    if (!in || inSize < kNdisuioHeaderSize || !out || outSize < kNdisuioHeaderSize)
        return Fail(ERROR_INVALID_PARAMETER);
    const NDIS_OID oid = RequestOid(in);
    const std::u16string_view adapter = RequestAdapter(in);
    if (adapter.empty())
        return Fail(ERROR_INVALID_PARAMETER);
    if (out != in)
        std::memmove(out, in, kNdisuioHeaderSize);
    BYTE* value = out + kNdisuioHeaderSize;
    const DWORD room = outSize - static_cast<DWORD>(kNdisuioHeaderSize);
    DWORD written = 0;
    DWORD error = ERROR_SUCCESS;
    switch (oid) {
    case OID_GEN_PHYSICAL_MEDIUM: {
        if (room < sizeof(ULONG))
            return Fail(ERROR_INSUFFICIENT_BUFFER);
        ULONG medium = 0;
        error = driver.QueryPhysicalMedium(adapter, medium);
        if (error == ERROR_SUCCESS) {
            std::memcpy(value, &medium, sizeof medium);
            written = sizeof medium;
        }
        break;
    }
    case OID_802_11_BSSID_LIST:
        if (room < sizeof(ULONG))
            return Fail(ERROR_INSUFFICIENT_BUFFER);
        error = driver.ReadNetworkListBytes(adapter, value, room, written);
        written = written < room ? written : room;
        break;
    default:
        return Fail(ERROR_NOT_SUPPORTED);
    }
    if (error != ERROR_SUCCESS)
        return Fail(error);
    returned = static_cast<DWORD>(kNdisuioHeaderSize) + written;
    return TRUE;
}

BOOL SetOid(WifiDriver& driver, const BYTE* in, DWORD inSize) {
    if (!in || inSize < kNdisuioHeaderSize)
        return Fail(ERROR_INVALID_PARAMETER);
    const std::u16string_view adapter = RequestAdapter(in);
    if (adapter.empty())
        return Fail(ERROR_INVALID_PARAMETER);
    if (RequestOid(in) != OID_802_11_BSSID_LIST_SCAN)
        return Fail(ERROR_NOT_SUPPORTED);
    const DWORD error = driver.RequestScan(adapter);
    return error == ERROR_SUCCESS ? TRUE : Fail(error);
}

// Names, each NUL-terminated, then an empty name. The list is cut before the first name
// that does not fit whole, so it always ends properly.
BOOL AdapterNames(WifiDriver& driver, BYTE* out, DWORD outSize, DWORD& returned) {
    if (!out || outSize < sizeof(WCHAR))
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    const std::size_t units = outSize / sizeof(WCHAR);
    std::size_t used = 0;
    for (const std::u16string& name : driver.AdapterNames()) {
        if (name.empty())
            continue;
        if (used + name.size() + 2 > units)
            break;
        std::memcpy(out + used * sizeof(WCHAR), name.data(), name.size() * sizeof(WCHAR));
        used += name.size();
        const WCHAR nul = 0;
        std::memcpy(out + used++ * sizeof(WCHAR), &nul, sizeof nul);
    }
    const WCHAR nul = 0;
    std::memcpy(out + used++ * sizeof(WCHAR), &nul, sizeof nul);
    returned = static_cast<DWORD>(used * sizeof(WCHAR));
    return TRUE;
}

} // namespace

HANDLE CreateFile(LPCWSTR name, DWORD /*access*/, DWORD /*share*/, LPVOID /*security*/,
                  DWORD disposition, DWORD /*flags*/, HANDLE /*templateFile*/) {
    if (!name || disposition != OPEN_EXISTING) {
        t_lastError = ERROR_INVALID_PARAMETER;
        return INVALID_HANDLE_VALUE;
    }
    Device device;
    if (NameIs(name, u"UIO1:"))
        device = Device::Uio;
    else if (NameIs(name, u"NDS0:"))
        device = Device::Nds;
    else {
        t_lastError = ERROR_FILE_NOT_FOUND;
        return INVALID_HANDLE_VALUE;
    }
    auto driver = korvyn::platform::CurrentWifiDriver();
    if (!driver) {
        t_lastError = ERROR_FILE_NOT_FOUND;
        return INVALID_HANDLE_VALUE;
    }
    HandleTable& table = Handles();
    std::lock_guard hold(table.mutex);
    const std::uintptr_t value = table.next;
    table.next += 4;
    table.open.emplace(value, OpenDevice{device, std::move(driver)});
    t_lastError = ERROR_SUCCESS;
    return reinterpret_cast<HANDLE>(value);
}

BOOL DeviceIoControl(HANDLE handle, DWORD code, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize,
                     DWORD* bytesReturned, LPVOID /*overlapped*/) {
    if (bytesReturned)
        *bytesReturned = 0;
    OpenDevice device;
    {
        HandleTable& table = Handles();
        std::lock_guard hold(table.mutex);
        const auto it = table.open.find(reinterpret_cast<std::uintptr_t>(handle));
        if (it == table.open.end())
            return Fail(ERROR_INVALID_HANDLE);
        device = it->second;
    }
    DWORD returned = 0;
    BOOL ok = FALSE;
    const auto* input = static_cast<const BYTE*>(in);
    auto* output = static_cast<BYTE*>(out);
    if (device.device == Device::Uio && code == IOCTL_NDISUIO_QUERY_OID_VALUE)
        ok = QueryOid(*device.driver, input, inSize, output, outSize, returned);
    else if (device.device == Device::Uio && code == IOCTL_NDISUIO_SET_OID_VALUE)
        ok = SetOid(*device.driver, input, inSize);
    else if (device.device == Device::Nds && code == IOCTL_NDIS_GET_ADAPTER_NAMES)
        ok = AdapterNames(*device.driver, output, outSize, returned);
    else
        ok = Fail(ERROR_NOT_SUPPORTED);
    if (ok && bytesReturned)
        *bytesReturned = returned;
    if (ok)
        t_lastError = ERROR_SUCCESS;
    return ok;
}

BOOL CloseHandle(HANDLE handle) {
    HandleTable& table = Handles();
    std::lock_guard hold(table.mutex);
    if (table.open.erase(reinterpret_cast<std::uintptr_t>(handle)) == 0)
        return Fail(ERROR_INVALID_HANDLE);
    return TRUE;
}

DWORD GetLastError() {
    return t_lastError;
}

void SetLastError(DWORD code) {
    t_lastError = code;
}
