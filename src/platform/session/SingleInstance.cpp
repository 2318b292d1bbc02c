#include "platform/session/SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <unistd.h>

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

} // namespace

struct SingleInstance::State {
    Options options;
    std::unique_ptr<QLockFile> lock;
    std::unique_ptr<QLocalServer> server;
    std::function<void()> onActivate;

    bool HandOver() {
        QLocalSocket socket;
        socket.connectToServer(Native(SocketPathFor(options)));
        if (!socket.waitForConnected(kConnectTimeoutMs)) {
            return false;
        }
        socket.write(kActivate);
        bool sent = socket.waitForBytesWritten(kConnectTimeoutMs);
        socket.disconnectFromServer();
        return sent;
    }

    void Listen() {
        server = std::make_unique<QLocalServer>();
        server->setSocketOptions(QLocalServer::UserAccessOption);
        QString name = Native(SocketPathFor(options));
        QLocalServer::removeServer(name); // ours: we hold the lock, so it is left over
        if (!server->listen(name)) {
            std::fprintf(stderr, "korvyn: cannot listen for later starts on %s: %s\n",
                         name.toLocal8Bit().constData(),
                         server->errorString().toLocal8Bit().constData());
            server.reset();
            return;
        }
        QObject::connect(server.get(), &QLocalServer::newConnection, server.get(), [this] {
            while (QLocalSocket* peer = server->nextPendingConnection()) {
                QObject::connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
                QObject::connect(peer, &QLocalSocket::readyRead, peer, [this, peer] {
                    if (peer->readAll().contains('\n') && onActivate) {
                        onActivate();
                    }
                });
                if (peer->bytesAvailable() > 0) {
                    emit peer->readyRead();
                }
            }
        });
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

SingleInstance::~SingleInstance() {
    if (state_->server) {
        state_->server->close();
    }
}

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
