// The NetworkManager scan request against a real message bus: a private dbus-daemon
// started here, NetworkManager played by python3-dbusmock's template on it, and the
// request pointed at it through DBUS_SYSTEM_BUS_ADDRESS as any program would be.
#include "platform/devices/NetworkManagerScan.h"

#include "platform/devices/DeviceIo.h"
#include "support/TempDir.h"

#include <systemd/sd-bus.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdarg>
#include <fcntl.h>
#include <memory>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <type_traits>
#include <unistd.h>
#include <vector>

namespace {

using namespace korvyn::platform;
using korvyn::test::ScopedEnv;
using korvyn::test::TempDir;

constexpr const char* kService = "org.freedesktop.NetworkManager";
constexpr const char* kMain = "/org/freedesktop"; // the mock's own object
constexpr const char* kManager = "/org/freedesktop/NetworkManager";
constexpr const char* kMock = "org.freedesktop.DBus.Mock";
constexpr const char* kWireless = "org.freedesktop.NetworkManager.Device.Wireless";

// A child program that dies with the test program; killed and reaped when it goes.
class Child {
public:
    // Its standard output goes to outFd (or nowhere when -1).
    Child(const std::vector<std::string>& argv, int outFd) {
        const pid_t parent = getpid();
        pid_ = fork();
        if (pid_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (getppid() != parent)
                _exit(127);
            const int out = outFd >= 0 ? outFd : open("/dev/null", O_WRONLY);
            dup2(out, STDOUT_FILENO);
            std::vector<char*> args;
            for (const std::string& a : argv)
                args.push_back(const_cast<char*>(a.c_str()));
            args.push_back(nullptr);
            execv(args[0], args.data());
            _exit(127);
        }
    }
    ~Child() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    pid_t pid() const { return pid_; }
    bool Running() const { return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0; }

private:
    pid_t pid_ = -1;
};

class NetworkManagerBus : public testing::Test {
protected:
    void SetUp() override {
        korvyn::test::WriteFileBytes(
            dir_ / "bus.conf",
            "<busconfig><type>session</type><listen>unix:dir=" + dir_.path().string() +
                "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                "<allow own=\"*\"/></policy></busconfig>");
        int out[2];
        ASSERT_EQ(pipe(out), 0);
        daemon_ = std::make_unique<Child>(
            std::vector<std::string>{"/usr/bin/dbus-daemon", "--nofork", "--print-address",
                                     "--config-file=" + (dir_ / "bus.conf").string()},
            out[1]);
        close(out[1]);
        // The daemon prints its address once it listens, or exits without a word.
        std::string address;
        char c = 0;
        while (read(out[0], &c, 1) == 1 && c != '\n')
            address += c;
        close(out[0]);
        if (address.empty())
            GTEST_SKIP() << "dbus-daemon could not start a private bus; the NetworkManager "
                            "scan request is not tested here";
        address_ = std::make_unique<ScopedEnv>("DBUS_SYSTEM_BUS_ADDRESS", address.c_str());
        ASSERT_GE(sd_bus_open_system(&control_), 0);
        ASSERT_GE(sd_bus_match_signal(control_, nullptr, "org.freedesktop.DBus", nullptr,
                                      "org.freedesktop.DBus", "NameOwnerChanged", nullptr, nullptr),
                  0);
    }

    void TearDown() override {
        if (mock_ && mock_->pid() > 0)
            kill(mock_->pid(), SIGCONT);
        sd_bus_flush_close_unref(control_);
    }

    // NetworkManager appears once dbusmock has loaded its template and owns the name.
    void StartNetworkManager() {
        mock_ = std::make_unique<Child>(std::vector<std::string>{KORVYN_PYTHON, "-m", "dbusmock",
                                                                 "--template", "networkmanager"},
                                        -1);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!HasOwner()) {
            ASSERT_TRUE(mock_->Running()) << "python3 -m dbusmock --template networkmanager "
                                             "exited (is python3-dbusmock installed?)";
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "dbusmock never came up";
            while (sd_bus_process(control_, nullptr) > 0) {
            }
            sd_bus_wait(control_, 250 * 1000); // woken by NameOwnerChanged
        }
    }

    bool HasOwner() {
        sd_bus_error error = SD_BUS_ERROR_NULL;
        sd_bus_message* reply = nullptr;
        int has = 0;
        if (sd_bus_call_method(control_, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                               "org.freedesktop.DBus", "NameHasOwner", &error, &reply, "s",
                               kService) >= 0)
            sd_bus_message_read(reply, "b", &has);
        sd_bus_message_unref(reply);
        sd_bus_error_free(&error);
        return has != 0;
    }

    // Calls one of the mock's own methods on path; the reply, if any, is read by read.
    template <typename Read = std::nullptr_t>
    void Mock(const char* path, const char* method, Read read, const char* types, ...) {
        sd_bus_error error = SD_BUS_ERROR_NULL;
        sd_bus_message* reply = nullptr;
        va_list ap;
        va_start(ap, types);
        const int r =
            sd_bus_call_methodv(control_, kService, path, kMock, method, &error, &reply, types, ap);
        va_end(ap);
        EXPECT_GE(r, 0) << method << ": " << (error.message ? error.message : "");
        if constexpr (!std::is_same_v<Read, std::nullptr_t>) {
            if (r >= 0)
                read(reply);
        }
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

    // Makes method on path answer with the D-Bus error errorName.
    void Refuse(const char* path, const char* interface, const char* method, const char* in,
                const char* out, const std::string& errorName) {
        const std::string code =
            "raise dbus.exceptions.DBusException('refused', name='" + errorName + "')";
        Mock(path, "AddMethod", nullptr, "sssss", interface, method, in, out, code.c_str());
    }

    // The scan requests the device received.
    int ScanRequests(const std::string& device) {
        int count = 0;
        Mock(
            device.c_str(), "GetMethodCalls",
            [&](sd_bus_message* reply) {
                if (sd_bus_message_enter_container(reply, 'a', "(tav)") >= 0) {
                    while (sd_bus_message_skip(reply, "(tav)") > 0)
                        ++count;
                }
            },
            "s", "RequestScan");
        return count;
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

    TempDir dir_;
    std::unique_ptr<Child> daemon_;
    std::unique_ptr<Child> mock_;
    std::unique_ptr<ScopedEnv> address_;
    sd_bus* control_ = nullptr;
};

TEST_F(NetworkManagerBus, RequestsReachTheDeviceAndRefusalsKeepTheirMeaning) {
    StartNetworkManager();
    struct Case {
        const char* name;
        const char* interfaceName;
        const char* refusal; // the device's answer to RequestScan, if not success
        DWORD expected;
        int requests; // how many reached the device
    } const cases[] = {
        {"accepted", "wlan0", nullptr, ERROR_SUCCESS, 1},
        {"not authorised", "wlan0", "org.freedesktop.NetworkManager.PermissionDenied",
         ERROR_ACCESS_DENIED, 1},
        {"scan already running", "wlan0", "org.freedesktop.NetworkManager.Device.NotAllowed",
         ERROR_BUSY, 1},
        {"no such interface", "wlan9", nullptr, ERROR_DEV_NOT_EXIST, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Mock(kMain, "Reset", nullptr, "");
        AnswerUnknownInterfaces();
        const std::string device = AddWiFiDevice("wlan0", "wlan0");
        if (c.refusal)
            Refuse(device.c_str(), kWireless, "RequestScan", "a{sv}", "", c.refusal);
        NetworkManagerScan scan;
        EXPECT_EQ(scan.RequestScan(c.interfaceName), c.expected);
        EXPECT_EQ(ScanRequests(device), c.requests);
    }
}

TEST_F(NetworkManagerBus, ADeviceThatWentIsLookedUpAgain) {
    StartNetworkManager();
    AnswerUnknownInterfaces();
    NetworkManagerScan scan;
    const std::string first = AddWiFiDevice("wlan0", "wlan0");
    ASSERT_EQ(scan.RequestScan("wlan0"), ERROR_SUCCESS);
    Mock(kMain, "RemoveObject", nullptr, "s", first.c_str());
    EXPECT_EQ(scan.RequestScan("wlan0"), ERROR_DEV_NOT_EXIST);
    const std::string second = AddWiFiDevice("wlan0again", "wlan0");
    EXPECT_EQ(scan.RequestScan("wlan0"), ERROR_SUCCESS);
    EXPECT_EQ(ScanRequests(second), 1);
}

TEST_F(NetworkManagerBus, NoNetworkManagerOrNoBusIsReportedAsNoService) {
    NetworkManagerScan onBus;
    EXPECT_EQ(onBus.RequestScan("wlan0"), ERROR_SERVICE_NOT_ACTIVE);
    ScopedEnv noBus("DBUS_SYSTEM_BUS_ADDRESS", ("unix:path=" + (dir_ / "none").string()).c_str());
    NetworkManagerScan offBus;
    EXPECT_EQ(offBus.RequestScan("wlan0"), ERROR_SERVICE_NOT_ACTIVE);
}

// A NetworkManager that holds its name but never answers (stopped) costs one timeout.
TEST_F(NetworkManagerBus, AServiceThatDoesNotAnswerTimesOut) {
    StartNetworkManager();
    AnswerUnknownInterfaces();
    AddWiFiDevice("wlan0", "wlan0");
    NetworkManagerScan scan;
    ASSERT_EQ(scan.RequestScan("wlan0"), ERROR_SUCCESS); // the device's path is known now
    ASSERT_EQ(kill(mock_->pid(), SIGSTOP), 0);
    EXPECT_EQ(scan.RequestScan("wlan0"), ERROR_TIMEOUT);
    EXPECT_EQ(scan.RequestScan("wlan0"), ERROR_TIMEOUT); // the lookup, this time
    ASSERT_EQ(kill(mock_->pid(), SIGCONT), 0);
    EXPECT_EQ(scan.RequestScan("wlan0"), ERROR_SUCCESS);
}

} // namespace
