#pragma once
// Whether windows are drawn on the screen. A headless run turns drawing off before it
// makes its windows: they keep their state and answer as usual, but nothing is painted
// however often they are invalidated, and a picture of one (SaveWindowPicture) still
// draws it as it stands, once.
#include "platform/ui/WinUser.h"

#include <functional>

namespace korvyn::platform {

// For top-level windows created from now on (children follow their top-level window).
void SetWindowsDrawn(bool drawn);
bool WindowsDrawn();

// Whether drawing into the window can be seen now: false while drawing is off for it,
// while it or a parent is hidden, and while its top-level window is minimised.
bool IsWindowOnScreen(HWND hWnd);

// Called whenever a window asks to be repainted, with the part it asks for (nullptr: all
// of it), so that tests can see what a change repaints. Returns the observer it replaces.
using RepaintObserver = std::function<void(HWND hWnd, const RECT* area)>;
RepaintObserver SetRepaintObserver(RepaintObserver observer);

} // namespace korvyn::platform
