#pragma once
// Asks NetworkManager over the system bus to scan on an interface
// (org.freedesktop.NetworkManager.Device.Wireless.RequestScan), which a desktop session
// may do without privileges. The bus is the one DBUS_SYSTEM_BUS_ADDRESS names, else the
// standard system bus.
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

    // ERROR_SUCCESS when NetworkManager accepted the request;
    // ERROR_BUSY when it does not scan just now (one is running, or the last was too recent);
    // ERROR_ACCESS_DENIED when it refuses this user;
    // ERROR_DEV_NOT_EXIST when it has no wireless device of that name;
    // ERROR_SERVICE_NOT_ACTIVE when there is no NetworkManager (or no system bus);
    // ERROR_TIMEOUT when it does not answer within half a second;
    // ERROR_GEN_FAILURE for any other failure.
    DWORD RequestScan(const std::string& interfaceName);

private:
    sd_bus* bus_ = nullptr;
    std::map<std::string, std::string> devices_; // interface name -> device object path
};

} // namespace korvyn::platform
