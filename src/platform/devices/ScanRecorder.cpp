#include "platform/devices/ScanRecorder.h"

#include "platform/devices/DeviceIo.h"
#include "platform/devices/ScanFile.h"
#include "platform/system/RegularFile.h"
#include "platform/system/TextCodec.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvyn::platform {

std::shared_ptr<ScanRecorder> ScanRecorder::Open(std::shared_ptr<WifiDriver> driver,
                                                 const std::filesystem::path& file,
                                                 std::string& error) {
    const std::string name = EscapeControls(file.string());
    // Checked before opening: a named pipe would wait for a reader, a device never fills.
    struct stat info {};
    if (::stat(file.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        error = "not recording: " + name + ": " + FileKind(info.st_mode) + ", not a regular file";
        return nullptr;
    }
    const int fd = ::open(file.c_str(),
                          O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) {
        error = name + ": cannot be written (" + std::strerror(errno) + ")";
        return nullptr;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        error = "not recording: " + name + ": not a regular file";
        return nullptr;
    }
    auto size = static_cast<std::uint64_t>(info.st_size);
    if (size > 0) {
        // Appending to anything but a scan file would spoil it.
        ScanScript existing;
        ScanFileCut cut;
        if (!LoadScanFile(file, existing, error, &cut)) {
            ::close(fd);
            error = "not recording: " + error;
            return nullptr;
        }
        if (cut.line != 0 && ::ftruncate(fd, static_cast<off_t>(cut.bytes)) == 0)
            size = cut.bytes;
    }
    std::shared_ptr<ScanRecorder> recorder(new ScanRecorder(std::move(driver), file, fd, size));
    if (size == 0) {
        std::vector<ScanAdapter> adapters;
        for (std::u16string& adapter : recorder->driver_->AdapterNames()) {
            ULONG medium = NdisPhysicalMediumUnspecified;
            const bool wireless =
                recorder->driver_->QueryPhysicalMedium(adapter, medium) == ERROR_SUCCESS &&
                medium == NdisPhysicalMediumWirelessLan;
            adapters.push_back({std::move(adapter), wireless});
        }
        std::lock_guard hold(recorder->mutex_);
        if (!recorder->Append(FormatScanFileHeader(adapters))) {
            error = name + ": cannot be written";
            return nullptr;
        }
    }
    return recorder;
}

ScanRecorder::ScanRecorder(std::shared_ptr<WifiDriver> driver, std::filesystem::path file, int fd,
                           std::uint64_t size)
    : driver_(std::move(driver)), file_(std::move(file)), fd_(fd), size_(size) {}

ScanRecorder::~ScanRecorder() {
    ::close(fd_);
}

bool ScanRecorder::Failed() const {
    std::lock_guard hold(mutex_);
    return failed_;
}

bool ScanRecorder::Append(std::string_view text) {
    if (failed_)
        return false;
    int error = 0;
    if (size_ + text.size() > kMaxScanFileSize) {
        error = EFBIG; // a longer file could not be replayed
    } else {
        std::string_view rest = text;
        while (!rest.empty()) {
            const ssize_t n = ::write(fd_, rest.data(), rest.size());
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                error = n < 0 ? errno : ENOSPC;
                break;
            }
            rest.remove_prefix(static_cast<std::size_t>(n));
        }
    }
    if (error == 0) {
        size_ += text.size();
        return true;
    }
    failed_ = true;
    // What a cut write left goes again, so the file ends with its last whole scan.
    if (::ftruncate(fd_, static_cast<off_t>(size_)) != 0) {
        // The reader leaves a cut last scan out all the same.
    }
    std::fprintf(stderr, "korvyn: recording to %s stopped: %s\n",
                 EscapeControls(file_.string()).c_str(),
                 error == EFBIG && size_ + text.size() > kMaxScanFileSize
                     ? ("a scan file holds at most " + SizeText(kMaxScanFileSize)).c_str()
                     : std::strerror(error));
    return false;
}

DWORD ScanRecorder::ReadNetworkList(std::u16string_view adapter,
                                    std::vector<NDIS_WLAN_BSSID>& entries) {
    const DWORD error = driver_->ReadNetworkList(adapter, entries);
    if (error == ERROR_SUCCESS) {
        std::lock_guard hold(mutex_);
        Append(FormatScan(entries)); // a failed write must not stop the scan
    }
    return error;
}

} // namespace korvyn::platform
