#include "platform/session/SingleInstance.h"

#include <QLockFile>
#include <QSocketNotifier>
#include <QString>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace korvyn::platform {
namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr char kActivate[] = "activate\n";

QString Native(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

// The lock's name: the program path with "\" read as "/", per user. Hashed, so that any
// path makes a short, valid file name (socket names are limited to about 100 bytes).
std::string NameFor(const SingleInstance::Options& options) {
    std::string path = options.programPath.string();
    for (char& c : path) {
        if (c == '\\') {
            c = '/';
        }
    }
    std::uint64_t hash = 14695981039346656037ull; // FNV-1a
    for (unsigned char c : path) {
        hash = (hash ^ c) * 1099511628211ull;
    }
    char name[64];
    std::snprintf(name, sizeof name, "korvyn-%u-%016llx", static_cast<unsigned>(::getuid()),
                  static_cast<unsigned long long>(hash));
    return name;
}

// A plain local socket beside the lock: the hand-over is a few bytes, and doing it
// without Qt's network module keeps that library out of every start.
bool AddressFor(const std::filesystem::path& path, sockaddr_un& address) {
    const std::string name = path.string();
    if (name.size() >= sizeof address.sun_path) {
        errno = ENAMETOOLONG;
        return false;
    }
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.c_str(), name.size() + 1);
    return true;
}

// Waits until the socket is ready for `events`, at most the connect timeout.
bool Ready(int fd, short events) {
    pollfd p{fd, events, 0};
    int r;
    do {
        r = ::poll(&p, 1, kConnectTimeoutMs);
    } while (r < 0 && errno == EINTR);
    return r == 1 && (p.revents & events) != 0;
}

} // namespace

struct SingleInstance::State {
    Options options;
    std::unique_ptr<QLockFile> lock;
    int server = -1;
    std::string serverPath;
    std::unique_ptr<QSocketNotifier> accepting;
    std::map<int, std::unique_ptr<QSocketNotifier>> peers;
    std::function<void()> onActivate;

    ~State() { Close(); }

    // The notifiers go before their sockets, so that none watches a closed descriptor.
    void Close() {
        accepting.reset();
        std::vector<int> open;
        for (const auto& peer : peers) {
            open.push_back(peer.first);
        }
        peers.clear();
        for (int fd : open) {
            ::close(fd);
        }
        if (server >= 0) {
            ::close(server);
            ::unlink(serverPath.c_str());
            server = -1;
        }
    }

    bool HandOver() {
        sockaddr_un address;
        if (!AddressFor(SocketPathFor(options), address)) {
            return false;
        }
        int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd < 0) {
            return false;
        }
        bool sent = false;
        int r = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        if (r == 0 || ((errno == EAGAIN || errno == EINPROGRESS) && Ready(fd, POLLOUT))) {
            int error = 0;
            socklen_t length = sizeof error;
            if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0) {
                const std::size_t size = sizeof kActivate - 1;
                std::size_t done = 0;
                while (done < size) {
                    ssize_t n = ::send(fd, kActivate + done, size - done, MSG_NOSIGNAL);
                    if (n > 0) {
                        done += static_cast<std::size_t>(n);
                    } else if (n < 0 && errno == EINTR) {
                        continue;
                    } else if (n < 0 && errno == EAGAIN && Ready(fd, POLLOUT)) {
                        continue;
                    } else {
                        break;
                    }
                }
                sent = done == size;
            }
        }
        ::close(fd);
        return sent;
    }

    void Listen() {
        const std::filesystem::path path = SocketPathFor(options);
        sockaddr_un address;
        int fd = -1;
        bool ok = AddressFor(path, address) &&
                  (fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)) >= 0;
        if (ok) {
            ::unlink(path.c_str()); // ours: we hold the lock, so it is left over
            // Only this user may hand over: the socket is made without access for others.
            mode_t old = ::umask(077);
            ok = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
            ::umask(old);
            ok = ok && ::listen(fd, 16) == 0;
        }
        if (!ok) {
            std::fprintf(stderr, "korvyn: cannot listen for later starts on %s: %s\n", path.c_str(),
                         std::strerror(errno));
            if (fd >= 0) {
                ::close(fd);
            }
            return;
        }
        server = fd;
        serverPath = path.string();
        accepting = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        QObject::connect(accepting.get(), &QSocketNotifier::activated, [this] { Accept(); });
    }

    void Accept() {
        int peer;
        while ((peer = ::accept4(server, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >= 0) {
            auto notifier = std::make_unique<QSocketNotifier>(peer, QSocketNotifier::Read);
            QObject::connect(notifier.get(), &QSocketNotifier::activated,
                             [this, peer] { Read(peer); });
            peers[peer] = std::move(notifier);
            Read(peer); // it may have written already
        }
    }

    // One request per line; the peer's end (or an error) closes its side here.
    void Read(int peer) {
        char buffer[256];
        bool activate = false;
        bool closed = false;
        for (;;) {
            ssize_t n = ::read(peer, buffer, sizeof buffer);
            if (n > 0) {
                activate = activate || std::memchr(buffer, '\n', static_cast<std::size_t>(n));
            } else if (n < 0 && errno == EINTR) {
                continue;
            } else {
                closed = n == 0 || errno != EAGAIN;
                break;
            }
        }
        if (closed) {
            auto it = peers.find(peer);
            if (it != peers.end()) {
                it->second->setEnabled(false);
                it->second.release()->deleteLater();
                peers.erase(it);
            }
            ::close(peer);
        }
        if (activate && onActivate) {
            onActivate();
        }
    }
};

SingleInstance::Options SingleInstance::ForThisProgram() {
    Options o;
    std::error_code ec;
    o.programPath = std::filesystem::read_symlink("/proc/self/exe", ec);
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    o.folder = runtime != nullptr && *runtime != '\0' ? std::filesystem::path(runtime)
                                                      : std::filesystem::temp_directory_path(ec);
    o.wait = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
    return o;
}

std::filesystem::path SingleInstance::LockPathFor(const Options& options) {
    return options.folder / (NameFor(options) + ".lock");
}

std::filesystem::path SingleInstance::SocketPathFor(const Options& options) {
    return options.folder / (NameFor(options) + ".sock");
}

SingleInstance::SingleInstance(Options options) : state_(std::make_unique<State>()) {
    state_->options = std::move(options);
}

SingleInstance::~SingleInstance() = default;

void SingleInstance::SetActivationHandler(std::function<void()> handler) {
    state_->onActivate = std::move(handler);
}

SingleInstance::Claim SingleInstance::TryClaim() {
    State& s = *state_;
    s.lock = std::make_unique<QLockFile>(Native(LockPathFor(s.options)));
    // A lock left by a program that died is taken over (its process is gone).
    if (s.lock->tryLock(0)) {
        s.Listen();
        return Claim::First;
    }
    s.lock.reset();
    for (int attempt = 0; attempt < s.options.tries; ++attempt) {
        if (s.HandOver()) {
            return Claim::HandedOver;
        }
        if (s.options.wait) {
            s.options.wait(s.options.retryMs);
        }
    }
    return Claim::GaveUp;
}

} // namespace korvyn::platform
