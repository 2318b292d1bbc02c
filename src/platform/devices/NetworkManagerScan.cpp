#include "platform/devices/NetworkManagerScan.h"

#include "platform/devices/DeviceIo.h"

#include <systemd/sd-bus.h>

#include <cstring>

namespace korvyn::platform {
namespace {

constexpr const char* kService = "org.freedesktop.NetworkManager";
constexpr std::uint64_t kCallTimeoutUsec = 500 * 1000; // the scan tick must not stall

DWORD ErrorFor(const sd_bus_error& error) {
    // NetworkManager answers NotAllowed while a scan runs or right after one.
    if (error.name &&
        std::strcmp(error.name, "org.freedesktop.NetworkManager.Device.NotAllowed") == 0)
        return ERROR_BUSY;
    return ERROR_ACCESS_DENIED;
}

} // namespace

NetworkManagerScan::~NetworkManagerScan() {
    if (bus_)
        sd_bus_flush_close_unref(bus_);
}

DWORD NetworkManagerScan::RequestScan(const std::string& interfaceName) {
    if (bus_ && sd_bus_is_open(bus_) <= 0) {
        bus_ = sd_bus_flush_close_unref(bus_);
        devices_.clear();
    }
    if (!bus_) {
        if (sd_bus_open_system(&bus_) < 0) {
            bus_ = nullptr;
            return ERROR_ACCESS_DENIED;
        }
        sd_bus_set_method_call_timeout(bus_, kCallTimeoutUsec);
    }
    auto device = devices_.find(interfaceName);
    if (device == devices_.end()) {
        sd_bus_error error = SD_BUS_ERROR_NULL;
        sd_bus_message* reply = nullptr;
        const char* path = nullptr;
        const int r =
            sd_bus_call_method(bus_, kService, "/org/freedesktop/NetworkManager", kService,
                               "GetDeviceByIpIface", &error, &reply, "s", interfaceName.c_str());
        const bool ok = r >= 0 && sd_bus_message_read(reply, "o", &path) >= 0 && path;
        if (ok)
            device = devices_.emplace(interfaceName, path).first;
        sd_bus_message_unref(reply);
        sd_bus_error_free(&error);
        if (!ok)
            return ERROR_ACCESS_DENIED;
    }
    sd_bus_error error = SD_BUS_ERROR_NULL;
    const int r = sd_bus_call_method(bus_, kService, device->second.c_str(),
                                     "org.freedesktop.NetworkManager.Device.Wireless",
                                     "RequestScan", &error, nullptr, "a{sv}", 0);
    const DWORD result = r >= 0 ? ERROR_SUCCESS : ErrorFor(error);
    if (r < 0 && result != ERROR_BUSY)
        devices_.erase(device); // the device may have gone; look it up again next time
    sd_bus_error_free(&error);
    return result;
}

} // namespace korvyn::platform
