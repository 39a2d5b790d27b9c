#pragma once
// Geometry of a skinned control: how its skin picture follows the control's size (fixed,
// nine-part, horizontal or vertical strip), where a part of the picture lands for the current
// size, the frame-region geometry of the strips, and the tiles of the client background.
// Portable; the Win32 control units carry these plans out.
#include "skin/paint/rects.h"

namespace fn {

enum TResizeMode : int {
    rmNone = -1,       // no skin picture
    rmFixed = 0,       // the control has the picture's size
    rmBoth = 1,        // nine-part, resizable both ways
    rmHorizontal = 2,  // three-part strip, width only
    rmVertical = 3,    // three-part strip, height only
};

// The mode a record's picture rectangle and corner points give.
TResizeMode ResizeModeOf(const TSkinRect& skinRect, const TFrameGeometry& g);

// The size a control may take when asked for width x height, and its resized geometry.
struct TSkinSize {
    int Width = 0, Height = 0;
    TFrameGeometry New;
};
// Without a picture (rmNone) the size and geometry pass through unchanged.
TSkinSize CalcSkinSize(TResizeMode mode, const TFrameGeometry& g, const TSkinRect& skinRect, int width,
                       int height);

// A rectangle of the skin picture (relative to skinRect) placed in a control of width x height.
TSkinRect MapSkinRect(TResizeMode mode, const TFrameGeometry& g, const TSkinRect& skinRect, int width,
                      int height, const TSkinRect& r);

// The unresized and resized geometry from which a strip's frame region is built (the strip's
// missing corners collapse onto its ends). Nine-part geometry passes through.
struct TRegionGeometry {
    TFrameGeometry Old, New;
};
TRegionGeometry RegionGeometry(TResizeMode mode, const TFrameGeometry& g, const TSkinRect& skinRect, int width,
                               int height);

// The client background: the client piece of the picture scaled to a tile, and the tile
// repeated over Fill from Fill's top-left corner (one pattern fill, whatever the tile's size).
struct TBackgroundPlan {
    bool Draw = false;
    TSkinRect Source;               // in picture coordinates
    int TileWidth = 0, TileHeight = 0;
    TSkinRect Fill;                 // in control coordinates
};
// client: the client piece relative to skinRect; fill: where it goes. Nothing is drawn for an
// empty piece or fill, or a piece that is not wholly inside the picture.
TBackgroundPlan BackgroundPlan(const TSkinRect& skinRect, const TSkinRect& client, const TSkinRect& fill,
                               bool stretchEffect, TStretchType stretchType, int pictureWidth,
                               int pictureHeight);

// True when r lies wholly inside a picture of width x height.
bool InsidePicture(const TSkinRect& r, int pictureWidth, int pictureHeight);

}  // namespace fn
