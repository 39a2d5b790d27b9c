#pragma once
// A clock for tests: records the window timers started through the seam and delivers their
// WM_TIMER when the test moves the clock on (or fires one running timer at once), so nothing
// waits for real time and a timer that was never started, or was stopped, never ticks.
#include <windows.h>

#include <algorithm>
#include <map>
#include <utility>

#include "platform/win/window_timer.h"

namespace fn::test {

class FakeTimers : public TTimerSeam {
public:
    struct Timer {
        UINT interval;
        ULONGLONG due;
    };
    // The system raises shorter intervals to this.
    static constexpr UINT MinimumInterval = USER_TIMER_MINIMUM;

    FakeTimers() { previous_ = SetTimerSeam(this); }
    ~FakeTimers() override { SetTimerSeam(previous_); }
    bool Start(HWND window, UINT_PTR id, UINT ms) override {
        active[{window, id}] = Timer{ms, now_ + std::max(ms, MinimumInterval)};
        return true;
    }
    void Stop(HWND window, UINT_PTR id) override { active.erase({window, id}); }
    bool Has(HWND window, UINT_PTR id) const { return active.count({window, id}) != 0; }
    UINT Interval(HWND window, UINT_PTR id) const {
        auto it = active.find({window, id});
        return it == active.end() ? 0 : it->second.interval;
    }
    // Delivers one tick of a running timer now; its next tick comes a whole interval later.
    // False (and nothing sent) when that timer is not running.
    bool Fire(HWND window, UINT_PTR id) {
        auto it = active.find({window, id});
        if (it == active.end()) return false;
        it->second.due = now_ + std::max(it->second.interval, MinimumInterval);
        ::SendMessageW(window, WM_TIMER, id, 0);
        return true;
    }
    // Moves the clock on, delivering every tick that falls due on the way in time order; a
    // handler may start or stop timers, and those count from the tick that changed them.
    void Advance(UINT ms) {
        const ULONGLONG end = now_ + ms;
        for (;;) {
            auto next = std::min_element(active.begin(), active.end(),
                                         [](const auto& a, const auto& b) { return a.second.due < b.second.due; });
            if (next == active.end() || next->second.due > end) break;
            now_ = next->second.due;
            const auto [window, id] = next->first;
            next->second.due = now_ + std::max(next->second.interval, MinimumInterval);
            ::SendMessageW(window, WM_TIMER, id, 0);
        }
        now_ = std::max(now_, end);  // a handler may have moved the clock further itself
    }
    ULONGLONG Now() const { return now_; }
    std::map<std::pair<HWND, UINT_PTR>, Timer> active;

private:
    TTimerSeam* previous_ = nullptr;
    ULONGLONG now_ = 0;
};

}  // namespace fn::test
