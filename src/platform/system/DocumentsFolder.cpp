#include "platform/system/DocumentsFolder.h"

#include "platform/system/RegularFile.h"

#include <cstdlib>
#include <sstream>
#include <string>

namespace korvyn::platform {
namespace {

std::filesystem::path& Override() {
    static std::filesystem::path folder;
    return folder;
}

// Empty when HOME is not set: there is then no home folder to fall back on.
std::filesystem::path Home() {
    const char* home = std::getenv("HOME");
    return home && *home ? std::filesystem::path(home) : std::filesystem::path();
}

std::filesystem::path ConfigHome() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config)
        return config;
    return Home().empty() ? std::filesystem::path() : Home() / ".config";
}

// The value of XDG_DOCUMENTS_DIR in user-dirs.dirs: a quoted path that may start with $HOME.
std::filesystem::path FromUserDirs() {
    if (ConfigHome().empty())
        return {};
    std::string text, why;
    if (ReadRegularFile(ConfigHome() / "user-dirs.dirs", 64 * 1024, text, why) != ReadStatus::Read)
        return {};
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        const std::string key = "XDG_DOCUMENTS_DIR=";
        const auto start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, key.size(), key) != 0)
            continue;
        std::string value = line.substr(start + key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.rfind("$HOME", 0) == 0)
            return Home().empty() ? std::filesystem::path()
                                  : std::filesystem::path(Home().string() + value.substr(5));
        if (!value.empty() && value.front() == '/')
            return value;
    }
    return {};
}

} // namespace

std::filesystem::path DocumentsFolder() {
    if (!Override().empty())
        return Override();
    for (const char* var : {"KORVYN_DOCUMENTS", "XDG_DOCUMENTS_DIR"}) {
        const char* value = std::getenv(var);
        if (value && *value)
            return value;
    }
    if (auto folder = FromUserDirs(); !folder.empty())
        return folder;
    return Home().empty() ? std::filesystem::path() : Home() / "Documents";
}

const std::error_category& DocumentsFolderCategory() {
    static const class : public std::error_category {
    public:
        const char* name() const noexcept override { return "documents folder"; }
        std::string message(int code) const override {
            switch (static_cast<DocumentsFolderError>(code)) {
            case DocumentsFolderError::NoHome:
                return "there is no Documents folder: HOME is not set (or use --documents)";
            case DocumentsFolderError::DanglingLink:
                return "the Documents folder is a link to a folder that does not exist";
            }
            return "the Documents folder cannot be used";
        }
    } category;
    return category;
}

std::error_code make_error_code(DocumentsFolderError error) {
    return {static_cast<int>(error), DocumentsFolderCategory()};
}

void SetDocumentsFolderOverride(const std::filesystem::path& folder) {
    Override() = folder;
}

bool EnsureDocumentsFolder(std::error_code& ec) {
    ec.clear();
    const auto folder = DocumentsFolder();
    if (folder.empty()) {
        ec = make_error_code(DocumentsFolderError::NoHome);
        return false;
    }
    if (std::filesystem::is_directory(folder, ec))
        return true;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(folder, ec))) {
        ec = make_error_code(DocumentsFolderError::DanglingLink);
        return false;
    }
    std::filesystem::create_directories(folder, ec);
    return !ec && std::filesystem::is_directory(folder, ec);
}

std::filesystem::path HostPathForDevicePath(std::string_view devicePath) {
    while (!devicePath.empty() && devicePath.front() == '\\')
        devicePath.remove_prefix(1);
    constexpr std::string_view kDocuments = "My Documents";
    if (devicePath.substr(0, kDocuments.size()) == kDocuments &&
        (devicePath.size() == kDocuments.size() || devicePath[kDocuments.size()] == '\\'))
        devicePath.remove_prefix(kDocuments.size());
    // Each part is a plain name inside the folder: "/" separates too, and "." and ".."
    // are dropped, so no device path can lead out of the documents folder.
    std::filesystem::path result = DocumentsFolder();
    std::string part;
    const auto take = [&] {
        if (!part.empty() && part != "." && part != "..")
            result /= part;
        part.clear();
    };
    for (char c : devicePath) {
        if (c == '\\' || c == '/')
            take();
        else
            part += c;
    }
    take();
    return result;
}

} // namespace korvyn::platform

namespace korvyn::platform {

std::string PathForDisplay(const std::filesystem::path& path) {
    const char* home = std::getenv("HOME");
    const std::filesystem::path full = path.lexically_normal();
    if (home == nullptr || *home == '\0' || !full.is_absolute()) {
        return full.string();
    }
    const std::filesystem::path base = std::filesystem::path(home).lexically_normal();
    const std::filesystem::path inside = full.lexically_relative(base);
    if (inside.empty() || *inside.begin() == "..") {
        return full.string();
    }
    return inside == "." ? std::string("~") : "~/" + inside.string();
}

} // namespace korvyn::platform
