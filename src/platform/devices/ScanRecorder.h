#pragma once
// Passes every request on to another driver and appends each network list it returns to
// a scan file, so that an environment can be replayed later with the simulated adapter.
// Each scan goes to the file whole, in one write; a crash or a full disk can therefore
// cut only the last scan, which the reader then leaves out.
#include "platform/devices/WifiDriver.h"

#include <cstdint>
#include <filesystem>
#include <mutex>

namespace korvyn::platform {

class ScanRecorder : public WifiDriver {
public:
    // A new or empty file gets the header and the driver's adapters first; an existing
    // scan file is appended to (after its last whole scan, when the last one was cut).
    // Fails, with a message, when the file cannot be written, is no regular file (a named
    // pipe, a device, a folder) or holds something other than a scan file.
    static std::shared_ptr<ScanRecorder>
    Open(std::shared_ptr<WifiDriver> driver, const std::filesystem::path& file, std::string& error);
    ~ScanRecorder() override;

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

    // True once a write failed (a full disk, the file's size limit): the failure was told
    // on standard error, once, and nothing more is recorded. Scanning goes on.
    bool Failed() const;

private:
    ScanRecorder(std::shared_ptr<WifiDriver> driver, std::filesystem::path file, int fd,
                 std::uint64_t size);
    // Appends text in one write; on failure cuts the file back to what it held before.
    bool Append(std::string_view text);

    std::shared_ptr<WifiDriver> driver_;
    std::filesystem::path file_;
    int fd_;
    std::uint64_t size_; // the file's length after the last whole write
    mutable std::mutex mutex_;
    bool failed_ = false;
};

} // namespace korvyn::platform
