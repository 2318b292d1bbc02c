#pragma once
// The icon every window of the program carries (on X11 its _NET_WM_ICON, with one
// picture for each size the group icon holds, so the window manager picks its own).
#include "platform/resources/Resources.h"

namespace korvyn::platform {

// Sets the group icon `name` of the module as the windows' icon; false when the module has
// no readable icon of that name. Call once the application object exists.
bool SetApplicationIcon(HMODULE module, LPCWSTR name);

} // namespace korvyn::platform
