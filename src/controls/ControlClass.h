#pragma once
// Registers the window class of an owner-drawn control by name, unless a class of that
// name exists: horizontal and vertical redraw, double taps, the default window
// procedure, no icon or menu.
#include "platform/ui/WinGdi.h"

namespace korvyn {

void RegisterControlClass(LPCWSTR name, HBRUSH background, HCURSOR cursor = nullptr);

} // namespace korvyn
