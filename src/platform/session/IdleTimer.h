#pragma once
// The desktop's idle timer: resetting it keeps the screen saver and the power manager
// from blanking the screen or suspending while the program scans. The reset goes to the
// session's screen saver over D-Bus (org.freedesktop.ScreenSaver.SimulateUserActivity)
// and, on X11, to the X server (XResetScreenSaver); where neither exists it does nothing.
#include <functional>

// Resets the idle timer once. Never blocks: the D-Bus call expects no answer and the
// connection is only ever driven as far as it can go without waiting.
void SystemIdleTimerReset();

namespace korvyn::platform {

// Replaces what a reset does (tests count resets; headless runs leave the desktop
// alone); an empty function restores the desktop's reset. Returns the previous one.
using IdleTimerReset = std::function<void()>;
IdleTimerReset SetIdleTimerReset(IdleTimerReset reset);

} // namespace korvyn::platform
