#pragma once
// Where the parts of a window frame go for the window's outer size: the skin's frame geometry
// moved with the right and bottom edges, the caption buttons laid out in the button strip, and
// the layout of the built-in frame drawn when no skin is loaded. Portable: the form skinning
// component computes these plans and paints and hit-tests by them.
#include <span>
#include <vector>

#include "skin/skin_geometry.h"
#include "skin/data/skin_data.h"

namespace fn {

// The skin's frame for a window of W × H, in window coordinates.
struct TmnFrameGeometry {
    TSkinPoint NewLT, NewRT, NewLB, NewRB;
    // NewClientRect is the skin's client rectangle moved with the edges (NewCl).
    TSkinRect NewClientRect, NewCaptionRect, NewButtonsRect, NewMaskRect;
    bool ButtonsInLeft = false;
    int ButtonsOffset = 0;
    TSkinPoint HitLT, HitRT, HitLB, HitRB;
};

// pictureWidth × pictureHeight is the size of the skin's main frame picture.
TmnFrameGeometry ComputeFrameGeometry(const TmnSkinFormInfo& info, int pictureWidth, int pictureHeight, int width,
                                      int height);

// The smallest window size at which the frame's parts (corner pieces, client and mask
// rectangles) do not overlap. A window below it is drawn and shaped as a frame of this size
// folded at its middle: each corner keeps its own picture.
struct TmnFitSize {
    int Width = 0, Height = 0;
};
TmnFitSize FrameFitSize(const TmnSkinFormInfo& info, int pictureWidth, int pictureHeight);

// The four parts of a fold: source rectangles in the frame of fitW × fitH and the offsets that
// move them into a window of w × h. The far parts (right, bottom) are at most farW wide and farH
// high and at most half the window; the near parts (left, top, with the caption) take the rest.
struct TmnFoldPart {
    TSkinRect Source;
    int Dx = 0, Dy = 0;
};
std::vector<TmnFoldPart> FoldParts(int w, int h, int fitW, int fitH, int farW, int farH);
// The far parts of a skin's frame: its right corner pieces, and the border below the client.
TmnFitSize FoldFarParts(const TmnSkinFormInfo& info, int pictureWidth, int pictureHeight);

// An object that may sit in the button strip: its command (0..6) and the size it takes there.
// Only visible objects cut from the active picture belong in the strip.
struct TmnStripItem {
    int Command = 0;
    int Width = 0, Height = 0;
};

// The strip's result: one rectangle per item (empty when the item got no place) and the caption
// edges the strip moved, when it moved them.
struct TmnStripLayout {
    std::vector<TSkinRect> Rects;
    bool CaptionLeftSet = false, CaptionRightSet = false;
    int CaptionLeft = 0, CaptionRight = 0;
};

// Lays the caption buttons out in the button strip (the buttons rectangle, else the caption
// rectangle): the first item of each of the commands close, maximise, minimise, roll-up and
// tray, then every custom item, from the strip's right edge leftward (or from its left edge
// rightward when the skin puts the buttons on the left); the system-menu button at the caption's
// left edge.
TmnStripLayout LayoutButtonStrip(const TmnFrameGeometry& g, std::span<const TmnStripItem> items);

// The built-in frame: caption height 19 and buttons of 17 (15 and 13 for tool windows), a border
// of 3 on every side.
struct TmnBuiltInFrame {
    int CaptionHeight = 19;
    int ButtonSize = 17;
    static constexpr int Border = 3;
    TSkinRect CaptionArea;       // window coordinates
    TSkinRect Client;            // window coordinates
    std::vector<TSkinRect> Rects;  // one per item, empty when it got no place
};

// items are the visible standard buttons; iconWidth × iconHeight is the system-menu button's
// size when the form's icon stands in for it (0 for the button size).
TmnBuiltInFrame LayoutBuiltInFrame(int width, int height, bool toolWindow, std::span<const TmnStripItem> items,
                                   int iconWidth = 0, int iconHeight = 0);

}  // namespace fn
