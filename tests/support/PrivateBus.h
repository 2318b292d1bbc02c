#pragma once
// A message bus of the test's own: a dbus-daemon listening in a fresh folder, with the
// children that serve on it (python3-dbusmock), all of them dying with the test program.
#include "support/TempDir.h"

#include <memory>
#include <string>
#include <vector>

struct sd_bus;

namespace korvyn::test {

// A child program; killed and reaped when the object goes.
class ChildProcess {
public:
    // Its standard output goes to outFd, or nowhere when -1; env adds NAME=value entries
    // to the environment it inherits.
    explicit ChildProcess(const std::vector<std::string>& argv, int outFd = -1,
                          const std::vector<std::string>& env = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    int pid() const { return pid_; }
    bool Running() const;

private:
    int pid_ = -1;
};

class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    // Empty when dbus-daemon could not start.
    const std::string& address() const { return address_; }
    // The test's own connection, for driving the services.
    sd_bus* control() const { return control_; }

    // Starts `python3 -m dbusmock` with args on this bus (as the system and the session
    // bus both) and waits until it owns name; null when it exits first or takes longer
    // than a minute.
    std::unique_ptr<ChildProcess> StartMock(const std::string& name,
                                            const std::vector<std::string>& args);
    bool HasOwner(const std::string& name) const;
    // Handles what has come in, then waits for more up to timeoutUsec.
    void Wait(unsigned long timeoutUsec) const;

private:
    TempDir dir_;
    std::unique_ptr<ChildProcess> daemon_;
    std::string address_;
    sd_bus* control_ = nullptr;
};

} // namespace korvyn::test
