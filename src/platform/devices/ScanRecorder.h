#pragma once
// Passes every request on to another driver and appends each network list it returns to
// a scan file, so that an environment can be replayed later with the simulated adapter.
#include "platform/devices/WifiDriver.h"

#include <filesystem>
#include <fstream>
#include <mutex>

namespace korvyn::platform {

class ScanRecorder : public WifiDriver {
public:
    // A new or empty file gets the header and the driver's adapters first; an existing
    // scan file is appended to. Fails, with a message, when the file cannot be written or
    // holds something other than a scan file.
    static std::shared_ptr<ScanRecorder>
    Open(std::shared_ptr<WifiDriver> driver, const std::filesystem::path& file, std::string& error);

    std::string Name() const override { return driver_->Name(); }
    std::vector<std::u16string> AdapterNames() override { return driver_->AdapterNames(); }
    DWORD QueryPhysicalMedium(std::u16string_view adapter, ULONG& medium) override {
        return driver_->QueryPhysicalMedium(adapter, medium);
    }
    DWORD RequestScan(std::u16string_view adapter) override {
        return driver_->RequestScan(adapter);
    }
    DWORD ReadNetworkList(std::u16string_view adapter,
                          std::vector<NDIS_WLAN_BSSID>& entries) override;

private:
    explicit ScanRecorder(std::shared_ptr<WifiDriver> driver) : driver_(std::move(driver)) {}

    std::shared_ptr<WifiDriver> driver_;
    std::mutex mutex_;
    std::ofstream out_;
};

} // namespace korvyn::platform
