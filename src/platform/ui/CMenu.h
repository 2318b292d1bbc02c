#pragma once
// CMenu: menus from the program's menu resources or built in code. A popup is shown with
// TrackPopupMenu; the chosen command goes to the owner window as WM_COMMAND after the
// menu closes (or is returned with TPM_RETURNCMD).
#include "platform/ui/CObject.h"
#include "platform/ui/CWnd.h"

#include <string>

constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_CENTERALIGN = 0x0004;
constexpr UINT TPM_RIGHTALIGN = 0x0008;
constexpr UINT TPM_TOPALIGN = 0x0000;
constexpr UINT TPM_VCENTERALIGN = 0x0010;
constexpr UINT TPM_BOTTOMALIGN = 0x0020;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;

// Loads a menu resource of the program; nullptr when there is none.
HMENU LoadMenu(HINSTANCE instance, LPCWSTR name);
HMENU CreatePopupMenu();
HMENU CreateMenu();
BOOL DestroyMenu(HMENU menu);
HMENU GetSubMenu(HMENU menu, int position);
int GetMenuItemCount(HMENU menu);
UINT GetMenuItemID(HMENU menu, int position);
// Deletes an item (and destroys its sub-menu); RemoveMenu keeps the sub-menu.
BOOL DeleteMenu(HMENU menu, UINT item, UINT flags);
BOOL RemoveMenu(HMENU menu, UINT item, UINT flags);
BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCWSTR text);
BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR idOrPopup, LPCWSTR text);
int GetMenuString(HMENU menu, UINT item, LPWSTR buffer, int maxCount, UINT flags);
// Shows the popup at a screen point. Without TPM_RETURNCMD the result is whether a
// command was chosen; with it, the command (0 when dismissed).
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, LPCRECT rect);

class CMenu : public CObject {
    DECLARE_DYNAMIC(CMenu)
public:
    CMenu() = default;
    ~CMenu() override;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU m_hMenu = nullptr;
    operator HMENU() const { return m_hMenu; }
    HMENU GetSafeHmenu() const { return m_hMenu; }
    // A wrapper that lives as long as the menu.
    static CMenu* FromHandle(HMENU menu);

    BOOL LoadMenu(UINT id);
    BOOL CreatePopupMenu();
    BOOL DestroyMenu();
    BOOL Attach(HMENU menu);
    HMENU Detach();

    CMenu* GetSubMenu(int position) const;
    UINT GetMenuItemCount() const;
    UINT GetMenuItemID(int position) const;
    BOOL DeleteMenu(UINT item, UINT flags);
    BOOL RemoveMenu(UINT item, UINT flags);
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR idOrPopup = 0, LPCWSTR text = nullptr);
    BOOL AppendMenu(UINT flags, UINT_PTR idOrPopup = 0, LPCWSTR text = nullptr);
    int GetMenuString(UINT item, std::u16string& text, UINT flags) const;
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect = nullptr);

private:
    bool m_wrapper = false;
};
