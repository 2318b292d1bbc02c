#pragma once
// Pixel and widget access shared by the owner-drawn control tests.
#include "platform/ui/AfxWin.h"
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
