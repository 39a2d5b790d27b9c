#include "platform/win/window_timer.h"

namespace fn {

namespace {

class TSystemTimers : public TTimerSeam {
public:
    bool Start(HWND window, UINT_PTR id, UINT milliseconds) override {
        return ::SetTimer(window, id, milliseconds, nullptr) != 0;
    }
    void Stop(HWND window, UINT_PTR id) override { ::KillTimer(window, id); }
};

TSystemTimers systemTimers;
TTimerSeam* current = &systemTimers;

}  // namespace

TTimerSeam* SetTimerSeam(TTimerSeam* seam) {
    TTimerSeam* previous = current;
    current = seam ? seam : &systemTimers;
    return previous == &systemTimers ? nullptr : previous;
}

TTimerSeam& TimerSeam() { return *current; }

void TWindowTimer::Start(HWND window, UINT_PTR id, UINT milliseconds) {
    Stop();
    if (window && TimerSeam().Start(window, id, milliseconds)) {
        window_ = window;
        id_ = id;
        interval_ = milliseconds;
        CountLive(TLiveKind::Timer);
    }
}

void TWindowTimer::Stop() {
    if (!window_) return;
    TimerSeam().Stop(window_, id_);
    window_ = nullptr;
    CountGone(TLiveKind::Timer);
}

}  // namespace fn
