#pragma once
// Window timers on a clock of their own, for runs that scan a given number of ticks as
// fast as possible: nothing fires by itself; FireNext moves the clock to the timer that
// is due first and delivers it, as if its period had passed. The tick count goes on from
// where the real one stood.
#include "platform/ui/TimerSource.h"

#include <cstdint>
#include <map>
#include <optional>
#include <utility>

namespace korvyn {

class BatchTimers : public platform::TimerSource {
public:
    using TimerKey = std::pair<HWND, UINT_PTR>;

    BatchTimers();
    ~BatchTimers() override;
    BatchTimers(const BatchTimers&) = delete;
    BatchTimers& operator=(const BatchTimers&) = delete;

    void Arm(HWND hWnd, UINT_PTR id, UINT periodMs) override;
    bool Disarm(HWND hWnd, UINT_PTR id) override;
    void DisarmAll(HWND hWnd) override;

    // Delivers the timer due first (the one armed first among equals) and returns it;
    // nothing when no timer is armed.
    std::optional<TimerKey> FireNext();
    // Milliseconds on the batch clock, which GetTickCount reports while it is installed.
    std::uint64_t Now() const { return now_; }
    DWORD TickCount() override { return static_cast<DWORD>(start_ + now_); }

private:
    struct Timer {
        UINT period;
        std::uint64_t due;
        std::uint64_t order;
    };
    std::map<TimerKey, Timer> armed_;
    DWORD start_;
    std::uint64_t now_ = 0;
    std::uint64_t order_ = 0;
    platform::TimerSource* previous_;
};

} // namespace korvyn
