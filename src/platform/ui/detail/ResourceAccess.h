#pragma once
// Private: the program's resources as the window layer uses them.
#include "platform/ui/WinUser.h"

#include <vector>

namespace korvyn::platform {

// The bytes of a dialog template resource; empty when there is none.
// A null module is the program's own.
std::vector<BYTE> DialogTemplateBytes(HMODULE module, LPCWSTR name);
HBITMAP BitmapFromResource(HMODULE module, LPCWSTR name);
HMENU MenuFromResource(HMODULE module, LPCWSTR name);

} // namespace korvyn::platform
