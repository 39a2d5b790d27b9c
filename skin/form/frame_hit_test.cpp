#include "skin/form/frame_hit_test.h"

namespace fn {

namespace {

// Rectangles contain their left and top edges but not their right and bottom edges.
bool Inside(const TSkinRect& r, int x, int y) { return r.Left <= x && x < r.Right && r.Top <= y && y < r.Bottom; }

}  // namespace

bool PointOnMask(const TSkinRect& m, int x, int y, const TmnMaskPixel& black) {
    if (Inside(m, x, y)) return true;
    if (y <= m.Top) return black(msTop, x, y);
    if (y < m.Bottom) return x < m.Left ? black(msLeft, x, y - m.Top) : black(msRight, x - m.Right, y - m.Top);
    return black(msBottom, x, y - m.Bottom);
}

namespace {

// Whether a point lies within the border width of the window's outline: without a mask, of the
// window rectangle; with one, of the mask's edge (never inside the mask rectangle).
bool NearEdge(const TmnFrameGeometry& g, const TmnHitState& s, int x, int y, const TmnMaskPixel& black) {
    const int b = s.BorderWidth;
    const int px[4] = {x - b, x, x + b, x}, py[4] = {y, y - b, y, y + b};
    if (!black) {
        const TSkinRect window{0, 0, s.Width, s.Height};
        for (int i = 0; i < 4; ++i)
            if (!Inside(window, px[i], py[i])) return true;
        return false;
    }
    if (Inside(g.NewMaskRect, x, y)) return false;
    for (int i = 0; i < 4; ++i)
        if (!PointOnMask(g.NewMaskRect, px[i], py[i], black)) return true;
    return false;
}

}  // namespace

int SkinnedHitTest(const TmnFrameGeometry& g, const TmnHitState& s, int x, int y,
                   const std::function<bool(int x, int y)>& onCaption, const TmnMaskPixel& black) {
    const bool caption = onCaption && onCaption(x, y);
    if (!s.RolledUp && !s.Minimized) {
        const bool sizable = !s.Maximized && s.Resizable;
        const bool nearEdge = sizable && NearEdge(g, s, x, y, black);
        // At the corners sizing wins over a caption button reaching into the sizing border: a
        // press aimed at the corner must size the window, never run the button's command.
        if (nearEdge) {
            if (x <= g.HitLT.X && y <= g.HitLT.Y) return htTopLeft;
            if (x >= g.HitRT.X && y <= g.HitRT.Y) return htTopRight;
            if (x <= g.HitLB.X && y >= g.HitLB.Y) return htBottomLeft;
            if (x >= g.HitRB.X && y >= g.HitRB.Y) return htBottomRight;
        }
        if (s.ObjectActive && !caption && !Inside(g.NewClientRect, x, y) && !s.InSizeMove) return htObject;
        if (sizable) {
            if (!nearEdge) {
                if (Inside(g.NewClientRect, x, y)) return htClient;
                return caption ? htCaption : htObject;
            }
            if (Inside({g.HitLT.X, 0, g.HitRT.X, g.NewClientRect.Top}, x, y)) return htTop;
            if (Inside({g.HitLB.X, g.NewClientRect.Bottom, g.HitRB.X, s.Height}, x, y)) return htBottom;
            if (Inside({0, g.HitLT.Y, g.NewClientRect.Left, g.HitLB.Y}, x, y)) return htLeft;
            if (Inside({g.NewClientRect.Right, g.HitRT.Y, s.Width, g.HitRB.Y}, x, y)) return htRight;
        }
        if (Inside(g.NewClientRect, x, y)) return htClient;
    }
    return caption ? htCaption : htObject;
}

int BuiltInHitTest(const TmnBuiltInFrame& f, const TmnHitState& s, int x, int y) {
    const int w = s.Width, h = s.Height;
    if (!s.Maximized && !s.RolledUp && !s.Minimized && s.Resizable) {
        if (s.ObjectActive) return htObject;
        if (x <= 2 && y <= 2) return htTopLeft;
        if (x >= w - 2 && y <= 2) return htTopRight;
        if (x <= 2 && y >= h - 2) return htBottomLeft;
        if (x >= w - 2 && y >= h - 2) return htBottomRight;
        if (x <= 2) return htLeft;
        if (y <= 2) return htTop;
        if (x >= w - 2) return htRight;
        if (y >= h - 2) return htBottom;
    }
    if (Inside(f.CaptionArea, x, y)) return htCaption;
    if (Inside(f.Client, x, y)) return htClient;
    return htObject;
}

}  // namespace fn
