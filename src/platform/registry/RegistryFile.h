#pragma once
// Reading and atomically replacing the registry file.
#include "platform/registry/RegFileFormat.h"
#include "platform/registry/Registry.h"

#include <filesystem>

namespace korvyn::platform {

struct LoadedRegistry {
    RegTree tree;
    // False when the file exists but could be neither read nor kept aside: writing
    // would then replace settings that were never read.
    bool writable = true;
};

// A missing file is an empty registry. A file that cannot be parsed is renamed with a
// ".corrupt" suffix (".corrupt.1", ... when that exists) and reported on standard error;
// the registry then starts empty.
LoadedRegistry LoadRegistryFile(const std::filesystem::path& path);

// Writes a temporary file beside the old one (mode 0600), flushes it to disk and renames
// it over the old one. On any failure the temporary file is removed and the old file is
// untouched.
bool SaveRegistryFile(const std::filesystem::path& path, const RegTree& tree,
                      const RegistrySaveHook& hook);

} // namespace korvyn::platform
