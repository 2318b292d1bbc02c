#pragma once
// Private: the program's resources as the window layer uses them.
#include "platform/ui/WinUser.h"

#include <vector>

namespace korvyn::platform {

// The bytes of a dialog template resource; empty when there is none.
std::vector<BYTE> DialogTemplateBytes(LPCWSTR name);
HBITMAP LoadBitmapResource(LPCWSTR name);
HMENU LoadMenuResource(LPCWSTR name);

} // namespace korvyn::platform
