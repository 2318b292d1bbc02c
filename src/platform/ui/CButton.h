#pragma once
// CButton: push buttons, check boxes, radio buttons and group boxes, as the window
// style selects. Automatic check boxes toggle and automatic radio buttons check
// themselves (unchecking the rest of their group) before the click reaches the parent
// as BN_CLICKED. An owner-drawn button (BS_OWNERDRAW) asks its parent to draw it, and
// the parent reflects the request back to DrawItem.
#include "platform/ui/CWnd.h"

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    BOOL Create(LPCWSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int GetCheck() const;
    void SetCheck(int check);
    UINT GetState() const;
    void SetState(BOOL pushed);
    UINT GetButtonStyle() const;
    void SetButtonStyle(UINT style, BOOL redraw = TRUE);
    HBITMAP SetBitmap(HBITMAP bitmap);
    HBITMAP GetBitmap() const;

    // Draws an owner-drawn button.
    virtual void DrawItem(LPDRAWITEMSTRUCT drawItem);

protected:
    BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};
