#include "support/PrivateBus.h"

#include <systemd/sd-bus.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace korvyn::test {

ChildProcess::ChildProcess(const std::vector<std::string>& argv, int outFd,
                           const std::vector<std::string>& env) {
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(127);
        for (const std::string& e : env)
            putenv(const_cast<char*>(e.c_str()));
        dup2(outFd >= 0 ? outFd : open("/dev/null", O_WRONLY), STDOUT_FILENO);
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

bool ChildProcess::Running() const {
    return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0;
}

PrivateBus::PrivateBus() {
    WriteFileBytes(dir_ / "bus.conf",
                   "<busconfig><type>session</type><listen>unix:dir=" + dir_.path().string() +
                       "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                       "<allow send_destination=\"*\" eavesdrop=\"true\"/>"
                       "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>");
    int out[2];
    if (pipe(out) != 0)
        return;
    daemon_ = std::make_unique<ChildProcess>(
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
    if (address.empty() || sd_bus_new(&control_) < 0)
        return;
    if (sd_bus_set_address(control_, address.c_str()) < 0 ||
        sd_bus_set_bus_client(control_, 1) < 0 || sd_bus_start(control_) < 0 ||
        sd_bus_match_signal(control_, nullptr, "org.freedesktop.DBus", nullptr,
                            "org.freedesktop.DBus", "NameOwnerChanged", nullptr, nullptr) < 0) {
        control_ = sd_bus_unref(control_);
        return;
    }
    address_ = address;
}

PrivateBus::~PrivateBus() {
    if (control_)
        sd_bus_flush_close_unref(control_);
}

bool PrivateBus::HasOwner(const std::string& name) const {
    sd_bus_error error = SD_BUS_ERROR_NULL;
    sd_bus_message* reply = nullptr;
    int has = 0;
    if (sd_bus_call_method(control_, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                           "org.freedesktop.DBus", "NameHasOwner", &error, &reply, "s",
                           name.c_str()) >= 0)
        sd_bus_message_read(reply, "b", &has);
    sd_bus_message_unref(reply);
    sd_bus_error_free(&error);
    return has != 0;
}

void PrivateBus::Wait(unsigned long timeoutUsec) const {
    while (sd_bus_process(control_, nullptr) > 0) {
    }
    sd_bus_wait(control_, timeoutUsec);
}

std::unique_ptr<ChildProcess> PrivateBus::StartMock(const std::string& name,
                                                    const std::vector<std::string>& args) {
    std::vector<std::string> argv{KORVYN_PYTHON, "-m", "dbusmock"};
    argv.insert(argv.end(), args.begin(), args.end());
    auto mock = std::make_unique<ChildProcess>(
        argv, -1,
        std::vector<std::string>{"DBUS_SYSTEM_BUS_ADDRESS=" + address_,
                                 "DBUS_SESSION_BUS_ADDRESS=" + address_});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (!HasOwner(name)) {
        if (!mock->Running() || std::chrono::steady_clock::now() > deadline)
            return nullptr;
        Wait(250 * 1000); // woken by NameOwnerChanged
    }
    return mock;
}

} // namespace korvyn::test
