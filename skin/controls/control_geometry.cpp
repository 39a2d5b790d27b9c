#include "skin/controls/control_geometry.h"

namespace fn {

TResizeMode ResizeModeOf(const TSkinRect& skinRect, const TFrameGeometry& g) {
    if (skinRect.IsEmpty()) return rmNone;
    if (g.RB.X != 0 && g.RB.Y != 0) return rmBoth;
    if (g.RT.X != 0 || g.RT.Y != 0) return rmHorizontal;
    if (g.LB.X != 0 || g.LB.Y != 0) return rmVertical;
    return rmFixed;
}

TSkinSize CalcSkinSize(TResizeMode mode, const TFrameGeometry& g, const TSkinRect& skinRect, int width,
                       int height) {
    const int dW = width - skinRect.Width(), dH = height - skinRect.Height();
    switch (mode) {
        case rmFixed: return {skinRect.Width(), skinRect.Height(), g};
        case rmBoth: return {width, height, ResizeGeometry(g, dW, dH)};
        case rmHorizontal: return {width, skinRect.Height(), ResizeGeometry(g, dW, 0)};
        case rmVertical: return {skinRect.Width(), height, ResizeGeometry(g, 0, dH)};
        default: return {width, height, g};
    }
}

TSkinRect MapSkinRect(TResizeMode mode, const TFrameGeometry& g, const TSkinRect& skinRect, int width,
                      int height, const TSkinRect& r) {
    const int w = skinRect.Width(), h = skinRect.Height();
    const int dW = width - w, dH = height - h;
    TSkinRect m = r;
    switch (mode) {
        case rmBoth: {
            const TSkinRect tl{0, 0, g.LT.X, g.LT.Y}, bl{0, g.LB.Y, g.LB.X, h};
            const TSkinRect tr{g.RT.X, 0, w, g.RT.Y}, br{g.RB.X, g.RB.Y, w, h};
            if (RectInsideRect(r, tl)) return r;
            if (RectInsideRect(r, tr)) return MovedRect(r, dW, 0);
            if (RectInsideRect(r, bl)) return MovedRect(r, 0, dH);
            if (RectInsideRect(r, br)) return MovedRect(r, dW, dH);
            const TSkinPoint p{r.Left, r.Top}, q{r.Right, r.Bottom};
            if (PointInsideRect(p, tl) && PointInsideRect(q, br)) {
                m.Right += dW;
                m.Bottom += dH;
            } else if (PointInsideRect(p, tl) && PointInsideRect(q, tr)) {
                m.Right += dW;
            } else if (PointInsideRect(p, bl) && PointInsideRect(q, br)) {
                m = MovedRect(r, 0, dH);
                m.Right += dW;
            } else if (PointInsideRect(p, tl) && PointInsideRect(q, bl)) {
                m.Bottom += dH;
            } else if (PointInsideRect(p, tr) && PointInsideRect(q, br)) {
                m = MovedRect(r, dW, 0);
                m.Bottom += dH;
            }
            return m;
        }
        case rmHorizontal:
            if (r.Left <= g.LT.X && r.Right >= g.RT.X) m.Right += dW;
            else if (r.Left >= g.RT.X && r.Right > g.RT.X) m = MovedRect(r, dW, 0);
            return m;
        case rmVertical:
            if (r.Top <= g.LT.Y && r.Bottom >= g.LB.Y) m.Bottom += dH;
            else if (r.Top >= g.LB.Y && r.Bottom > g.LB.Y) m = MovedRect(r, 0, dH);
            return m;
        default: return r;
    }
}

TRegionGeometry RegionGeometry(TResizeMode mode, const TFrameGeometry& g, const TSkinRect& skinRect, int width,
                               int height) {
    TRegionGeometry rg{g, CalcSkinSize(mode, g, skinRect, width, height).New};
    if (mode == rmHorizontal) {
        rg.Old.LB = g.LT;
        rg.Old.RB = g.RT;
        rg.New.LT = rg.New.LB = g.LT;
        rg.New.RT = rg.New.RB = {width + g.RT.X - skinRect.Width(), g.RT.Y};
    } else if (mode == rmVertical) {
        rg.Old.RT = g.LT;
        rg.Old.RB = g.LB;
        rg.New.LT = rg.New.RT = g.LT;
        rg.New.LB = rg.New.RB = {g.LB.X, height + g.LB.Y - skinRect.Height()};
    }
    return rg;
}

bool InsidePicture(const TSkinRect& r, int pictureWidth, int pictureHeight) {
    return !r.IsEmpty() && r.Left >= 0 && r.Top >= 0 && r.Right <= pictureWidth && r.Bottom <= pictureHeight;
}

TBackgroundPlan BackgroundPlan(const TSkinRect& skinRect, const TSkinRect& client, const TSkinRect& fill,
                               bool stretchEffect, TStretchType stretchType, int pictureWidth,
                               int pictureHeight) {
    TBackgroundPlan p;
    p.Source = MovedRect(client, skinRect.Left, skinRect.Top);
    p.Fill = fill;
    if (fill.IsEmpty() || !InsidePicture(p.Source, pictureWidth, pictureHeight)) return p;
    p.Draw = true;
    p.TileWidth = client.Width();
    p.TileHeight = client.Height();
    if (stretchEffect) {
        if (stretchType != stVert) p.TileHeight = fill.Height();  // full and across: fill's height
        if (stretchType != stHorz) p.TileWidth = fill.Width();    // full and down: fill's width
    }
    return p;
}

}  // namespace fn
