#pragma once
// One running program per user and program file. The first start holds a lock named
// after the program's full path (per user) and listens on a local socket beside it; a
// later start that finds the lock taken connects to that socket, which brings the
// running program's window to the front, and ends. Should the running program not
// answer yet (it may be starting), the later start tries again, 40 times 250 ms apart,
// and then goes on normally.
#include <filesystem>
#include <functional>
#include <memory>

namespace korvyn::platform {

class SingleInstance {
public:
    enum class Claim {
        First,      // this start holds the lock and answers later starts
        HandedOver, // another start runs; it was asked to come to the front
        GaveUp,     // the lock is taken but nobody answered: go on without it
    };

    struct Options {
        // The program's full path; its lock and socket names derive from it.
        std::filesystem::path programPath;
        // Where the lock and the socket live: $XDG_RUNTIME_DIR, or the temporary folder.
        std::filesystem::path folder;
        int tries = 40;
        int retryMs = 250;
        // Waits between tries; tests count instead of waiting.
        std::function<void(int ms)> wait;
    };

    // Options for this program: its path from /proc/self/exe, the per-user folder and a
    // real wait.
    static Options ForThisProgram();

    explicit SingleInstance(Options options);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Called on the UI thread whenever a later start hands over (only after First).
    void SetActivationHandler(std::function<void()> handler);
    Claim TryClaim();

    // The names for a program path: per user, the path's "\" read as "/".
    static std::filesystem::path LockPathFor(const Options& options);
    static std::filesystem::path SocketPathFor(const Options& options);

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace korvyn::platform
