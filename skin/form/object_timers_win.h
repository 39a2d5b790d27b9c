#pragma once
// The three window timers that drive a window's skin objects: hover tracking (50 ms), morphing
// and animation (25 ms each). They end with their owner; WM_TIMER ids map back to the timer.
#include <optional>

#include "platform/win/window_timer.h"
#include "skin/form/skin_object_owner.h"

namespace fn {

class TmnObjectTimers {
public:
    // Ids in a private range: the dressed window's program keeps every small id for its own
    // timers (0x4D04 is the fade-in).
    static constexpr UINT_PTR MouseTimerId = 0x4D01, MorphTimerId = 0x4D02, AnimateTimerId = 0x4D03;

    explicit TmnObjectTimers(HWND window) : window_(window) {}
    void Start(TmnObjectTimer t);
    void Stop(TmnObjectTimer t) { Timer(t).Stop(); }
    void StopAll();
    bool Running(TmnObjectTimer t) { return Timer(t).Active(); }
    static UINT Interval(TmnObjectTimer t) { return t == TmnObjectTimer::Mouse ? 50 : 25; }
    static std::optional<TmnObjectTimer> FromId(UINT_PTR id);

private:
    TWindowTimer& Timer(TmnObjectTimer t);
    static UINT_PTR Id(TmnObjectTimer t);

    HWND window_;
    TWindowTimer mouse_, morph_, animate_;
};

}  // namespace fn
