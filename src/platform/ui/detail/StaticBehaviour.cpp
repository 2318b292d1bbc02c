// The static class: text or picture on the brush the parent answers for it.
#include "platform/ui/CDC.h"
#include "platform/ui/detail/ClassBehaviour.h"
#include "platform/ui/detail/DeviceContext.h"
#include "platform/ui/detail/GdiObject.h"
#include "platform/ui/detail/Window.h"

#include <QWidget>

namespace korvyn::platform {
namespace {

constexpr DWORD kTypeMask = 0x1F;

class StaticBehaviour : public ClassBehaviour {
public:
    void Created(Window& w) override { UpdateMouse(w); }
    void StyleChanged(Window& w, DWORD) override { UpdateMouse(w); }

    LRESULT Proc(Window& w, UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
        case STM_SETIMAGE:
        case STM_SETICON: {
            HBITMAP old = std::exchange(
                image_, reinterpret_cast<HBITMAP>(msg == STM_SETICON ? wParam : lParam));
            w.Update();
            return reinterpret_cast<LRESULT>(old);
        }
        case STM_GETIMAGE:
        case STM_GETICON:
            return reinterpret_cast<LRESULT>(image_);
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint(w);
            return 0;
        default:
            return DefaultWindowProc(w, msg, wParam, lParam);
        }
    }

private:
    // Taps pass through a static unless it asks to be told about them.
    static void UpdateMouse(Window& w) {
        if (QWidget* widget = w.widget()) {
            widget->setAttribute(Qt::WA_TransparentForMouseEvents, !(w.style & SS_NOTIFY));
        }
    }

    void Paint(Window& w) {
        if (w.painter == nullptr) {
            return;
        }
        DeviceContext dc(w.painter);
        dc.Select(w.font);
        CDC* cdc = dc.wrapper();
        HBRUSH brush = nullptr;
        if (w.parent != nullptr) {
            brush = reinterpret_cast<HBRUSH>(w.parent->Send(WM_CTLCOLORSTATIC,
                                                            reinterpret_cast<WPARAM>(dc.handle()),
                                                            reinterpret_cast<LPARAM>(w.handle())));
        } else {
            brush = reinterpret_cast<HBRUSH>(
                DefaultWindowProc(w, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.handle()), 0));
        }
        QSize s = w.clientSize();
        RECT client{0, 0, s.width(), s.height()};
        GdiObject* b = GdiFrom(brush, GdiObject::Kind::Brush);
        if (b != nullptr && !b->hollow) {
            cdc->FillSolidRect(&client, b->color);
        }
        DWORD type = w.style & kTypeMask;
        if (type == SS_BITMAP || type == SS_ICON) {
            GdiObject* img = GdiFrom(image_, GdiObject::Kind::Bitmap);
            if (img != nullptr) {
                QSizeF size = img->image.deviceIndependentSize();
                QPointF at(0, 0);
                if (w.style & SS_CENTERIMAGE) {
                    at = QPointF((s.width() - size.width()) / 2, (s.height() - size.height()) / 2);
                }
                w.painter->drawImage(at, img->image);
            }
            return;
        }
        UINT format = DT_WORDBREAK | DT_EXPANDTABS;
        if (type == SS_CENTER) {
            format |= DT_CENTER;
        } else if (type == SS_RIGHT) {
            format |= DT_RIGHT;
        }
        if (w.style & SS_NOPREFIX) {
            format |= DT_NOPREFIX;
        }
        if (w.style & WS_DISABLED) {
            cdc->SetTextColor(GetSysColor(COLOR_GRAYTEXT));
        }
        cdc->DrawText(w.text, &client, format);
    }

    HBITMAP image_ = nullptr;
};

} // namespace

std::unique_ptr<ClassBehaviour> MakeStaticBehaviour() {
    return std::make_unique<StaticBehaviour>();
}

} // namespace korvyn::platform
