#include "platform/session/TerminationSignals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace korvyn::platform {
namespace {

constexpr std::array<int, 3> kSignals{SIGTERM, SIGINT, SIGHUP};

// The write end of the pipe of the object that is active; -1 when none is.
volatile std::sig_atomic_t writeEnd = -1;

extern "C" void OnSignal(int signal) {
    int saved = errno;
    int fd = writeEnd;
    if (fd >= 0) {
        unsigned char byte = static_cast<unsigned char>(signal);
        // Async-signal-safe; a full pipe (signals piling up) just drops this one.
        [[maybe_unused]] ssize_t n = ::write(fd, &byte, 1);
    }
    errno = saved;
}

} // namespace

struct TerminationSignals::State {
    std::function<void(int)> handler;
    int fds[2] = {-1, -1};
    std::array<struct sigaction, kSignals.size()> previous{};
    bool installed = false;
    int previousWriteEnd = -1;
    std::unique_ptr<QSocketNotifier> notifier;
};

TerminationSignals::TerminationSignals(std::function<void(int signal)> handler)
    : state_(std::make_unique<State>()) {
    State& s = *state_;
    s.handler = std::move(handler);
    if (::pipe2(s.fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        s.fds[0] = s.fds[1] = -1;
        return;
    }
    s.notifier = std::make_unique<QSocketNotifier>(s.fds[0], QSocketNotifier::Read);
    QObject::connect(s.notifier.get(), &QSocketNotifier::activated, s.notifier.get(), [this] {
        State& st = *state_;
        unsigned char bytes[16];
        ssize_t n;
        while ((n = ::read(st.fds[0], bytes, sizeof bytes)) > 0) {
            for (ssize_t i = 0; i < n; ++i) {
                if (st.handler) {
                    st.handler(bytes[i]);
                }
            }
        }
    });
    s.previousWriteEnd = writeEnd;
    writeEnd = s.fds[1];
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        ::sigaction(kSignals[i], &action, &s.previous[i]);
    }
    s.installed = true;
}

TerminationSignals::~TerminationSignals() {
    State& s = *state_;
    if (s.installed) {
        for (std::size_t i = 0; i < kSignals.size(); ++i) {
            ::sigaction(kSignals[i], &s.previous[i], nullptr);
        }
        writeEnd = s.previousWriteEnd;
    }
    s.notifier.reset();
    for (int fd : s.fds) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

bool TerminationSignals::Active() const {
    return state_->installed;
}

void TerminationSignals::IgnoreFromNowOn() {
    State& s = *state_;
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        ::sigaction(kSignals[i], &ignore, nullptr);
        s.previous[i] = ignore; // what the destructor puts back
    }
}

} // namespace korvyn::platform
