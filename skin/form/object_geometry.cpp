#include "skin/form/object_geometry.h"

#include <algorithm>

namespace fn {

namespace {

bool WhollyInside(const TSkinRect& r, const TSkinRect& z) {
    return r.Left >= z.Left && r.Top >= z.Top && r.Right <= z.Right && r.Bottom <= z.Bottom;
}

int Clamp(int64_t v) { return ClampToInt(v); }

}  // namespace

TSkinRect BoundedRect(const TSkinRect& r) {
    auto b = [](int v) { return std::clamp(v, -SkinCoordinateLimit, SkinCoordinateLimit); };
    return {b(r.Left), b(r.Top), b(r.Right), b(r.Bottom)};
}

TSkinRect PlaceByCorners(const TSkinRect& r, const TmnCornerFrame& f, int dx, int dy) {
    const TSkinRect lt{0, 0, f.LT.X, f.LT.Y};
    const TSkinRect rt{f.RT.X, 0, f.PictureWidth, f.RT.Y};
    const TSkinRect lb{0, f.LB.Y, f.LB.X, f.PictureHeight};
    const TSkinRect rb{f.RB.X, f.RB.Y, f.PictureWidth, f.PictureHeight};
    auto moved = [&](int mx, int my) {
        return TSkinRect{Clamp(int64_t(r.Left) + mx), Clamp(int64_t(r.Top) + my), Clamp(int64_t(r.Right) + mx),
                         Clamp(int64_t(r.Bottom) + my)};
    };
    if (WhollyInside(r, lt)) return r;
    if (WhollyInside(r, rt)) return moved(dx, 0);
    if (WhollyInside(r, lb)) return moved(0, dy);
    if (WhollyInside(r, rb)) return moved(dx, dy);
    const int l = r.Left, t = r.Top, ri = r.Right, b = r.Bottom;
    const int rdx = Clamp(int64_t(ri) + dx), bdy = Clamp(int64_t(b) + dy);
    if (PointInObject(lt, l, t) && PointInObject(rb, ri, b)) return {l, t, rdx, bdy};
    if (PointInObject(lt, l, t) && PointInObject(rt, ri, b)) return {l, t, rdx, b};
    if (PointInObject(lb, l, t) && PointInObject(rb, ri, b)) return {l, Clamp(int64_t(t) + dy), rdx, bdy};
    if (PointInObject(lt, l, t) && PointInObject(lb, ri, b)) return {l, t, ri, bdy};
    if (PointInObject(rt, l, t) && PointInObject(rb, ri, b)) return {Clamp(int64_t(l) + dx), t, rdx, bdy};
    return r;
}

TSkinRect ImageInPicture(const TSkinRect& r, int w, int h) {
    if (r.Left < 0 || r.Top < 0 || r.Right > w || r.Bottom > h || r.IsEmpty()) return {};
    return r;
}

int WholeFramesBeside(const TSkinRect& first, int w, int h) {
    if (ImageInPicture(first, w, h).IsEmpty()) return 0;
    return (w - first.Left) / first.Width();
}

TSkinRect FrameBeside(const TSkinRect& first, int count, int k) {
    if (first.IsEmpty() || k < 1 || k > count) return {};
    const int64_t left = int64_t(first.Left) + int64_t(k - 1) * first.Width();
    const int64_t right = left + first.Width();
    if (right > INT32_MAX) return {};
    return {static_cast<int>(left), first.Top, static_cast<int>(right), first.Bottom};
}

TmnFrameStrip CaptionFrameStrip(const TSkinRect& strip, const TSkinRect& skinRect, int count, int w, int h) {
    TmnFrameStrip s;
    s.Strip = strip;
    if (count <= 0 || strip.Left < 0 || strip.Top < 0 || strip.IsEmpty()) return s;
    s.Vertical = strip.Height() > int64_t(skinRect.Bottom) - skinRect.Top;
    const int length = s.Vertical ? strip.Height() : strip.Width();
    count = std::min(count, length);  // frames of at least one pixel
    s.Step = length / count;
    // Whole frames inside the picture.
    const int across = s.Vertical ? strip.Right : strip.Bottom;
    if (across > (s.Vertical ? w : h)) return s;
    const int room = (s.Vertical ? h - strip.Top : w - strip.Left);
    if (room <= 0) return s;
    s.Count = std::min({count, room / s.Step, length / s.Step});
    return s;
}

TSkinRect FrameOfStrip(const TmnFrameStrip& s, int k) {
    if (k < 1 || k > s.Count || s.Step <= 0) return {};
    const int offset = s.Step * (k - 1);  // below the strip's length: no overflow
    if (s.Vertical) return {s.Strip.Left, s.Strip.Top + offset, s.Strip.Right, s.Strip.Top + offset + s.Step};
    return {s.Strip.Left + offset, s.Strip.Top, s.Strip.Left + offset + s.Step, s.Strip.Bottom};
}

bool StepFrame(int& frame, int count, bool active) {
    if (active && frame <= count) ++frame;
    else if (!active && frame > 0) --frame;
    else return false;
    return true;
}

TmnFadeStart StartFade(double& factor, bool active, bool morphEnabled, bool animate) {
    if (!morphEnabled) return TmnFadeStart::Redraw;
    if (animate) return TmnFadeStart::Timer;
    factor = active ? 1 : 0;
    return TmnFadeStart::Redraw;
}

TmnStripEnds CaptionStripEnds(const TSkinRect& skinRect, const TSkinPoint& lt, const TSkinPoint& rt) {
    return {std::max(0, lt.X - skinRect.Left), std::max(0, skinRect.Right - rt.X)};
}

TSkinRect CaptionTextArea(const TSkinRect& textRect, int objectWidth, int skinWidth, const TSkinRect& frameRect,
                          const TSkinRect& frameTextRect) {
    if (textRect.IsEmpty()) return {};
    TSkinRect a = textRect;
    a.Right = Clamp(int64_t(a.Right) + objectWidth - skinWidth);
    if (!frameRect.IsEmpty()) {
        a.Left = Clamp(int64_t(a.Left) + frameTextRect.Left);
        a.Top = Clamp(int64_t(a.Top) + frameTextRect.Top);
        a.Right = Clamp(int64_t(a.Right) + frameTextRect.Right - frameRect.Width());
    }
    return a;
}

TmnTextPos CaptionTextPosition(const TSkinRect& area, int alignment, int tw, int th) {
    const int64_t w = int64_t(area.Right) - area.Left, h = int64_t(area.Bottom) - area.Top;
    TmnTextPos p;
    p.Y = Clamp(area.Top + h / 2 - th / 2);
    switch (alignment) {
        case taRightJustify: p.X = Clamp(int64_t(area.Right) - tw); break;
        case taCenter: p.X = Clamp(area.Left + w / 2 - tw / 2); break;
        default: p.X = area.Left; break;
    }
    return p;
}

}  // namespace fn
