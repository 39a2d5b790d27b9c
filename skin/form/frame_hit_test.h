#pragma once
// Which part of a window frame lies under a point: the platform's hit-test codes for the
// skinned frame (from the skin's geometry, its hit-test corners and its mask) and for the
// built-in frame. Portable; the form skinning component answers WM_NCHITTEST with these.
#include <functional>

#include "skin/form/frame_layout.h"

namespace fn {

// The platform's hit-test codes the frame produces, and no others.
enum TmnHitCode : int {
    htClient = 1, htCaption = 2, htLeft = 10, htRight = 11, htTop = 12, htTopLeft = 13, htTopRight = 14,
    htBottom = 15, htBottomLeft = 16, htBottomRight = 17, htObject = 19
};

// The window's state as hit-testing needs it.
struct TmnHitState {
    int Width = 0, Height = 0;
    bool RolledUp = false, Minimized = false, Maximized = false;
    bool Resizable = true;        // the form's border style lets it be sized
    bool ObjectActive = false;    // a skin object is under the mouse
    bool InSizeMove = false;      // a size-move loop runs
    int BorderWidth = 0;          // the skin's "borderwidth"
};

enum TmnMaskStrip { msTop, msBottom, msLeft, msRight };
// Whether the pixel at (x, y) of a mask strip is black; false outside the strip.
using TmnMaskPixel = std::function<bool(TmnMaskStrip strip, int x, int y)>;

// Whether a window point lies on the mask: inside the mask rectangle, or on a black pixel of the
// strip that covers it (top above the rectangle, bottom below, left and right beside it).
bool PointOnMask(const TSkinRect& maskRect, int x, int y, const TmnMaskPixel& black);

// Hit-test of the skinned frame. onCaption tells whether a point lies on a caption object;
// black is null when the skin has no mask picture.
int SkinnedHitTest(const TmnFrameGeometry& g, const TmnHitState& s, int x, int y,
                   const std::function<bool(int x, int y)>& onCaption, const TmnMaskPixel& black);

// Hit-test of the built-in frame drawn when no skin is loaded.
int BuiltInHitTest(const TmnBuiltInFrame& f, const TmnHitState& s, int x, int y);

}  // namespace fn
