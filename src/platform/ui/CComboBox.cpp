#include "platform/ui/CComboBox.h"

IMPLEMENT_DYNAMIC(CComboBox, CWnd)

namespace {
LPARAM Text(LPCWSTR text) {
    return reinterpret_cast<LPARAM>(text);
}
} // namespace

BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(u"ComboBox", u"", style, rect, parent, id);
}

int CComboBox::AddString(LPCWSTR text) {
    return int(SendMessage(CB_ADDSTRING, 0, Text(text)));
}

int CComboBox::InsertString(int index, LPCWSTR text) {
    return int(SendMessage(CB_INSERTSTRING, WPARAM(index), Text(text)));
}

int CComboBox::DeleteString(UINT index) {
    return int(SendMessage(CB_DELETESTRING, index, 0));
}

void CComboBox::ResetContent() {
    SendMessage(CB_RESETCONTENT, 0, 0);
}

int CComboBox::GetCount() const {
    return int(::SendMessage(m_hWnd, CB_GETCOUNT, 0, 0));
}

int CComboBox::GetCurSel() const {
    return int(::SendMessage(m_hWnd, CB_GETCURSEL, 0, 0));
}

int CComboBox::SetCurSel(int index) {
    return int(SendMessage(CB_SETCURSEL, WPARAM(index), 0));
}

int CComboBox::GetLBText(int index, LPWSTR buffer) const {
    return int(
        ::SendMessage(m_hWnd, CB_GETLBTEXT, WPARAM(index), reinterpret_cast<LPARAM>(buffer)));
}

void CComboBox::GetLBText(int index, std::u16string& text) const {
    int n = GetLBTextLen(index);
    if (n < 0) {
        text.clear();
        return;
    }
    std::u16string buffer(std::size_t(n) + 1, u'\0');
    GetLBText(index, buffer.data());
    buffer.resize(std::size_t(n));
    text = std::move(buffer);
}

int CComboBox::GetLBTextLen(int index) const {
    return int(::SendMessage(m_hWnd, CB_GETLBTEXTLEN, WPARAM(index), 0));
}

int CComboBox::FindStringExact(int startAfter, LPCWSTR text) const {
    return int(::SendMessage(m_hWnd, CB_FINDSTRINGEXACT, WPARAM(startAfter), Text(text)));
}

int CComboBox::GetItemHeight(int index) const {
    return int(::SendMessage(m_hWnd, CB_GETITEMHEIGHT, WPARAM(index), 0));
}

int CComboBox::SetItemHeight(int index, UINT height) {
    return int(SendMessage(CB_SETITEMHEIGHT, WPARAM(index), LPARAM(height)));
}

void CComboBox::GetDroppedControlRect(LPRECT rect) const {
    ::SendMessage(m_hWnd, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(rect));
}
