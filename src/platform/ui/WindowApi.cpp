// The global window calls over the window records.
#include "platform/ui/DeviceScreen.h"
#include "platform/ui/PostTask.h"
#include "platform/ui/TimerSource.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/detail/HostWidget.h"
#include "platform/ui/detail/Window.h"

#include <QApplication>

#include <QEventLoop>
#include <QPointer>
#include <QWidget>

#include <vector>

using korvyn::platform::Window;

namespace {

Window* W(HWND h) {
    return Window::From(h);
}

struct DeferredMove {
    HWND hWnd;
    HWND insertAfter;
    int x, y, cx, cy;
    UINT flags;
};

} // namespace

struct HDWP__ {
    std::vector<DeferredMove> moves;
};

LRESULT SendMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = W(hWnd);
    return w != nullptr ? w->Send(msg, wParam, lParam) : 0;
}

BOOL PostMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (W(hWnd) == nullptr) {
        return FALSE;
    }
    return korvyn::platform::PostTask(
               [hWnd, msg, wParam, lParam] { SendMessage(hWnd, msg, wParam, lParam); })
               ? TRUE
               : FALSE;
}

BOOL IsWindow(HWND hWnd) {
    return W(hWnd) != nullptr;
}

BOOL DestroyWindow(HWND hWnd) {
    Window* w = W(hWnd);
    if (w == nullptr) {
        return FALSE;
    }
    w->Destroy();
    return TRUE;
}

HWND GetParent(HWND hWnd) {
    Window* w = W(hWnd);
    return w != nullptr && w->parent != nullptr ? w->parent->handle() : nullptr;
}

HWND GetDlgItem(HWND hDlg, int id) {
    Window* w = W(hDlg);
    if (w == nullptr) {
        return nullptr;
    }
    for (Window* c : w->children) {
        if (c->id == id && !c->destroying()) {
            return c->handle();
        }
    }
    return nullptr;
}

int GetDlgCtrlID(HWND hWnd) {
    Window* w = W(hWnd);
    return w != nullptr ? w->id : 0;
}

HWND GetWindow(HWND hWnd, UINT cmd) {
    Window* w = W(hWnd);
    if (w == nullptr) {
        return nullptr;
    }
    if (cmd == GW_CHILD) {
        return w->children.empty() ? nullptr : w->children.front()->handle();
    }
    if (cmd == GW_OWNER) {
        return !(w->style & WS_CHILD) && w->parent ? w->parent->handle() : nullptr;
    }
    if (w->parent == nullptr) {
        return nullptr;
    }
    const auto& siblings = w->parent->children;
    auto it = std::find(siblings.begin(), siblings.end(), w);
    switch (cmd) {
    case GW_HWNDFIRST:
        return siblings.front()->handle();
    case GW_HWNDLAST:
        return siblings.back()->handle();
    case GW_HWNDNEXT:
        return it + 1 != siblings.end() ? (*(it + 1))->handle() : nullptr;
    case GW_HWNDPREV:
        return it != siblings.begin() ? (*(it - 1))->handle() : nullptr;
    default:
        return nullptr;
    }
}

HWND GetNextDlgGroupItem(HWND hDlg, HWND hCtl, BOOL previous) {
    // The group of a control runs from the closest WS_GROUP control at or before it up to
    // the next WS_GROUP control; the search wraps within the group.
    Window* dlg = W(hDlg);
    Window* ctl = W(hCtl);
    if (dlg == nullptr || ctl == nullptr || ctl->parent != dlg) {
        return nullptr;
    }
    const auto& all = dlg->children;
    std::size_t pos = std::find(all.begin(), all.end(), ctl) - all.begin();
    std::size_t first = pos;
    while (first > 0 && !(all[first]->style & WS_GROUP)) {
        --first;
    }
    std::size_t last = pos;
    while (last + 1 < all.size() && !(all[last + 1]->style & WS_GROUP)) {
        ++last;
    }
    std::size_t n = last - first + 1;
    std::size_t i = pos - first;
    for (std::size_t step = 1; step <= n; ++step) {
        std::size_t j = previous ? (i + n - step % n) % n : (i + step) % n;
        Window* c = all[first + j];
        if ((c->style & WS_VISIBLE) && !(c->style & WS_DISABLED)) {
            return c->handle();
        }
    }
    return hCtl;
}

LONG GetWindowLong(HWND hWnd, int index) {
    Window* w = W(hWnd);
    if (w == nullptr) {
        return 0;
    }
    switch (index) {
    case GWL_STYLE:
        return static_cast<LONG>(w->style);
    case GWL_EXSTYLE:
        return static_cast<LONG>(w->exStyle);
    case GWL_ID:
        return w->id;
    default:
        return 0;
    }
}

LONG SetWindowLong(HWND hWnd, int index, LONG value) {
    Window* w = W(hWnd);
    if (w == nullptr) {
        return 0;
    }
    switch (index) {
    case GWL_STYLE: {
        DWORD old = w->style;
        w->style = static_cast<DWORD>(value);
        w->ApplyStyle(old);
        return static_cast<LONG>(old);
    }
    case GWL_EXSTYLE:
        return static_cast<LONG>(std::exchange(w->exStyle, static_cast<DWORD>(value)));
    case GWL_ID:
        return std::exchange(w->id, value);
    default:
        return 0;
    }
}

BOOL SetWindowText(HWND hWnd, LPCWSTR text) {
    return static_cast<BOOL>(SendMessage(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

int GetWindowText(HWND hWnd, LPWSTR buffer, int maxCount) {
    if (maxCount <= 0) {
        return 0;
    }
    return static_cast<int>(SendMessage(hWnd, WM_GETTEXT, static_cast<WPARAM>(maxCount),
                                        reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLength(HWND hWnd) {
    return static_cast<int>(SendMessage(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL ShowWindow(HWND hWnd, int cmd) {
    Window* w = W(hWnd);
    if (w == nullptr) {
        return FALSE;
    }
    BOOL wasVisible = (w->style & WS_VISIBLE) != 0;
    DWORD old = w->style;
    if (cmd == SW_HIDE) {
        w->style &= ~WS_VISIBLE;
    } else {
        w->style |= WS_VISIBLE;
    }
    if (old != w->style) {
        w->ApplyStyle(old);
        w->Send(WM_SHOWWINDOW, cmd != SW_HIDE, 0);
    }
    return wasVisible;
}

BOOL IsWindowVisible(HWND hWnd) {
    for (Window* w = W(hWnd); w != nullptr; w = (w->style & WS_CHILD) ? w->parent : nullptr) {
        if (!(w->style & WS_VISIBLE)) {
            return FALSE;
        }
    }
    return W(hWnd) != nullptr;
}

BOOL EnableWindow(HWND hWnd, BOOL enable) {
    Window* w = W(hWnd);
    if (w == nullptr) {
        return FALSE;
    }
    BOOL wasDisabled = (w->style & WS_DISABLED) != 0;
    DWORD old = w->style;
    w->style = enable ? (w->style & ~WS_DISABLED) : (w->style | WS_DISABLED);
    if (old != w->style) {
        w->ApplyStyle(old);
    }
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND hWnd) {
    Window* w = W(hWnd);
    return w != nullptr && !(w->style & WS_DISABLED);
}

BOOL MoveWindow(HWND hWnd, int x, int y, int width, int height, BOOL repaint) {
    Window* w = W(hWnd);
    if (w == nullptr) {
        return FALSE;
    }
    w->SetGeometry(x, y, width, height, true, true);
    if (repaint) {
        w->Invalidate(nullptr, true);
    }
    return TRUE;
}

BOOL SetWindowPos(HWND hWnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    Window* w = W(hWnd);
    if (w == nullptr) {
        return FALSE;
    }
    if (!(flags & SWP_NOMOVE) || !(flags & SWP_NOSIZE)) {
        w->SetGeometry(x, y, cx, cy, !(flags & SWP_NOMOVE), !(flags & SWP_NOSIZE));
    }
    if (!(flags & SWP_NOZORDER) && w->widget() != nullptr) {
        if (insertAfter == HWND_TOP) {
            w->widget()->raise();
        } else if (insertAfter == HWND_BOTTOM) {
            w->widget()->lower();
        } else if (Window* after = W(insertAfter); after != nullptr && after->widget() != nullptr) {
            w->widget()->stackUnder(after->widget());
        }
    }
    if (flags & SWP_SHOWWINDOW) {
        ShowWindow(hWnd, SW_SHOWNA);
    } else if (flags & SWP_HIDEWINDOW) {
        ShowWindow(hWnd, SW_HIDE);
    }
    if (!(flags & SWP_NOREDRAW) && W(hWnd) != nullptr) {
        w->Invalidate(nullptr, true);
    }
    return TRUE;
}

BOOL BringWindowToTop(HWND hWnd) {
    return SetWindowPos(hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL GetClientRect(HWND hWnd, LPRECT rect) {
    Window* w = W(hWnd);
    if (w == nullptr || rect == nullptr) {
        return FALSE;
    }
    QSize s = w->clientSize();
    *rect = RECT{0, 0, s.width(), s.height()};
    return TRUE;
}

BOOL GetWindowRect(HWND hWnd, LPRECT rect) {
    Window* w = W(hWnd);
    if (w == nullptr || rect == nullptr || w->widget() == nullptr) {
        return FALSE;
    }
    QPoint origin = w->widget()->mapToGlobal(QPoint(0, 0));
    QSize s = w->clientSize();
    *rect = RECT{origin.x(), origin.y(), origin.x() + s.width(), origin.y() + s.height()};
    return TRUE;
}

BOOL ClientToScreen(HWND hWnd, LPPOINT point) {
    Window* w = W(hWnd);
    if (w == nullptr || point == nullptr || w->widget() == nullptr) {
        return FALSE;
    }
    QPoint p = w->widget()->mapToGlobal(QPoint(point->x, point->y));
    *point = POINT{p.x(), p.y()};
    return TRUE;
}

BOOL ScreenToClient(HWND hWnd, LPPOINT point) {
    Window* w = W(hWnd);
    if (w == nullptr || point == nullptr || w->widget() == nullptr) {
        return FALSE;
    }
    QPoint p = w->widget()->mapFromGlobal(QPoint(point->x, point->y));
    *point = POINT{p.x(), p.y()};
    return TRUE;
}

BOOL InvalidateRect(HWND hWnd, LPCRECT rect, BOOL erase) {
    Window* w = W(hWnd);
    if (w == nullptr) {
        return FALSE;
    }
    w->Invalidate(rect, erase != FALSE);
    return TRUE;
}

BOOL UpdateWindow(HWND hWnd) {
    Window* w = W(hWnd);
    if (w == nullptr || w->widget() == nullptr) {
        return FALSE;
    }
    if (w->paintPending && w->widget()->isVisible()) {
        w->widget()->repaint();
    }
    return TRUE;
}

BOOL RedrawWindow(HWND hWnd, LPCRECT rect, void* /*region*/, UINT flags) {
    Window* w = W(hWnd);
    if (w == nullptr) {
        return FALSE;
    }
    if (flags & RDW_INVALIDATE) {
        w->Invalidate(rect, (flags & RDW_ERASE) != 0);
    }
    if (flags & RDW_UPDATENOW) {
        UpdateWindow(hWnd);
    }
    return TRUE;
}

HWND SetCapture(HWND hWnd) {
    Window* old = korvyn::platform::CaptureWindow();
    Window* w = W(hWnd);
    korvyn::platform::SetCaptureWindow(w);
    return old != nullptr ? old->handle() : nullptr;
}

BOOL ReleaseCapture() {
    korvyn::platform::SetCaptureWindow(nullptr);
    return TRUE;
}

HWND GetCapture() {
    Window* w = korvyn::platform::CaptureWindow();
    return w != nullptr ? w->handle() : nullptr;
}

HWND SetFocus(HWND hWnd) {
    HWND old = GetFocus();
    if (Window* w = W(hWnd); w != nullptr && w->widget() != nullptr) {
        w->widget()->setFocus(Qt::OtherFocusReason);
    }
    return old;
}

HWND GetFocus() {
    for (QWidget* f = QApplication::focusWidget(); f != nullptr; f = f->parentWidget()) {
        if (auto* host = dynamic_cast<korvyn::platform::HostWidget*>(f); host && host->window()) {
            return host->window()->handle();
        }
    }
    return nullptr;
}

BOOL SetForegroundWindow(HWND hWnd) {
    Window* w = W(hWnd);
    if (w == nullptr || w->widget() == nullptr) {
        return FALSE;
    }
    QWidget* top = w->widget()->window();
    // A minimised window cannot be in front: it is restored first.
    if (top->isMinimized()) {
        top->setWindowState(top->windowState() & ~Qt::WindowMinimized);
    }
    top->raise();
    top->activateWindow();
    return TRUE;
}

HDWP BeginDeferWindowPos(int count) {
    if (count < 0) {
        return nullptr;
    }
    auto* info = new HDWP__;
    info->moves.reserve(static_cast<std::size_t>(count));
    return info;
}

HDWP DeferWindowPos(HDWP info, HWND hWnd, HWND insertAfter, int x, int y, int cx, int cy,
                    UINT flags) {
    if (info == nullptr) {
        return nullptr;
    }
    if (W(hWnd) != nullptr) {
        info->moves.push_back(DeferredMove{hWnd, insertAfter, x, y, cx, cy, flags});
    }
    return info;
}

BOOL EndDeferWindowPos(HDWP info) {
    if (info == nullptr) {
        return FALSE;
    }
    std::unique_ptr<HDWP__> owned(info);
    // Move everything first, then report the size changes, as one update.
    std::vector<Window*> moved;
    for (const DeferredMove& m : owned->moves) {
        if (Window* w = W(m.hWnd)) {
            if (QWidget* widget = w->widget()) {
                widget->setUpdatesEnabled(false);
            }
            SetWindowPos(m.hWnd, m.insertAfter, m.x, m.y, m.cx, m.cy, m.flags | SWP_NOREDRAW);
            moved.push_back(w);
        }
    }
    for (const DeferredMove& m : owned->moves) {
        if (Window* w = W(m.hWnd); w != nullptr && w->widget() != nullptr) {
            w->widget()->setUpdatesEnabled(true);
            if (!(m.flags & SWP_NOREDRAW)) {
                w->Invalidate(nullptr, true);
            }
        }
    }
    return TRUE;
}

BOOL MapDialogRect(HWND hDlg, LPRECT rect) {
    if (W(hDlg) == nullptr || rect == nullptr) {
        return FALSE;
    }
    *rect = korvyn::platform::DialogUnitsToPixels(*rect);
    return TRUE;
}

BOOL EndDialog(HWND hDlg, int result) {
    Window* w = W(hDlg);
    if (w == nullptr || !w->isDialog) {
        return FALSE;
    }
    w->dialogResult = result;
    w->dialogEnded = true;
    if (w->modalLoop != nullptr) {
        w->modalLoop->exit(0);
    }
    return TRUE;
}

HWND CreateWindowEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menuOrId, HINSTANCE /*instance*/,
                    LPVOID /*param*/) {
    if (className == nullptr) {
        return nullptr;
    }
    Window* p = W(parent);
    if (parent != nullptr && p == nullptr) {
        return nullptr;
    }
    RECT r{x, y, x + width, y + height};
    Window* w = korvyn::platform::CreateWindowOfClass(
        className, style, exStyle, static_cast<int>(reinterpret_cast<std::uintptr_t>(menuOrId)),
        windowName ? windowName : u"", p, r, nullptr);
    return w != nullptr ? w->handle() : nullptr;
}

DWORD GetTickCount() {
    return korvyn::platform::CurrentTimerSource().TickCount();
}
