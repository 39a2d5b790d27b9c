#pragma once
// The arithmetic of the skin objects: where an object stands for a window size, which part of
// a picture is an animation frame, how far a morph has come, where the caption text goes.
// Portable; every result is bounded so that a careless skin cannot produce negative sizes,
// reads outside a picture or endless animations.
#include <cstdint>

#include "platform/core/graph_types.h"
#include "skin/skin_geometry.h"
#include "skin/paint/effects.h"  // the morph step the objects share

namespace fn {

// Sums of skin values are made in 64 bits and brought back into the int range.
inline int ClampToInt(int64_t v) { return v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : static_cast<int>(v); }

// A rectangle from a skin with every coordinate brought into +-2^20 (pictures are at most 65535
// pixels wide), so that widths and sums of such rectangles stay far inside the int range.
inline constexpr int SkinCoordinateLimit = 1 << 20;
TSkinRect BoundedRect(const TSkinRect& r);

// The four corner points of the frame picture and its size.
struct TmnCornerFrame {
    TSkinPoint LT, RT, LB, RB;
    int PictureWidth = 0, PictureHeight = 0;
};

// The corner rule: a rectangle of the unstretched frame picture moved and widened for a
// window dx wider and dy higher than the picture.
TSkinRect PlaceByCorners(const TSkinRect& r, const TmnCornerFrame& frame, int dx, int dy);

// True when (x, y) lies in r (left and top inside, right and bottom outside).
inline bool PointInObject(const TSkinRect& r, int x, int y) {
    return r.Left <= x && x < r.Right && r.Top <= y && y < r.Bottom;
}

// The rectangle r counts only when it is not empty and lies wholly in a picture of w x h;
// otherwise the empty rectangle (there is no such image).
TSkinRect ImageInPicture(const TSkinRect& r, int w, int h);

// Animated objects: frames side by side, each of the size of first, frame k (from 1) to the
// right of frame k-1. The number of whole frames a picture of width w holds from first on;
// 0 when first is empty or outside the picture.
int WholeFramesBeside(const TSkinRect& first, int w, int h);
// Frame k of a strip of count frames beginning with first; empty for k outside 1..count.
TSkinRect FrameBeside(const TSkinRect& first, int count, int k);

// Caption animation: strip is cut into count frames, stacked when the strip is taller than
// skinRect, else side by side. The count is limited to frames of at least one pixel that lie
// wholly in the picture (w x h); 0 when none (animation off).
struct TmnFrameStrip {
    TSkinRect Strip;
    int Count = 0;  // 0: no animation
    int Step = 0;   // frame height (stacked) or width (side by side)
    bool Vertical = false;
};
TmnFrameStrip CaptionFrameStrip(const TSkinRect& strip, const TSkinRect& skinRect, int count, int w, int h);
TSkinRect FrameOfStrip(const TmnFrameStrip& s, int k);

// One step of a frame animation (the caption's, a menu bar item's): while active the frame runs
// up to one past the last (the resting active image), else down to 0. False when it is at its end.
bool StepFrame(int& frame, int count, bool active);

// How an object shows a change of hover state: a fade through its owner's morph timer, else one
// redraw. With the desktop's animations off the fade jumps to its end.
enum class TmnFadeStart { Redraw, Timer };
TmnFadeStart StartFade(double& factor, bool active, bool morphEnabled, bool animate);

// Timer intervals of animations are never shorter than one tick of the 25 ms timer.
inline constexpr int AnimationTick = 25;
inline int FloorInterval(int ms) { return ms < AnimationTick ? AnimationTick : ms; }


// Caption image ends: the parts left of the left-top point and right of the right-top point
// stay fixed when the caption is widened.
struct TmnStripEnds {
    int Left = 0, Right = 0;
};
TmnStripEnds CaptionStripEnds(const TSkinRect& skinRect, const TSkinPoint& lt, const TSkinPoint& rt);

// The caption's text area relative to the object: textRect widened with the object, then cut to
// the text part of a frame picture when one is given. Empty when textRect is.
TSkinRect CaptionTextArea(const TSkinRect& textRect, int objectWidth, int skinWidth, const TSkinRect& frameRect,
                          const TSkinRect& frameTextRect);
// Top-left of a text of tw x th in area by alignment (0 left, 1 right, 2 centre).
struct TmnTextPos {
    int X = 0, Y = 0;
    friend bool operator==(const TmnTextPos&, const TmnTextPos&) = default;
};
TmnTextPos CaptionTextPosition(const TSkinRect& area, int alignment, int tw, int th);

}  // namespace fn
