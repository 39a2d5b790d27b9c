#pragma once
// The skinned hint without a window: its size for a text, its bounds beside the cursor, the
// visible height of a cursor from its mask bits, and the show/hide timing. Portable.
#include <cstddef>
#include <cstdint>

#include "skin/skin_geometry.h"

namespace fn {

struct THintGeometry {
    int Width = 0, Height = 0;
    TSkinRect NewClientRect;
    TSkinPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
};

// Size of a hint for a text of textWidth x textHeight. Unskinned: text + 4 each way. Skinned:
// the text in the picture's client rectangle, never smaller than the picture.
THintGeometry UnskinnedHintGeometry(int textWidth, int textHeight);
THintGeometry SkinnedHintGeometry(int textWidth, int textHeight, int pictureWidth, int pictureHeight,
                                  const TSkinRect& clientRect, TSkinPoint lt, TSkinPoint rt, TSkinPoint lb,
                                  TSkinPoint rb);

// Top-left of a hint of w x h asked for at (x, y): past the right or bottom edge of the area it
// moves to the other side of the point, 2 pixels further; then it is kept inside the area.
void PlaceHint(int x, int y, int w, int h, const TSkinRect& area, int& left, int& top);

// Visible height of a cursor below its hot spot, from its mask bitmap's bits (bottom-up rows
// padded to 32 bits, 1 bit per pixel). A monochrome cursor's mask is twice as high as wide: the
// AND half on top, the XOR half below. The scan never leaves bits[0 .. size).
int CursorHeightBelowHotSpot(const uint8_t* bits, size_t size, int width, int height, int hotSpotY,
                             int systemCursorHeight);

// Timing of a hint requested for a skin object: wait HintPause, show, wait HintHidePause, hide.
class THintTiming {
public:
    enum class Phase { Idle, Waiting, Showing };
    enum class Action { None, StartTimer, ShowAndRestart, Hide };

    // A request (or a new text) restarts the wait; the caller starts its timer with Pause.
    Action Request() { phase_ = Phase::Waiting; return Action::StartTimer; }
    // The timer fired: show and wait for the hide pause, or hide.
    Action Tick() {
        if (phase_ == Phase::Waiting) { phase_ = Phase::Showing; return Action::ShowAndRestart; }
        if (phase_ == Phase::Showing) { phase_ = Phase::Idle; return Action::Hide; }
        return Action::None;
    }
    void Cancel() { phase_ = Phase::Idle; }
    Phase Current() const { return phase_; }

private:
    Phase phase_ = Phase::Idle;
};

}  // namespace fn
