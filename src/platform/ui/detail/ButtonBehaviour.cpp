// The button class: push buttons, check boxes, radio buttons and group boxes in the
// handheld's plain look, automatic checking, BN_CLICKED on release inside, and owner
// drawing through the parent.
#include "platform/ui/CDC.h"
#include "platform/ui/detail/ClassBehaviour.h"
#include "platform/ui/detail/DeviceContext.h"
#include "platform/ui/detail/GdiObject.h"
#include "platform/ui/detail/Window.h"

#include <QWidget>

namespace korvyn::platform {
namespace {

DWORD Type(const Window& w) {
    return w.style & BS_TYPEMASK;
}

bool IsCheckBox(DWORD t) {
    return t == BS_CHECKBOX || t == BS_AUTOCHECKBOX || t == BS_3STATE || t == BS_AUTO3STATE;
}
bool IsRadio(DWORD t) {
    return t == BS_RADIOBUTTON || t == BS_AUTORADIOBUTTON;
}

class ButtonBehaviour : public ClassBehaviour {
public:
    void Created(Window& w) override { UpdateMouse(w); }
    void StyleChanged(Window& w, DWORD) override { UpdateMouse(w); }

    LRESULT Proc(Window& w, UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
        case BM_GETCHECK:
            return IsCheckBox(Type(w)) || IsRadio(Type(w)) ? check_ : 0;
        case BM_SETCHECK:
            if (IsCheckBox(Type(w)) || IsRadio(Type(w))) {
                check_ = static_cast<int>(wParam) & 3;
                Update(w);
            }
            return 0;
        case BM_GETSTATE:
            return (IsCheckBox(Type(w)) || IsRadio(Type(w)) ? check_ : 0) |
                   (pushed_ ? BST_PUSHED : 0);
        case BM_SETSTATE:
            pushed_ = wParam != 0;
            Update(w);
            return 0;
        case BM_SETSTYLE: {
            DWORD old = w.style;
            w.style = (w.style & 0xFFFF0000u) | LOWORD(wParam);
            w.ApplyStyle(old);
            return 0;
        }
        case BM_SETIMAGE: {
            HBITMAP old = std::exchange(image_, reinterpret_cast<HBITMAP>(lParam));
            Update(w);
            return reinterpret_cast<LRESULT>(old);
        }
        case BM_GETIMAGE:
            return reinterpret_cast<LRESULT>(image_);
        case BM_CLICK:
            Click(w);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            tracking_ = true;
            pushed_ = true;
            SetCaptureWindow(&w);
            Update(w);
            return 0;
        case WM_MOUSEMOVE:
            if (tracking_) {
                bool inside = Inside(w, lParam);
                if (inside != pushed_) {
                    pushed_ = inside;
                    Update(w);
                }
            }
            return 0;
        case WM_LBUTTONUP: {
            if (!tracking_) {
                return 0;
            }
            tracking_ = false;
            if (CaptureWindow() == &w) {
                SetCaptureWindow(nullptr);
            }
            bool clicked = Inside(w, lParam);
            pushed_ = false;
            Update(w);
            if (clicked) {
                Click(w);
            }
            return 0;
        }
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
    // A group box never takes the stylus: the controls inside it do.
    static void UpdateMouse(Window& w) {
        if (QWidget* widget = w.widget()) {
            widget->setAttribute(Qt::WA_TransparentForMouseEvents, Type(w) == BS_GROUPBOX);
        }
    }

    static bool Inside(Window& w, LPARAM lParam) {
        QSize s = w.clientSize();
        int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
        return x >= 0 && y >= 0 && x < s.width() && y < s.height();
    }

    static void Update(Window& w) { w.Update(); }

    void Click(Window& w) {
        HWND self = w.handle();
        DWORD t = Type(w);
        if (t == BS_AUTOCHECKBOX) {
            w.Send(BM_SETCHECK, check_ ? BST_UNCHECKED : BST_CHECKED, 0);
        } else if (t == BS_AUTO3STATE) {
            w.Send(BM_SETCHECK, (check_ + 1) % 3, 0);
        } else if (t == BS_AUTORADIOBUTTON) {
            w.Send(BM_SETCHECK, BST_CHECKED, 0);
            if (w.parent != nullptr) {
                HWND dlg = w.parent->handle();
                for (HWND h = GetNextDlgGroupItem(dlg, self, FALSE); h != nullptr && h != self;
                     h = GetNextDlgGroupItem(dlg, h, FALSE)) {
                    Window* other = Window::From(h);
                    if (other != nullptr && other->className() == u"Button" &&
                        IsRadio(Type(*other))) {
                        other->Send(BM_SETCHECK, BST_UNCHECKED, 0);
                    }
                }
            }
        }
        Window::NotifyParent(self, BN_CLICKED);
    }

    void Paint(Window& w) {
        if (w.painter == nullptr) {
            return;
        }
        DeviceContext dc(w.painter);
        dc.Select(w.font);
        CDC* cdc = dc.wrapper();
        QSize s = w.clientSize();
        RECT client{0, 0, s.width(), s.height()};
        DWORD t = Type(w);
        bool disabled = (w.style & WS_DISABLED) != 0;
        if (t == BS_OWNERDRAW) {
            DRAWITEMSTRUCT dis{ODT_BUTTON,
                               UINT(w.id),
                               0,
                               ODA_DRAWENTIRE,
                               (pushed_ ? ODS_SELECTED : 0u) | (disabled ? ODS_DISABLED : 0u),
                               w.handle(),
                               dc.handle(),
                               client,
                               0};
            if (w.parent != nullptr) {
                w.parent->Send(WM_DRAWITEM, WPARAM(w.id), reinterpret_cast<LPARAM>(&dis));
            }
            return;
        }
        bool pushLike = t == BS_PUSHBUTTON || t == BS_DEFPUSHBUTTON ||
                        ((w.style & BS_PUSHLIKE) && (IsCheckBox(t) || IsRadio(t)));
        UINT ctl = pushLike ? WM_CTLCOLORBTN : WM_CTLCOLORSTATIC;
        auto brush = reinterpret_cast<HBRUSH>(
            w.parent != nullptr
                ? w.parent->Send(ctl, reinterpret_cast<WPARAM>(dc.handle()),
                                 reinterpret_cast<LPARAM>(w.handle()))
                : DefaultWindowProc(w, ctl, reinterpret_cast<WPARAM>(dc.handle()), 0));
        GdiObject* b = GdiFrom(brush, GdiObject::Kind::Brush);
        if (disabled) {
            cdc->SetTextColor(GetSysColor(COLOR_GRAYTEXT));
        }
        cdc->SetBkMode(TRANSPARENT);
        if (t == BS_GROUPBOX) {
            PaintGroup(w, cdc, b);
        } else if (pushLike) {
            PaintPush(w, cdc, client, (pushed_ || check_ == BST_CHECKED) && !disabled);
        } else {
            PaintCheck(w, cdc, b, client, IsRadio(t));
        }
    }

    void PaintPush(Window& w, CDC* dc, RECT client, bool down) {
        dc->FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
        dc->SetBkMode(TRANSPARENT);
        CRect r(client);
        COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW),
                 dark = GetSysColor(COLOR_3DDKSHADOW);
        auto frame = [&](CRect f, COLORREF topLeft, COLORREF bottomRight) {
            dc->FillSolidRect(f.left, f.top, f.Width(), 1, topLeft);
            dc->FillSolidRect(f.left, f.top, 1, f.Height(), topLeft);
            dc->FillSolidRect(f.left, f.bottom - 1, f.Width(), 1, bottomRight);
            dc->FillSolidRect(f.right - 1, f.top, 1, f.Height(), bottomRight);
        };
        if (w.style & BS_FLAT) {
            frame(r, dark, dark);
        } else {
            if ((w.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
                frame(r, dark, dark);
                r.DeflateRect(1, 1);
            }
            if (down) {
                frame(r, shadow, shadow);
            } else {
                frame(r, light, dark);
                CRect inner(r);
                inner.DeflateRect(1, 1);
                frame(inner, GetSysColor(COLOR_BTNFACE), shadow);
            }
        }
        CRect content(client);
        content.DeflateRect(2, 2);
        if (down) {
            content.OffsetRect(1, 1);
        }
        GdiObject* img = GdiFrom(image_, GdiObject::Kind::Bitmap);
        if ((w.style & BS_BITMAP) && img != nullptr && w.painter != nullptr) {
            QSizeF size = img->image.deviceIndependentSize();
            w.painter->drawImage(QPointF(content.left + (content.Width() - size.width()) / 2,
                                         content.top + (content.Height() - size.height()) / 2),
                                 img->image);
            return;
        }
        DrawCaption(w, dc, content, DT_CENTER);
    }

    void PaintCheck(Window& w, CDC* dc, GdiObject* brush, RECT client, bool radio) {
        if (brush != nullptr && !brush->hollow) {
            dc->FillSolidRect(&client, brush->color);
        }
        int box = std::min<int>(
            client.bottom,
            13 * (w.font != nullptr && GdiFrom(w.font)->font.pixelSize() > 16 ? 2 : 1));
        bool leftText = (w.style & BS_LEFTTEXT) != 0;
        int top = (client.bottom - box) / 2;
        CRect boxRect(leftText ? client.right - box : 0, top, (leftText ? client.right : box),
                      top + box);
        UINT state = (radio ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK) | (check_ ? DFCS_CHECKED : 0) |
                     (pushed_ ? DFCS_PUSHED : 0) | ((w.style & WS_DISABLED) ? DFCS_INACTIVE : 0);
        dc->DrawFrameControl(&boxRect, DFC_BUTTON, state);
        CRect text(client);
        if (leftText) {
            text.right -= box + 4;
        } else {
            text.left += box + 4;
        }
        DrawCaption(w, dc, text, 0);
    }

    void PaintGroup(Window& w, CDC* dc, GdiObject* brush) {
        QSize s = w.clientSize();
        CSize extent = dc->GetTextExtent(w.text);
        int top = extent.cy / 2;
        CRect frame(0, top, s.width(), s.height());
        COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
        dc->FillSolidRect(frame.left, frame.top, frame.Width() - 1, 1, shadow);
        dc->FillSolidRect(frame.left, frame.top, 1, frame.Height() - 1, shadow);
        dc->FillSolidRect(frame.left, frame.bottom - 2, frame.Width() - 1, 1, shadow);
        dc->FillSolidRect(frame.right - 2, frame.top, 1, frame.Height() - 1, shadow);
        dc->FillSolidRect(frame.left + 1, frame.bottom - 1, frame.Width() - 1, 1, light);
        dc->FillSolidRect(frame.right - 1, frame.top + 1, 1, frame.Height() - 1, light);
        if (!w.text.empty()) {
            CRect label(6, 0, 6 + extent.cx + 4, extent.cy);
            if (brush != nullptr && !brush->hollow) {
                dc->FillSolidRect(&label, brush->color);
            }
            label.DeflateRect(2, 0);
            dc->DrawText(w.text, &label, DT_SINGLELINE | DT_LEFT | DT_TOP);
        }
    }

    static void DrawCaption(Window& w, CDC* dc, CRect area, UINT horizontal) {
        UINT h = horizontal;
        DWORD align = w.style & BS_CENTER;
        if (align == BS_LEFT) {
            h = DT_LEFT;
        } else if (align == BS_RIGHT) {
            h = DT_RIGHT;
        } else if (align == BS_CENTER) {
            h = DT_CENTER;
        }
        if (w.style & BS_MULTILINE) {
            CRect measure(area);
            int height = dc->DrawText(w.text, &measure, DT_CALCRECT | DT_WORDBREAK | h);
            CRect at(area);
            at.top += std::max(0, (area.Height() - height) / 2);
            dc->DrawText(w.text, &at, DT_WORDBREAK | DT_EXPANDTABS | h);
        } else {
            dc->DrawText(w.text, &area, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | h);
        }
    }

    int check_ = 0;
    bool pushed_ = false;
    bool tracking_ = false;
    HBITMAP image_ = nullptr;
};

} // namespace

std::unique_ptr<ClassBehaviour> MakeButtonBehaviour() {
    return std::make_unique<ButtonBehaviour>();
}

} // namespace korvyn::platform
