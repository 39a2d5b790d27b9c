#include <gtest/gtest.h>

#include "pixel_support.h"
#include "skin/paint/tiling.h"

namespace fn {
namespace {

using test::FillRandom;
using test::PaintPlan;
using test::SamePixel;

TEST(TileSpans, CutsTheLastTileAtTheEndOfTheSpan) {
    EXPECT_EQ(TileSpans(0, 25, 10), (std::vector<TSpan>{{0, 10}, {10, 20}, {20, 25}}));
    // A span of exactly two tiles has an empty third.
    EXPECT_EQ(TileSpans(5, 25, 10), (std::vector<TSpan>{{5, 15}, {15, 25}, {25, 25}}));
    EXPECT_TRUE(TileSpans(0, 25, 0).empty());
    EXPECT_TRUE(TileSpans(0, 25, -3).empty());
    EXPECT_TRUE(TileSpans(30, 0, 10).empty());
    // A quotient truncated to 0 still lays tile 0, cut to nothing.
    EXPECT_EQ(TileSpans(10, 5, 10), (std::vector<TSpan>{{10, 10}}));
}

// A 40 x 30 frame picture placed at (5, 3) in a 50 x 40 skin picture.
struct Frame {
    TSkinRect r{5, 3, 45, 33};
    TFrameGeometry g{{12, 11}, {28, 12}, {11, 19}, {29, 20}, {6, 5, 34, 25}};
    TPixelBuffer picture{50, 40};
    Frame() { FillRandom(picture, 7); }
    int W() const { return r.Width(); }
    int H() const { return r.Height(); }
    // Source pixel (x, y) relative to R.
    bool Shows(const TPixelBuffer& img, int ix, int iy, int x, int y) const {
        return SamePixel(img, ix, iy, picture, r.Left + x, r.Top + y);
    }
};

TEST(NinePartPlan, TargetOfThePicturesOwnSizeReproducesItInEveryMode) {
    Frame f;
    for (int flags = 0; flags < 16; ++flags)
        for (int client = 0; client < 4; ++client) {
            const TStretchFlags s{bool(flags & 1), bool(flags & 2), bool(flags & 4), bool(flags & 8)};
            TPixelBuffer img(f.W(), f.H());
            PaintPlan(NinePartPlan(f.g, f.g, f.r, f.W(), f.H(), true, s, client > 0, client > 0 ? client - 1 : 0),
                      f.picture, img);
            for (int y = 0; y < f.H(); ++y)
                for (int x = 0; x < f.W(); ++x)
                    ASSERT_TRUE(f.Shows(img, x, y, x, y)) << "flags " << flags << " client " << client << " at " << x << "," << y;
        }
}

TEST(NinePartPlan, CornersNeverChangeWithSizeAndTiledEdgesRepeat) {
    Frame f;
    const TFrameGeometry& g = f.g;
    for (auto [aw, ah] : {std::pair{40, 30}, {41, 31}, {97, 64}, {200, 45}}) {
        const TFrameGeometry n = ResizeGeometry(g, aw - f.W(), ah - f.H());
        TPixelBuffer img(aw, ah);
        PaintPlan(NinePartPlan(g, n, f.r, aw, ah, true, {}, false, 0), f.picture, img);
        // The eight corner pieces sit at the image's corners unchanged.
        for (int y = 0; y < g.Cl.Top; ++y) {
            for (int x = 0; x < g.LT.X; ++x) ASSERT_TRUE(f.Shows(img, x, y, x, y));
            for (int x = g.RT.X; x < f.W(); ++x) ASSERT_TRUE(f.Shows(img, x + aw - f.W(), y, x, y));
        }
        for (int y = g.Cl.Bottom; y < f.H(); ++y) {
            for (int x = 0; x < g.LB.X; ++x) ASSERT_TRUE(f.Shows(img, x, y + ah - f.H(), x, y));
            for (int x = g.RB.X; x < f.W(); ++x) ASSERT_TRUE(f.Shows(img, x + aw - f.W(), y + ah - f.H(), x, y));
        }
        // The top edge repeats with its tile length, starting with the tile's first column.
        const int t = g.RT.X - g.LT.X;
        for (int y = 0; y < g.Cl.Top; ++y)
            for (int x = n.LT.X; x < n.RT.X; ++x) {
                ASSERT_TRUE(f.Shows(img, x, y, g.LT.X + (x - n.LT.X) % t, y)) << aw << " at " << x;
            }
        // The left edge repeats downwards with its tile length.
        const int tl = g.LB.Y - g.LT.Y;
        for (int y = n.LT.Y; y < n.LB.Y; ++y)
            for (int x = 0; x < g.Cl.Left; ++x) ASSERT_TRUE(f.Shows(img, x, y, x, g.LT.Y + (y - n.LT.Y) % tl));
        // The client piece is tiled from the client's top-left corner.
        const int cw = g.Cl.Width(), ch = g.Cl.Height();
        for (int y = n.Cl.Top; y < n.Cl.Bottom; ++y)
            for (int x = n.Cl.Left; x < n.Cl.Right; ++x)
                ASSERT_TRUE(f.Shows(img, x, y, g.Cl.Left + (x - n.Cl.Left) % cw, g.Cl.Top + (y - n.Cl.Top) % ch));
    }
}

TEST(NinePartPlan, TopEdgeOf25PixelsWithATileOf10) {
    // Tile 10 (columns 10..20) over a target span of 25 (10..35): 10, 10 and 5 pixels.
    const TFrameGeometry g{{10, 4}, {20, 4}, {10, 6}, {20, 6}, {2, 2, 28, 8}};
    const TFrameGeometry n = ResizeGeometry(g, 15, 0);
    const TBlitPlan plan = NinePartPlan(g, n, {0, 0, 30, 10}, 45, 10, false, {}, false, 0);
    std::vector<TBlit> top;
    for (const TBlit& b : plan)
        if (b.Dst.Top == 0 && b.Dst.Left >= 10 && b.Dst.Right <= 35) top.push_back(b);
    ASSERT_EQ(top.size(), 3u);
    EXPECT_EQ(top[0], (TBlit{{10, 0, 20, 2}, {10, 0, 20, 2}, {}}));
    EXPECT_EQ(top[1], (TBlit{{10, 0, 20, 2}, {20, 0, 30, 2}, {}}));
    EXPECT_EQ(top[2], (TBlit{{10, 0, 15, 2}, {30, 0, 35, 2}, {}}));
}

TEST(NinePartPlan, StretchedEdgesAndClientsAreSingleScaledCopies) {
    Frame f;
    const TFrameGeometry n = ResizeGeometry(f.g, 60, 20);
    const TBlitPlan plan = NinePartPlan(f.g, n, f.r, 100, 50, true, {true, true, true, true}, true, stFull);
    const TSkinRect topSrc = MovedRect({12, 0, 28, 5}, 5, 3);
    EXPECT_NE(std::find(plan.begin(), plan.end(), TBlit{topSrc, {12, 0, 88, 5}, {}}), plan.end());
    EXPECT_EQ(plan.back(), (TBlit{MovedRect(f.g.Cl, 5, 3), n.Cl, {}}));

    // Horizontal client stretch: copies of the client's width side by side, clipped to the client.
    const TBlitPlan horz = NinePartPlan(f.g, n, f.r, 100, 50, true, {}, true, stHorz);
    std::vector<TBlit> client(horz.end() - 4, horz.end());
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(client[k], (TBlit{MovedRect(f.g.Cl, 5, 3), {6 + 28 * k, 5, 34 + 28 * k, 45}, n.Cl}));
    // Other stretch types draw no client.
    EXPECT_EQ(NinePartPlan(f.g, n, f.r, 100, 50, true, {}, true, 3).size(),
              NinePartPlan(f.g, n, f.r, 100, 50, false, {}, true, 3).size());
}

TEST(NinePartPlan, DegenerateFramesAndAbsurdPointsMakeSmallPlans) {
    Frame f;
    TFrameGeometry flat = f.g;
    flat.RB.X = flat.LT.X;
    EXPECT_TRUE(NinePartPlan(flat, flat, f.r, 40, 30, true, {}, false, 0).empty());
    // A corner point far outside the picture must not make a plan of billions of tiles.
    TFrameGeometry wide = f.g;
    wide.RT.X = wide.LT.X + 1;
    TFrameGeometry n = ResizeGeometry(wide, 60, 0);
    n.RT.X = 2000000000;
    n.Cl.Right = 2000000000;
    EXPECT_LT(NinePartPlan(wide, n, f.r, 100, 30, true, {}, false, 0).size(), 1000u);
}

TEST(BorderImagePlans, TilesCountFromTheImagesOuterEdgeAndEndsGoOnTop) {
    Frame f;
    const TFrameGeometry& g = f.g;
    const int aw = 90, ah = 70;
    const TFrameGeometry n = ResizeGeometry(g, aw - f.W(), ah - f.H());
    const TBorderPlans p = BorderImagePlans(g, n, f.r, aw, ah, {}, 0, 0);
    ASSERT_TRUE(p.Top.Built && p.Bottom.Built && p.Left.Built && p.Right.Built);
    EXPECT_EQ((std::pair{p.Top.Width, p.Top.Height}), (std::pair{aw, 5}));
    EXPECT_EQ((std::pair{p.Bottom.Width, p.Bottom.Height}), (std::pair{aw, 5}));
    EXPECT_EQ((std::pair{p.Left.Width, p.Left.Height}), (std::pair{6, 60}));
    EXPECT_EQ((std::pair{p.Right.Width, p.Right.Height}), (std::pair{6, 60}));

    TPixelBuffer top(p.Top.Width, p.Top.Height), left(p.Left.Width, p.Left.Height);
    PaintPlan(p.Top.Plan, f.picture, top);
    PaintPlan(p.Left.Plan, f.picture, left);
    const int t = g.RT.X - g.LT.X;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < aw; ++x) {
            if (x < g.LT.X)
                ASSERT_TRUE(f.Shows(top, x, y, x, y));
            else if (x >= n.RT.X)
                ASSERT_TRUE(f.Shows(top, x, y, x - (aw - f.W()), y));
            else
                ASSERT_TRUE(f.Shows(top, x, y, g.LT.X + x % t, y)) << x;
        }
    // Left image: rows Cl.Top..LT.Y on top, rows LB.Y..Cl.Bottom at the bottom, tiles from y = 0.
    const int tl = g.LB.Y - g.LT.Y, head = g.LT.Y - g.Cl.Top, tail = g.Cl.Bottom - g.LB.Y;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 6; ++x) {
            if (y < head)
                ASSERT_TRUE(f.Shows(left, x, y, x, g.Cl.Top + y));
            else if (y >= 60 - tail)
                ASSERT_TRUE(f.Shows(left, x, y, x, g.LB.Y + y - (60 - tail)));
            else
                ASSERT_TRUE(f.Shows(left, x, y, x, g.LT.Y + y % tl)) << y;
        }
}

TEST(BorderImagePlans, ImagesWhoseConditionFailsAreLeftAndSidesUseTheirHeights) {
    Frame f;
    // No width: neither top nor bottom is built, so the sides take the heights they had.
    const TBorderPlans p = BorderImagePlans(f.g, f.g, f.r, 0, 30, {}, 7, 9);
    EXPECT_FALSE(p.Top.Built);
    EXPECT_FALSE(p.Bottom.Built);
    ASSERT_TRUE(p.Left.Built);
    EXPECT_EQ(p.Left.Height, 30 - 7 - 9);
    EXPECT_FALSE(p.Right.Built);  // its width aw - NewClientRect.Right is negative
    // Identity size: the four images are the picture's bands.
    const TBorderPlans q = BorderImagePlans(f.g, f.g, f.r, 40, 30, {true, false, true, false}, 0, 0);
    TPixelBuffer right(q.Right.Width, q.Right.Height);
    PaintPlan(q.Right.Plan, f.picture, right);
    for (int y = 0; y < right.Height; ++y)
        for (int x = 0; x < right.Width; ++x) ASSERT_TRUE(f.Shows(right, x, y, f.g.Cl.Right + x, f.g.Cl.Top + y));
}

TEST(StripPlans, EndsStayAndTheMiddleTilesOrStretches) {
    TPixelBuffer picture(30, 8);
    FillRandom(picture, 3);
    const TSkinRect r{4, 2, 24, 7};  // 20 x 5: ends of 3 and 5, middle of 12
    TPixelBuffer img(50, 5);
    PaintPlan(HStripPlan(3, 5, r, 50, false), picture, img);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 50; ++x) {
            const int sx = x < 3 ? x : x >= 45 ? 20 - (50 - x) : 3 + (x - 3) % 12;
            ASSERT_TRUE(SamePixel(img, x, y, picture, r.Left + sx, r.Top + y)) << x;
        }
    // Stretched middle: one copy into the columns between the ends.
    EXPECT_EQ(HStripPlan(3, 5, r, 50, true).back(), (TBlit{{7, 2, 19, 7}, {3, 0, 45, 5}, {}}));
    // Ends that take the whole width leave a middle of one column.
    EXPECT_EQ(HStripPlan(10, 10, r, 23, true).back(), (TBlit{{14, 2, 15, 7}, {10, 0, 13, 5}, {}}));
    // Vertically a middle of height 0 draws nothing.
    const TBlitPlan v = VStripPlan(2, 3, {0, 0, 4, 5}, 40, false);
    EXPECT_EQ(v.size(), 2u);
    TPixelBuffer column(4, 40);
    const TSkinRect cr{10, 0, 14, 8};  // middle rows 2..5
    PaintPlan(VStripPlan(2, 3, cr, 40, false), picture, column);
    for (int y = 0; y < 40; ++y) {
        const int sy = y < 2 ? y : y >= 37 ? 8 - (40 - y) : 2 + (y - 2) % 3;
        ASSERT_TRUE(SamePixel(column, 1, y, picture, 11, sy)) << y;
    }
}

TEST(MaskStripPlans, SidesAreAsTallAsTheNewClientAndBandsKeepTheirEnds) {
    const TFrameGeometry g{{12, 11}, {28, 12}, {11, 19}, {29, 20}, {6, 5, 34, 25}};
    const TFrameGeometry n = ResizeGeometry(g, 30, 10);
    const TBorderPlans p = MaskStripPlans(g, n, 40, 30, 70);
    ASSERT_TRUE(p.Left.Built && p.Right.Built && p.Top.Built && p.Bottom.Built);
    EXPECT_EQ((std::pair{p.Left.Width, p.Left.Height}), (std::pair{6, 30}));
    EXPECT_EQ((std::pair{p.Right.Width, p.Right.Height}), (std::pair{6, 30}));
    EXPECT_EQ((std::pair{p.Top.Width, p.Top.Height}), (std::pair{70, 5}));
    EXPECT_EQ((std::pair{p.Bottom.Width, p.Bottom.Height}), (std::pair{70, 5}));
    TPixelBuffer mask(40, 30);
    FillRandom(mask, 11);
    TPixelBuffer top(70, 5);
    PaintPlan(p.Top.Plan, mask, top);
    for (int x = 0; x < 70; ++x) {
        const int sx = x < 12 ? x : x >= 58 ? x - 30 : 12 + (x - 12) % 16;
        ASSERT_TRUE(SamePixel(top, x, 2, mask, sx, 2)) << x;
    }
    // No client height: no side strips.
    TFrameGeometry flat = n;
    flat.Cl.Bottom = flat.Cl.Top;
    const TBorderPlans q = MaskStripPlans(g, flat, 40, 30, 70);
    EXPECT_FALSE(q.Left.Built);
    EXPECT_FALSE(q.Right.Built);
}

TEST(Rects, HelpersCountEdgesAsTheirTablesSay) {
    const TSkinRect r{0, 0, 10, 10};
    EXPECT_TRUE(PointInsideRect({10, 10}, r));
    EXPECT_FALSE(PointInsideRect({11, 5}, r));
    EXPECT_FALSE(RectInsideRect(r, r));  // the bottom-right corner lies outside by the point test
    EXPECT_TRUE(RectInsideRect({1, 1, 9, 9}, r));
    EXPECT_TRUE((TSkinRect{0, 0, 0, 5}.IsEmpty()));
    EXPECT_FALSE((TSkinRect{0, 0, 1, 1}.IsEmpty()));
    EXPECT_TRUE((TSkinPoint{0, 4}.IsUnset()));
    EXPECT_EQ(GlyphFrameRect(64, 16, 4, 3), (TSkinRect{32, 0, 48, 16}));
    EXPECT_TRUE(GlyphFrameRect(64, 16, 0, 1).IsEmpty());
}

}  // namespace
}  // namespace fn

namespace fn {
namespace {

TEST(PaintPlan, StretchesByTheNearestPixelAndKeepsToClipAndBounds) {
    TPixelBuffer src(2, 2), dst(5, 4);
    test::FillRandom(src, 1);
    // 2 x 2 onto 4 x 4 at (1, 0), clipped to columns 1..3 and reaching past the right edge.
    PaintPlan({{{0, 0, 2, 2}, {1, 0, 5, 4}, {1, 0, 4, 4}}, {{0, 0, 2, 2}, {4, 3, 6, 5}, {}}}, View(src), View(dst));
    for (int y = 0; y < 4; ++y)
        for (int x = 1; x < 4; ++x) ASSERT_TRUE(test::SamePixel(dst, x, y, src, (x - 1) / 2, y / 2)) << x << "," << y;
    EXPECT_TRUE(test::SamePixel(dst, 4, 3, src, 0, 0));
    const uint8_t zero[3] = {0, 0, 0};
    EXPECT_EQ(std::memcmp(dst.PixelPointer(4, 0), zero, 3), 0);  // clipped away
    EXPECT_EQ(std::memcmp(dst.PixelPointer(0, 1), zero, 3), 0);
    // Shrinking takes the pixel under each target pixel's centre; sources outside are skipped.
    TPixelBuffer wide(4, 1), one(2, 1);
    test::FillRandom(wide, 2);
    PaintPlan({{{0, 0, 4, 1}, {0, 0, 2, 1}, {}}}, View(wide), View(one));
    EXPECT_TRUE(test::SamePixel(one, 0, 0, wide, 1, 0));
    EXPECT_TRUE(test::SamePixel(one, 1, 0, wide, 3, 0));
    TPixelBuffer keep(3, 1);
    PaintPlan({{{2, 0, 5, 1}, {0, 0, 3, 1}, {}}}, View(wide), View(keep));
    EXPECT_TRUE(test::SamePixel(keep, 1, 0, wide, 3, 0));
    EXPECT_EQ(std::memcmp(keep.PixelPointer(2, 0), zero, 3), 0);
}

}  // namespace
}  // namespace fn
