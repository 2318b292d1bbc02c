#include "support/gui/ManualTimers.h"

namespace korvyn::test {

ManualTimers::ManualTimers() : previous_(platform::SetTimerSource(this)) {}

ManualTimers::~ManualTimers() {
    platform::SetTimerSource(previous_);
}

void ManualTimers::Arm(HWND hWnd, UINT_PTR id, UINT periodMs) {
    armed_[{hWnd, id}] = periodMs;
}

bool ManualTimers::Disarm(HWND hWnd, UINT_PTR id) {
    return armed_.erase({hWnd, id}) > 0;
}

void ManualTimers::DisarmAll(HWND hWnd) {
    std::erase_if(armed_, [hWnd](const auto& entry) { return entry.first.first == hWnd; });
}

std::optional<UINT> ManualTimers::Period(HWND hWnd, UINT_PTR id) const {
    auto it = armed_.find({hWnd, id});
    if (it == armed_.end()) {
        return std::nullopt;
    }
    return it->second;
}

bool ManualTimers::Fire(HWND hWnd, UINT_PTR id) {
    if (!IsArmed(hWnd, id)) {
        return false;
    }
    platform::DeliverTimer(hWnd, id);
    return true;
}

} // namespace korvyn::test
