#pragma once
// Test double for popup menus: chooses commands in order from a script (0, dismissing the
// menu, once the script runs out) and keeps every menu it was shown.
#include "platform/ui/PopupMenuHandler.h"

#include <deque>
#include <vector>

namespace korvyn::test {

class ScriptedPopupMenus {
public:
    explicit ScriptedPopupMenus(std::deque<UINT> choices = {});
    ~ScriptedPopupMenus();
    ScriptedPopupMenus(const ScriptedPopupMenus&) = delete;
    ScriptedPopupMenus& operator=(const ScriptedPopupMenus&) = delete;

    void Choose(UINT command) { choices_.push_back(command); }
    const std::vector<platform::PopupMenuRequest>& shown() const { return shown_; }

private:
    std::deque<UINT> choices_;
    std::vector<platform::PopupMenuRequest> shown_;
    platform::PopupMenuHandler previous_;
};

} // namespace korvyn::test
