#pragma once
// A clock for tests: records the window timers started through the seam; a test fires one by
// sending its WM_TIMER, so nothing waits for real time.
#include <windows.h>

#include <map>
#include <utility>

#include "platform/win/window_timer.h"

namespace fn::test {

class FakeTimers : public TTimerSeam {
public:
    FakeTimers() { previous_ = SetTimerSeam(this); }
    ~FakeTimers() override { SetTimerSeam(previous_); }
    bool Start(HWND window, UINT_PTR id, UINT ms) override { active[{window, id}] = ms; return true; }
    void Stop(HWND window, UINT_PTR id) override { active.erase({window, id}); }
    bool Has(HWND window, UINT_PTR id) const { return active.count({window, id}) != 0; }
    UINT Interval(HWND window, UINT_PTR id) const { auto it = active.find({window, id}); return it == active.end() ? 0 : it->second; }
    void Fire(HWND window, UINT_PTR id) { ::SendMessageW(window, WM_TIMER, id, 0); }
    std::map<std::pair<HWND, UINT_PTR>, UINT> active;

private:
    TTimerSeam* previous_ = nullptr;
};

}  // namespace fn::test
