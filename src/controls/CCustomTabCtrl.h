#pragma once
// CCustomTabCtrl: a strip of tabs drawn by the program. It keeps its tabs in order, lays
// them out in one row (scrolled with arrow buttons when they do not fit), draws them in
// seven colours, tracks the selected tab and tells its parent about stylus actions with
// WM_NOTIFY (see CustomTabDefs.h for the style bits, hit codes and the record).
//
// The strip is 25 pixels high when both sides of the screen are below 321 pixels and 50
// otherwise, with Tahoma fonts of 12 or 24 pixels; both are chosen when the object is
// attached to its window and again when the window changes size (a desktop window can
// grow past a small screen). The window is of the registered class "CCustomTabCtrl".
//
// Colours, in the order of SetColors/GetColors: 0 strip background, 1 tab fill,
// 2 fill of the selected or a highlighted tab, 3 tab text, 4 text of the selected or a
// highlighted tab, 5 outlines and the button frame, 6 kept but unused.
#include "controls/CCustomTabItem.h"
#include "controls/CustomTabDefs.h"
#include "controls/OffscreenSurface.h"
#include "controls/TabStripLayout.h"
#include "platform/ui/CDC.h"
#include "platform/ui/CFont.h"
#include "platform/ui/CWnd.h"

#include <array>
#include <string>
#include <vector>

class CCustomTabCtrl : public CWnd {
    DECLARE_DYNAMIC(CCustomTabCtrl)
public:
    static constexpr int kColorCount = 7;
    // The timer that repeats a held scroll button.
    static constexpr UINT_PTR kRepeatTimer = 1;
    static constexpr UINT kRepeatCheckMs = 100;
    static constexpr DWORD kRepeatDelayMs = 500;

    // Registers the window class the first time, unless it exists already.
    CCustomTabCtrl();
    ~CCustomTabCtrl() override;

    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // Removes and adds style bits (CTCS_CLEARED always goes), updates the highlights
    // when CTCS_MULTIHIGHLIGHT changes, lays out and repaints.
    void SetStyle(DWORD remove, DWORD add, UINT frameFlags = 0);
    void SetColors(const COLORREF colors[kColorCount], BOOL repaint = TRUE);
    void GetColors(COLORREF colors[kColorCount]) const;
    COLORREF GetColor(int index) const { return m_colors[index]; }

    // Inserts a tab before `index` (at the end when past it); an empty title becomes
    // "<No title>". Returns the tab's index.
    int InsertItem(int index, LPCWSTR title, DWORD data = 0);
    // Deletes a tab; the selection moves to the following tab (the previous one for the
    // last). Returns the selected index afterwards, or -2 for an index out of range.
    int DeleteItem(int index);
    // Selects a tab and scrolls it into view. Returns the previously selected index, or
    // -2 (changing nothing) for an index out of range.
    int SetCurSel(int index);
    int GetCurSel() const { return m_current; }
    int GetItemCount() const { return static_cast<int>(m_items.size()); }
    std::u16string GetItemText(int index) const;
    BOOL GetItemRect(int index, LPRECT rect) const;
    BOOL IsItemHighlighted(int index) const;
    int GetFirstVisible() const;
    int GetStripHeight() const { return m_stripHeight; }
    CFont* GetTabFont(BOOL bold = FALSE) { return bold ? &m_boldFont : &m_font; }
    // A tab index, a button's hit code or CTCHT_NOWHERE for a point of the client area.
    int HitTest(POINT point) const;

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void PreSubclassWindow() override;
    void OnPaint() override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnLButtonDblClk(UINT flags, CPoint point) override;
    void OnTimer(UINT_PTR id) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnDestroy() override;

    // The close button's action: deletes the selected tab.
    virtual void OnCloseButton();
    // Paints the client area outside the strip (with CTCS_CONTAINER); nothing here.
    virtual void PaintPageArea(CDC& dc, const CRect& area);
    // Sends one notification about a tab (or a hit code) to the parent.
    void Notify(int code, int item, CPoint point);
    // Marks the layout out of date; it is made again when something needs it (a paint, a
    // hit test, a scroll), so that a window that is never drawn never measures a title.
    void RecalcLayout();
    void Repaint();

private:
    // Strip height and fonts for the current screen size.
    void UpdateMetrics();
    // Lays the strip out if anything changed since the last time. The layout is a cache of
    // the titles, fonts, style and size, so const readers may bring it up to date.
    void EnsureLayout() const;
    void LayOut();
    void AdjustRect(BOOL larger, LPRECT rect) const;
    void Scroll(int button);
    void HandleDown(UINT flags, CPoint point);
    void UpdateHighlights();
    void NotifyHighlightChanges(CPoint point);
    void OpenEditor(int index);
    void CloseEditor();
    void DrawTab(CDC& dc, const CCustomTabItem& item);
    void DrawButtons(CDC& dc);

    std::vector<CCustomTabItem> m_items;
    int m_current = -1;
    int m_firstVisible = 0;
    std::array<int, korvyn::TabStripLayout::kButtonCount> m_buttonState{};
    int m_capturedPart = CTCHT_NOWHERE;
    DWORD m_lastRepeat = 0;
    int m_stripHeight = 25;
    CFont m_font;
    CFont m_boldFont;
    std::array<COLORREF, kColorCount> m_colors{};
    HWND m_editor = nullptr;
    int m_editedItem = -1;
    korvyn::TabStripLayout m_layout;
    bool m_layoutStale = true;
    // A selection scrolls its tab into view at the next layout.
    bool m_revealSelection = false;
    korvyn::OffscreenSurface m_surface;
};
