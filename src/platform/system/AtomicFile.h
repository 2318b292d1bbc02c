#pragma once
// Writes a file so that it appears complete or not at all. The content goes into a hidden
// temporary file beside the target, ".<name>.korvyn-<process id>-<six random
// characters>.tmp", which Commit renames over the target; until then an earlier file of
// that name stays as it was. Discard, a failed write, or destruction without Commit removes
// the temporary file; one left by a process that died is removed before the next save into
// its folder. A target that is a symbolic link is written through to the file it points
// to, and the link stays. A target that exists and is not a regular file (a device, a
// pipe) cannot be replaced and is written directly. A regular file without write
// permission is not replaced.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <string_view>
#include <sys/types.h>
#include <system_error>
#include <vector>

namespace korvyn::platform {

// Makes a rename in folder durable. A failure loses nothing already written, so it is not
// reported.
void SyncFolder(const std::filesystem::path& folder);

// Removes the temporary files of saves into folder whose process no longer runs (a crash
// or a kill during a save leaves them). Every other file is left alone.
void RemoveStaleTemporaryFiles(const std::filesystem::path& folder);

// The file a path names after following symbolic links (also to a target that does not
// exist yet); the path itself when it is no link.
std::filesystem::path FollowLinks(const std::filesystem::path& path);

class AtomicFile {
public:
    // mode: the new file's permissions (before the umask).
    explicit AtomicFile(mode_t mode = 0666);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Begins a new file for target, discarding an unfinished one. False when the folder
    // cannot take the temporary file or the target is a folder.
    bool Open(const std::filesystem::path& target);
    // The same for a handheld name such as "My Documents\Korvyn 20261206201931.csv": the
    // name is mapped into the Documents folder, which is created when it is missing.
    bool OpenDevicePath(std::string_view devicePath);
    bool IsOpen() const { return fd_ >= 0; }

    // Random access, for writers that rewrite their structures in place.
    bool WriteAt(std::uint64_t offset, const void* data, std::size_t size);
    // Cuts or extends the file to size bytes (a directly written device keeps its size).
    bool Resize(std::uint64_t size);
    // Sequential, buffered writing from the start of the file; a failed write sets badbit.
    // The stream and its buffer are made on the first call: a file written with WriteAt
    // alone never sets up a stream, nor the C++ locale every stream carries.
    std::ostream& Stream();

    // Makes the content durable and puts it in place of the target. False (and nothing
    // replaced) when any write failed or the rename did not succeed.
    bool Commit();
    void Discard();

    // The first failure since Open.
    const std::error_code& Error() const { return error_; }

    // Test seam: called before Commit flushes the file to disk and before it renames it;
    // returning false makes that step fail as a full disk or a crash would.
    enum class Step { Flush, Rename };
    void SetStepHook(std::function<bool(Step)> hook) { hook_ = std::move(hook); }

private:
    class Sequential;

    bool Fail(int error);
    bool WriteAll(const char* data, std::size_t size, std::uint64_t offset, bool positioned);
    void Close();

    bool Allowed(Step step) { return !hook_ || hook_(step); }

    mode_t mode_;
    std::function<bool(Step)> hook_;
    int fd_ = -1;
    bool direct_ = false;
    std::filesystem::path target_;
    std::filesystem::path temp_;
    std::error_code error_;
    std::unique_ptr<Sequential> sequential_;
};

} // namespace korvyn::platform
