#pragma once
// Where window timers come from, and the clock they run against. The real source runs a
// Qt timer per window and identifier on the UI thread and reads the tick count from a
// monotonic clock; tests install their own source, see which timers are armed with which
// period, deliver a timer message by hand and move the tick count themselves.
#include "platform/ui/WinUser.h"

namespace korvyn::platform {

class TimerSource {
public:
    virtual ~TimerSource() = default;
    // (Re)arms the timer of this window and identifier with a period in milliseconds.
    virtual void Arm(HWND hWnd, UINT_PTR id, UINT periodMs) = 0;
    // Stops it; false when it was not armed.
    virtual bool Disarm(HWND hWnd, UINT_PTR id) = 0;
    // Stops every timer of a window that is going away.
    virtual void DisarmAll(HWND hWnd) = 0;
    // What GetTickCount reports: milliseconds since the window layer started.
    virtual DWORD TickCount();
};

// Installs a timer source (nullptr restores the real one) and returns the previous one.
TimerSource* SetTimerSource(TimerSource* source);
TimerSource& CurrentTimerSource();

// Delivers one timer message as an armed timer does (WM_TIMER, or the timer's callback).
void DeliverTimer(HWND hWnd, UINT_PTR id);

} // namespace korvyn::platform
