// Window timers: SetTimer/KillTimer arm and stop a timer per window and identifier; the
// timer message arrives on the UI thread. A handler may kill and re-arm its own timer.
#include "platform/ui/detail/Timers.h"
#include "platform/ui/TimerSource.h"
#include "platform/ui/detail/Window.h"

#include <QElapsedTimer>
#include <QTimer>

#include <map>
#include <memory>
#include <utility>

namespace korvyn::platform {
namespace {

std::map<std::pair<HWND, UINT_PTR>, TIMERPROC>& Procs() {
    static auto* procs = new std::map<std::pair<HWND, UINT_PTR>, TIMERPROC>;
    return *procs;
}

class QtTimerSource : public TimerSource {
public:
    void Arm(HWND hWnd, UINT_PTR id, UINT periodMs) override {
        auto& t = timers_[{hWnd, id}];
        if (!t) {
            t = std::make_unique<QTimer>();
            QObject::connect(t.get(), &QTimer::timeout, [hWnd, id] { DeliverTimer(hWnd, id); });
        }
        t->start(static_cast<int>(std::min<UINT>(periodMs, 0x7FFFFFFF)));
    }
    bool Disarm(HWND hWnd, UINT_PTR id) override {
        auto it = timers_.find({hWnd, id});
        if (it == timers_.end() || !it->second->isActive()) {
            return false;
        }
        // Stopped, not deleted: the handler running from this timer may be on the stack.
        it->second->stop();
        return true;
    }
    void DisarmAll(HWND hWnd) override {
        for (auto it = timers_.begin(); it != timers_.end();) {
            if (it->first.first == hWnd) {
                it->second->stop();
                it->second.release()->deleteLater();
                it = timers_.erase(it);
            } else {
                ++it;
            }
        }
    }

private:
    std::map<std::pair<HWND, UINT_PTR>, std::unique_ptr<QTimer>> timers_;
};

QtTimerSource& RealSource() {
    static auto* source = new QtTimerSource;
    return *source;
}

TimerSource* current = nullptr;

} // namespace

DWORD TimerSource::TickCount() {
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return static_cast<DWORD>(clock.elapsed());
}

TimerSource* SetTimerSource(TimerSource* source) {
    return std::exchange(current, source);
}

TimerSource& CurrentTimerSource() {
    return current != nullptr ? *current : RealSource();
}

void DeliverTimer(HWND hWnd, UINT_PTR id) {
    if (Window* w = Window::From(hWnd)) {
        auto it = Procs().find({hWnd, id});
        if (it != Procs().end() && it->second != nullptr) {
            it->second(hWnd, WM_TIMER, id, GetTickCount());
        } else {
            w->Send(WM_TIMER, id, 0);
        }
    } else {
        CurrentTimerSource().DisarmAll(hWnd);
    }
}

void KillWindowTimers(HWND hWnd) {
    CurrentTimerSource().DisarmAll(hWnd);
    std::erase_if(Procs(), [hWnd](const auto& entry) { return entry.first.first == hWnd; });
}

} // namespace korvyn::platform

UINT_PTR SetTimer(HWND hWnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    if (korvyn::platform::Window::From(hWnd) == nullptr) {
        return 0;
    }
    korvyn::platform::Procs()[{hWnd, id}] = proc;
    korvyn::platform::CurrentTimerSource().Arm(hWnd, id, elapse);
    return id;
}

BOOL KillTimer(HWND hWnd, UINT_PTR id) {
    return korvyn::platform::CurrentTimerSource().Disarm(hWnd, id) ? TRUE : FALSE;
}
