#include "app/BatchTimers.h"

#include <algorithm>
#include <iterator>

namespace korvyn {

BatchTimers::BatchTimers()
    : start_(platform::CurrentTimerSource().TickCount()),
      previous_(platform::SetTimerSource(this)) {}

BatchTimers::~BatchTimers() {
    platform::SetTimerSource(previous_);
}

void BatchTimers::Arm(HWND hWnd, UINT_PTR id, UINT periodMs) {
    armed_[{hWnd, id}] = Timer{periodMs, now_ + periodMs, order_++};
}

bool BatchTimers::Disarm(HWND hWnd, UINT_PTR id) {
    return armed_.erase({hWnd, id}) > 0;
}

void BatchTimers::DisarmAll(HWND hWnd) {
    std::erase_if(armed_, [hWnd](const auto& entry) { return entry.first.first == hWnd; });
}

std::optional<BatchTimers::TimerKey> BatchTimers::FireNext() {
    auto next = std::min_element(armed_.begin(), armed_.end(), [](const auto& a, const auto& b) {
        return std::pair(a.second.due, a.second.order) < std::pair(b.second.due, b.second.order);
    });
    if (next == armed_.end()) {
        return std::nullopt;
    }
    const TimerKey key = next->first;
    Timer& timer = next->second;
    now_ = std::max(now_, timer.due);
    // A window timer keeps firing until it is stopped; the handler may stop or re-arm it.
    timer.due = now_ + std::max<UINT>(timer.period, 1);
    timer.order = order_++;
    platform::DeliverTimer(key.first, key.second);
    return key;
}

} // namespace korvyn
