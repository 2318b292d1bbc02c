#pragma once
// CWnd: the C++ object of a window. The window itself belongs to the window layer (a Qt
// widget underneath); an object is attached to it when it is created through the object
// (Create, CDialog::Create) or later by subclassing (SubclassDlgItem, DDX_Control).
//
// Messages reach WindowProc, which calls the virtual On... handlers; a handler that
// wants the standard behaviour calls the base implementation, which ends in the window
// class's own procedure (a button checks itself, a static draws its text, ...).
//
// Notifications from child controls (WM_COMMAND, WM_NOTIFY) are first offered to the
// control that sent them through OnChildNotify ("reflection"); only when the control does
// not take them does the parent's OnCommand / OnNotify run. Owner drawing, control colour
// and scroll messages go to the parent's handler first, whose base implementation
// reflects them to the control.
#include "platform/ui/CObject.h"
#include "platform/ui/Geometry.h"

#include <string>

class CDC;
class CFont;
class CDataExchange;

namespace korvyn::platform {
class Window;
}

class CWnd : public CObject {
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd();
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }
    // The object attached to a window; nullptr for handles that are not windows.
    static CWnd* FromHandle(HWND hWnd);

    // Special insert-after values for SetWindowPos.
    static const CWnd wndTop;
    static const CWnd wndBottom;

    // ---- Creation and attachment ----
    BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                UINT id);
    BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                  const RECT& rect, CWnd* parent, UINT id);
    virtual BOOL DestroyWindow();
    // Attaches this object to an existing window; its behaviour then comes from here.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();

    // ---- Messages ----
    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

    // ---- Identity, style, text ----
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int id);
    CWnd* GetDlgItem(int id) const;
    CWnd* GetParent() const;
    CWnd* GetWindow(UINT cmd) const;
    CWnd* GetNextDlgGroupItem(CWnd* control, BOOL previous = FALSE) const;
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0);
    void SetWindowText(LPCWSTR text);
    void SetWindowText(const std::u16string& text) { SetWindowText(text.c_str()); }
    int GetWindowText(LPWSTR buffer, int maxCount) const;
    void GetWindowText(std::u16string& text) const;
    std::u16string GetWindowText() const;
    int GetWindowTextLength() const;
    void SetDlgItemText(int id, LPCWSTR text);
    void SetFont(CFont* font, BOOL redraw = TRUE);
    CFont* GetFont() const;

    // ---- Visibility, enabling, geometry ----
    BOOL ShowWindow(int cmd);
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    void BringWindowToTop();
    void GetClientRect(LPRECT rect) const;
    void GetWindowRect(LPRECT rect) const;
    void ClientToScreen(LPPOINT point) const;
    void ClientToScreen(LPRECT rect) const;
    void ScreenToClient(LPPOINT point) const;
    void ScreenToClient(LPRECT rect) const;

    // ---- Painting ----
    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
    void UpdateWindow();
    BOOL RedrawWindow(LPCRECT rect = nullptr, void* region = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    // A device context for the client area: the paint in progress, or else an image that
    // stays over the window until it is next invalidated. Give it back with ReleaseDC.
    CDC* GetDC();
    int ReleaseDC(CDC* dc);

    // ---- Stylus, focus, timers ----
    CWnd* SetCapture();
    static CWnd* GetCapture();
    CWnd* SetFocus();
    BOOL SetForegroundWindow();
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr);
    BOOL KillTimer(UINT_PTR id);

    // ---- Dialog helpers ----
    int MessageBox(LPCWSTR text, LPCWSTR caption = nullptr, UINT type = MB_OK);
    // Runs DoDataExchange: TRUE copies control values into members, FALSE the reverse.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    void CheckRadioButton(int firstId, int lastId, int checkId);
    int GetCheckedRadioButton(int firstId, int lastId);

    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // The window class's own handling of a message.
    virtual LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

protected:
    // The message being handled, passed on to the class's handling.
    LRESULT Default();
    virtual BOOL OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // A notification the parent reflected back; TRUE when this control handled it.
    virtual BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual void DoDataExchange(CDataExchange* pDX);
    // Called when an object is attached to an existing window, before any message.
    virtual void PreSubclassWindow();
    // Called after the window is gone; the object is already detached.
    virtual void PostNcDestroy();

    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual void OnPaint();
    virtual BOOL OnEraseBkgnd(CDC* dc);
    virtual void OnSize(UINT type, int cx, int cy);
    virtual void OnLButtonDown(UINT flags, CPoint point);
    virtual void OnLButtonUp(UINT flags, CPoint point);
    virtual void OnLButtonDblClk(UINT flags, CPoint point);
    virtual void OnMouseMove(UINT flags, CPoint point);
    virtual void OnTimer(UINT_PTR id);
    // scrollBar is the control that sent the notification (a slider), or nullptr.
    virtual void OnHScroll(UINT code, UINT pos, CWnd* scrollBar);
    virtual void OnVScroll(UINT code, UINT pos, CWnd* scrollBar);
    virtual HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    virtual void OnDrawItem(int id, LPDRAWITEMSTRUCT drawItem);
    virtual void OnDestroy();
    virtual void OnClose();

private:
    friend class korvyn::platform::Window;
    BOOL ReflectToChild(HWND child, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);

    struct CurrentMessage {
        UINT msg = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
    };
    CurrentMessage m_current;
};
