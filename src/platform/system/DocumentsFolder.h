#pragma once
// The handheld's "My Documents" folder, mapped onto the user's documents folder:
// --documents (an override set at start), else $KORVYN_DOCUMENTS, else $XDG_DOCUMENTS_DIR,
// else the XDG_DOCUMENTS_DIR line of ~/.config/user-dirs.dirs, else ~/Documents. Without
// HOME (and none of the others) there is none: the path is empty and nothing is saved.
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace korvyn::platform {

std::filesystem::path DocumentsFolder();

// Why the folder cannot be made, beyond what the file system says.
enum class DocumentsFolderError { NoHome = 1, DanglingLink };
std::error_code make_error_code(DocumentsFolderError error);

// Set by the command line; an empty path removes the override.
void SetDocumentsFolderOverride(const std::filesystem::path& folder);

// Creates the folder (and its parents) if it does not exist yet. Fails without HOME, and
// for a symbolic link to nothing.
bool EnsureDocumentsFolder(std::error_code& ec);

// A handheld path such as "My Documents\Korvyn 20260101120000.csv" (with or without a
// leading backslash) as a host path in the documents folder. Backslashes (and slashes)
// separate folders; "." and ".." are dropped, so the result never leaves the folder.
// Paths outside "My Documents" are taken relative to the documents folder as well.
std::filesystem::path HostPathForDevicePath(std::string_view devicePath);

// A path as the user reads it in a message: "~" stands for the home folder when the path
// lies under it ("~/Documents/Korvyn 20260101120000.csv").
std::string PathForDisplay(const std::filesystem::path& path);

} // namespace korvyn::platform
