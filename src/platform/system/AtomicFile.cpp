#include "platform/system/AtomicFile.h"

#include "platform/system/DocumentsFolder.h"
#include "platform/system/WholeNumber.h"

#include <cctype>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <optional>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace korvyn::platform {
namespace {

constexpr std::size_t kBufferSize = 64 * 1024;
constexpr int kTempAttempts = 16;
constexpr int kMaxLinks = 40; // as the kernel follows them
constexpr std::string_view kTempTag = ".korvyn-";
constexpr std::string_view kTempEnd = ".tmp";

std::string RandomSuffix() {
    static const char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937 engine{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kChars - 2);
    std::string suffix(6, ' ');
    for (char& c : suffix)
        c = kChars[pick(engine)];
    return suffix;
}

// ".<name>.korvyn-<pid>-XXXXXX.tmp", keeping the whole within the usual 255-byte name
// limit.
std::string TempName(const std::string& targetName) {
    return "." + targetName.substr(0, 200) + std::string(kTempTag) + std::to_string(::getpid()) +
           "-" + RandomSuffix() + std::string(kTempEnd);
}

// The process that wrote a temporary file of that name; none for any other name.
std::optional<pid_t> TempOwner(std::string_view name) {
    if (!name.starts_with('.') || !name.ends_with(kTempEnd))
        return std::nullopt;
    name.remove_suffix(kTempEnd.size());
    if (name.size() < 7 || name[name.size() - 7] != '-')
        return std::nullopt;
    for (char c : name.substr(name.size() - 6))
        if (!std::isalnum(static_cast<unsigned char>(c)))
            return std::nullopt;
    name.remove_suffix(7);
    const auto tag = name.rfind(kTempTag);
    if (tag == std::string_view::npos || tag == 0)
        return std::nullopt;
    const std::string_view digits = name.substr(tag + kTempTag.size());
    pid_t pid = 0;
    if (!ParseWholeNumber(digits, pid) || digits[0] == '0' || pid <= 0)
        return std::nullopt;
    return pid;
}

} // namespace

void SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void RemoveStaleTemporaryFiles(const std::filesystem::path& folder) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const auto owner = TempOwner(it->path().filename().native());
        struct stat st {};
        if (!owner || ::lstat(it->path().c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        if (::kill(*owner, 0) != 0 && errno == ESRCH)
            ::unlink(it->path().c_str());
    }
}

std::filesystem::path FollowLinks(const std::filesystem::path& path) {
    std::filesystem::path current = path;
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(current, ec)))
            return current;
        const std::filesystem::path next = std::filesystem::read_symlink(current, ec);
        if (ec)
            return current;
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return current; // a loop: opening it reports the loop
}

// The buffer of Stream(): writes go to the file in order from its start, through a buffer
// that lives while the file is open.
class AtomicFile::Sequential final : public std::streambuf {
public:
    explicit Sequential(AtomicFile& file) : file_(file), stream_(this) {
        if (file_.IsOpen())
            Begin();
    }
    std::ostream& stream() { return stream_; }

    // The file is open: writing starts again at its start, with a clear stream state.
    void Begin() {
        stream_.clear();
        buffer_.resize(kBufferSize);
        setp(buffer_.data(), buffer_.data() + buffer_.size());
        offset_ = 0;
    }
    // The file is closed: later writes fail.
    void End() {
        setp(nullptr, nullptr);
        buffer_.clear();
        buffer_.shrink_to_fit();
    }

    int sync() override {
        const std::size_t pending = static_cast<std::size_t>(pptr() - pbase());
        if (pending == 0)
            return file_.error_ ? -1 : 0;
        const bool ok = !file_.error_ && file_.WriteAll(pbase(), pending, offset_, !file_.direct_);
        offset_ += pending;
        setp(buffer_.data(), buffer_.data() + buffer_.size());
        return ok ? 0 : -1;
    }

private:
    int overflow(int ch) override {
        if (file_.fd_ < 0 || sync() != 0)
            return traits_type::eof();
        if (!traits_type::eq_int_type(ch, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(ch);
            pbump(1);
        }
        return traits_type::not_eof(ch);
    }

    std::streamsize xsputn(const char* s, std::streamsize n) override {
        if (file_.fd_ < 0)
            return 0;
        const auto room = epptr() - pptr();
        if (n <= room) {
            traits_type::copy(pptr(), s, static_cast<std::size_t>(n));
            pbump(static_cast<int>(n));
            return n;
        }
        if (sync() != 0 || !file_.WriteAll(s, static_cast<std::size_t>(n), offset_, !file_.direct_))
            return 0;
        offset_ += static_cast<std::uint64_t>(n);
        return n;
    }

    AtomicFile& file_;
    std::vector<char> buffer_;
    std::uint64_t offset_ = 0;
    std::ostream stream_;
};

AtomicFile::AtomicFile(mode_t mode) : mode_(mode) {}

AtomicFile::~AtomicFile() {
    Discard();
}

std::ostream& AtomicFile::Stream() {
    if (!sequential_)
        sequential_ = std::make_unique<Sequential>(*this);
    return sequential_->stream();
}

bool AtomicFile::Fail(int error) {
    if (!error_)
        error_ = std::error_code(error, std::generic_category());
    return false;
}

bool AtomicFile::Open(const std::filesystem::path& target) {
    Discard();
    error_.clear();
    if (sequential_)
        sequential_->stream().clear();
    target_ = FollowLinks(target);
    struct stat st {};
    const bool exists = ::stat(target_.c_str(), &st) == 0;
    if (exists && S_ISREG(st.st_mode) &&
        ((st.st_mode & 0222) == 0 || ::access(target_.c_str(), W_OK) != 0))
        return Fail(EACCES); // made read-only: not to be replaced
    if (exists && !S_ISREG(st.st_mode)) {
        if (S_ISDIR(st.st_mode))
            return Fail(EISDIR);
        // A pipe without a reader fails here instead of blocking.
        fd_ = ::open(target_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd_ < 0)
            return Fail(errno);
        ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
        direct_ = true;
    } else {
        const std::filesystem::path folder =
            target_.has_parent_path() ? target_.parent_path() : std::filesystem::path(".");
        RemoveStaleTemporaryFiles(folder);
        for (int attempt = 0; attempt < kTempAttempts && fd_ < 0; ++attempt) {
            temp_ = folder / TempName(target_.filename().string());
            fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode_);
            if (fd_ < 0 && errno != EEXIST)
                break;
        }
        if (fd_ < 0) {
            const int error = errno;
            temp_.clear();
            return Fail(error);
        }
    }
    if (sequential_)
        sequential_->Begin();
    return true;
}

bool AtomicFile::OpenDevicePath(std::string_view devicePath) {
    Discard();
    std::error_code ec;
    if (!EnsureDocumentsFolder(ec)) {
        error_ = ec ? ec : std::make_error_code(std::errc::not_a_directory);
        return false;
    }
    return Open(HostPathForDevicePath(devicePath));
}

bool AtomicFile::WriteAll(const char* data, std::size_t size, std::uint64_t offset,
                          bool positioned) {
    if (fd_ < 0)
        return Fail(EBADF);
    while (size > 0) {
        const ssize_t n = positioned ? ::pwrite(fd_, data, size, static_cast<off_t>(offset))
                                     : ::write(fd_, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return Fail(n < 0 ? errno : ENOSPC);
        data += n;
        size -= static_cast<std::size_t>(n);
        offset += static_cast<std::uint64_t>(n);
    }
    return true;
}

bool AtomicFile::WriteAt(std::uint64_t offset, const void* data, std::size_t size) {
    if (error_)
        return false;
    return WriteAll(static_cast<const char*>(data), size, offset, true);
}

bool AtomicFile::Resize(std::uint64_t size) {
    if (fd_ < 0 || error_)
        return Fail(EBADF);
    if (direct_)
        return true;
    return ::ftruncate(fd_, static_cast<off_t>(size)) == 0 || Fail(errno);
}

void AtomicFile::Close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (sequential_)
        sequential_->End();
}

bool AtomicFile::Commit() {
    if (fd_ < 0)
        return Fail(EBADF);
    if (sequential_)
        sequential_->pubsync();
    if (!error_ && !Allowed(Step::Flush))
        Fail(EIO);
    if (!error_ && !direct_ && ::fsync(fd_) != 0)
        Fail(errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        Fail(errno);
    Close();
    if (error_) {
        Discard();
        return false;
    }
    if (!direct_) {
        if (!Allowed(Step::Rename)) {
            Fail(EIO);
            Discard();
            return false;
        }
        if (::rename(temp_.c_str(), target_.c_str()) != 0) {
            Fail(errno);
            Discard();
            return false;
        }
        temp_.clear();
        SyncFolder(target_.has_parent_path() ? target_.parent_path() : ".");
    }
    direct_ = false;
    return true;
}

void AtomicFile::Discard() {
    Close();
    if (!temp_.empty())
        ::unlink(temp_.c_str());
    temp_.clear();
    direct_ = false;
}

} // namespace korvyn::platform
