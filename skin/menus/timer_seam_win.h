#pragma once
// Window timers of the skinned menus, hints and tray icon, started through one replaceable
// seam: the system's SetTimer/KillTimer, or a test's clock that records the timers and fires
// them by sending WM_TIMER itself (so no test waits for real time).
#include <windows.h>

namespace fn {

class TmnTimerSeam {
public:
    virtual ~TmnTimerSeam() = default;
    virtual bool Start(HWND window, UINT_PTR id, UINT milliseconds) = 0;
    virtual void Stop(HWND window, UINT_PTR id) = 0;
};

// Installs a seam (null: the system's timers) and returns the one it replaces.
TmnTimerSeam* SetTimerSeam(TmnTimerSeam* seam);
TmnTimerSeam& TimerSeam();

// One window timer owned by an object: stopped when restarted, stopped, or destroyed.
class TmnTimer {
public:
    TmnTimer() = default;
    ~TmnTimer() { Stop(); }
    TmnTimer(const TmnTimer&) = delete;
    TmnTimer& operator=(const TmnTimer&) = delete;

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
