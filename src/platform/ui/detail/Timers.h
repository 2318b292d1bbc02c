#pragma once
// Private: timer bookkeeping shared by the window code.
#include "platform/ui/WinUser.h"

namespace korvyn::platform {

void KillWindowTimers(HWND hWnd);

} // namespace korvyn::platform
