#pragma once
// The handheld's screen on a desktop: the main window's client area stands for it.
// `GetSystemMetrics(SM_CXSCREEN / SM_CYSCREEN)` report its size in device pixels; when
// the user resizes the main window the screen takes the new size and the window gets a
// size change, which is how the program follows a rotation. Before the main window
// exists the screen has the configured size (240 x 320 unless set).
//
// Dialog units do not follow whichever font the system substitutes: the dialog font's
// base units are fixed at 6 x 13 device pixels (per 4 x 8 dialog units), doubled on a
// double-resolution screen: one that holds twice the reference screen of its shape
// (240 x 320 portrait, 320 x 240 landscape, 240 x 240 square) in both directions. Every
// other size keeps the normal units, and the windows stretch their layouts to fill it.
#include "platform/ui/WinUser.h"

namespace korvyn::platform {

struct ScreenSize {
    int width = 240;
    int height = 320;
};

ScreenSize DeviceScreenSize();
// The reference screen of a shape: 240 x 320 when taller than wide, 320 x 240 when wider
// than tall, 240 x 240 when square.
ScreenSize ReferenceScreen(int width, int height);
// Sets the screen size; resizes the main window's client area when it exists (which
// delivers a size change to it).
void SetDeviceScreenSize(int width, int height);

// Device pixels per desktop pixel. Must be set before the application object creates
// the Qt application (it becomes Qt's scale factor); returns false once too late.
bool SetDeviceZoom(int zoom);
int DeviceZoom();

// The main window fills the desktop; its client area is then the screen.
void SetFullScreen(bool fullScreen);
bool IsFullScreen();
// The size of the display the main window goes on, in device pixels (the desktop's
// pixels divided by the zoom); the configured screen size when there is no display.
ScreenSize DisplaySize();

// Headless runs show no window: message boxes print their text on standard error and
// answer with their default button, popup menus are dismissed. Offscreen and minimal Qt
// platforms are headless unless told otherwise.
void SetHeadless(bool headless);
bool IsHeadless();
// Lets the Qt application fall back to the offscreen platform when the display cannot be
// opened (an X server that has gone away), instead of ending the program. Call before the
// application object creates the Qt application; FellBackToHeadless then tells.
void AllowHeadlessFallback();
bool FellBackToHeadless();

struct BaseUnits {
    int x; // pixels per 4 horizontal dialog units
    int y; // pixels per 8 vertical dialog units
};
// Base units for the current screen: 6 x 13, or 12 x 26 on a double-resolution one.
BaseUnits DialogBaseUnits();
// Logical pixels per inch for fonts given in points: 96, or 192 on the larger screens.
int ScreenLogPixels();
// Dialog-unit rectangle (edges, as left, top, right, bottom) to pixels.
RECT DialogUnitsToPixels(const RECT& units);

// Pixel height of a font given in points at the screen's resolution.
int PointsToPixels(int points);

} // namespace korvyn::platform
