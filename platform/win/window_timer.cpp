#include "platform/win/window_timer.h"

#include "platform/core/seam.h"

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
TSeamSlot<TTimerSeam> timers(systemTimers);

}  // namespace

TTimerSeam* SetTimerSeam(TTimerSeam* seam) { return timers.Install(seam); }

TTimerSeam& TimerSeam() { return timers.Current(); }

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
