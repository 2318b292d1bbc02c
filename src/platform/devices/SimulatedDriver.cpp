#include "platform/devices/SimulatedDriver.h"

#include "platform/devices/DeviceIo.h"

namespace korvyn::platform {

SimulatedDriver::SimulatedDriver(ScanScript script, std::string name)
    : script_(std::move(script)), name_(std::move(name)) {}

std::vector<std::u16string> SimulatedDriver::AdapterNames() {
    std::vector<std::u16string> names;
    for (const ScanAdapter& a : script_.adapters)
        names.push_back(a.name);
    return names;
}

DWORD SimulatedDriver::Check(std::u16string_view adapter, const ScanAdapter** found) const {
    for (const ScanAdapter& a : script_.adapters) {
        if (a.name != adapter)
            continue;
        if (found)
            *found = &a;
        return a.wireless ? ERROR_SUCCESS : ERROR_NOT_SUPPORTED;
    }
    return ERROR_DEV_NOT_EXIST;
}

DWORD SimulatedDriver::QueryPhysicalMedium(std::u16string_view adapter, ULONG& medium) {
    const ScanAdapter* found = nullptr;
    const DWORD error = Check(adapter, &found);
    if (!found)
        return error;
    medium = found->wireless ? NdisPhysicalMediumWirelessLan : NdisPhysicalMediumUnspecified;
    return ERROR_SUCCESS;
}

DWORD SimulatedDriver::RequestScan(std::u16string_view adapter) {
    const DWORD error = Check(adapter);
    if (error != ERROR_SUCCESS)
        return error;
    std::lock_guard hold(mutex_);
    if (!script_.scans.empty())
        current_ = (current_ + 1) % script_.scans.size();
    return ERROR_SUCCESS;
}

DWORD SimulatedDriver::ReadNetworkList(std::u16string_view adapter,
                                       std::vector<NDIS_WLAN_BSSID>& entries) {
    const DWORD error = Check(adapter);
    if (error != ERROR_SUCCESS)
        return error;
    std::lock_guard hold(mutex_);
    entries.clear();
    if (!script_.scans.empty())
        entries = script_.scans[current_];
    return ERROR_SUCCESS;
}

} // namespace korvyn::platform
