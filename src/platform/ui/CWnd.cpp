#include "platform/ui/CWnd.h"

#include "platform/ui/CDC.h"
#include "platform/ui/CDataExchange.h"
#include "platform/ui/CFont.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/detail/ClassBehaviour.h"
#include "platform/ui/detail/DeviceContext.h"
#include "platform/ui/detail/Window.h"

#include <QPainter>
#include <QWidget>

using korvyn::platform::DeviceContext;
using korvyn::platform::Window;

IMPLEMENT_DYNAMIC(CWnd, CObject)

const CWnd CWnd::wndTop;
const CWnd CWnd::wndBottom;

namespace {

Window* W(HWND h) {
    return Window::From(h);
}

} // namespace

CWnd::CWnd() {
    if (this == &wndBottom) {
        m_hWnd = HWND_BOTTOM;
    }
}

CWnd::~CWnd() {
    if (Window* w = W(m_hWnd); w != nullptr && w->object() == this) {
        w->Destroy();
    }
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    Window* w = W(hWnd);
    return w != nullptr ? w->object() : nullptr;
}

BOOL CWnd::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id) {
    return CreateEx(0, className, windowName, style, rect, parent, id);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                    const RECT& rect, CWnd* parent, UINT id) {
    if (W(m_hWnd) != nullptr || className == nullptr) {
        return FALSE;
    }
    Window* p = parent != nullptr ? W(parent->m_hWnd) : nullptr;
    Window* w =
        korvyn::platform::CreateWindowOfClass(className, style, exStyle, static_cast<int>(id),
                                              windowName ? windowName : u"", p, rect, this);
    return w != nullptr;
}

BOOL CWnd::DestroyWindow() {
    return ::DestroyWindow(m_hWnd);
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    Window* w = W(hWnd);
    if (w == nullptr || W(m_hWnd) != nullptr) {
        return FALSE;
    }
    w->Attach(this, false);
    PreSubclassWindow();
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    if (parent == nullptr) {
        return FALSE;
    }
    return SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id)));
}

HWND CWnd::UnsubclassWindow() {
    Window* w = W(m_hWnd);
    if (w == nullptr) {
        return nullptr;
    }
    HWND h = m_hWnd;
    const korvyn::platform::RegisteredClass* cls = korvyn::platform::FindClass(w->className());
    w->Attach(cls != nullptr && cls->makeDefaultObject ? cls->makeDefaultObject() : new CWnd, true);
    return h;
}

LRESULT CWnd::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::SendMessage(m_hWnd, msg, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::PostMessage(m_hWnd, msg, wParam, lParam);
}

int CWnd::GetDlgCtrlID() const {
    return ::GetDlgCtrlID(m_hWnd);
}

int CWnd::SetDlgCtrlID(int id) {
    return static_cast<int>(::SetWindowLong(m_hWnd, GWL_ID, id));
}

CWnd* CWnd::GetDlgItem(int id) const {
    return FromHandle(::GetDlgItem(m_hWnd, id));
}

CWnd* CWnd::GetParent() const {
    return FromHandle(::GetParent(m_hWnd));
}

CWnd* CWnd::GetWindow(UINT cmd) const {
    return FromHandle(::GetWindow(m_hWnd, cmd));
}

CWnd* CWnd::GetNextDlgGroupItem(CWnd* control, BOOL previous) const {
    return control ? FromHandle(::GetNextDlgGroupItem(m_hWnd, control->m_hWnd, previous)) : nullptr;
}

DWORD CWnd::GetStyle() const {
    return static_cast<DWORD>(::GetWindowLong(m_hWnd, GWL_STYLE));
}

DWORD CWnd::GetExStyle() const {
    return static_cast<DWORD>(::GetWindowLong(m_hWnd, GWL_EXSTYLE));
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags) {
    if (W(m_hWnd) == nullptr) {
        return FALSE;
    }
    DWORD old = GetStyle();
    DWORD style = (old & ~remove) | add;
    if (style == old) {
        return FALSE;
    }
    ::SetWindowLong(m_hWnd, GWL_STYLE, static_cast<LONG>(style));
    if (swpFlags != 0) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       swpFlags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT /*swpFlags*/) {
    if (W(m_hWnd) == nullptr) {
        return FALSE;
    }
    DWORD old = GetExStyle();
    ::SetWindowLong(m_hWnd, GWL_EXSTYLE, static_cast<LONG>((old & ~remove) | add));
    return TRUE;
}

void CWnd::SetWindowText(LPCWSTR text) {
    ::SetWindowText(m_hWnd, text);
}

int CWnd::GetWindowText(LPWSTR buffer, int maxCount) const {
    return ::GetWindowText(m_hWnd, buffer, maxCount);
}

void CWnd::GetWindowText(std::u16string& text) const {
    int n = GetWindowTextLength();
    std::u16string buffer(static_cast<std::size_t>(n) + 1, u'\0');
    int got = ::GetWindowText(m_hWnd, buffer.data(), n + 1);
    buffer.resize(static_cast<std::size_t>(got));
    text = std::move(buffer);
}

std::u16string CWnd::GetWindowText() const {
    std::u16string text;
    GetWindowText(text);
    return text;
}

int CWnd::GetWindowTextLength() const {
    return ::GetWindowTextLength(m_hWnd);
}

void CWnd::SetDlgItemText(int id, LPCWSTR text) {
    ::SetWindowText(::GetDlgItem(m_hWnd, id), text);
}

void CWnd::SetFont(CFont* font, BOOL redraw) {
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font ? font->m_hObject : nullptr), redraw);
}

CFont* CWnd::GetFont() const {
    return CFont::FromHandle(reinterpret_cast<HFONT>(::SendMessage(m_hWnd, WM_GETFONT, 0, 0)));
}

BOOL CWnd::ShowWindow(int cmd) {
    return ::ShowWindow(m_hWnd, cmd);
}

BOOL CWnd::IsWindowVisible() const {
    return ::IsWindowVisible(m_hWnd);
}

BOOL CWnd::EnableWindow(BOOL enable) {
    return ::EnableWindow(m_hWnd, enable);
}

BOOL CWnd::IsWindowEnabled() const {
    return ::IsWindowEnabled(m_hWnd);
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
    ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}

void CWnd::MoveWindow(LPCRECT rect, BOOL repaint) {
    if (rect != nullptr) {
        MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                   repaint);
    }
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) {
    return ::SetWindowPos(m_hWnd, insertAfter ? insertAfter->m_hWnd : nullptr, x, y, cx, cy, flags);
}

void CWnd::BringWindowToTop() {
    ::BringWindowToTop(m_hWnd);
}

void CWnd::GetClientRect(LPRECT rect) const {
    if (!::GetClientRect(m_hWnd, rect) && rect != nullptr) {
        *rect = RECT{0, 0, 0, 0};
    }
}

void CWnd::GetWindowRect(LPRECT rect) const {
    if (!::GetWindowRect(m_hWnd, rect) && rect != nullptr) {
        *rect = RECT{0, 0, 0, 0};
    }
}

void CWnd::ClientToScreen(LPPOINT point) const {
    ::ClientToScreen(m_hWnd, point);
}

void CWnd::ClientToScreen(LPRECT rect) const {
    if (rect != nullptr) {
        ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&rect->left));
        ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&rect->right));
    }
}

void CWnd::ScreenToClient(LPPOINT point) const {
    ::ScreenToClient(m_hWnd, point);
}

void CWnd::ScreenToClient(LPRECT rect) const {
    if (rect != nullptr) {
        ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&rect->left));
        ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&rect->right));
    }
}

void CWnd::Invalidate(BOOL erase) {
    ::InvalidateRect(m_hWnd, nullptr, erase);
}

void CWnd::InvalidateRect(LPCRECT rect, BOOL erase) {
    ::InvalidateRect(m_hWnd, rect, erase);
}

void CWnd::UpdateWindow() {
    ::UpdateWindow(m_hWnd);
}

BOOL CWnd::RedrawWindow(LPCRECT rect, void* region, UINT flags) {
    return ::RedrawWindow(m_hWnd, rect, region, flags);
}

CDC* CWnd::GetDC() {
    Window* w = W(m_hWnd);
    if (w == nullptr || w->widget() == nullptr) {
        return nullptr;
    }
    DeviceContext* dc = nullptr;
    if (w->painter != nullptr) {
        dc = new DeviceContext(w->painter);
    } else {
        // Outside a paint: draw on an image that is shown over the window until the
        // window is next invalidated, made when the DC first draws.
        dc = new DeviceContext([hwnd = m_hWnd]() -> QImage* {
            Window* w = W(hwnd);
            if (w == nullptr || w->widget() == nullptr) {
                return nullptr;
            }
            QSize size = w->clientSize();
            qreal ratio = w->widget()->devicePixelRatioF();
            if (!w->overlay || w->overlay->deviceIndependentSize().toSize() != size) {
                w->overlay =
                    std::make_unique<QImage>(size * ratio, QImage::Format_ARGB32_Premultiplied);
                w->overlay->setDevicePixelRatio(ratio);
                w->overlay->fill(Qt::transparent);
            }
            return w->overlay.get();
        });
    }
    if (HFONT font = w->font) {
        dc->Select(font);
    }
    return dc->wrapper();
}

int CWnd::ReleaseDC(CDC* cdc) {
    DeviceContext* dc = cdc ? DeviceContext::From(cdc->m_hDC) : nullptr;
    if (dc == nullptr || dc->isMemory()) {
        return 0;
    }
    Window* w = W(m_hWnd);
    bool onOverlay = w != nullptr && w->overlay && dc->target() == w->overlay.get();
    delete dc;
    if (onOverlay) {
        w->Update();
    }
    return 1;
}

CWnd* CWnd::SetCapture() {
    return FromHandle(::SetCapture(m_hWnd));
}

CWnd* CWnd::GetCapture() {
    return FromHandle(::GetCapture());
}

CWnd* CWnd::SetFocus() {
    return FromHandle(::SetFocus(m_hWnd));
}

BOOL CWnd::SetForegroundWindow() {
    return ::SetForegroundWindow(m_hWnd);
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc) {
    return ::SetTimer(m_hWnd, id, elapse, proc);
}

BOOL CWnd::KillTimer(UINT_PTR id) {
    return ::KillTimer(m_hWnd, id);
}

int CWnd::MessageBox(LPCWSTR text, LPCWSTR caption, UINT type) {
    return ::MessageBox(m_hWnd, text, caption != nullptr ? caption : AfxGetAppName(), type);
}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
    if (W(m_hWnd) == nullptr) {
        return FALSE;
    }
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void CWnd::CheckRadioButton(int firstId, int lastId, int checkId) {
    for (int id = firstId; id <= lastId; ++id) {
        ::SendMessage(::GetDlgItem(m_hWnd, id), BM_SETCHECK,
                      id == checkId ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

int CWnd::GetCheckedRadioButton(int firstId, int lastId) {
    for (int id = firstId; id <= lastId; ++id) {
        if (::SendMessage(::GetDlgItem(m_hWnd, id), BM_GETCHECK, 0, 0) == BST_CHECKED) {
            return id;
        }
    }
    return 0;
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    CurrentMessage saved = m_current;
    m_current = CurrentMessage{msg, wParam, lParam};
    LRESULT result = 0;
    if (!OnWndMsg(msg, wParam, lParam, &result)) {
        result = DefWindowProc(msg, wParam, lParam);
    }
    m_current = saved;
    return result;
}

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = W(m_hWnd);
    return w != nullptr ? w->CallClass(msg, wParam, lParam) : 0;
}

LRESULT CWnd::Default() {
    return DefWindowProc(m_current.msg, m_current.wParam, m_current.lParam);
}

BOOL CWnd::ReflectToChild(HWND child, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    CWnd* c = FromHandle(child);
    if (c == nullptr || c == this) {
        return FALSE;
    }
    return c->OnChildNotify(msg, wParam, lParam, result);
}

BOOL CWnd::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    switch (msg) {
    case WM_COMMAND:
        if (lParam != 0 &&
            ReflectToChild(reinterpret_cast<HWND>(lParam), msg, wParam, lParam, result)) {
            return TRUE;
        }
        *result = 0;
        return OnCommand(wParam, lParam);
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        if (hdr == nullptr) {
            return FALSE;
        }
        if (ReflectToChild(hdr->hwndFrom, msg, wParam, lParam, result)) {
            return TRUE;
        }
        *result = 0;
        return OnNotify(wParam, lParam, result);
    }
    case WM_PAINT:
        OnPaint();
        return TRUE;
    case WM_ERASEBKGND:
        *result = OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
        return TRUE;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), LOWORD(static_cast<std::uintptr_t>(lParam)),
               HIWORD(static_cast<std::uintptr_t>(lParam)));
        return TRUE;
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<UINT>(wParam), CPoint(lParam));
        return TRUE;
    case WM_LBUTTONUP:
        OnLButtonUp(static_cast<UINT>(wParam), CPoint(lParam));
        return TRUE;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk(static_cast<UINT>(wParam), CPoint(lParam));
        return TRUE;
    case WM_MOUSEMOVE:
        OnMouseMove(static_cast<UINT>(wParam), CPoint(lParam));
        return TRUE;
    case WM_TIMER:
        OnTimer(wParam);
        return TRUE;
    case WM_HSCROLL:
        OnHScroll(LOWORD(wParam), HIWORD(wParam), FromHandle(reinterpret_cast<HWND>(lParam)));
        return TRUE;
    case WM_VSCROLL:
        OnVScroll(LOWORD(wParam), HIWORD(wParam), FromHandle(reinterpret_cast<HWND>(lParam)));
        return TRUE;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        *result = reinterpret_cast<LRESULT>(
            OnCtlColor(CDC::FromHandle(reinterpret_cast<HDC>(wParam)),
                       FromHandle(reinterpret_cast<HWND>(lParam)), msg - WM_CTLCOLORMSGBOX));
        return TRUE;
    case WM_DRAWITEM:
        OnDrawItem(static_cast<int>(wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        *result = TRUE;
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        return TRUE;
    case WM_CLOSE:
        OnClose();
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) {
    return FALSE;
}
void CWnd::DoDataExchange(CDataExchange*) {}
void CWnd::PreSubclassWindow() {}
void CWnd::PostNcDestroy() {}
BOOL CWnd::OnCommand(WPARAM, LPARAM) {
    return FALSE;
}
BOOL CWnd::OnNotify(WPARAM, LPARAM, LRESULT*) {
    return FALSE;
}
void CWnd::OnPaint() {
    Default();
}
BOOL CWnd::OnEraseBkgnd(CDC*) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnSize(UINT, int, int) {
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint) {
    Default();
}
void CWnd::OnMouseMove(UINT, CPoint) {
    Default();
}
void CWnd::OnTimer(UINT_PTR) {
    Default();
}

void CWnd::OnHScroll(UINT, UINT, CWnd* scrollBar) {
    LRESULT r = 0;
    if (scrollBar != nullptr &&
        ReflectToChild(scrollBar->m_hWnd, m_current.msg, m_current.wParam, m_current.lParam, &r)) {
        return;
    }
    Default();
}

void CWnd::OnVScroll(UINT code, UINT pos, CWnd* scrollBar) {
    CWnd::OnHScroll(code, pos, scrollBar);
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* wnd, UINT) {
    LRESULT r = 0;
    if (wnd != nullptr &&
        ReflectToChild(wnd->m_hWnd, m_current.msg, m_current.wParam, m_current.lParam, &r)) {
        return reinterpret_cast<HBRUSH>(r);
    }
    return reinterpret_cast<HBRUSH>(Default());
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT drawItem) {
    LRESULT r = 0;
    if (drawItem != nullptr &&
        ReflectToChild(drawItem->hwndItem, m_current.msg, m_current.wParam, m_current.lParam, &r)) {
        return;
    }
    Default();
}

void CWnd::OnDestroy() {
    Default();
}
void CWnd::OnClose() {
    Default();
}
