#include "platform/ui/CDialog.h"

#include "platform/ui/CWinApp.h"
#include "platform/ui/DeviceScreen.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/detail/ClassBehaviour.h"
#include "platform/ui/detail/GdiObject.h"
#include "platform/ui/detail/ResourceAccess.h"
#include "platform/ui/detail/Window.h"

#include <QEventLoop>
#include <QWidget>

#include <map>

using korvyn::platform::DialogTemplate;
using korvyn::platform::Window;

IMPLEMENT_DYNAMIC(CDialog, CWnd)

namespace {

LPCWSTR IdName(UINT id) {
    return reinterpret_cast<LPCWSTR>(static_cast<std::uintptr_t>(id));
}

} // namespace

namespace korvyn::platform {

HFONT DialogTemplateFont(const DialogTemplate& t) {
    if (!(t.style & DS_SETFONT)) {
        return DialogFont();
    }
    static auto* fonts = new std::map<std::pair<std::u16string, int>, HFONT>;
    int pixels = PointsToPixels(t.pointSize);
    auto key = std::make_pair(t.faceName, pixels);
    auto it = fonts->find(key);
    if (it != fonts->end()) {
        return it->second;
    }
    LOGFONT lf{};
    lf.lfHeight = -pixels;
    lf.lfWeight = t.weight != 0 ? t.weight : FW_NORMAL;
    lf.lfItalic = t.italic ? 1 : 0;
    for (std::size_t i = 0; i < t.faceName.size() && i < LF_FACESIZE - 1; ++i) {
        lf.lfFaceName[i] = t.faceName[i];
    }
    HFONT font = CreateFontIndirect(&lf);
    GdiFrom(font)->stock = true;
    (*fonts)[key] = font;
    return font;
}

} // namespace korvyn::platform

CDialog::CDialog() = default;

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_pParentWnd(parent) {}

bool CDialog::LoadTemplate(DialogTemplate& out) const {
    std::vector<BYTE> bytes =
        !m_templateBytes.empty()
            ? m_templateBytes
            : korvyn::platform::DialogTemplateBytes(nullptr, IdName(m_templateId));
    auto parsed = korvyn::platform::ParseDialogTemplate(bytes.data(), bytes.size());
    if (!parsed) {
        return false;
    }
    out = std::move(*parsed);
    return true;
}

BOOL CDialog::CreateFromTemplate(const DialogTemplate& t, CWnd* parent, bool modal) {
    Window* parentWindow = parent != nullptr ? Window::From(parent->m_hWnd) : nullptr;
    DWORD style = t.style;
    if (modal || parentWindow == nullptr) {
        style &= ~WS_CHILD;
    }
    RECT rect = korvyn::platform::DialogUnitsToPixels(RECT{t.x, t.y, t.x + t.cx, t.y + t.cy});
    bool isMain = modal && AfxGetApp() != nullptr && AfxGetApp()->m_pMainWnd == this;
    if (isMain) {
        korvyn::platform::ScreenSize screen = korvyn::platform::DeviceScreenSize();
        rect = RECT{0, 0, screen.width, screen.height};
    } else if (!(style & WS_CHILD)) {
        rect = RECT{0, 0, rect.right - rect.left, rect.bottom - rect.top};
    }
    HFONT font = korvyn::platform::DialogTemplateFont(t);
    Window* w = korvyn::platform::CreateWindowOfClass(u"#32770", style & ~WS_VISIBLE, t.exStyle, 0,
                                                      t.caption, parentWindow, rect, this);
    if (w == nullptr) {
        return FALSE;
    }
    w->isDialog = true;
    if (isMain) {
        w->isMainWindow = true;
        korvyn::platform::SetMainWindow(w);
        korvyn::platform::UpdateScreenFromMainWindow(rect.right - rect.left,
                                                     rect.bottom - rect.top);
    }
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    for (const auto& item : t.items) {
        RECT r = korvyn::platform::DialogUnitsToPixels(
            RECT{item.x, item.y, item.x + item.cx, item.y + item.cy});
        std::u16string text = item.text.isId ? std::u16string() : item.text.text;
        Window* c = korvyn::platform::CreateWindowOfClass(item.ClassName(), item.style | WS_CHILD,
                                                          item.exStyle, static_cast<int>(item.id),
                                                          text, w, r, nullptr);
        if (c == nullptr) {
            continue;
        }
        ::SendMessage(c->handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (item.text.isId && (item.style & 0x0E) == 0x0E) {
            // A bitmap named by the template (static or button with the bitmap style).
            HBITMAP bmp = korvyn::platform::BitmapFromResource(nullptr, IdName(item.text.id));
            UINT msg = item.ClassName() == u"Static" ? STM_SETIMAGE : BM_SETIMAGE;
            ::SendMessage(c->handle(), msg, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bmp));
        }
    }
    if (Window::From(m_hWnd) == nullptr) {
        return FALSE;
    }
    SendMessage(WM_INITDIALOG, 0, 0);
    if (Window::From(m_hWnd) == nullptr) {
        return FALSE;
    }
    if (modal || (style & WS_VISIBLE)) {
        if (isMain && korvyn::platform::IsFullScreen()) {
            w->widget()->showFullScreen();
            w->style |= WS_VISIBLE;
        } else {
            ShowWindow(SW_SHOW);
        }
    }
    return TRUE;
}

std::intptr_t CDialog::DoModal() {
    DialogTemplate t;
    if (Window::From(m_hWnd) != nullptr || !LoadTemplate(t)) {
        return -1;
    }
    if (!CreateFromTemplate(t, m_pParentWnd, true)) {
        return -1;
    }
    Window* w = Window::From(m_hWnd);
    if (w == nullptr) {
        return -1;
    }
    if (!w->isMainWindow && w->widget() != nullptr) {
        w->widget()->setWindowModality(Qt::ApplicationModal);
    }
    if (!w->dialogEnded) {
        QEventLoop loop;
        w->modalLoop = &loop;
        loop.exec(QEventLoop::DialogExec);
        if (Window::From(m_hWnd) == w) {
            w->modalLoop = nullptr;
        }
    }
    int result = w->dialogResult;
    DestroyWindow();
    return result;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    m_templateId = templateId;
    m_pParentWnd = parent;
    DialogTemplate t;
    if (Window::From(m_hWnd) != nullptr || !LoadTemplate(t)) {
        return FALSE;
    }
    return CreateFromTemplate(t, parent, false);
}

BOOL CDialog::CreateIndirect(const void* bytes, std::size_t size, CWnd* parent) {
    if (!InitModalIndirect(bytes, size, parent)) {
        return FALSE;
    }
    DialogTemplate t;
    if (Window::From(m_hWnd) != nullptr || !LoadTemplate(t)) {
        return FALSE;
    }
    return CreateFromTemplate(t, parent, false);
}

BOOL CDialog::InitModalIndirect(const void* bytes, std::size_t size, CWnd* parent) {
    if (bytes == nullptr || size == 0) {
        return FALSE;
    }
    const auto* b = static_cast<const BYTE*>(bytes);
    m_templateBytes.assign(b, b + size);
    m_pParentWnd = parent;
    return TRUE;
}

void CDialog::EndDialog(int result) {
    Window* w = Window::From(m_hWnd);
    if (w == nullptr) {
        return;
    }
    ::EndDialog(m_hWnd, result);
    if (w->modalLoop == nullptr && !w->isMainWindow && (w->style & WS_CHILD)) {
        ShowWindow(SW_HIDE);
    }
}

void CDialog::MapDialogRect(LPRECT rect) const {
    ::MapDialogRect(m_hWnd, rect);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE)) {
        EndDialog(IDOK);
    }
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (msg == WM_INITDIALOG) {
        *result = OnInitDialog();
        return TRUE;
    }
    return CWnd::OnWndMsg(msg, wParam, lParam, result);
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (CWnd::OnCommand(wParam, lParam)) {
        return TRUE;
    }
    WORD code = HIWORD(wParam);
    if (code != BN_CLICKED) {
        return FALSE;
    }
    switch (LOWORD(wParam)) {
    case IDOK:
        OnOK();
        return TRUE;
    case IDCANCEL:
        OnCancel();
        return TRUE;
    default:
        return FALSE;
    }
}
