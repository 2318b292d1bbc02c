#include "support/gui/ScriptedPopupMenus.h"

namespace korvyn::test {

ScriptedPopupMenus::ScriptedPopupMenus(std::deque<UINT> choices) : choices_(std::move(choices)) {
    previous_ = platform::SetPopupMenuHandler([this](const platform::PopupMenuRequest& r) {
        shown_.push_back(r);
        if (choices_.empty()) {
            return 0u;
        }
        UINT choice = choices_.front();
        choices_.pop_front();
        return choice;
    });
}

ScriptedPopupMenus::~ScriptedPopupMenus() {
    platform::SetPopupMenuHandler(previous_);
}

} // namespace korvyn::test
