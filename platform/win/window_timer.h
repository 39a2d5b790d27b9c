#pragma once
// Window timers started through one replaceable seam: the system's SetTimer/KillTimer, or a
// test's clock that records the timers and fires them by sending WM_TIMER itself (so no test
// waits for real time). Every timer of the program and the skin library goes through it.
#include <windows.h>

#include "platform/core/live_counts.h"

namespace fn {

class TTimerSeam {
public:
    virtual ~TTimerSeam() = default;
    virtual bool Start(HWND window, UINT_PTR id, UINT milliseconds) = 0;
    virtual void Stop(HWND window, UINT_PTR id) = 0;
};

// Installs a seam (null: the system's timers) and returns the one it replaces.
TTimerSeam* SetTimerSeam(TTimerSeam* seam);
TTimerSeam& TimerSeam();

// One window timer owned by an object: stopped when restarted, stopped, or destroyed.
class TWindowTimer {
public:
    TWindowTimer() = default;
    ~TWindowTimer() { Stop(); }
    TWindowTimer(const TWindowTimer&) = delete;
    TWindowTimer& operator=(const TWindowTimer&) = delete;

    void Start(HWND window, UINT_PTR id, UINT milliseconds);
    void Stop();
    bool Active() const { return window_ != nullptr; }
    UINT Interval() const { return interval_; }

private:
    HWND window_ = nullptr;
    UINT_PTR id_ = 0;
    UINT interval_ = 0;
};

}  // namespace fn
