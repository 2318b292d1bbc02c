#include "platform/ui/ScreenUpdates.h"

#include "platform/ui/detail/Window.h"

#include <QWidget>

#include <utility>

namespace korvyn::platform {
namespace {

bool drawn = true;

RepaintObserver& Observer() {
    static RepaintObserver observer;
    return observer;
}

} // namespace

void SetWindowsDrawn(bool value) {
    drawn = value;
}

bool WindowsDrawn() {
    return drawn;
}

bool IsWindowOnScreen(HWND hWnd) {
    Window* w = Window::From(hWnd);
    const QWidget* widget = w != nullptr ? w->widget() : nullptr;
    return widget != nullptr && widget->isVisible() && widget->updatesEnabled() &&
           !widget->window()->isMinimized();
}

RepaintObserver SetRepaintObserver(RepaintObserver observer) {
    return std::exchange(Observer(), std::move(observer));
}

void ReportRepaint(HWND hWnd, const RECT* area) {
    if (Observer()) {
        Observer()(hWnd, area);
    }
}

} // namespace korvyn::platform
