#pragma once
// A window's widget, what the window shows (painted through its real paint path), and
// stylus moves as Qt delivers them.
#include "platform/ui/CWnd.h"
#include "platform/ui/detail/Window.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
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

// A stylus move with the stylus down, as Qt delivers it to the window pressed on.
inline void StylusMove(QWidget* widget, QPoint pos) {
    QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

} // namespace korvyn::test
