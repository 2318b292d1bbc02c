#pragma once
// A window's widget, what the window shows (painted through its real paint path), how it
// compares with texts drawn as they should look, and stylus moves as Qt delivers them.
#include "platform/ui/CBitmap.h"
#include "platform/ui/CDC.h"
#include "platform/ui/CFont.h"
#include "platform/ui/CWnd.h"
#include "platform/ui/detail/Window.h"

#include <string>
#include <vector>

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

// A text in bold Tahoma of the given height, centred on one line in rect.
struct CentredText {
    std::u16string text;
    int height;
    CRect rect;
};

struct PixelDifference {
    int differing = 0; // pixels unlike the texts drawn on the background
    int inked = 0;     // pixels unlike the background
};

// Compares the area of a shot, taken at (area.left, area.top), with the texts drawn in
// black on the background; the texts' rectangles are relative to the area.
inline PixelDifference CompareWithTexts(const QImage& shown, const CRect& area, COLORREF background,
                                        const std::vector<CentredText>& texts) {
    CDC dc;
    CBitmap bitmap;
    dc.CreateCompatibleDC(nullptr);
    bitmap.CreateCompatibleBitmap(&dc, area.Width(), area.Height());
    CBitmap* oldBitmap = dc.SelectObject(&bitmap);
    CRect all(0, 0, area.Width(), area.Height());
    dc.FillSolidRect(&all, background);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(0, 0, 0));
    for (const CentredText& t : texts) {
        CFont font;
        font.CreateFont(t.height, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, u"Tahoma");
        CFont* oldFont = dc.SelectObject(&font);
        CRect r = t.rect;
        dc.DrawText(t.text, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        dc.SelectObject(oldFont);
    }
    PixelDifference result;
    for (int y = 0; y < area.Height(); ++y) {
        for (int x = 0; x < area.Width(); ++x) {
            const COLORREF pixel = PixelAt(shown, area.left + x, area.top + y);
            result.differing += pixel != dc.GetPixel(x, y);
            result.inked += pixel != background;
        }
    }
    dc.SelectObject(oldBitmap);
    return result;
}

// A stylus move with the stylus down, as Qt delivers it to the window pressed on.
inline void StylusMove(QWidget* widget, QPoint pos) {
    QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

} // namespace korvyn::test
