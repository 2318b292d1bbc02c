// The NetworkManager scan request against a real message bus: a private dbus-daemon,
// NetworkManager played by python3-dbusmock's template on it, and the request pointed at
// it through DBUS_SYSTEM_BUS_ADDRESS as any program would be.
#include "platform/devices/NetworkManagerScan.h"

#include "platform/devices/DeviceIo.h"
#include "support/PrivateBus.h"

#include <systemd/sd-bus.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdarg>
#include <functional>
#include <memory>
#include <string>

namespace {

using namespace korvyn::platform;
using korvyn::test::ChildProcess;
using korvyn::test::PrivateBus;
using korvyn::test::ScopedEnv;

constexpr const char* kService = "org.freedesktop.NetworkManager";
constexpr const char* kMain = "/org/freedesktop"; // the mock's own object
constexpr const char* kManager = "/org/freedesktop/NetworkManager";
constexpr const char* kWireless = "org.freedesktop.NetworkManager.Device.Wireless";

class NetworkManagerBus : public testing::Test {
protected:
    void SetUp() override {
        if (bus_.address().empty())
            GTEST_SKIP() << "dbus-daemon could not start a private bus; the NetworkManager "
                            "scan request is not tested here";
        address_ = std::make_unique<ScopedEnv>("DBUS_SYSTEM_BUS_ADDRESS", bus_.address().c_str());
    }

    void StartNetworkManager() {
        mock_ = bus_.StartMock(kService, {"--template", "networkmanager"});
        ASSERT_TRUE(mock_) << "python3 -m dbusmock --template networkmanager did not come up";
    }

    // Calls one of the mock's own methods on path; read, if given, reads the reply.
    void Mock(const char* path, const char* method, std::function<void(sd_bus_message*)> read,
              const char* types, ...) {
        sd_bus_error error = SD_BUS_ERROR_NULL;
        sd_bus_message* reply = nullptr;
        va_list ap;
        va_start(ap, types);
        const int r =
            sd_bus_call_methodv(bus_.control(), kService, path, "org.freedesktop.DBus.Mock", method,
                                &error, &reply, types, ap);
        va_end(ap);
        EXPECT_GE(r, 0) << method << ": " << (error.message ? error.message : "");
        if (r >= 0 && read)
            read(reply);
        sd_bus_message_unref(reply);
        sd_bus_error_free(&error);
    }

    // A wireless device for interfaceName; returns its object path.
    std::string AddWiFiDevice(const char* deviceName, const char* interfaceName) {
        std::string path;
        Mock(
            kMain, "AddWiFiDevice",
            [&](sd_bus_message* reply) {
                const char* p = nullptr;
                if (sd_bus_message_read(reply, "s", &p) >= 0 && p)
                    path = p;
            },
            "ssi", deviceName, interfaceName, 100 /* activated */);
        return path;
    }

    // The real NetworkManager answers UnknownDevice for an interface it does not have;
    // the template's lookup has no answer for it.
    void AnswerUnknownInterfaces() {
        Mock(kManager, "AddMethod", nullptr, "sssss", kService, "GetDeviceByIpIface", "s", "o",
             "ret = self.get_device_by_ip_iface(self, args[0])\n"
             "if ret is None:\n"
             "    raise dbus.exceptions.DBusException('No device found for the requested "
             "iface.', name='org.freedesktop.NetworkManager.UnknownDevice')\n");
    }

    PrivateBus bus_;
    std::unique_ptr<ScopedEnv> address_;
    std::unique_ptr<ChildProcess> mock_;
};

TEST_F(NetworkManagerBus, RequestsReachTheDeviceAndRefusalsKeepTheirMeaning) {
    NetworkManagerScan before;
    EXPECT_EQ(before.RequestScan("wlan0"), ERROR_SERVICE_NOT_ACTIVE) << "no NetworkManager";
    StartNetworkManager();
    struct Case {
        const char* name;
        const char* interfaceName;
        const char* refusal; // the device's answer to RequestScan, if not success
        DWORD expected;
    } const cases[] = {
        {"accepted", "wlan0", nullptr, ERROR_SUCCESS},
        {"not authorised", "wlan0", "org.freedesktop.NetworkManager.PermissionDenied",
         ERROR_ACCESS_DENIED},
        {"scan already running", "wlan0", "org.freedesktop.NetworkManager.Device.NotAllowed",
         ERROR_BUSY},
        {"no such interface", "wlan9", nullptr, ERROR_DEV_NOT_EXIST},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Mock(kMain, "Reset", nullptr, "");
        AnswerUnknownInterfaces();
        const std::string device = AddWiFiDevice("wlan0", "wlan0");
        if (c.refusal) {
            const std::string code =
                std::string("raise dbus.exceptions.DBusException('refused', name='") + c.refusal +
                "')";
            Mock(device.c_str(), "AddMethod", nullptr, "sssss", kWireless, "RequestScan", "a{sv}",
                 "", code.c_str());
        }
        NetworkManagerScan scan;
        EXPECT_EQ(scan.RequestScan(c.interfaceName), c.expected);
    }
}

TEST_F(NetworkManagerBus, ADeviceThatWentIsLookedUpAgainAndASilentServiceTimesOut) {
    StartNetworkManager();
    AnswerUnknownInterfaces();
    NetworkManagerScan scan;
    const std::string first = AddWiFiDevice("wlan0", "wlan0");
    ASSERT_EQ(scan.RequestScan("wlan0"), ERROR_SUCCESS);
    Mock(kMain, "RemoveObject", nullptr, "s", first.c_str());
    EXPECT_EQ(scan.RequestScan("wlan0"), ERROR_DEV_NOT_EXIST);
    AddWiFiDevice("wlan0again", "wlan0");
    EXPECT_EQ(scan.RequestScan("wlan0"), ERROR_SUCCESS);
    // A NetworkManager that holds its name but never answers (stopped) costs one timeout.
    ASSERT_EQ(kill(mock_->pid(), SIGSTOP), 0);
    EXPECT_EQ(scan.RequestScan("wlan0"), ERROR_TIMEOUT);
    EXPECT_EQ(scan.RequestScan("wlan0"), ERROR_TIMEOUT); // the lookup, this time
    ASSERT_EQ(kill(mock_->pid(), SIGCONT), 0);
    EXPECT_EQ(scan.RequestScan("wlan0"), ERROR_SUCCESS);
}

} // namespace
