#include "skin/paint/plan_painter.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace fn {

namespace {

// The source coordinate under the centre of target pixel i of a span of dn pixels copied
// from a source span of sn pixels.
inline int Nearest(int i, int sn, int dn) {
    return static_cast<int>((static_cast<int64_t>(2 * i + 1) * sn) / (2 * static_cast<int64_t>(dn)));
}

void PaintBlit(const TBlit& b, const TPixelView& src, const TPixelView& dst) {
    const int sw = b.Src.Width(), sh = b.Src.Height();
    const int dw = b.Dst.Width(), dh = b.Dst.Height();
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
    TSkinRect area = b.Dst;
    if (!b.Clip.IsEmpty()) {
        area.Left = std::max(area.Left, b.Clip.Left);
        area.Top = std::max(area.Top, b.Clip.Top);
        area.Right = std::min(area.Right, b.Clip.Right);
        area.Bottom = std::min(area.Bottom, b.Clip.Bottom);
    }
    area.Left = std::max(area.Left, 0);
    area.Top = std::max(area.Top, 0);
    area.Right = std::min(area.Right, dst.Width);
    area.Bottom = std::min(area.Bottom, dst.Height);
    if (area.IsEmpty()) return;

    if (sw == dw) {
        // Columns map one to one: keep those whose source column exists.
        const int shift = b.Src.Left - b.Dst.Left;
        const int left = std::max(area.Left, -shift), right = std::min(area.Right, src.Width - shift);
        if (left >= right) return;
        for (int y = area.Top; y < area.Bottom; ++y) {
            const int sy = b.Src.Top + (sh == dh ? y - b.Dst.Top : Nearest(y - b.Dst.Top, sh, dh));
            if (sy < 0 || sy >= src.Height) continue;
            std::memcpy(dst.Row(y) + 3 * left, src.Row(sy) + 3 * (left + shift), 3 * static_cast<size_t>(right - left));
        }
        return;
    }
    std::vector<int> columns(static_cast<size_t>(area.Right - area.Left));
    for (int x = area.Left; x < area.Right; ++x)
        columns[static_cast<size_t>(x - area.Left)] = b.Src.Left + Nearest(x - b.Dst.Left, sw, dw);
    int lastY = -1, lastSy = -1;
    for (int y = area.Top; y < area.Bottom; ++y) {
        const int sy = b.Src.Top + (sh == dh ? y - b.Dst.Top : Nearest(y - b.Dst.Top, sh, dh));
        if (sy < 0 || sy >= src.Height) continue;
        uint8_t* to = dst.Row(y);
        if (sy == lastSy) {  // an enlarged row repeats the one before
            std::memcpy(to + 3 * area.Left, dst.Row(lastY) + 3 * area.Left, 3 * static_cast<size_t>(area.Right - area.Left));
            lastY = y;
            continue;
        }
        const uint8_t* from = src.Row(sy);
        for (int x = area.Left; x < area.Right; ++x) {
            const int sx = columns[static_cast<size_t>(x - area.Left)];
            if (sx >= 0 && sx < src.Width) {
                to[3 * x] = from[3 * sx];
                to[3 * x + 1] = from[3 * sx + 1];
                to[3 * x + 2] = from[3 * sx + 2];
            }
        }
        lastY = y;
        lastSy = sy;
    }
}

}  // namespace

void PaintPlan(const TBlitPlan& plan, const TPixelView& source, const TPixelView& target) {
    if (!source.Bits || !target.Bits) return;
    for (const TBlit& b : plan) PaintBlit(b, source, target);
}

void FillWhite(const TPixelView& picture) {
    for (int y = 0; y < picture.Height; ++y) std::memset(picture.Row(y), 0xFF, 3 * static_cast<size_t>(picture.Width));
}

}  // namespace fn
