#include "platform/devices/NetworkManagerScan.h"

#include "platform/devices/DeviceIo.h"

#include <systemd/sd-bus.h>

#include <cerrno>
#include <cstring>
#include <string_view>

namespace korvyn::platform {
namespace {

constexpr const char* kService = "org.freedesktop.NetworkManager";
constexpr std::uint64_t kCallTimeoutUsec = 500 * 1000; // the scan tick must not stall

struct ErrorName {
    std::string_view name;
    DWORD code;
};

// The answers NetworkManager and the bus give, by what they mean for the caller.
constexpr ErrorName kErrors[] = {
    // NetworkManager answers NotAllowed while a scan runs or right after one.
    {"org.freedesktop.NetworkManager.Device.NotAllowed", ERROR_BUSY},
    {"org.freedesktop.NetworkManager.PermissionDenied", ERROR_ACCESS_DENIED},
    {"org.freedesktop.DBus.Error.AccessDenied", ERROR_ACCESS_DENIED},
    {"org.freedesktop.DBus.Error.AuthFailed", ERROR_ACCESS_DENIED},
    {"org.freedesktop.NetworkManager.UnknownDevice", ERROR_DEV_NOT_EXIST},
    // A device path that has gone, or a device that is not wireless.
    {"org.freedesktop.DBus.Error.UnknownObject", ERROR_DEV_NOT_EXIST},
    {"org.freedesktop.DBus.Error.UnknownInterface", ERROR_DEV_NOT_EXIST},
    {"org.freedesktop.DBus.Error.UnknownMethod", ERROR_DEV_NOT_EXIST},
    {"org.freedesktop.DBus.Error.ServiceUnknown", ERROR_SERVICE_NOT_ACTIVE},
    {"org.freedesktop.DBus.Error.NameHasNoOwner", ERROR_SERVICE_NOT_ACTIVE},
    {"org.freedesktop.DBus.Error.NoReply", ERROR_TIMEOUT},
    {"org.freedesktop.DBus.Error.Timeout", ERROR_TIMEOUT},
};

DWORD ErrorFor(int result, const sd_bus_error& error) {
    if (error.name) {
        for (const ErrorName& known : kErrors) {
            if (known.name == error.name)
                return known.code;
        }
    }
    return result == -ETIMEDOUT ? ERROR_TIMEOUT : ERROR_GEN_FAILURE;
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
            return ERROR_SERVICE_NOT_ACTIVE; // no system bus, so no NetworkManager either
        }
        sd_bus_set_method_call_timeout(bus_, kCallTimeoutUsec);
    }
    auto device = devices_.find(interfaceName);
    if (device == devices_.end()) {
        sd_bus_error error = SD_BUS_ERROR_NULL;
        sd_bus_message* reply = nullptr;
        const char* path = nullptr;
        int r =
            sd_bus_call_method(bus_, kService, "/org/freedesktop/NetworkManager", kService,
                               "GetDeviceByIpIface", &error, &reply, "s", interfaceName.c_str());
        if (r >= 0)
            r = sd_bus_message_read(reply, "o", &path);
        const DWORD result = r < 0 ? ErrorFor(r, error) : path ? ERROR_SUCCESS : ERROR_GEN_FAILURE;
        if (result == ERROR_SUCCESS)
            device = devices_.emplace(interfaceName, path).first;
        sd_bus_message_unref(reply);
        sd_bus_error_free(&error);
        if (result != ERROR_SUCCESS)
            return result;
    }
    sd_bus_error error = SD_BUS_ERROR_NULL;
    const int r = sd_bus_call_method(bus_, kService, device->second.c_str(),
                                     "org.freedesktop.NetworkManager.Device.Wireless",
                                     "RequestScan", &error, nullptr, "a{sv}", 0);
    const DWORD result = r >= 0 ? ERROR_SUCCESS : ErrorFor(r, error);
    if (r < 0 && result != ERROR_BUSY)
        devices_.erase(device); // the device may have gone; look it up again next time
    sd_bus_error_free(&error);
    return result;
}

} // namespace korvyn::platform
