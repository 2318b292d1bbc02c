#pragma once
// Where popup menus go. Tests install a handler that picks a command by script and sees
// the menu's items; without one, headless runs dismiss the menu and desktop runs show a
// real popup at the point.
#include "platform/ui/WinUser.h"

#include <functional>
#include <string>
#include <vector>

namespace korvyn::platform {

struct PopupMenuItem {
    UINT id; // 0 for separators and sub-menus
    UINT flags;
    std::u16string text;
    std::vector<PopupMenuItem> popup; // items of a sub-menu
};

struct PopupMenuRequest {
    HWND owner;
    HMENU menu;
    int x; // screen point and TPM_ alignment flags as given
    int y;
    UINT flags;
    std::vector<PopupMenuItem> items;
};
// Returns the chosen command, or 0 when the menu was dismissed.
using PopupMenuHandler = std::function<UINT(const PopupMenuRequest&)>;

PopupMenuHandler SetPopupMenuHandler(PopupMenuHandler handler);

} // namespace korvyn::platform
