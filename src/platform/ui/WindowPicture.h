#pragma once
// A picture of a window as it is shown, painted through its own paint path, written as a
// PNG file. The picture has the window's size in desktop pixels, so a zoomed device
// screen gives a zoomed picture.
#include "platform/ui/WinUser.h"

#include <filesystem>
#include <string>

namespace korvyn::platform {

// False, with the reason in error, when the window does not exist or the file cannot be
// written.
bool SaveWindowPicture(HWND window, const std::filesystem::path& file, std::string& error);

} // namespace korvyn::platform
