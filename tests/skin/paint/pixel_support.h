#pragma once
// Test support for portable pictures: random content and pixel comparison.
#include <cstring>
#include <random>

#include "skin/paint/plan_painter.h"

namespace fn::test {

inline void FillRandom(TPixelBuffer& b, unsigned seed) {
    std::mt19937 rng(seed);
    for (int y = 0; y < b.Height; ++y)
        for (int i = 0; i < 3 * b.Width; ++i) b.RowPointer(y)[i] = static_cast<uint8_t>(rng());
}

inline bool SamePixel(const TPixelBuffer& a, int ax, int ay, const TPixelBuffer& b, int bx, int by) {
    return std::memcmp(a.PixelPointer(ax, ay), b.PixelPointer(bx, by), 3) == 0;
}

inline void PaintPlan(const TBlitPlan& plan, const TPixelBuffer& src, TPixelBuffer& dst) {
    fn::PaintPlan(plan, View(src), View(dst));
}

}  // namespace fn::test
