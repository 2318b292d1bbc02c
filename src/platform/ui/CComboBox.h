#pragma once
// CComboBox: the drop-down list. With CBS_SORT new strings go to their sorted place
// (compared without case). The window's height is that of its selection field; the
// height given when creating or moving it is kept as the dropped list's. A selection by
// the user reaches the parent as CBN_SELCHANGE; SetCurSel sends nothing.
#include "platform/ui/CWnd.h"

#include <string>

class CComboBox : public CWnd {
    DECLARE_DYNAMIC(CComboBox)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int AddString(LPCWSTR text);
    int InsertString(int index, LPCWSTR text);
    int DeleteString(UINT index);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    int GetLBText(int index, LPWSTR buffer) const;
    void GetLBText(int index, std::u16string& text) const;
    int GetLBTextLen(int index) const;
    int FindStringExact(int startAfter, LPCWSTR text) const;
    // index -1: the selection field; otherwise the list's items.
    int GetItemHeight(int index) const;
    int SetItemHeight(int index, UINT height);
    void GetDroppedControlRect(LPRECT rect) const;
};
