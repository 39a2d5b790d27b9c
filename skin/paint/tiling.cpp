#include "skin/paint/tiling.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace fn {

namespace {

// Spans are limited to what can show in an image of this many pixels along an axis, so that
// absurd skin points cannot make a plan of unbounded length.
constexpr int kNoLimit = INT_MAX;

std::vector<TSpan> VisibleTiles(int s, int e, int t, int limit) {
    std::vector<TSpan> spans;
    if (t <= 0) return spans;
    const int64_t q = (static_cast<int64_t>(e) - s) / t;
    if (q < 0) return spans;
    // Tiles that end at or before 0, or start past the limit, cannot show.
    const int64_t first = s < 0 ? std::min<int64_t>(q, -static_cast<int64_t>(s) / t) : 0;
    const int64_t last = std::min<int64_t>(q, (static_cast<int64_t>(limit) - s) / t);
    for (int64_t k = first; k <= last; ++k) {
        const int64_t start = s + k * t;
        const int64_t end = std::max(start, std::min<int64_t>(start + t, e));
        spans.push_back({static_cast<int>(start), static_cast<int>(end)});
    }
    return spans;
}

void Add(TBlitPlan& plan, const TSkinRect& src, const TSkinRect& dst, const TSkinRect& clip = {}) {
    if (src.IsEmpty() || dst.IsEmpty()) return;
    plan.push_back({src, dst, clip});
}

// Tiles of the source piece (its width is the tile length) across dst's columns, cut at dst.Right.
void AddTilesH(TBlitPlan& plan, const TSkinRect& src, const TSkinRect& dst, int limit) {
    for (const TSpan& s : VisibleTiles(dst.Left, dst.Right, src.Width(), limit))
        Add(plan, {src.Left, src.Top, src.Left + s.End - s.Start, src.Bottom},
            {s.Start, dst.Top, s.End, dst.Bottom});
}

void AddTilesV(TBlitPlan& plan, const TSkinRect& src, const TSkinRect& dst, int limit) {
    for (const TSpan& s : VisibleTiles(dst.Top, dst.Bottom, src.Height(), limit))
        Add(plan, {src.Left, src.Top, src.Right, src.Top + s.End - s.Start},
            {dst.Left, s.Start, dst.Right, s.End});
}

void AddEdgeH(TBlitPlan& plan, bool stretch, const TSkinRect& src, const TSkinRect& dst, int limit) {
    if (stretch)
        Add(plan, src, dst);
    else
        AddTilesH(plan, src, dst, limit);
}

void AddEdgeV(TBlitPlan& plan, bool stretch, const TSkinRect& src, const TSkinRect& dst, int limit) {
    if (stretch)
        Add(plan, src, dst);
    else
        AddTilesV(plan, src, dst, limit);
}

void AddClient(TBlitPlan& plan, const TSkinRect& piece, const TSkinRect& ncl, int aw, int ah,
               bool clientStretch, int stretchType) {
    const int w = piece.Width(), h = piece.Height();
    if (w <= 0 || h <= 0) return;
    if (clientStretch) {
        if (ncl.IsEmpty()) return;
        if (stretchType == stFull) {
            Add(plan, piece, ncl);
        } else if (stretchType == stHorz) {
            for (const TSpan& s : VisibleTiles(ncl.Left, ncl.Right, w, aw))
                Add(plan, piece, {s.Start, ncl.Top, s.Start + w, ncl.Bottom}, ncl);
        } else if (stretchType == stVert) {
            for (const TSpan& s : VisibleTiles(ncl.Top, ncl.Bottom, h, ah))
                Add(plan, piece, {ncl.Left, s.Start, ncl.Right, s.Start + h}, ncl);
        }
        return;
    }
    // Tiles do not overlap, so they are listed band by band, which keeps the copies of a band
    // of rows together in memory.
    const std::vector<TSpan> cols = VisibleTiles(ncl.Left, ncl.Right, w, aw);
    for (const TSpan& row : VisibleTiles(ncl.Top, ncl.Bottom, h, ah))
        for (const TSpan& col : cols)
            Add(plan,
                {piece.Left, piece.Top, piece.Left + col.End - col.Start, piece.Top + row.End - row.Start},
                {col.Start, row.Start, col.End, row.End});
}

}  // namespace

std::vector<TSpan> TileSpans(int s, int e, int t) { return VisibleTiles(s, e, t, kNoLimit); }

TBlitPlan NinePartPlan(const TFrameGeometry& g, const TFrameGeometry& n, const TSkinRect& r, int aw,
                       int ah, bool drawClient, TStretchFlags stretch, bool clientStretch,
                       int stretchType) {
    TBlitPlan plan;
    if (g.RB.X == g.LT.X || g.RB.Y == g.LT.Y) return plan;
    const int w = r.Width(), h = r.Height();
    auto src = [&](int l, int t, int rr, int b) { return MovedRect({l, t, rr, b}, r.Left, r.Top); };
    const TSkinRect& cl = g.Cl;
    const TSkinRect& ncl = n.Cl;

    AddEdgeH(plan, stretch.Top, src(g.LT.X, 0, g.RT.X, cl.Top), {n.LT.X, 0, n.RT.X, ncl.Top}, aw);
    AddEdgeH(plan, stretch.Bottom, src(g.LB.X, cl.Bottom, g.RB.X, h),
             {n.LB.X, ncl.Bottom, n.RB.X, ah}, aw);
    AddEdgeV(plan, stretch.Left, src(0, g.LT.Y, cl.Left, g.LB.Y), {0, n.LT.Y, ncl.Left, n.LB.Y}, ah);
    AddEdgeV(plan, stretch.Right, src(cl.Right, g.RT.Y, w, g.RB.Y),
             {ncl.Right, n.RT.Y, aw, n.RB.Y}, ah);

    Add(plan, src(0, 0, g.LT.X, cl.Top), {0, 0, n.LT.X, ncl.Top});
    Add(plan, src(0, cl.Top, cl.Left, g.LT.Y), {0, ncl.Top, ncl.Left, n.LT.Y});
    Add(plan, src(g.RT.X, 0, w, cl.Top), {n.RT.X, 0, aw, ncl.Top});
    Add(plan, src(cl.Right, cl.Top, w, g.RT.Y), {ncl.Right, ncl.Top, aw, n.RT.Y});
    Add(plan, src(0, g.LB.Y, cl.Left, h), {0, n.LB.Y, ncl.Left, ah});
    Add(plan, src(cl.Left, cl.Bottom, g.LB.X, h), {ncl.Left, ncl.Bottom, n.LB.X, ah});
    Add(plan, src(g.RB.X, cl.Bottom, w, h), {n.RB.X, ncl.Bottom, aw, ah});
    Add(plan, src(cl.Right, g.RB.Y, w, cl.Bottom), {ncl.Right, n.RB.Y, aw, ncl.Bottom});

    if (drawClient)
        AddClient(plan, MovedRect(cl, r.Left, r.Top), ncl, aw, ah, clientStretch, stretchType);
    return plan;
}

namespace {

// The left or right image of a frame border: ends at the outer edges, middle tiled from y = 0.
TImagePlan SideImage(int srcLeft, int srcRight, int width, int sh, const TSkinPoint& top,
                     const TSkinPoint& bottom, const TSkinRect& cl, const TSkinRect& r, bool stretch) {
    TImagePlan img;
    img.Built = true;
    img.Width = width;
    img.Height = sh;
    auto src = [&](int t, int b) { return MovedRect({srcLeft, t, srcRight, b}, r.Left, r.Top); };
    const int head = top.Y - cl.Top;        // rows of the upper end piece
    const int tail = cl.Bottom - bottom.Y;  // rows of the lower end piece
    if (stretch)
        Add(img.Plan, src(top.Y, bottom.Y), {0, head, width, sh - tail});
    else
        AddTilesV(img.Plan, src(top.Y, bottom.Y), {0, 0, width, sh}, sh);
    if (head > 0) Add(img.Plan, src(cl.Top, top.Y), {0, 0, width, head});
    if (tail > 0) Add(img.Plan, src(bottom.Y, cl.Bottom), {0, sh - tail, width, sh});
    return img;
}

}  // namespace

TBorderPlans BorderImagePlans(const TFrameGeometry& g, const TFrameGeometry& n, const TSkinRect& r,
                              int aw, int ah, TStretchFlags stretch, int topHeightBefore,
                              int bottomHeightBefore) {
    TBorderPlans p;
    const int w = r.Width(), h = r.Height();
    auto src = [&](int l, int t, int rr, int b) { return MovedRect({l, t, rr, b}, r.Left, r.Top); };
    const TSkinRect& cl = g.Cl;
    const TSkinRect& ncl = n.Cl;

    int th = topHeightBefore;
    if (aw > 0 && ncl.Top > 0 && g.RT.X - g.LT.X > 0) {
        TImagePlan& img = p.Top;
        img = {true, aw, ncl.Top, {}};
        th = ncl.Top;
        if (stretch.Top)
            Add(img.Plan, src(g.LT.X, 0, g.RT.X, th), {n.LT.X, 0, n.RT.X, th});
        else
            AddTilesH(img.Plan, src(g.LT.X, 0, g.RT.X, th), {0, 0, aw, th}, aw);
        Add(img.Plan, src(0, 0, g.LT.X, th), {0, 0, n.LT.X, th});
        Add(img.Plan, src(g.RT.X, 0, w, th), {n.RT.X, 0, aw, th});
    }
    int bh = bottomHeightBefore;
    if (aw > 0 && ah - ncl.Bottom > 0 && g.RB.X - g.LB.X > 0) {
        TImagePlan& img = p.Bottom;
        bh = ah - ncl.Bottom;
        img = {true, aw, bh, {}};
        if (stretch.Bottom)
            Add(img.Plan, src(g.LB.X, h - bh, g.RB.X, h), {n.LB.X, 0, n.RB.X, bh});
        else
            AddTilesH(img.Plan, src(g.LB.X, h - bh, g.RB.X, h), {0, 0, aw, bh}, aw);
        Add(img.Plan, src(0, h - bh, g.LB.X, h), {0, 0, n.LB.X, bh});
        Add(img.Plan, src(g.RB.X, h - bh, w, h), {n.RB.X, 0, aw, bh});
    }
    const int sh = ah - bh - th;
    if (ncl.Left > 0 && sh > 0 && g.LB.Y - g.LT.Y > 0)
        p.Left = SideImage(0, ncl.Left, ncl.Left, sh, g.LT, g.LB, cl, r, stretch.Left);
    const int rw = aw - ncl.Right;
    if (rw >= 1 && sh >= 1 && g.RB.Y - g.RT.Y >= 1)
        p.Right = SideImage(cl.Right, w, rw, sh, g.RT, g.RB, cl, r, stretch.Right);
    return p;
}

TBlitPlan HStripPlan(int lo, int ro, const TSkinRect& r, int aw, bool stretch) {
    TBlitPlan plan;
    if (lo != 0) Add(plan, {r.Left, r.Top, r.Left + lo, r.Bottom}, {0, 0, lo, r.Height()});
    if (ro != 0) Add(plan, {r.Right - ro, r.Top, r.Right, r.Bottom}, {aw - ro, 0, aw, r.Height()});
    int d = r.Width() - lo - ro;
    if (d == 0) d = 1;
    const TSkinRect middle{r.Left + lo, r.Top, r.Left + lo + d, r.Bottom};
    AddEdgeH(plan, stretch, middle, {lo, 0, aw - ro, r.Height()}, aw);
    return plan;
}

TBlitPlan VStripPlan(int to, int bo, const TSkinRect& r, int ah, bool stretch) {
    TBlitPlan plan;
    if (to != 0) Add(plan, {r.Left, r.Top, r.Right, r.Top + to}, {0, 0, r.Width(), to});
    if (bo != 0) Add(plan, {r.Left, r.Bottom - bo, r.Right, r.Bottom}, {0, ah - bo, r.Width(), ah});
    const int d = r.Height() - to - bo;
    const TSkinRect middle{r.Left, r.Top + to, r.Right, r.Top + to + d};
    AddEdgeV(plan, stretch, middle, {0, to, r.Width(), ah - bo}, ah);
    return plan;
}

namespace {

TImagePlan MaskSide(int srcLeft, int srcRight, int nh, const TSkinPoint& top, const TSkinPoint& bottom,
                    const TSkinRect& cl) {
    TImagePlan img{true, srcRight - srcLeft, nh, {}};
    if (bottom.Y != top.Y)
        AddTilesV(img.Plan, {srcLeft, top.Y, srcRight, bottom.Y}, {0, 0, img.Width, nh}, nh);
    const int head = top.Y - cl.Top, tail = cl.Bottom - bottom.Y;
    if (head > 0) Add(img.Plan, {srcLeft, cl.Top, srcRight, top.Y}, {0, 0, img.Width, head});
    if (tail > 0) Add(img.Plan, {srcLeft, bottom.Y, srcRight, cl.Bottom}, {0, nh - tail, img.Width, nh});
    return img;
}

TImagePlan MaskBand(int srcTop, int srcBottom, int aw, int ml, int mr, int nml, int nmr,
                    int maskWidth) {
    const int bandH = srcBottom - srcTop;
    TImagePlan img{true, aw, bandH, {}};
    if (mr != ml) AddTilesH(img.Plan, {ml, srcTop, mr, srcBottom}, {nml, 0, nmr, bandH}, aw);
    Add(img.Plan, {0, srcTop, ml, srcBottom}, {0, 0, ml, bandH});
    Add(img.Plan, {mr, srcTop, maskWidth, srcBottom}, {nmr, 0, aw, bandH});
    return img;
}

}  // namespace

TBorderPlans MaskStripPlans(const TFrameGeometry& g, const TFrameGeometry& n, int maskWidth,
                            int maskHeight, int aw) {
    TBorderPlans p;
    const TSkinRect& cl = g.Cl;
    const int nh = n.Cl.Height();
    if (cl.Left > 0 && nh > 0) p.Left = MaskSide(0, cl.Left, nh, g.LT, g.LB, cl);
    if (maskWidth - cl.Right > 0 && nh > 0) p.Right = MaskSide(cl.Right, maskWidth, nh, g.RT, g.RB, cl);
    if (aw > 0 && cl.Top > 0) p.Top = MaskBand(0, cl.Top, aw, g.LT.X, g.RT.X, n.LT.X, n.RT.X, maskWidth);
    if (aw >= 1 && maskHeight - cl.Bottom >= 1)
        p.Bottom = MaskBand(cl.Bottom, maskHeight, aw, g.LB.X, g.RB.X, n.LB.X, n.RB.X, maskWidth);
    return p;
}

TSkinRect GlyphFrameRect(int stripWidth, int stripHeight, int count, int g) {
    if (stripWidth <= 0 || stripHeight <= 0 || count <= 0) return {};
    const int gw = stripWidth / count;
    return {(g - 1) * gw, 0, g * gw, stripHeight};
}

}  // namespace fn
