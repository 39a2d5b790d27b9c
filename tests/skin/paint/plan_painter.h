#pragma once
// Test support: carries out a copy plan on portable 24-bit buffers (nearest-pixel stretching),
// so that the geometry can be checked pixel by pixel without a platform.
#include <algorithm>
#include <cstring>
#include <random>

#include "skin/paint/pixel_buffer.h"
#include "skin/paint/tiling.h"

namespace fn::test {

inline void PaintPlan(const TBlitPlan& plan, const TPixelBuffer& src, TPixelBuffer& dst) {
    for (const TBlit& b : plan) {
        TSkinRect area = b.Dst;
        if (!RectIsEmpty(b.Clip)) {
            area.Left = std::max(area.Left, b.Clip.Left);
            area.Top = std::max(area.Top, b.Clip.Top);
            area.Right = std::min(area.Right, b.Clip.Right);
            area.Bottom = std::min(area.Bottom, b.Clip.Bottom);
        }
        const int dw = RectWidth(b.Dst), dh = RectHeight(b.Dst);
        const int sw = RectWidth(b.Src), sh = RectHeight(b.Src);
        for (int y = std::max(area.Top, 0); y < std::min(area.Bottom, dst.Height); ++y)
            for (int x = std::max(area.Left, 0); x < std::min(area.Right, dst.Width); ++x) {
                const int sx = b.Src.Left + (x - b.Dst.Left) * sw / dw;
                const int sy = b.Src.Top + (y - b.Dst.Top) * sh / dh;
                if (sx < 0 || sy < 0 || sx >= src.Width || sy >= src.Height) continue;
                std::memcpy(dst.PixelPointer(x, y), src.PixelPointer(sx, sy), 3);
            }
    }
}

inline void FillRandom(TPixelBuffer& b, unsigned seed) {
    std::mt19937 rng(seed);
    for (int y = 0; y < b.Height; ++y)
        for (int i = 0; i < 3 * b.Width; ++i) b.RowPointer(y)[i] = static_cast<uint8_t>(rng());
}

inline bool SamePixel(const TPixelBuffer& a, int ax, int ay, const TPixelBuffer& b, int bx, int by) {
    return std::memcmp(a.PixelPointer(ax, ay), b.PixelPointer(bx, by), 3) == 0;
}

}  // namespace fn::test
