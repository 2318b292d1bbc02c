#include "platform/registry/RegistryFile.h"

#include "platform/system/AtomicFile.h"
#include "platform/system/RegularFile.h"

#include <cstdio>
#include <sys/stat.h>

namespace korvyn::platform {

namespace fs = std::filesystem;

namespace {

bool Step(const RegistrySaveHook& hook, RegistrySaveStep step) {
    return !hook || hook(step);
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

// "line 3, column 7: reason", or the reason alone for the file as a whole.
std::string Where(const RegParseError& error) {
    return error.line > 0 ? "line " + std::to_string(error.line) + ", column " +
                                std::to_string(error.column) + ": " + error.reason
                          : error.reason;
}

} // namespace

LoadedRegistry LoadRegistryFile(const fs::path& path) {
    LoadedRegistry result;
    // A link is read, and later replaced, through to its target.
    const fs::path file = FollowLinks(path);
    std::string bytes, why;
    RegParseError error;
    const ReadStatus status = ReadRegularFile(file, kMaxRegFileSize, bytes, why);
    if (status != ReadStatus::Refused)
        RemoveStaleTemporaryFiles(file.has_parent_path() ? file.parent_path() : fs::path("."));
    switch (status) {
    case ReadStatus::Missing:
        return result;
    case ReadStatus::Refused:
        std::fprintf(stderr,
                     "korvyn: cannot read the settings file %s (%s); using the defaults and "
                     "leaving the file as it is\n",
                     path.c_str(), why.c_str());
        result.writable = false;
        return result;
    case ReadStatus::TooLarge:
        error.reason = why;
        break;
    case ReadStatus::Read:
        if (bytes.empty())
            return result;
        if (auto tree = ParseRegFile(bytes, error)) {
            result.tree = std::move(*tree);
            result.fileStamp = StampOf(file);
            result.fileBytes = std::move(bytes);
            return result;
        }
        break;
    }
    const fs::path aside = AsideName(file);
    std::error_code ec;
    fs::rename(file, aside, ec);
    if (ec) {
        std::fprintf(stderr,
                     "korvyn: the settings file %s is damaged (%s) and could not be moved "
                     "aside; using the defaults without saving\n",
                     path.c_str(), Where(error).c_str());
        result.writable = false;
        return result;
    }
    std::fprintf(stderr,
                 "korvyn: the settings file %s is damaged (%s); it was kept as %s and the "
                 "defaults are used\n",
                 path.c_str(), Where(error).c_str(), aside.c_str());
    return result;
}

bool SaveRegistryFile(const fs::path& path, LoadedRegistry& registry,
                      const RegistrySaveHook& hook) {
    std::string bytes = FormatRegFile(registry.tree);
    const fs::path file = FollowLinks(path);
    if (registry.fileStamp && bytes == registry.fileBytes && StampOf(file) == registry.fileStamp)
        return true;
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    std::error_code ec;
    if (fs::create_directories(folder, ec))
        fs::permissions(folder, fs::perms::owner_all, ec);

    AtomicFile out(S_IRUSR | S_IWUSR);
    out.SetStepHook([&hook](AtomicFile::Step step) {
        return Step(hook, step == AtomicFile::Step::Flush ? RegistrySaveStep::Flush
                                                          : RegistrySaveStep::Rename);
    });
    // A file beyond the limit could not be read back: the old one is kept instead.
    bool ok = bytes.size() <= kMaxRegFileSize && out.Open(file);
    if (ok) {
        if (Step(hook, RegistrySaveStep::Write)) {
            ok = out.WriteAt(0, bytes.data(), bytes.size());
        } else {
            out.WriteAt(0, bytes.data(), bytes.size() / 2);
            ok = false;
        }
    }
    ok = ok && out.Commit();
    if (!ok) {
        out.Discard();
        const bool tooLarge = bytes.size() > kMaxRegFileSize;
        std::fprintf(stderr,
                     "korvyn: cannot write the settings file %s%s; it keeps its old contents\n",
                     path.c_str(), tooLarge ? " (it would be larger than 1 MiB)" : "");
        return false;
    }
    registry.fileStamp = StampOf(file);
    registry.fileBytes = std::move(bytes);
    return true;
}

} // namespace korvyn::platform
