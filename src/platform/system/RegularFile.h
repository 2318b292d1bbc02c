#pragma once
// Files that the user names (a scan file, the settings file, a recording) must be regular
// files: a named pipe would block the reader forever and a device such as /dev/zero never
// ends. They are opened without blocking, checked before anything is read, and read only
// up to a limit.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/types.h>

namespace korvyn::platform {

enum class ReadStatus { Read, Missing, TooLarge, Refused };

// Reads the whole file into bytes. Missing: it does not exist (a dangling link counts as
// missing). TooLarge: it holds more than limit bytes. Refused: it is no regular file or
// cannot be read. reason then says why ("a named pipe, not a regular file", "larger than
// 1 MiB", ...).
ReadStatus ReadRegularFile(const std::filesystem::path& path, std::uint64_t limit,
                           std::string& bytes, std::string& reason);

// A file's identity and last change. Equal stamps mean that nobody replaced, resized or
// wrote the file in between (to the file system's resolution of times).
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t changedSeconds = 0;
    std::int64_t changedNanoseconds = 0;
    bool operator==(const FileStamp&) const = default;
};

// The stamp of the regular file at path (a link followed); nullopt for anything else.
std::optional<FileStamp> StampOf(const std::filesystem::path& path);

// What a file of this mode is, for messages: "a folder", "a named pipe", "a device", ...
std::string FileKind(mode_t mode);

// "1 MiB", "256 MiB", "4096 bytes".
std::string SizeText(std::uint64_t bytes);

} // namespace korvyn::platform
