#pragma once
// Where the client background's tile goes: stretched to the window, stretched along one axis and
// repeated along the other, or repeated unscaled over the client area; and where the logo sits.
// Portable; the form skinning component draws the tile once per rectangle.
#include "skin/skin_geometry.h"

namespace fn {

struct TmnBackgroundInput {
    int TileWidth = 0, TileHeight = 0;
    int WindowWidth = 0, WindowHeight = 0;  // the window's outer size
    int ClientWidth = 0, ClientHeight = 0;
    bool Stretch = false;
    TStretchType StretchType = stFull;
};

// The tile scaled to TileWidth × TileHeight and repeated from (0, 0) over Fill (client
// coordinates; whatever lies outside the client area is clipped). Empty when there is nothing to
// draw (no tile or no client area). A single copy when the tile already covers Fill.
struct TmnBackgroundPlan {
    int TileWidth = 0, TileHeight = 0;
    TSkinRect Fill;
    bool Empty() const { return TileWidth <= 0 || TileHeight <= 0 || Fill.IsEmpty(); }
    bool SingleCopy() const { return Fill.Width() == TileWidth && Fill.Height() == TileHeight; }
};
TmnBackgroundPlan BackgroundPlan(const TmnBackgroundInput& in);

// The logo's place: centred in the client area, each half truncated toward zero, never left of
// or above the client's origin.
TSkinPoint LogoPosition(int clientWidth, int clientHeight, int logoWidth, int logoHeight);

}  // namespace fn
