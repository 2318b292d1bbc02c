#include "controls/CCustomTabCtrl.h"
#include "controls/TahomaFont.h"

#include "platform/ui/DeviceScreen.h"

#include "controls/ControlClass.h"
#include "controls/TabGlyphs.h"
#include "platform/ui/CBrush.h"
#include "platform/ui/CPaintDC.h"

#include <algorithm>
#include <cstdint>
#include <utility>

IMPLEMENT_DYNAMIC(CCustomTabCtrl, CWnd)

using korvyn::TabStripLayout;
using Placement = CCustomTabItem::Placement;

namespace {

constexpr int kButtonHidden = 0;
constexpr int kButtonShown = 1;
constexpr int kButtonHeld = 3;
constexpr int kEditorId = 1;
constexpr LPCWSTR kNoTitle = u"<No title>";

bool IsScrollButton(int hit) {
    return hit <= CTCHT_ONFIRSTBUTTON && hit >= CTCHT_ONLASTBUTTON;
}

int ButtonOfHit(int hit) {
    return -hit - 1;
}

// The title a notification carries: at most CTC_MAXTITLE units and the terminator, one
// unit fewer when the cut would split a surrogate pair.
void CopyTitle(const std::u16string& title, WCHAR (&out)[CTC_MAXTITLE + 1]) {
    std::size_t n = std::min<std::size_t>(title.size(), CTC_MAXTITLE);
    if (n < title.size() && n > 0 && title[n - 1] >= 0xD800 && title[n - 1] <= 0xDBFF) {
        --n;
    }
    std::copy_n(title.begin(), n, out);
    out[n] = 0;
}

} // namespace

CCustomTabCtrl::CCustomTabCtrl() {
    korvyn::RegisterControlClass(
        CUSTOMTAB_CLASSNAME,
        reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_BTNSHADOW + 1)),
        LoadCursor(nullptr, IDC_ARROW));
    const int defaults[kColorCount] = {COLOR_WINDOW,   COLOR_BTNFACE,    COLOR_WINDOW,
                                       COLOR_BTNTEXT,  COLOR_WINDOWTEXT, COLOR_BTNTEXT,
                                       COLOR_BTNSHADOW};
    for (int i = 0; i < kColorCount; ++i) {
        m_colors[i] = GetSysColor(defaults[i]);
    }
}

CCustomTabCtrl::~CCustomTabCtrl() = default;

BOOL CCustomTabCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(CUSTOMTAB_CLASSNAME, u"", style, rect, parent, id);
}

void CCustomTabCtrl::PreSubclassWindow() {
    UpdateMetrics();
    RecalcLayout();
}

void CCustomTabCtrl::UpdateMetrics() {
    // The strip doubles on a double-resolution screen (192 pixels per inch), with the
    // dialog units, so that it never takes more of the page than on a normal one.
    bool small = korvyn::platform::ScreenLogPixels() < 192;
    int height = small ? 25 : 50;
    if (height == m_stripHeight && m_font.GetSafeHandle() != nullptr) {
        return;
    }
    m_stripHeight = height;
    m_font.DeleteObject();
    m_boldFont.DeleteObject();
    korvyn::CreateTahomaFont(m_font, small ? 12 : 24, FW_NORMAL, DEFAULT_CHARSET, 1);
    korvyn::CreateTahomaFont(m_boldFont, small ? 12 : 24, FW_BOLD, DEFAULT_CHARSET, 1);
}

LRESULT CCustomTabCtrl::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == TCM_ADJUSTRECT) {
        AdjustRect(static_cast<BOOL>(wParam), reinterpret_cast<LPRECT>(lParam));
        return 0;
    }
    return CWnd::WindowProc(msg, wParam, lParam);
}

void CCustomTabCtrl::AdjustRect(BOOL larger, LPRECT rect) const {
    if (rect == nullptr || larger || !(GetStyle() & CTCS_CONTAINER)) {
        return;
    }
    if (GetStyle() & CTCS_TOP) {
        rect->top += m_stripHeight;
    } else {
        rect->bottom -= m_stripHeight;
    }
}

void CCustomTabCtrl::SetStyle(DWORD remove, DWORD add, UINT frameFlags) {
    DWORD old = GetStyle();
    ModifyStyle(remove | CTCS_CLEARED, add & ~CTCS_CLEARED, frameFlags);
    DWORD now = GetStyle();
    if ((old & CTCS_MULTIHIGHLIGHT) && !(now & CTCS_MULTIHIGHLIGHT)) {
        for (auto& item : m_items) {
            item.highlightChanged = item.highlighted;
            item.highlighted = false;
        }
    } else if (!(old & CTCS_MULTIHIGHLIGHT) && (now & CTCS_MULTIHIGHLIGHT) && m_current >= 0) {
        m_items[m_current].highlightChanged = !m_items[m_current].highlighted;
        m_items[m_current].highlighted = true;
    }
    RecalcLayout();
    Repaint();
}

void CCustomTabCtrl::SetColors(const COLORREF colors[kColorCount], BOOL repaint) {
    if (colors == nullptr) {
        return;
    }
    std::copy_n(colors, kColorCount, m_colors.begin());
    if (repaint) {
        Repaint();
    }
}

void CCustomTabCtrl::GetColors(COLORREF colors[kColorCount]) const {
    if (colors != nullptr) {
        std::copy(m_colors.begin(), m_colors.end(), colors);
    }
}

int CCustomTabCtrl::InsertItem(int index, LPCWSTR title, DWORD data) {
    index = std::clamp(index, 0, GetItemCount());
    CCustomTabItem item;
    item.title = title != nullptr && title[0] != 0 ? std::u16string(title) : kNoTitle;
    item.data = data;
    m_items.insert(m_items.begin() + index, std::move(item));
    if (m_current >= index) {
        ++m_current;
    }
    if (m_editedItem >= index) {
        ++m_editedItem;
    }
    RecalcLayout();
    Repaint();
    return index;
}

int CCustomTabCtrl::DeleteItem(int index) {
    if (index < 0 || index >= GetItemCount()) {
        return -2;
    }
    CloseEditor();
    m_items.erase(m_items.begin() + index);
    if (index == m_current) {
        m_current = m_items.empty() ? -1 : std::min(index, GetItemCount() - 1);
        if (m_current >= 0) {
            m_items[m_current].selected = true;
        }
    } else if (index < m_current) {
        --m_current;
    }
    RecalcLayout();
    Repaint();
    return m_current;
}

int CCustomTabCtrl::SetCurSel(int index) {
    if (index < 0 || index >= GetItemCount()) {
        return -2;
    }
    int previous = m_current;
    if (previous >= 0 && previous < GetItemCount()) {
        m_items[previous].selected = false;
    }
    m_items[index].selected = true;
    m_current = index;
    m_revealSelection = true;
    RecalcLayout();
    Repaint();
    if (GetStyle() & CTCS_MULTIHIGHLIGHT) {
        UpdateHighlights();
    }
    return previous;
}

std::u16string CCustomTabCtrl::GetItemText(int index) const {
    return index >= 0 && index < GetItemCount() ? m_items[index].title : std::u16string();
}

BOOL CCustomTabCtrl::GetItemRect(int index, LPRECT rect) const {
    if (index < 0 || index >= GetItemCount() || rect == nullptr) {
        return FALSE;
    }
    EnsureLayout();
    *rect = m_items[index].tabRect;
    return TRUE;
}

int CCustomTabCtrl::GetFirstVisible() const {
    EnsureLayout();
    return m_firstVisible;
}

int CCustomTabCtrl::HitTest(POINT point) const {
    EnsureLayout();
    return m_layout.HitTest(point);
}

BOOL CCustomTabCtrl::IsItemHighlighted(int index) const {
    return index >= 0 && index < GetItemCount() && m_items[index].highlighted;
}

// A selection in multi-highlight mode leaves the selected tab as the one highlighted.
void CCustomTabCtrl::UpdateHighlights() {
    for (int i = 0; i < GetItemCount(); ++i) {
        bool want = i == m_current;
        if (m_items[i].highlighted != want) {
            m_items[i].highlighted = want;
            m_items[i].highlightChanged = true;
        }
    }
    Repaint();
}

void CCustomTabCtrl::RecalcLayout() {
    m_layoutStale = true;
    if (m_editor != nullptr) {
        LayOut(); // the open editor follows its tab at once
    }
}

void CCustomTabCtrl::EnsureLayout() const {
    if (m_layoutStale) {
        // Never const in fact: every tab strip is a window object of its parent's.
        const_cast<CCustomTabCtrl*>(this)->LayOut();
    }
}

void CCustomTabCtrl::LayOut() {
    if (m_hWnd == nullptr) {
        return;
    }
    m_layoutStale = false;
    CRect client;
    GetClientRect(&client);
    std::vector<int> widths;
    if (!m_items.empty()) {
        CDC measure;
        measure.CreateCompatibleDC(nullptr);
        measure.SelectObject(&m_boldFont);
        for (const auto& item : m_items) {
            widths.push_back(measure.GetTextExtent(item.title).cx);
        }
    }
    m_layout = TabStripLayout(client, GetStyle(), m_stripHeight, widths, m_firstVisible);
    if (std::exchange(m_revealSelection, false) && m_current >= 0) {
        m_firstVisible = m_layout.EnsureVisible(m_current);
        m_layout = TabStripLayout(client, GetStyle(), m_stripHeight, widths, m_firstVisible);
    }
    m_firstVisible = m_layout.FirstVisible();
    for (int i = 0; i < GetItemCount(); ++i) {
        m_items[i].tabRect = m_layout.TabRect(i);
        m_items[i].textRect = m_layout.TextRect(i);
        m_items[i].placement = m_layout.PlacementOf(i);
    }
    for (int b = 0; b < TabStripLayout::kButtonCount; ++b) {
        bool shown = !m_layout.ButtonRect(b).IsRectEmpty();
        m_buttonState[b] = !shown                            ? kButtonHidden
                           : m_buttonState[b] == kButtonHeld ? kButtonHeld
                                                             : kButtonShown;
    }
    if (m_editor != nullptr && m_editedItem >= 0) {
        const CRect& r = m_items[m_editedItem].textRect;
        ::MoveWindow(m_editor, r.left, r.top, r.Width(), r.Height(), TRUE);
    }
}

void CCustomTabCtrl::Repaint() {
    if (m_hWnd != nullptr) {
        Invalidate(FALSE);
    }
}

void CCustomTabCtrl::OnSize(UINT, int cx, int cy) {
    if (cx > 0 && cy > 0) {
        // A desktop window may grow past the handheld's small screens.
        UpdateMetrics();
        RecalcLayout();
        Repaint();
    }
}

void CCustomTabCtrl::Scroll(int button) {
    EnsureLayout();
    switch (button) {
    case TabStripLayout::kFirst:
        m_firstVisible = 0;
        break;
    case TabStripLayout::kPrevious:
        m_firstVisible = m_layout.Previous();
        break;
    case TabStripLayout::kNext:
        m_firstVisible = m_layout.Next();
        break;
    case TabStripLayout::kLast:
        m_firstVisible = m_layout.Last();
        break;
    default:
        return;
    }
    RecalcLayout();
}

void CCustomTabCtrl::OnCloseButton() {
    DeleteItem(m_current);
}

void CCustomTabCtrl::PaintPageArea(CDC&, const CRect&) {}

void CCustomTabCtrl::Notify(int code, int item, CPoint point) {
    CWnd* parent = GetParent();
    if (parent == nullptr) {
        return;
    }
    auto id = static_cast<UINT>(GetDlgCtrlID());
    NMCTC n{};
    n.hdr = NMHDR{m_hWnd, id, static_cast<UINT>(code)};
    n.item.hwndFrom = static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(m_hWnd));
    n.item.idFrom = id;
    n.item.code = code;
    n.item.nItem = item;
    if (item >= 0 && item < GetItemCount()) {
        EnsureLayout();
        const CCustomTabItem& tab = m_items[item];
        CopyTitle(tab.title, n.item.pszText);
        n.item.lParam = tab.data;
        n.item.rItem = tab.textRect;
        n.item.fSelected = tab.selected;
        n.item.fHighlighted = tab.highlighted;
    }
    n.item.ptHitTest = point;
    parent->SendMessage(WM_NOTIFY, id, reinterpret_cast<LPARAM>(&n));
}

void CCustomTabCtrl::NotifyHighlightChanges(CPoint point) {
    for (int i = 0; i < GetItemCount() && m_hWnd != nullptr; ++i) {
        if (m_items[i].highlightChanged) {
            m_items[i].highlightChanged = false;
            Notify(CTCN_HIGHLIGHTCHANGE, i, point);
        }
    }
}

void CCustomTabCtrl::HandleDown(UINT flags, CPoint point) {
    CloseEditor();
    int hit = HitTest(point);
    Notify(CTCN_CLICK, hit, point);
    if (m_hWnd == nullptr) {
        return;
    }
    // The parent may have changed the tabs while it was told.
    hit = HitTest(point);
    SetCapture();
    m_capturedPart = hit;
    if (IsScrollButton(hit)) {
        m_buttonState[ButtonOfHit(hit)] = kButtonHeld;
        Scroll(ButtonOfHit(hit));
        Repaint();
        m_lastRepeat = GetTickCount();
        SetTimer(kRepeatTimer, kRepeatCheckMs);
    } else if (hit == CTCHT_ONCLOSEBUTTON) {
        m_buttonState[TabStripLayout::kClose] = kButtonHeld;
        OnCloseButton();
        Repaint();
    } else if (hit >= 0) {
        for (auto& item : m_items) {
            item.highlightChanged = false;
        }
        if ((GetStyle() & CTCS_MULTIHIGHLIGHT) && (flags & MK_CONTROL)) {
            m_items[hit].highlighted = !m_items[hit].highlighted;
            m_items[hit].highlightChanged = true;
            Repaint();
        } else if (SetCurSel(hit) != hit) {
            Notify(CTCN_SELCHANGE, hit, point);
        }
        NotifyHighlightChanges(point);
    }
}

void CCustomTabCtrl::OnLButtonDown(UINT flags, CPoint point) {
    HandleDown(flags, point);
}

void CCustomTabCtrl::OnLButtonDblClk(UINT flags, CPoint point) {
    int before = m_current;
    int hit = HitTest(point);
    HandleDown(flags, point);
    if (m_hWnd == nullptr) {
        return;
    }
    if (hit >= 0 && hit == before && hit == m_current && (GetStyle() & CTCS_EDITLABELS) &&
        !(GetStyle() & CTCS_CLEARED) && m_editor == nullptr) {
        OpenEditor(hit);
    }
    Notify(CTCN_DBLCLK, hit, point);
}

void CCustomTabCtrl::OnLButtonUp(UINT, CPoint) {
    for (int& state : m_buttonState) {
        if (state == kButtonHeld) {
            state = kButtonShown;
        }
    }
    KillTimer(kRepeatTimer);
    m_capturedPart = CTCHT_NOWHERE;
    if (GetCapture() == this) {
        ::ReleaseCapture();
    }
    Repaint();
}

void CCustomTabCtrl::OnTimer(UINT_PTR id) {
    if (id != kRepeatTimer) {
        CWnd::OnTimer(id);
        return;
    }
    if (!IsScrollButton(m_capturedPart) ||
        m_buttonState[ButtonOfHit(m_capturedPart)] != kButtonHeld) {
        return;
    }
    DWORD now = GetTickCount();
    if (now - m_lastRepeat >= kRepeatDelayMs) {
        Scroll(ButtonOfHit(m_capturedPart));
        Repaint();
        m_lastRepeat = now;
    }
}

void CCustomTabCtrl::OpenEditor(int index) {
    EnsureLayout();
    const CCustomTabItem& item = m_items[index];
    const CRect& r = item.textRect;
    m_editor = ::CreateWindowEx(
        0, u"Edit", item.title.c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, r.left,
        r.top, r.Width(), r.Height(), m_hWnd,
        reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(kEditorId)), nullptr, nullptr);
    if (m_editor == nullptr) {
        return;
    }
    m_editedItem = index;
    ::SendMessage(m_editor, WM_SETFONT, reinterpret_cast<WPARAM>(m_boldFont.m_hObject), TRUE);
    ::SetFocus(m_editor);
}

void CCustomTabCtrl::CloseEditor() {
    HWND editor = std::exchange(m_editor, nullptr);
    m_editedItem = -1;
    if (editor != nullptr) {
        ::DestroyWindow(editor);
    }
}

BOOL CCustomTabCtrl::OnCommand(WPARAM wParam, LPARAM lParam) {
    auto from = reinterpret_cast<HWND>(lParam);
    if (from == nullptr || from != m_editor) {
        return CWnd::OnCommand(wParam, lParam);
    }
    if (HIWORD(wParam) == EN_CHANGE && m_editedItem >= 0) {
        std::u16string text(static_cast<std::size_t>(::GetWindowTextLength(from)) + 1, u'\0');
        text.resize(static_cast<std::size_t>(
            ::GetWindowText(from, text.data(), static_cast<int>(text.size()))));
        m_items[m_editedItem].title = text.empty() ? kNoTitle : text;
        RecalcLayout();
        Repaint();
    } else if (HIWORD(wParam) == EN_KILLFOCUS) {
        CloseEditor();
        Repaint();
    }
    return TRUE;
}

void CCustomTabCtrl::OnDestroy() {
    KillTimer(kRepeatTimer);
    CloseEditor();
    CWnd::OnDestroy();
}

void CCustomTabCtrl::DrawTab(CDC& dc, const CCustomTabItem& item) {
    const CRect& r = item.tabRect;
    bool lit = item.selected || item.highlighted;
    dc.FillSolidRect(&r, m_colors[lit ? 2 : 1]);
    if (!(GetStyle() & CTCS_NOOUTLINE)) {
        COLORREF outline = m_colors[5];
        dc.FillSolidRect(r.left, r.top, 1, r.Height(), outline);
        dc.FillSolidRect(r.right - 1, r.top, 1, r.Height(), outline);
        int edge = (GetStyle() & CTCS_TOP) ? r.top : r.bottom - 1;
        dc.FillSolidRect(r.left, edge, r.Width(), 1, outline);
    }
    if (item.placement != Placement::Shown) {
        return;
    }
    CRect text = r;
    text.DeflateRect(r.Height() / 2, 2);
    dc.SelectObject(item.selected ? &m_boldFont : &m_font);
    dc.SetTextColor(m_colors[lit ? 4 : 3]);
    dc.SetBkMode(TRANSPARENT);
    dc.DrawText(item.title, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void CCustomTabCtrl::DrawButtons(CDC& dc) {
    const CRect& area = m_layout.ButtonArea();
    // Drawn over the tabs, so that one running under the buttons stops at the frame.
    dc.FillSolidRect(&area, m_colors[0]);
    CBrush frame(m_colors[5]);
    dc.FrameRect(&area, &frame);
    COLORREF ink = GetSysColor(COLOR_BTNTEXT);
    for (int b = 0; b < TabStripLayout::kButtonCount; ++b) {
        if (m_buttonState[b] != kButtonHidden) {
            const CRect& r = m_layout.ButtonRect(b);
            korvyn::DrawTabGlyph(dc, b, r.left, r.top, ink);
        }
    }
}

void CCustomTabCtrl::OnPaint() {
    EnsureLayout();
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    const CRect& strip = m_layout.Strip();
    // Only the strip is drawn off screen: the page area under it is a page's own.
    CDC& surface = m_surface.Prepare(
        dc, CSize(std::max<LONG>(1, strip.right), std::max<LONG>(1, strip.bottom)));
    surface.FillSolidRect(&strip, m_colors[0]);
    for (const auto& item : m_items) {
        if (item.placement != Placement::Hidden) {
            DrawTab(surface, item);
        }
    }
    if (m_layout.ButtonsShown()) {
        DrawButtons(surface);
    }
    dc.BitBlt(strip.left, strip.top, strip.Width(), strip.Height(), &surface, strip.left, strip.top,
              SRCCOPY);
    CRect area = client;
    AdjustRect(FALSE, &area);
    if (area != client) {
        PaintPageArea(dc, area);
    }
}
