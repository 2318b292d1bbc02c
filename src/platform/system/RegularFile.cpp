#include "platform/system/RegularFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvyn::platform {

std::string FileKind(mode_t mode) {
    if (S_ISREG(mode))
        return "a regular file";
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISFIFO(mode))
        return "a named pipe";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "not a regular file";
}

std::string SizeText(std::uint64_t bytes) {
    constexpr std::uint64_t kMiB = 1024 * 1024;
    if (bytes >= kMiB && bytes % kMiB == 0)
        return std::to_string(bytes / kMiB) + " MiB";
    return std::to_string(bytes) + " bytes";
}

std::optional<FileStamp> StampOf(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return FileStamp{
        static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
        static_cast<std::uint64_t>(info.st_size), info.st_mtim.tv_sec, info.st_mtim.tv_nsec};
}

ReadStatus ReadRegularFile(const std::filesystem::path& path, std::uint64_t limit,
                           std::string& bytes, std::string& reason) {
    bytes.clear();
    // O_NONBLOCK: opening a named pipe does not wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (errno == ENOENT)
            return ReadStatus::Missing;
        reason = std::strerror(errno);
        return ReadStatus::Refused;
    }
    struct stat info {};
    bool tooLarge = false;
    if (::fstat(fd, &info) != 0) {
        reason = std::strerror(errno);
    } else if (!S_ISREG(info.st_mode)) {
        reason = FileKind(info.st_mode) + ", not a regular file";
    } else if (static_cast<std::uint64_t>(info.st_size) > limit) {
        tooLarge = true;
    } else {
        bytes.resize(static_cast<std::size_t>(info.st_size));
        std::size_t got = 0;
        // The file may grow while it is read: one byte beyond the limit tells.
        for (;;) {
            if (got == bytes.size())
                bytes.resize(std::min<std::uint64_t>(limit + 1, got + 64 * 1024));
            if (got == bytes.size())
                break;
            const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                reason = std::strerror(errno);
                break;
            }
            if (n == 0)
                break;
            got += static_cast<std::size_t>(n);
        }
        bytes.resize(got);
        tooLarge = reason.empty() && got > limit;
    }
    ::close(fd);
    if (tooLarge)
        reason = "larger than " + SizeText(limit);
    if (!reason.empty()) {
        bytes.clear();
        return tooLarge ? ReadStatus::TooLarge : ReadStatus::Refused;
    }
    return ReadStatus::Read;
}

} // namespace korvyn::platform
