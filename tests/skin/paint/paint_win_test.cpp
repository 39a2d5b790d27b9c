#include <gtest/gtest.h>

#include <random>

#include "tests/platform/win/gdi_support.h"
#include "skin/paint/effects.h"
#include "skin/paint/glyphs_win.h"
#include "skin/paint/images_win.h"
#include "skin/paint/regions_win.h"
#include "skin/paint/system_win.h"
#include "skin/paint/text_win.h"

namespace fn {
namespace {

using test::At;
using test::Marked;
using test::PixelSet;
using test::Put;

void FillRandom(TBitmap& b, unsigned seed) {
    std::mt19937 rng(seed);
    for (int y = 0; y < b.Height(); ++y)
        for (int i = 0; i < 3 * b.Width(); ++i) b.ScanLine(y)[i] = static_cast<uint8_t>(rng());
}

// The 40 x 30 frame picture at (5, 3) of a 50 x 40 skin picture.
struct Frame {
    TSkinRect r{5, 3, 45, 33};
    TFrameGeometry g{{12, 11}, {28, 12}, {11, 19}, {29, 20}, {6, 5, 34, 25}};
    TBitmap picture{50, 40};
    Frame() { FillRandom(picture, 3); }
    bool Shows(const TBitmap& img, int ix, int iy, int x, int y) const {
        return At(img, ix, iy) == At(picture, r.Left + x, r.Top + y);
    }
};

TEST(NinePartImage, OwnSizeReproducesThePictureAndCornersStayWhenResized) {
    Frame f;
    TBitmap img;
    for (int client = 0; client < 4; ++client) {
        BuildNinePartImage(f.g, f.g, img, f.picture, f.r, 40, 30, true, {(client & 1) != 0, true, false, (client & 2) != 0},
                           client >= 2, stHorz);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) ASSERT_TRUE(f.Shows(img, x, y, x, y)) << client << " " << x << "," << y;
    }
    // Twice as wide a top edge, stretched: every source column shows twice.
    const TFrameGeometry n = ResizeGeometry(f.g, 16, 9);
    BuildNinePartImage(f.g, n, img, f.picture, f.r, 56, 39, true, {false, true, false, false}, false, 0);
    EXPECT_EQ(img.Width(), 56);
    for (int y = 0; y < 5; ++y) {
        for (int i = 0; i < 32; ++i) ASSERT_TRUE(f.Shows(img, 12 + i, y, 12 + i / 2, y)) << i;
        for (int x = 28; x < 40; ++x) ASSERT_TRUE(f.Shows(img, x + 16, y, x, y));
    }
    for (int y = 25; y < 30; ++y)
        for (int x = 29; x < 40; ++x) ASSERT_TRUE(f.Shows(img, x + 16, y + 9, x, y));
    // Tiled left edge: repeats every 8 rows.
    for (int y = 11; y < 28; ++y)
        for (int x = 0; x < 6; ++x) ASSERT_TRUE(f.Shows(img, x, y, x, 11 + (y - 11) % 8));
}

TEST(NinePartImage, AnEmptyPictureOnlySizesTheTarget) {
    Frame f;
    TBitmap empty, img;
    BuildNinePartImage(f.g, f.g, img, empty, f.r, 20, 10, true, {}, false, 0);
    EXPECT_EQ(img.Width(), 20);
    EXPECT_TRUE(Marked(img).empty());
}

TEST(BorderImages, FourImagesWithTilesFromTheOuterEdge) {
    Frame f;
    const TFrameGeometry n = ResizeGeometry(f.g, 50, 40);
    TBitmap left, top, right, bottom;
    BuildBorderImages(f.g, n, left, top, right, bottom, f.picture, f.r, 90, 70, {});
    EXPECT_EQ((std::pair{top.Width(), top.Height()}), (std::pair{90, 5}));
    EXPECT_EQ((std::pair{left.Width(), left.Height()}), (std::pair{6, 60}));
    EXPECT_EQ((std::pair{right.Width(), right.Height()}), (std::pair{6, 60}));
    EXPECT_EQ((std::pair{bottom.Width(), bottom.Height()}), (std::pair{90, 5}));
    for (int x = 12; x < 78; ++x) ASSERT_TRUE(f.Shows(top, x, 2, 12 + x % 16, 2)) << x;
    for (int x = 0; x < 11; ++x) ASSERT_TRUE(f.Shows(bottom, x, 4, x, 29));
}

TEST(StripImages, FixedEndsAndATiledMiddle) {
    Frame f;
    TBitmap strip;
    BuildHStripImage(4, 6, strip, f.picture, {0, 0, 20, 3}, 47, false);
    EXPECT_EQ((std::pair{strip.Width(), strip.Height()}), (std::pair{47, 3}));
    for (int x = 0; x < 47; ++x) {
        const int sx = x < 4 ? x : x >= 41 ? x - 27 : 4 + (x - 4) % 10;
        ASSERT_EQ(At(strip, x, 1), At(f.picture, sx, 1)) << x;
    }
    BuildVStripImage(2, 2, strip, f.picture, {1, 1, 4, 8}, 30, true);
    EXPECT_EQ((std::pair{strip.Width(), strip.Height()}), (std::pair{3, 30}));
    EXPECT_EQ(At(strip, 0, 29), At(f.picture, 1, 7));
}

TEST(MaskRegion, IsExactlyTheBlackPixels) {
    TBitmap mask(37, 23);
    std::mt19937 rng(17);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x) Put(mask, x, y, rng() % 3 ? RGB(0, 0, 0) : RGB(0, 0, 1 + rng() % 255));
    TRegionHandle region = BuildMaskRegion(mask);
    ASSERT_TRUE(region);
    for (int y = -1; y <= 23; ++y)
        for (int x = -1; x <= 37; ++x) {
            const bool black = x >= 0 && y >= 0 && x < 37 && y < 23 && At(mask, x, y) == 0;
            ASSERT_EQ(PtInRegion(region.Get(), x, y) != 0, black) << x << "," << y;
        }
    TBitmap white(4, 4);
    TRegionHandle none = BuildMaskRegion(white);
    RECT box{};
    EXPECT_EQ(GetRgnBox(none.Get(), &box), NULLREGION);
}

TEST(FrameRegion, ResizedMaskKeepsItsCutCornersAndCoversTheRest) {
    const TFrameGeometry g{{12, 11}, {28, 12}, {11, 19}, {29, 20}, {6, 5, 34, 25}};
    TBitmap mask(40, 30);
    test::Fill(mask, clBlack);
    const PixelSet cut = {{0, 0}, {1, 0}, {0, 1}, {39, 0}, {38, 0}, {39, 1}, {0, 29}, {39, 29}};
    for (auto [x, y] : cut) Put(mask, x, y, RGB(255, 255, 255));
    const int aw = 73, ah = 52;
    const TFrameGeometry n = ResizeGeometry(g, aw - 40, ah - 30);
    TRegionHandle region = BuildFrameRegion(g, n, mask, aw, ah);
    ASSERT_TRUE(region);
    PixelSet expectedOut;
    for (auto [x, y] : cut) expectedOut.insert({x >= 20 ? x + aw - 40 : x, y >= 15 ? y + ah - 30 : y});
    for (int y = -1; y <= ah; ++y)
        for (int x = -1; x <= aw; ++x) {
            const bool inside = x >= 0 && y >= 0 && x < aw && y < ah && !expectedOut.count({x, y});
            ASSERT_EQ(PtInRegion(region.Get(), x, y) != 0, inside) << x << "," << y;
        }
    // A new client rectangle of no height gives no region, whatever the strips hold.
    TFrameGeometry flat = n;
    flat.Cl.Bottom = flat.Cl.Top;
    EXPECT_FALSE(BuildFrameRegion(g, flat, mask, aw, ah));
    TFrameGeometry crossed = n;
    crossed.RT.X = crossed.LT.X - 1;
    EXPECT_FALSE(BuildFrameRegion(g, crossed, mask, aw, ah));
}

TEST(MaskStrips, HoldTheResizedBordersOfTheMaskAndClearAReusedBitmap) {
    // A black mask with one white pixel in each corner; the side middles (LT.Y..LB.Y) are
    // tiled, the top band's middle (LT.X..RT.X) too.
    const TFrameGeometry g{{12, 11}, {28, 12}, {11, 19}, {29, 20}, {6, 5, 34, 25}};
    TBitmap mask(40, 30);
    test::Fill(mask, clBlack);
    for (auto [x, y] : {std::pair{0, 0}, {39, 0}, {0, 29}, {39, 29}}) Put(mask, x, y, RGB(255, 255, 255));
    const int aw = 70;
    const TFrameGeometry n = ResizeGeometry(g, aw - 40, 10);
    TBitmap bottom, right, left, top;
    BuildMaskStrips(g, n, mask, aw, bottom, right, left, top);
    EXPECT_EQ((std::pair{left.Width(), left.Height()}), (std::pair{6, 30}));
    EXPECT_EQ((std::pair{right.Width(), right.Height()}), (std::pair{6, 30}));
    EXPECT_EQ((std::pair{top.Width(), top.Height()}), (std::pair{aw, 5}));
    EXPECT_EQ((std::pair{bottom.Width(), bottom.Height()}), (std::pair{aw, 5}));
    auto whites = [](const TBitmap& b) {
        PixelSet s;
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x)
                if (At(b, x, y) != 0) s.insert({x, y});
        return s;
    };
    EXPECT_EQ(whites(top), (PixelSet{{0, 0}, {aw - 1, 0}}));
    EXPECT_EQ(whites(bottom), (PixelSet{{0, 4}, {aw - 1, 4}}));
    EXPECT_EQ(whites(left), PixelSet{});
    EXPECT_EQ(whites(right), PixelSet{});

    // Sides without a middle to tile (LT.Y == LB.Y): only the head and tail rows of the side
    // strips are copied, the rows between are outside. Bitmaps kept from an earlier call (all
    // black, already of the strips' size) must come back white there, as new ones do.
    const TFrameGeometry flat{{12, 11}, {28, 11}, {12, 11}, {28, 11}, {6, 5, 34, 25}};
    const TFrameGeometry tall = ResizeGeometry(flat, 0, 10);
    TBitmap freshLeft, freshRight, freshTop, freshBottom;
    BuildMaskStrips(flat, tall, mask, 40, freshBottom, freshRight, freshLeft, freshTop);
    ASSERT_EQ(freshLeft.Height(), 30);
    const PixelSet outside = whites(freshLeft);
    EXPECT_TRUE(outside.count({0, 15}));  // between head (6 rows) and tail (14 rows)
    for (TBitmap* b : {&left, &right, &top, &bottom}) test::Fill(*b, clBlack);
    top.SetSize(40, 5);
    bottom.SetSize(40, 5);
    test::Fill(top, clBlack);
    test::Fill(bottom, clBlack);
    BuildMaskStrips(flat, tall, mask, 40, bottom, right, left, top);
    EXPECT_EQ(whites(left), outside);
    EXPECT_EQ(whites(right), whites(freshRight));
    EXPECT_EQ(whites(top), whites(freshTop));

    // A side the plans do not build (no client left of the frame) leaves its bitmap as it was.
    TFrameGeometry noLeft = g;
    noLeft.Cl.Left = 0;
    TBitmap kept(3, 3);
    test::Fill(kept, clBlack);
    BuildMaskStrips(noLeft, ResizeGeometry(noLeft, 0, 0), mask, 40, bottom, right, kept, top);
    EXPECT_EQ((std::pair{kept.Width(), kept.Height()}), (std::pair{3, 3}));
    EXPECT_EQ(whites(kept), PixelSet{});
}

// Pixels a line from (x0, y0) to (x1, y1) covers, for horizontal, vertical and 45-degree lines.
void AddLine(PixelSet& s, int x0, int y0, int x1, int y1) {
    const int dx = (x1 > x0) - (x1 < x0), dy = (y1 > y0) - (y1 < y0);
    for (int x = x0, y = y0; x != x1 || y != y1; x += dx, y += dy) s.insert({x, y});
}

void AddOutline(PixelSet& s, int l, int t, int r, int b) {
    AddLine(s, l, t, r - 1, t);
    AddLine(s, r - 1, t, r - 1, b - 1);
    AddLine(s, r - 1, b - 1, l, b - 1);
    AddLine(s, l, b - 1, l, t);
}

PixelSet Drawn(void (*draw)(TCanvas&, int, int, TColor)) {
    TBitmap b(24, 24);
    draw(b.Canvas(), 5, 6, clBlack);
    return Marked(b);
}

TEST(Glyphs, BuiltInGlyphsAreTheTabulatedPixels) {
    const int x = 5, y = 6;
    PixelSet close;
    AddLine(close, x + 1, y + 1, x + 9, y + 9);
    AddLine(close, x + 9, y + 1, x + 1, y + 9);
    AddLine(close, x + 2, y + 1, x + 10, y + 9);
    AddLine(close, x + 8, y + 1, x, y + 9);
    EXPECT_EQ(Drawn(DrawCloseGlyph), close);

    PixelSet check;
    for (int i = 0; i < 3; ++i) {
        AddLine(check, x, y + 5 - i, x + 2, y + 7 - i);
        AddLine(check, x + 2, y + 7 - i, x + 7, y + 2 - i);
    }
    EXPECT_EQ(Drawn(DrawCheckGlyph), check);

    PixelSet maximize, restore, sysmenu, minimize, rollDown, rollUp, tray;
    AddOutline(maximize, x, y, x + 11, y + 10);
    AddOutline(maximize, x, y, x + 11, y + 2);
    EXPECT_EQ(Drawn(DrawMaximizeGlyph), maximize);
    AddOutline(restore, x + 2, y, x + 10, y + 6);
    AddOutline(restore, x + 2, y, x + 10, y + 2);
    AddOutline(restore, x, y + 4, x + 7, y + 10);
    AddOutline(restore, x, y + 4, x + 7, y + 6);
    EXPECT_EQ(Drawn(DrawRestoreGlyph), restore);
    AddOutline(sysmenu, x + 1, y + 3, x + 9, y + 6);
    EXPECT_EQ(Drawn(DrawSysMenuGlyph), sysmenu);
    AddLine(minimize, x + 1, y + 8, x + 9, y + 8);
    AddLine(minimize, x + 1, y + 9, x + 9, y + 9);
    EXPECT_EQ(Drawn(DrawMinimizeGlyph), minimize);
    for (int i = 0; i <= 4; ++i) {
        AddLine(rollDown, x + 5 - i, y + 6 - i, x + 5 + i, y + 6 - i);
        AddLine(rollUp, x + 1 + i, y + 6 - i, x + 9 - i, y + 6 - i);
    }
    EXPECT_EQ(Drawn(DrawRollDownGlyph), rollDown);
    EXPECT_EQ(Drawn(DrawRollUpGlyph), rollUp);
    for (int j = y + 2; j < y + 7; ++j) AddLine(tray, x + 2, j, x + 7, j);
    EXPECT_EQ(Drawn(DrawTrayGlyph), tray);
}

TEST(Glyphs, ArrowsAreCentredTrianglesOfOneThreeFiveAndSevenPixelsAndGrowWithTheScale) {
    // Four lines (1 to 7 pixels) at 96 dpi, eight (1 to 15) at 192, the tip half the depth
    // before the centre (20, 20).
    for (int dpi : {96, 192}) {
        const int depth = dpi / 24, tip = depth / 2;
        for (int direction = 1; direction <= 5; ++direction) {
            TBitmap b(40, 40);
            DrawArrowGlyph(b.Canvas(), {3, 4, 38, 37}, clBlack, direction, dpi);
            PixelSet arrow;
            for (int i = 0; i < depth && direction <= 4; ++i) {
                if (direction == 1) AddLine(arrow, 20 - tip + i, 20 - i, 20 - tip + i, 21 + i);
                if (direction == 2) AddLine(arrow, 20 + tip - i, 20 - i, 20 + tip - i, 21 + i);
                if (direction == 3) AddLine(arrow, 20 - i, 20 - tip + i, 21 + i, 20 - tip + i);
                if (direction == 4) AddLine(arrow, 20 - i, 20 + tip - i, 21 + i, 20 + tip - i);
            }
            EXPECT_EQ(Marked(b), arrow) << dpi << " dpi, direction " << direction;
        }
    }
}

TEST(Glyphs, AFixedGlyphAtAScaleFillsTheBlockOfEachOfItsPixels) {
    // At 200 % every pixel of the close glyph becomes a 2 x 2 block; at 150 % a 1 or 2 pixel
    // one, so its lines stay unbroken; at 96 dpi it is the glyph itself.
    for (int dpi : {96, 144, 192}) {
        TBitmap b(40, 40);
        DrawGlyphAtDpi(b.Canvas(), DrawCloseGlyph, 3, 4, clBlack, dpi);
        PixelSet expected;
        for (auto [x, y] : Drawn(DrawCloseGlyph)) {
            const int i = x - 5, j = y - 6;  // Drawn puts the glyph at (5, 6)
            auto at = [dpi](int v) { return (v * dpi + 48) / 96; };  // rounded to the nearest pixel
            for (int xx = at(i); xx < at(i + 1); ++xx)
                for (int yy = at(j); yy < at(j + 1); ++yy) expected.insert({3 + xx, 4 + yy});
        }
        EXPECT_EQ(Marked(b), expected) << dpi;
    }
}

TEST(Glyphs, GlyphFrameDrawsOneGlyphOfTheStripTransparently) {
    // Four 16-pixel glyphs; each is magenta (the transparent colour at its bottom-left) with a
    // body of its own colour.
    TBitmap strip(64, 8);
    const COLORREF body[] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(90, 90, 0)};
    for (int yy = 0; yy < 8; ++yy)
        for (int xx = 0; xx < 64; ++xx) Put(strip, xx, yy, xx % 16 >= 4 && yy < 6 ? body[xx / 16] : RGB(255, 0, 255));
    TBitmap target(30, 20);
    DrawGlyphFrame(target.Canvas(), 5, 7, strip, 4, 3);
    PixelSet expected;
    for (int yy = 0; yy < 6; ++yy)
        for (int xx = 4; xx < 16; ++xx) expected.insert({5 + xx, 7 + yy});
    EXPECT_EQ(Marked(target), expected);
    EXPECT_EQ(At(target, 9, 7), body[2]);
    TBitmap empty;
    DrawGlyphFrame(target.Canvas(), 0, 0, empty, 4, 1);  // nothing to draw
}

TEST(EffectBmp, CopiesABitmapAndDrawsItBack) {
    TBitmap source(13, 7);
    FillRandom(source, 8);
    TmnEffectBmp e = TmnEffectBmp::CreateFromBitmap(source.Handle());
    ASSERT_EQ(e.Width, 13);
    EXPECT_EQ(e.GetPixel(12, 6).R, GetRValue(At(source, 12, 6)));
    e.Invert();
    TBitmap target(15, 9);
    e.Draw(target.Canvas().Handle(), 2, 2);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x) ASSERT_EQ(At(target, x + 2, y + 2), At(source, x, y) ^ 0xFFFFFF);
    // A device-dependent bitmap goes through the platform's conversion.
    TWindowDC screen(nullptr);
    TBitmapHandle ddb(CreateCompatibleBitmap(screen.Get(), 3, 2));
    {
        TMemoryDC dc(screen.Get());
        TSelectObject select(dc.Get(), ddb.Get());
        SetPixel(dc.Get(), 2, 1, RGB(10, 20, 30));
    }
    const TmnEffectBmp d = TmnEffectBmp::CreateFromBitmap(ddb.Get());
    EXPECT_EQ(d.GetPixel(2, 1), (TPixel24{30, 20, 10}));
}

TEST(Text, EllipsisMeasuringAndLines) {
    TBitmap b(200, 30);
    TCanvas& c = b.Canvas();
    String fits = L"Datei";
    FitTextWithEllipsis(c, fits, 200);
    EXPECT_EQ(fits, L"Datei");
    String none = L"Datei";
    FitTextWithEllipsis(c, none, 0);
    EXPECT_EQ(none, L"...");
    String cut = L"Änderungen speichern";
    const int width = MeasureTextWidth(c, L"Änderungen...");
    FitTextWithEllipsis(c, cut, width);
    EXPECT_EQ(cut, L"Änderungen...");
    EXPECT_EQ(MeasureTextWidth(c, L""), 0);
    EXPECT_GT(MeasureTextHeight(c, L"Ag"), 5);
    DrawTextLine(c, L"", {0, 0, 200, 30});
    EXPECT_TRUE(Marked(b).empty());
    DrawTextLine(c, L"Ag", {0, 0, 200, 30});
    const PixelSet text = Marked(b);
    ASSERT_FALSE(text.empty());
    int top = 30, bottom = 0;
    for (auto [x, y] : text) {
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    EXPECT_LT(std::abs((top + bottom) / 2 - 15), 5);  // vertically centred
}

TEST(PlatformChecks, MonitorRectanglesScrollBarsAndWindowAlpha) {
    RECT screen{}, work{};
    GetWindowMonitorRect(GetDesktopWindow(), false, screen);
    EXPECT_EQ(screen.right - screen.left, GetSystemMetrics(SM_CXSCREEN));
    GetWindowMonitorRect(GetDesktopWindow(), true, work);
    RECT expected{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &expected, 0);
    EXPECT_TRUE(EqualRect(&work, &expected));
    EXPECT_EQ(IsOSVersion6OrLater(), GetOSVersion().Major > 5);

    HWND window = CreateWindowExW(WS_EX_LAYERED, L"STATIC", L"", WS_POPUP | WS_VSCROLL, 0, 0, 100, 100,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    EXPECT_TRUE(GetScrollBarInfoSafe(window, OBJID_VSCROLL, info));
    SetWindowAlpha(window, 77);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(window, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 77);
    EXPECT_TRUE(flags & LWA_ALPHA);
    DestroyWindow(window);
}

}  // namespace
}  // namespace fn
