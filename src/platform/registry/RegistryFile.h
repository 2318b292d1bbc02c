#pragma once
// Reading and atomically replacing the registry file.
#include "platform/registry/RegFileFormat.h"
#include "platform/registry/Registry.h"
#include "platform/system/RegularFile.h"

#include <filesystem>
#include <optional>
#include <string>

namespace korvyn::platform {

struct LoadedRegistry {
    RegTree tree;
    // False when the file exists but could be neither read nor kept aside: writing
    // would then replace settings that were never read.
    bool writable = true;
    // What the file held when it was last read or written here, and its stamp then.
    std::string fileBytes;
    std::optional<FileStamp> fileStamp;
};

// A missing file is an empty registry. A file that cannot be parsed, or is larger than
// kMaxRegFileSize, is renamed with a ".corrupt" suffix (".corrupt.1", ... when that
// exists) and reported on standard error; the registry then starts empty. One that is no
// regular file (a named pipe, a device, a folder) is reported and left alone, and is not
// written either. A symbolic link is followed. Temporary files that earlier runs left in
// the folder are removed first.
LoadedRegistry LoadRegistryFile(const std::filesystem::path& path);

// Writes the file through AtomicFile (mode 0600): a temporary file beside the old one,
// flushed to disk and renamed over it; a link is written through to its target. On any
// failure (also a text beyond kMaxRegFileSize, or a file made read-only) the old file is
// untouched. A file that nobody has touched since it was last read or written here and
// that holds these very bytes is left as it is: nothing would change but its time, and
// flash memory wears with every write.
bool SaveRegistryFile(const std::filesystem::path& path, LoadedRegistry& registry,
                      const RegistrySaveHook& hook);

} // namespace korvyn::platform
