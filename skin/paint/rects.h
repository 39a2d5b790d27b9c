#pragma once
// Rectangle helpers shared by every skinned element and the frame geometry of a nine-part
// picture. Right and bottom are exclusive.
#include "skin/skin_geometry.h"

namespace fn {

// Rectangles and points are the skin's own (TSkinRect, TSkinPoint, with their Width, Height,
// IsEmpty and IsUnset).
inline TSkinRect MovedRect(const TSkinRect& r, int dx, int dy) {
    return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}

// Right and bottom edges count as inside.
inline bool PointInsideRect(const TSkinPoint& p, const TSkinRect& r) {
    return r.Left <= p.X && p.X <= r.Right && r.Top <= p.Y && p.Y <= r.Bottom;
}
// Both corners of a must lie in b by the half-open point test (right and bottom excluded).
inline bool RectInsideRect(const TSkinRect& a, const TSkinRect& b) {
    auto inside = [&](int x, int y) { return b.Left <= x && x < b.Right && b.Top <= y && y < b.Bottom; };
    return inside(a.Left, a.Top) && inside(a.Right, a.Bottom);
}

// Corner points and client rectangle of a nine-part picture, relative to its source rectangle.
struct TFrameGeometry {
    TSkinPoint LT, RT, LB, RB;
    TSkinRect Cl;
    friend bool operator==(const TFrameGeometry&, const TFrameGeometry&) = default;
};

// The geometry for a target of width + dW by height + dH: every part keeps its distance to its
// nearest outer edges.
TFrameGeometry ResizeGeometry(const TFrameGeometry& g, int dW, int dH);

}  // namespace fn
