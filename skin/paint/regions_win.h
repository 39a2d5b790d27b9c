#pragma once
// Window regions from mask pictures: black pixels are inside.
#include "platform/win/graphics.h"
#include "skin/paint/region_data.h"
#include "skin/paint/tiling.h"

namespace fn {

// The mask scan of a platform bitmap (see the portable MaskToRegionData).
TRegionData MaskToRegionData(const TBitmap& mask, int dx, int dy);
// ExtCreateRegion from a region data block; none for an empty block.
TRegionHandle RegionFromData(const TRegionData& data);
// Region of the whole mask at (0, 0).
TRegionHandle BuildMaskRegion(const TBitmap& mask);
// The four border strips of the frame mask resized for a window aw wide.
void BuildMaskStrips(const TFrameGeometry& g, const TFrameGeometry& n, TBitmap& mask, int aw,
                     TBitmap& bottom, TBitmap& right, TBitmap& left, TBitmap& top);
// Region of the resized frame: the new client rectangle united with the strips' regions; none
// for a degenerate frame or an empty client rectangle.
TRegionHandle BuildFrameRegion(const TFrameGeometry& g, const TFrameGeometry& n, TBitmap& mask,
                               int aw, int ah);

// Gives window the region (none: the window loses its shape). The owner keeps the region until
// the system takes it, which deletes the window's previous one; a refused region is deleted
// with its owner. False when the window refused it.
bool SetWindowRegion(HWND window, TRegionHandle region, bool redraw);
// The same without repainting the window all, repainting exactly what the change shows or
// uncovers: what the window gains is painted by the window (frame, client and controls), what
// it loses by its parent and the siblings below (the display system exposes what lies behind a
// top-level window).
bool SetWindowRegionRepainting(HWND window, TRegionHandle region);

}  // namespace fn
