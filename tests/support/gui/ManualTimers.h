#pragma once
// Test double for window timers: while it exists, SetTimer/KillTimer only record what is
// armed, and a test delivers a timer message with Fire. Nothing runs by itself: the tick
// count (GetTickCount) starts at 0 and moves only with Advance.
#include "platform/ui/TimerSource.h"

#include <map>
#include <optional>
#include <utility>

namespace korvyn::test {

class ManualTimers : public platform::TimerSource {
public:
    ManualTimers() : previous_(platform::SetTimerSource(this)) {}
    ~ManualTimers() override { platform::SetTimerSource(previous_); }

    void Arm(HWND hWnd, UINT_PTR id, UINT periodMs) override { armed_[{hWnd, id}] = periodMs; }
    bool Disarm(HWND hWnd, UINT_PTR id) override { return armed_.erase({hWnd, id}) > 0; }
    void DisarmAll(HWND hWnd) override {
        std::erase_if(armed_, [hWnd](const auto& entry) { return entry.first.first == hWnd; });
    }
    DWORD TickCount() override { return now_; }
    void Advance(DWORD ms) { now_ += ms; }

    // The period of an armed timer, nothing when it is not armed.
    std::optional<UINT> Period(HWND hWnd, UINT_PTR id) const {
        const auto it = armed_.find({hWnd, id});
        return it == armed_.end() ? std::nullopt : std::optional<UINT>(it->second);
    }
    bool IsArmed(HWND hWnd, UINT_PTR id) const { return Period(hWnd, id).has_value(); }
    std::size_t ArmedCount() const { return armed_.size(); }
    // Delivers the timer message as the armed timer would; false when it is not armed.
    bool Fire(HWND hWnd, UINT_PTR id) {
        if (!IsArmed(hWnd, id))
            return false;
        platform::DeliverTimer(hWnd, id);
        return true;
    }

private:
    std::map<std::pair<HWND, UINT_PTR>, UINT> armed_;
    platform::TimerSource* previous_;
    DWORD now_ = 0;
};

} // namespace korvyn::test
