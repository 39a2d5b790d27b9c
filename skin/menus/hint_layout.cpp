#include "skin/menus/hint_layout.h"

#include <algorithm>

namespace fn {

THintGeometry UnskinnedHintGeometry(int textWidth, int textHeight) {
    THintGeometry g;
    g.Width = std::max(0, textWidth) + 4;
    g.Height = std::max(0, textHeight) + 4;
    g.NewClientRect = {2, 2, g.Width - 2, g.Height - 2};
    return g;
}

THintGeometry SkinnedHintGeometry(int textWidth, int textHeight, int pictureWidth, int pictureHeight,
                                  const TSkinRect& c, TSkinPoint lt, TSkinPoint rt, TSkinPoint lb,
                                  TSkinPoint rb) {
    THintGeometry g;
    g.Width = std::max(textWidth + c.Left + pictureWidth - c.Right, pictureWidth);
    g.Height = std::max(textHeight + c.Top + pictureHeight - c.Bottom, pictureHeight);
    const int dx = g.Width - pictureWidth, dy = g.Height - pictureHeight;
    g.NewClientRect = {c.Left, c.Top, c.Right + dx, c.Bottom + dy};
    g.NewLTPoint = lt;
    g.NewRTPoint = {rt.X + dx, rt.Y};
    g.NewLBPoint = {lb.X, lb.Y + dy};
    g.NewRBPoint = {rb.X + dx, rb.Y + dy};
    return g;
}

void PlaceHint(int x, int y, int w, int h, const TSkinRect& area, int& left, int& top) {
    left = x;
    top = y;
    if (left + w > area.Right) left -= w + 2;
    if (top + h > area.Bottom) top -= h + 2;
    left = std::max(area.Left, std::min(left, area.Right - w));
    top = std::max(area.Top, std::min(top, area.Bottom - h));
}

int CursorHeightBelowHotSpot(const uint8_t* bits, size_t size, int width, int height, int hotSpotY,
                             int systemCursorHeight) {
    if (!bits || width <= 0 || height <= 0) return systemCursorHeight - hotSpotY;
    const size_t rowBytes = ((static_cast<size_t>(width) + 31) / 32) * 4;
    // The AND mask is the first width rows of the bottom-up bitmap data only when the mask is
    // square; for a monochrome cursor the top half in screen terms is the end of the data.
    const size_t square = std::min(size, rowBytes * static_cast<size_t>(std::min(width, height)));
    const bool twoHalves = height >= 2 * width;
    // Bottom-up rows: the screen's top rows of the AND half are the last bytes of the data.
    const size_t andStart = twoHalves ? size - std::min(size, square) : 0;
    // Scan the AND half from the bottom of the picture (data start) for the first opaque byte.
    size_t firstOpaque = square;
    for (size_t i = 0; i < square; ++i)
        if (bits[andStart + i] != 0xFF) { firstOpaque = i; break; }
    size_t remaining = square - std::min(square, firstOpaque);
    if (firstOpaque == square && twoHalves) {
        // Nothing opaque in the AND half: the XOR half (below it on screen) carries the picture.
        const size_t xorSize = size - square;
        size_t firstSet = xorSize;
        for (size_t i = 0; i < xorSize; ++i)
            if (bits[i] != 0) { firstSet = i; break; }
        remaining = xorSize - std::min(xorSize, firstSet);
    }
    if (remaining == 0) return systemCursorHeight - hotSpotY;
    const int rows = static_cast<int>((remaining + rowBytes - 1) / rowBytes);
    return std::max(0, rows - hotSpotY);
}

}  // namespace fn
