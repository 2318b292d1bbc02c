#pragma once
// A simulated adapter that replays a scan script: it holds the first scan from the start,
// each scan request moves it to the next, and after the last it starts again. All the
// script's wireless adapters see the same scans.
#include "platform/devices/ScanScript.h"
#include "platform/devices/WifiDriver.h"

#include <mutex>

namespace korvyn::platform {

class SimulatedDriver : public WifiDriver {
public:
    SimulatedDriver(ScanScript script, std::string name);

    std::string Name() const override { return name_; }
    std::vector<std::u16string> AdapterNames() override;
    DWORD QueryPhysicalMedium(std::u16string_view adapter, ULONG& medium) override;
    DWORD RequestScan(std::u16string_view adapter) override;
    DWORD ReadNetworkList(std::u16string_view adapter,
                          std::vector<NDIS_WLAN_BSSID>& entries) override;

private:
    // ERROR_SUCCESS for a wireless adapter of the script, else why not.
    DWORD Check(std::u16string_view adapter, const ScanAdapter** found = nullptr) const;

    std::mutex mutex_;
    ScanScript script_;
    std::string name_;
    std::size_t current_ = 0;
};

} // namespace korvyn::platform
