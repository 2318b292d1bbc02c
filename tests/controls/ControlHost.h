#pragma once
// A top-level window for the owner-drawn controls under test. It writes down every
// scroll notification and tab strip notification it receives, so that tests compare
// the log with a table of what they expect.
#include "controls/CCustomSlider.h"
#include "controls/CustomTabDefs.h"
#include "platform/ui/AfxWin.h"
#include "platform/ui/detail/Window.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <string>
#include <vector>

namespace korvyn::test {

class ControlHost : public CWnd {
public:
    std::vector<std::string> log;
    // The last tab strip record received.
    CTC_NMHDR last{};

    BOOL Make(int width, int height) {
        WNDCLASS wc{};
        if (!GetClassInfo(nullptr, u"ControlHost", &wc)) {
            wc.lpfnWndProc = ::DefWindowProc;
            wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
            wc.lpszClassName = u"ControlHost";
            RegisterClass(&wc);
        }
        return CreateEx(0, u"ControlHost", u"", WS_POPUP | WS_VISIBLE, CRect(0, 0, width, height),
                        nullptr, 0);
    }

protected:
    void OnHScroll(UINT code, UINT pos, CWnd* bar) override { Scroll("h", code, pos, bar); }
    void OnVScroll(UINT code, UINT pos, CWnd* bar) override { Scroll("v", code, pos, bar); }
    BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT*) override {
        last = reinterpret_cast<const NMCTC*>(lParam)->item;
        log.push_back("tab " + std::to_string(last.code) + " " + std::to_string(last.nItem));
        return TRUE;
    }

private:
    void Scroll(const char* kind, UINT code, UINT pos, CWnd* bar) {
        bool slider = bar != nullptr && bar->IsKindOf(RUNTIME_CLASS(CCustomSlider));
        log.push_back(std::string(kind) + " " + std::to_string(code) + " " + std::to_string(pos) +
                      (slider ? "" : " (not a slider)"));
    }
};

inline QWidget* WidgetOf(const CWnd& wnd) {
    return platform::Window::From(wnd.m_hWnd)->widget();
}

// A stylus move with the stylus down, as Qt delivers it to the window pressed on.
inline void StylusMove(QWidget* widget, QPoint pos) {
    QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

inline COLORREF PixelAt(const QImage& image, int x, int y) {
    QColor c = image.pixelColor(x, y);
    return RGB(c.red(), c.green(), c.blue());
}

} // namespace korvyn::test
