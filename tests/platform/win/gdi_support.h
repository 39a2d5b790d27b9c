#pragma once
// Test support for pixel checks on the 24-bit bitmaps under the platform.
#include <set>
#include <utility>

#include "platform/win/graphics.h"

namespace fn::test {

inline COLORREF At(const TBitmap& b, int x, int y) {
    const uint8_t* p = b.ScanLine(y) + 3 * x;
    return RGB(p[2], p[1], p[0]);
}

inline void Put(TBitmap& b, int x, int y, COLORREF c) {
    uint8_t* p = b.ScanLine(y) + 3 * x;
    p[0] = GetBValue(c);
    p[1] = GetGValue(c);
    p[2] = GetRValue(c);
}

inline void Fill(TBitmap& b, TColor c) {
    b.Canvas().Brush().SetColor(c);
    b.Canvas().FillRect({0, 0, b.Width(), b.Height()});
}

using PixelSet = std::set<std::pair<int, int>>;

// Pixels of b that are not white.
inline PixelSet Marked(const TBitmap& b) {
    PixelSet s;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (At(b, x, y) != RGB(255, 255, 255)) s.insert({x, y});
    return s;
}

}  // namespace fn::test
