#include "platform/ui/CListCtrl.h"

IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

BOOL CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(WC_LISTVIEW, u"", style, rect, parent, id);
}

int CListCtrl::InsertColumn(int column, LPCWSTR heading, int format, int width, int subItem) {
    LVCOLUMN c{LVCF_FMT | LVCF_TEXT | (width >= 0 ? LVCF_WIDTH : 0u) |
                   (subItem >= 0 ? LVCF_SUBITEM : 0u),
               format,
               width,
               const_cast<LPWSTR>(heading),
               0,
               subItem};
    return int(SendMessage(LVM_INSERTCOLUMNW, WPARAM(column), reinterpret_cast<LPARAM>(&c)));
}

BOOL CListCtrl::SetColumnWidth(int column, int width) {
    return BOOL(SendMessage(LVM_SETCOLUMNWIDTH, WPARAM(column), LPARAM(width)));
}

int CListCtrl::GetColumnWidth(int column) const {
    return int(::SendMessage(m_hWnd, LVM_GETCOLUMNWIDTH, WPARAM(column), 0));
}

void CListCtrl::SetItemCount(int count) {
    SendMessage(LVM_SETITEMCOUNT, WPARAM(count), 0);
}

BOOL CListCtrl::SetItemCountEx(int count, DWORD flags) {
    return BOOL(SendMessage(LVM_SETITEMCOUNT, WPARAM(count), LPARAM(flags)));
}

int CListCtrl::GetItemCount() const {
    return int(::SendMessage(m_hWnd, LVM_GETITEMCOUNT, 0, 0));
}

BOOL CListCtrl::DeleteAllItems() {
    return BOOL(SendMessage(LVM_DELETEALLITEMS, 0, 0));
}

BOOL CListCtrl::RedrawItems(int first, int last) {
    return BOOL(SendMessage(LVM_REDRAWITEMS, WPARAM(first), LPARAM(last)));
}

int CListCtrl::GetTopIndex() const {
    return int(::SendMessage(m_hWnd, LVM_GETTOPINDEX, 0, 0));
}

int CListCtrl::GetCountPerPage() const {
    return int(::SendMessage(m_hWnd, LVM_GETCOUNTPERPAGE, 0, 0));
}

int CListCtrl::HitTest(CPoint point, UINT* flags) const {
    LVHITTESTINFO info{point, 0, -1, 0};
    int item = int(::SendMessage(m_hWnd, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    if (flags != nullptr) {
        *flags = info.flags;
    }
    return item;
}

BOOL CListCtrl::GetItemRect(int item, LPRECT rect, UINT code) const {
    if (rect == nullptr) {
        return FALSE;
    }
    rect->left = LONG(code);
    return BOOL(
        ::SendMessage(m_hWnd, LVM_GETITEMRECT, WPARAM(item), reinterpret_cast<LPARAM>(rect)));
}

BOOL CListCtrl::EnsureVisible(int item, BOOL partialOK) {
    return BOOL(SendMessage(LVM_ENSUREVISIBLE, WPARAM(item), partialOK));
}

int CListCtrl::GetNextItem(int start, int flags) const {
    return int(::SendMessage(m_hWnd, LVM_GETNEXTITEM, WPARAM(start), LPARAM(flags)));
}

int CListCtrl::GetSelectionMark() const {
    return int(::SendMessage(m_hWnd, LVM_GETSELECTIONMARK, 0, 0));
}

DWORD CListCtrl::SetExtendedStyle(DWORD style) {
    return DWORD(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LPARAM(style)));
}

DWORD CListCtrl::GetExtendedStyle() const {
    return DWORD(::SendMessage(m_hWnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
}
