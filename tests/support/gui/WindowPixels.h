#pragma once
// A window's widget, and what the window shows, painted through its real paint path.
#include "platform/ui/CWnd.h"
#include "platform/ui/detail/Window.h"

#include <QImage>
#include <QWidget>

namespace korvyn::test {

inline QWidget* WidgetOf(const CWnd& wnd) {
    return platform::Window::From(wnd.m_hWnd)->widget();
}

inline QImage Shot(const CWnd& wnd) {
    return WidgetOf(wnd)->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline COLORREF PixelAt(const QImage& image, int x, int y) {
    QRgb p = image.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

} // namespace korvyn::test
