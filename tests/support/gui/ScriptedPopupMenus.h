#pragma once
// Test double for popup menus: chooses commands in order from a script (0, dismissing the
// menu, once the script runs out) and keeps every menu it was shown.
#include "platform/ui/PopupMenuHandler.h"

#include <deque>
#include <utility>
#include <vector>

namespace korvyn::test {

class ScriptedPopupMenus {
public:
    explicit ScriptedPopupMenus(std::deque<UINT> choices = {}) : choices_(std::move(choices)) {
        previous_ = platform::SetPopupMenuHandler([this](const platform::PopupMenuRequest& r) {
            shown_.push_back(r);
            if (choices_.empty())
                return 0u;
            const UINT choice = choices_.front();
            choices_.pop_front();
            return choice;
        });
    }
    ~ScriptedPopupMenus() { platform::SetPopupMenuHandler(previous_); }
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
