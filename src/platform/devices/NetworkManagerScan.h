#pragma once
// Asks NetworkManager over the system bus to scan on an interface
// (org.freedesktop.NetworkManager.Device.Wireless.RequestScan), which a desktop session
// may do without privileges.
#include "platform/WinTypes.h"

#include <map>
#include <string>

struct sd_bus;

namespace korvyn::platform {

class NetworkManagerScan {
public:
    NetworkManagerScan() = default;
    ~NetworkManagerScan();
    NetworkManagerScan(const NetworkManagerScan&) = delete;
    NetworkManagerScan& operator=(const NetworkManagerScan&) = delete;

    // ERROR_SUCCESS; ERROR_BUSY when NetworkManager does not scan just now (one is
    // running, or the last was too recent); ERROR_ACCESS_DENIED when it refuses or cannot
    // be reached.
    DWORD RequestScan(const std::string& interfaceName);

private:
    sd_bus* bus_ = nullptr;
    std::map<std::string, std::string> devices_; // interface name -> device object path
};

} // namespace korvyn::platform
