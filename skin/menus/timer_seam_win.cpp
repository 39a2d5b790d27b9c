#include "skin/menus/timer_seam_win.h"

namespace fn {

namespace {

class TSystemTimers : public TmnTimerSeam {
public:
    bool Start(HWND window, UINT_PTR id, UINT milliseconds) override {
        return ::SetTimer(window, id, milliseconds, nullptr) != 0;
    }
    void Stop(HWND window, UINT_PTR id) override { ::KillTimer(window, id); }
};

TSystemTimers systemTimers;
TmnTimerSeam* current = &systemTimers;

}  // namespace

TmnTimerSeam* SetTimerSeam(TmnTimerSeam* seam) {
    TmnTimerSeam* previous = current;
    current = seam ? seam : &systemTimers;
    return previous == &systemTimers ? nullptr : previous;
}

TmnTimerSeam& TimerSeam() { return *current; }

void TmnTimer::Start(HWND window, UINT_PTR id, UINT milliseconds) {
    Stop();
    if (window && TimerSeam().Start(window, id, milliseconds)) {
        window_ = window;
        id_ = id;
        interval_ = milliseconds;
    }
}

void TmnTimer::Stop() {
    if (window_) TimerSeam().Stop(window_, id_);
    window_ = nullptr;
}

}  // namespace fn
