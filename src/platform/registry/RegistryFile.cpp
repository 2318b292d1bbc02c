#include "platform/registry/RegistryFile.h"

#include "platform/system/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace korvyn::platform {

namespace fs = std::filesystem;

namespace {

bool Step(const RegistrySaveHook& hook, RegistrySaveStep step) {
    return !hook || hook(step);
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

fs::path AsideName(const fs::path& path) {
    fs::path aside = path;
    aside += ".corrupt";
    std::error_code ec;
    for (int n = 1; fs::exists(aside, ec); ++n) {
        aside = path;
        aside += ".corrupt." + std::to_string(n);
    }
    return aside;
}

// The whole file; nullopt when it exists but cannot be read as a regular file.
std::optional<std::string> ReadWholeFile(const fs::path& path, bool& missing) {
    missing = false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        missing = errno == ENOENT;
        return std::nullopt;
    }
    std::string bytes;
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    char buffer[4096];
    while (ok) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (!ok)
        return std::nullopt;
    return bytes;
}

} // namespace

LoadedRegistry LoadRegistryFile(const fs::path& path) {
    LoadedRegistry result;
    bool missing = false;
    const auto read = ReadWholeFile(path, missing);
    if (!read) {
        if (!missing) {
            std::fprintf(stderr,
                         "korvyn: cannot read the settings file %s; using the defaults and "
                         "leaving the file as it is\n",
                         path.c_str());
            result.writable = false;
        }
        return result;
    }
    const std::string& bytes = *read;
    if (bytes.empty())
        return result;
    RegParseError error;
    if (auto tree = ParseRegFile(bytes, error)) {
        result.tree = std::move(*tree);
        return result;
    }
    const fs::path aside = AsideName(path);
    std::error_code ec;
    fs::rename(path, aside, ec);
    if (ec) {
        std::fprintf(stderr,
                     "korvyn: the settings file %s is damaged (line %d: %s) and could not be "
                     "moved aside; using the defaults without saving\n",
                     path.c_str(), error.line, error.reason.c_str());
        result.writable = false;
        return result;
    }
    std::fprintf(stderr,
                 "korvyn: the settings file %s is damaged (line %d: %s); it was kept as %s "
                 "and the defaults are used\n",
                 path.c_str(), error.line, error.reason.c_str(), aside.c_str());
    return result;
}

bool SaveRegistryFile(const fs::path& path, const RegTree& tree, const RegistrySaveHook& hook) {
    const std::string bytes = FormatRegFile(tree);
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    std::error_code ec;
    if (fs::create_directories(folder, ec))
        fs::permissions(folder, fs::perms::owner_all, ec);

    std::string temp = path.string() + ".XXXXXX";
    const int fd = ::mkstemp(temp.data()); // created with mode 0600
    if (fd < 0)
        return false;
    bool ok = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0;
    if (ok) {
        if (Step(hook, RegistrySaveStep::Write)) {
            ok = WriteAll(fd, bytes);
        } else {
            WriteAll(fd, std::string_view(bytes).substr(0, bytes.size() / 2));
            ok = false;
        }
    }
    ok = ok && Step(hook, RegistrySaveStep::Flush) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && Step(hook, RegistrySaveStep::Rename) && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        std::fprintf(stderr,
                     "korvyn: cannot write the settings file %s; it keeps its old contents\n",
                     path.c_str());
        return false;
    }
    SyncFolder(folder);
    return true;
}

} // namespace korvyn::platform
