#pragma once
// The mask scan: black pixels of a mask picture become the rectangles of a window region, in
// the platform's rectangle-list region format (32-byte header, then 16 bytes per rectangle,
// all fields 32-bit little-endian).
#include <cstdint>
#include <vector>

#include "skin/paint/pixel_buffer.h"
#include "skin/paint/plan_painter.h"
#include "skin/paint/rects.h"

namespace fn {

struct TRegionData {
    std::vector<uint8_t> Bytes;  // empty for an empty mask
    int Size() const { return static_cast<int>(Bytes.size()); }
    int RectCount() const;
};

// One rectangle per maximal horizontal run of pure black pixels, rows top to bottom, runs left
// to right, offset by (dx, dy). The run list grows with the mask: there is no cap on the count.
TRegionData MaskToRegionData(const TPixelView& mask, int dx, int dy);
inline TRegionData MaskToRegionData(const TmnFBitmap& mask, int dx, int dy) { return MaskToRegionData(View(mask), dx, dy); }

// The region data block for the given rectangles and bounding rectangle.
TRegionData MakeRegionData(const std::vector<TSkinRect>& rects, const TSkinRect& bounds);

}  // namespace fn
