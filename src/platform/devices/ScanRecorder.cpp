#include "platform/devices/ScanRecorder.h"

#include "platform/devices/DeviceIo.h"
#include "platform/devices/ScanFile.h"

namespace korvyn::platform {

std::shared_ptr<ScanRecorder> ScanRecorder::Open(std::shared_ptr<WifiDriver> driver,
                                                 const std::filesystem::path& file,
                                                 std::string& error) {
    std::error_code ec;
    const bool fresh =
        !std::filesystem::exists(file, ec) || std::filesystem::file_size(file, ec) == 0;
    if (!fresh) {
        // Appending to anything but a scan file would spoil it.
        ScanScript existing;
        if (!LoadScanFile(file, existing, error)) {
            error = "not recording: " + error;
            return nullptr;
        }
    }
    std::shared_ptr<ScanRecorder> recorder(new ScanRecorder(std::move(driver)));
    recorder->out_.open(file, std::ios::binary | std::ios::app);
    if (!recorder->out_) {
        error = file.string() + ": cannot be written";
        return nullptr;
    }
    if (fresh) {
        std::vector<ScanAdapter> adapters;
        for (std::u16string& name : recorder->driver_->AdapterNames()) {
            ULONG medium = NdisPhysicalMediumUnspecified;
            const bool wireless =
                recorder->driver_->QueryPhysicalMedium(name, medium) == ERROR_SUCCESS &&
                medium == NdisPhysicalMediumWirelessLan;
            adapters.push_back({std::move(name), wireless});
        }
        recorder->out_ << FormatScanFileHeader(adapters) << std::flush;
    }
    return recorder;
}

DWORD ScanRecorder::ReadNetworkList(std::u16string_view adapter,
                                    std::vector<NDIS_WLAN_BSSID>& entries) {
    const DWORD error = driver_->ReadNetworkList(adapter, entries);
    if (error == ERROR_SUCCESS) {
        std::lock_guard hold(mutex_);
        out_ << FormatScan(entries) << std::flush; // a failed write must not stop the scan
    }
    return error;
}

} // namespace korvyn::platform
