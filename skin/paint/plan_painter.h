#pragma once
// Carrying out a copy plan on 24-bit pictures in memory: the skin's images and mask strips are
// built by whole-rectangle copies between rows, without a platform call per piece.
#include <cstdint>

#include "skin/paint/pixel_buffer.h"
#include "skin/paint/tiling.h"

namespace fn {

// Rows of 3-byte pixels (blue, green, red) somewhere in memory.
struct TPixelView {
    uint8_t* Bits = nullptr;
    int Width = 0, Height = 0, RowStride = 0;
    uint8_t* Row(int y) const { return Bits + static_cast<ptrdiff_t>(y) * RowStride; }
};

inline TPixelView View(TPixelBuffer& b) { return {b.Bits, b.Width, b.Height, b.RowStride}; }
inline TPixelView View(const TPixelBuffer& b) { return {const_cast<uint8_t*>(b.Bits), b.Width, b.Height, b.RowStride}; }

// Copies of equal size are exact; a stretched copy takes, for each target pixel, the source
// pixel under its centre. Target pixels outside the clip or whose source lies outside the
// source picture are left as they are. Source and target must be different pictures.
void PaintPlan(const TBlitPlan& plan, const TPixelView& source, const TPixelView& target);

// Sets every pixel of the picture to white.
void FillWhite(const TPixelView& picture);

}  // namespace fn
