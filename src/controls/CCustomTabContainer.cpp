#include "controls/CCustomTabContainer.h"

#include "platform/ui/CClientDC.h"

#include <algorithm>
#include <utility>

IMPLEMENT_DYNAMIC(CCustomTabContainer, CCustomTabCtrl)

int CCustomTabContainer::AddPage(int index, LPCWSTR title, CWnd* page) {
    return AddPage(index, title, page, nullptr);
}

int CCustomTabContainer::AddPage(int index, LPCWSTR title, CWnd* page, std::function<void()> make) {
    if (page == nullptr) {
        return -1;
    }
    page->ModifyStyle(WS_POPUP | WS_CAPTION | WS_DLGFRAME, WS_CHILD);
    index = std::clamp(index, 0, GetPageCount());
    m_pages.insert(m_pages.begin() + index, Page{page, std::move(make)});
    InsertItem(index, title);
    if (GetCurSel() < 0) {
        SetCurSel(index);
        ShowPages();
    }
    return index;
}

CWnd* CCustomTabContainer::GetPage(int index) const {
    return index >= 0 && index < GetPageCount() ? m_pages[index].window : nullptr;
}

void CCustomTabContainer::MakePage(int index) {
    if (index < 0 || index >= GetPageCount() || !m_pages[index].make) {
        return;
    }
    // Taken first: making the window may show the pages again.
    std::function<void()> make = std::exchange(m_pages[index].make, nullptr);
    CWnd* window = m_pages[index].window;
    if (window->m_hWnd == nullptr) {
        make();
        window->ModifyStyle(WS_POPUP | WS_CAPTION | WS_DLGFRAME, WS_CHILD);
    }
}

void CCustomTabContainer::PaintPageArea(CDC& dc, const CRect& area) {
    // Without pages the page area keeps the strip's background through repaints.
    if (m_pages.empty()) {
        dc.FillSolidRect(&area, GetColor(0));
    }
}

void CCustomTabContainer::ShowPages() {
    if (m_hWnd == nullptr) {
        return;
    }
    CRect area;
    GetClientRect(&area);
    SendMessage(TCM_ADJUSTRECT, 0, reinterpret_cast<LPARAM>(&area));
    if (m_pages.empty()) {
        CClientDC dc(this);
        dc.FillSolidRect(&area, GetColor(0));
        return;
    }
    ClientToScreen(&area);
    auto place = [&area](CWnd* page, const CWnd* insertAfter, UINT flags) {
        CRect r = area;
        if (CWnd* parent = page->GetParent()) {
            parent->ScreenToClient(&r);
        }
        page->SetWindowPos(insertAfter, r.left, r.top, r.Width(), r.Height(),
                           flags | SWP_NOACTIVATE);
    };
    MakePage(GetCurSel());
    for (const Page& page : m_pages) {
        if (page.window->m_hWnd != nullptr) {
            place(page.window, nullptr, SWP_NOZORDER | SWP_HIDEWINDOW);
        }
    }
    CWnd* selected = GetPage(GetCurSel());
    if (selected != nullptr && selected->m_hWnd != nullptr) {
        place(selected, &wndTop, SWP_SHOWWINDOW);
    }
}

BOOL CCustomTabContainer::RemovePage(int index) {
    if (index < 0 || index >= GetPageCount()) {
        return FALSE;
    }
    DeleteItem(index);
    CWnd* page = m_pages[index].window;
    m_pages.erase(m_pages.begin() + index);
    page->DestroyWindow();
    delete page;
    ShowPages();
    return TRUE;
}

BOOL CCustomTabContainer::OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
    if (msg == WM_NOTIFY && hdr != nullptr && hdr->hwndFrom == m_hWnd) {
        int code = static_cast<int>(hdr->code);
        if (code == CTCN_SELCHANGE || code == CTCN_CLICK) {
            ShowPages();
        }
    }
    // The parent hears about it as well.
    return CCustomTabCtrl::OnChildNotify(msg, wParam, lParam, result);
}

void CCustomTabContainer::OnCloseButton() {
    RemovePage(GetCurSel());
}
