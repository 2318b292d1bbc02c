// The dialog class: its background comes from the dialog's own control colour answer,
// and closing it is a Cancel.
#include "platform/ui/CDC.h"
#include "platform/ui/detail/ClassBehaviour.h"
#include "platform/ui/detail/GdiObject.h"
#include "platform/ui/detail/Window.h"

namespace korvyn::platform {
namespace {

class DialogBehaviour : public ClassBehaviour {
public:
    LRESULT Proc(Window& w, UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
        case WM_ERASEBKGND: {
            auto brush = reinterpret_cast<HBRUSH>(
                w.Send(WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(w.handle())));
            GdiObject* b = GdiFrom(brush, GdiObject::Kind::Brush);
            CDC* dc = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
            if (b == nullptr || b->hollow || dc == nullptr) {
                return 0;
            }
            QSize s = w.clientSize();
            dc->FillSolidRect(0, 0, s.width(), s.height(), b->color);
            return 1;
        }
        case WM_CLOSE:
            w.Send(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return 0;
        default:
            return DefaultWindowProc(w, msg, wParam, lParam);
        }
    }
};

} // namespace

std::unique_ptr<ClassBehaviour> MakeDialogBehaviour() {
    return std::make_unique<DialogBehaviour>();
}

} // namespace korvyn::platform
