#pragma once
// CListCtrl: the list view in report view. With owner data (LVS_OWNERDATA) it holds no
// items, only a count: for every cell it shows it asks its parent for the text with
// LVN_GETDISPINFOW, and only for the rows that are visible.
//
// Custom drawing: each paint sends NM_CUSTOMDRAW with CDDS_PREPAINT for the control;
// when the answer has CDRF_NOTIFYITEMDRAW, CDDS_ITEMPREPAINT for each visible row; when
// that answer has CDRF_NOTIFYSUBITEMDRAW, CDDS_ITEMPREPAINT | CDDS_SUBITEM for each cell
// (then the text request for that cell). The text and background colours and the cell
// rectangle left in the record are used to draw the cell: the background fills the
// (possibly narrowed) rectangle and the text starts at its left edge. CDRF_SKIPDEFAULT
// skips the default drawing, CDRF_NOTIFYPOSTPAINT asks for the matching post-paint.
// The notifications go to the parent, which reflects them back to the control object.
//
// A tap sends NM_CLICK (NMITEMACTIVATE) when the stylus is lifted, with the item under
// the point (-1 below the last row) and the point in the list's client coordinates.
#include "platform/ui/CWnd.h"
#include "platform/ui/CommCtrl.h"

class CListCtrl : public CWnd {
    DECLARE_DYNAMIC(CListCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int InsertColumn(int column, LPCWSTR heading, int format = LVCFMT_LEFT, int width = -1,
                     int subItem = -1);
    BOOL SetColumnWidth(int column, int width);
    int GetColumnWidth(int column) const;
    // The number of items of an owner-data list.
    void SetItemCount(int count);
    BOOL SetItemCountEx(int count, DWORD flags = LVSICF_NOINVALIDATEALL);
    int GetItemCount() const;
    BOOL DeleteAllItems();
    BOOL RedrawItems(int first, int last);
    int GetTopIndex() const;
    int GetCountPerPage() const;
    int HitTest(CPoint point, UINT* flags = nullptr) const;
    BOOL GetItemRect(int item, LPRECT rect, UINT code) const;
    BOOL EnsureVisible(int item, BOOL partialOK);
    int GetNextItem(int start, int flags) const;
    int GetSelectionMark() const;
    DWORD SetExtendedStyle(DWORD style);
    DWORD GetExtendedStyle() const;
};
