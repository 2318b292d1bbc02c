#include "platform/ui/DeviceScreen.h"

#include "platform/ui/detail/Window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cstdlib>
#include <string>

namespace korvyn::platform {
namespace {

ScreenSize screen;
int zoom = 1;
bool fullScreen = false;
int headless = -1; // -1: decided by the Qt platform
bool fallbackAllowed = false;

int MulDiv(int value, int numerator, int denominator) {
    long long product = static_cast<long long>(value) * numerator;
    long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : -((-product + half) / denominator));
}

// A double-resolution screen holds twice the reference screen of its shape in both
// directions (480 x 640, 640 x 480, 480 x 480 or more). Anything smaller keeps the normal
// units and fills its room by stretching the layout, so one pixel more never doubles a
// layout that then no longer fits.
bool Large() {
    const ScreenSize ref = ReferenceScreen(screen.width, screen.height);
    return screen.width >= 2 * ref.width && screen.height >= 2 * ref.height;
}

} // namespace

Window* MainWindow();

ScreenSize ReferenceScreen(int width, int height) {
    if (width == height) {
        return ScreenSize{240, 240};
    }
    return width > height ? ScreenSize{320, 240} : ScreenSize{240, 320};
}

ScreenSize DeviceScreenSize() {
    return screen;
}

void UpdateScreenFromMainWindow(int width, int height) {
    if (width > 0 && height > 0) {
        screen = ScreenSize{width, height};
    }
}

void SetDeviceScreenSize(int width, int height) {
    if (width <= 0 || height <= 0) {
        return;
    }
    screen = ScreenSize{width, height};
    if (Window* w = MainWindow(); w != nullptr && !fullScreen) {
        w->SetGeometry(0, 0, width, height, false, true);
    }
}

bool SetDeviceZoom(int value) {
    if (value < 1 || value > 8) {
        return false;
    }
    if (qGuiApp != nullptr) {
        return value == zoom;
    }
    zoom = value;
    setenv("QT_SCALE_FACTOR", std::to_string(value).c_str(), 1);
    return true;
}

int DeviceZoom() {
    return zoom;
}

void SetFullScreen(bool value) {
    fullScreen = value;
    if (Window* w = MainWindow()) {
        QWidget* widget = w->widget();
        if (value) {
            widget->showFullScreen();
        } else if (widget->isFullScreen()) {
            widget->showNormal();
        }
    }
}

bool IsFullScreen() {
    return fullScreen;
}

ScreenSize DisplaySize() {
    QScreen* primary = qGuiApp != nullptr ? QGuiApplication::primaryScreen() : nullptr;
    if (primary == nullptr || primary->size().isEmpty()) {
        return screen;
    }
    // With a zoom, Qt's scale factor already divides the desktop into device pixels.
    return ScreenSize{primary->size().width(), primary->size().height()};
}

void SetHeadless(bool value) {
    headless = value ? 1 : 0;
}

bool IsHeadless() {
    if (headless >= 0) {
        return headless == 1;
    }
    if (qGuiApp == nullptr) {
        return true;
    }
    QString platform = QGuiApplication::platformName();
    return platform == u"offscreen" || platform == u"minimal";
}

void AllowHeadlessFallback() {
    // Qt tries the platforms of a ";"-separated list in turn. Without a choice of the
    // user's it picks Wayland or X11 by the session; the same order is kept here.
    QByteArray platforms = qgetenv("QT_QPA_PLATFORM");
    if (platforms.isEmpty()) {
        const bool wayland = qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
                             qgetenv("XDG_SESSION_TYPE") == "wayland";
        platforms = wayland ? "wayland;xcb" : "xcb";
    }
    if (platforms.contains("offscreen") || platforms.contains("minimal")) {
        return;
    }
    qputenv("QT_QPA_PLATFORM", platforms + ";offscreen");
    fallbackAllowed = true;
}

bool FellBackToHeadless() {
    return fallbackAllowed && qGuiApp != nullptr && QGuiApplication::platformName() == u"offscreen";
}

BaseUnits DialogBaseUnits() {
    return Large() ? BaseUnits{12, 26} : BaseUnits{6, 13};
}

int ScreenLogPixels() {
    return Large() ? 192 : 96;
}

int PointsToPixels(int points) {
    return MulDiv(points, ScreenLogPixels(), 72);
}

RECT DialogUnitsToPixels(const RECT& u) {
    BaseUnits b = DialogBaseUnits();
    return RECT{MulDiv(u.left, b.x, 4), MulDiv(u.top, b.y, 8), MulDiv(u.right, b.x, 4),
                MulDiv(u.bottom, b.y, 8)};
}

} // namespace korvyn::platform

int GetSystemMetrics(int index) {
    using korvyn::platform::DeviceScreenSize;
    switch (index) {
    case SM_CXSCREEN:
        return DeviceScreenSize().width;
    case SM_CYSCREEN:
        return DeviceScreenSize().height;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
        return korvyn::platform::DialogBaseUnits().x == 6 ? 13 : 26;
    case SM_CYCAPTION:
        return korvyn::platform::DialogBaseUnits().x == 6 ? 26 : 52;
    default:
        return 0;
    }
}
