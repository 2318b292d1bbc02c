// What every window does with a message nobody else handled.
#include "platform/ui/CDC.h"
#include "platform/ui/detail/ClassBehaviour.h"
#include "platform/ui/detail/GdiObject.h"
#include "platform/ui/detail/Window.h"

#include <QWidget>

namespace korvyn::platform {
namespace {

HBRUSH ResolveBrush(HBRUSH brush) {
    auto value = reinterpret_cast<std::uintptr_t>(brush);
    // Classes may name a system colour as its index plus one.
    if (value > 0 && value <= 64) {
        return GetSysColorBrush(static_cast<int>(value) - 1);
    }
    return brush;
}

} // namespace

LRESULT DefaultWindowProc(Window& w, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND: {
        HBRUSH brush = ResolveBrush(w.classBackground());
        GdiObject* b = GdiFrom(brush, GdiObject::Kind::Brush);
        CDC* dc = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
        if (b == nullptr || b->hollow || dc == nullptr) {
            return 0;
        }
        QSize s = w.clientSize();
        RECT r{0, 0, s.width(), s.height()};
        dc->FillSolidRect(&r, b->color);
        return 1;
    }
    case WM_SETTEXT:
        w.text = lParam != 0 ? std::u16string(reinterpret_cast<LPCWSTR>(lParam)) : std::u16string();
        if (QWidget* widget = w.widget()) {
            if (widget->isWindow()) {
                widget->setWindowTitle(QString::fromStdU16String(w.text));
            }
            w.Update();
        }
        return TRUE;
    case WM_GETTEXT: {
        auto* buffer = reinterpret_cast<LPWSTR>(lParam);
        if (buffer == nullptr || wParam == 0) {
            return 0;
        }
        std::size_t n = std::min<std::size_t>(w.text.size(), wParam - 1);
        std::copy_n(w.text.data(), n, buffer);
        buffer[n] = 0;
        return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(w.text.size());
    case WM_SETFONT: {
        auto font = reinterpret_cast<HFONT>(wParam);
        w.font = GdiFrom(font, GdiObject::Kind::Font) != nullptr ? font : DialogFont();
        if (QWidget* widget = w.widget()) {
            widget->setFont(GdiFrom(w.font)->font);
            if (w.behaviour() != nullptr) {
                w.behaviour()->FontChanged(w);
            }
            if (lParam != 0) {
                w.Update();
            }
        }
        return 0;
    }
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(w.font);
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
        bool window = msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX;
        int background =
            window ? COLOR_WINDOW : (msg == WM_CTLCOLORBTN ? COLOR_BTNFACE : COLOR_STATIC);
        if (CDC* dc = CDC::FromHandle(reinterpret_cast<HDC>(wParam))) {
            dc->SetTextColor(GetSysColor(window ? COLOR_WINDOWTEXT : COLOR_STATICTEXT));
            dc->SetBkColor(GetSysColor(background));
        }
        return reinterpret_cast<LRESULT>(GetSysColorBrush(background));
    }
    case WM_CLOSE:
        ::DestroyWindow(w.handle());
        return 0;
    default:
        return 0;
    }
}

} // namespace korvyn::platform

LRESULT DefWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    korvyn::platform::Window* w = korvyn::platform::Window::From(hWnd);
    return w != nullptr ? korvyn::platform::DefaultWindowProc(*w, msg, wParam, lParam) : 0;
}
