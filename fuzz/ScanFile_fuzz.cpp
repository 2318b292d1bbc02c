// Scan files come from users: any bytes must give a script or a message, and a script
// must read back the same after being written out.
#include "platform/devices/ScanFile.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvyn::platform;
    ScanScript script;
    std::string error;
    if (!ParseScanFile({reinterpret_cast<const char*>(data), size}, script, error))
        return error.rfind("line ", 0) == 0 ? 0 : (std::abort(), 0);
    std::string text = FormatScanFileHeader(script.adapters);
    for (const auto& scan : script.scans)
        text += FormatScan(scan);
    ScanScript again;
    if (!ParseScanFile(text, again, error) || again.scans.size() != script.scans.size())
        std::abort();
    for (std::size_t s = 0; s < script.scans.size(); ++s) {
        if (again.scans[s].size() != script.scans[s].size())
            std::abort();
        for (std::size_t i = 0; i < script.scans[s].size(); ++i)
            if (std::memcmp(&again.scans[s][i], &script.scans[s][i], sizeof(NDIS_WLAN_BSSID)))
                std::abort();
    }
    return 0;
}
