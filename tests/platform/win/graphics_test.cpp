#include <gtest/gtest.h>

#include "tests/platform/win/gdi_support.h"

namespace fn {
namespace {

using test::At;
using test::Fill;
using test::Put;

constexpr COLORREF kWhite = RGB(255, 255, 255);

TEST(Bitmap, NewAndResizedBitmapsAreWhite) {
    TBitmap b(4, 3);
    EXPECT_EQ(b.RowStride(), 12);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) ASSERT_EQ(At(b, x, y), kWhite);
    Fill(b, 0x0000FF);
    EXPECT_EQ(At(b, 3, 2), RGB(255, 0, 0));
    b.SetSize(0, 0);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Handle(), nullptr);
    b.SetSize(5, 2);
    EXPECT_EQ(At(b, 4, 1), kWhite);
    EXPECT_EQ(b.Canvas().Pixel(4, 1), kWhite);  // the canvas draws on the new picture
}

TEST(Canvas, CopyRectCopiesOneToOneOrStretches) {
    TBitmap src(2, 2);
    Put(src, 0, 0, RGB(255, 0, 0));
    Put(src, 1, 0, RGB(0, 255, 0));
    Put(src, 0, 1, RGB(0, 0, 255));
    Put(src, 1, 1, RGB(10, 20, 30));
    TBitmap dst(6, 6);
    dst.Canvas().CopyRect({4, 4, 6, 6}, src.Canvas(), {0, 0, 2, 2});
    EXPECT_EQ(At(dst, 5, 4), RGB(0, 255, 0));
    EXPECT_EQ(At(dst, 3, 3), kWhite);
    dst.Canvas().CopyRect({0, 0, 4, 4}, src.Canvas(), {0, 0, 2, 2});
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) ASSERT_EQ(At(dst, x, y), At(src, x / 2, y / 2)) << x << "," << y;
    TBitmap wide(6, 2);
    wide.Canvas().StretchDraw({0, 0, 6, 2}, src);
    EXPECT_EQ(At(wide, 2, 0), RGB(255, 0, 0));
    EXPECT_EQ(At(wide, 3, 1), RGB(10, 20, 30));
}

TEST(Canvas, TransparentDrawLeavesOutTheBottomLeftColour) {
    TBitmap glyph(3, 2);
    Put(glyph, 0, 0, RGB(255, 0, 0));
    Put(glyph, 1, 0, RGB(0, 0, 255));
    Put(glyph, 2, 0, RGB(255, 0, 0));
    Put(glyph, 0, 1, RGB(255, 0, 0));  // bottom-left: the transparent colour
    Put(glyph, 1, 1, RGB(0, 0, 254));
    Put(glyph, 2, 1, RGB(255, 0, 1));
    EXPECT_EQ(glyph.TransparentColor(), RGB(255, 0, 0));
    TBitmap target(5, 4);
    Fill(target, 0x00FF00);  // green
    glyph.SetTransparent(true);
    target.Canvas().Draw(1, 1, glyph);
    EXPECT_EQ(At(target, 1, 1), RGB(0, 255, 0));
    EXPECT_EQ(At(target, 2, 1), RGB(0, 0, 255));
    EXPECT_EQ(At(target, 3, 1), RGB(0, 255, 0));
    EXPECT_EQ(At(target, 1, 2), RGB(0, 255, 0));
    EXPECT_EQ(At(target, 2, 2), RGB(0, 0, 254));
    EXPECT_EQ(At(target, 3, 2), RGB(255, 0, 1));
    glyph.SetTransparent(false);
    target.Canvas().Draw(1, 1, glyph);
    EXPECT_EQ(At(target, 1, 1), RGB(255, 0, 0));
}

TEST(Canvas, PensBrushesAndLines) {
    TBitmap b(10, 10);
    TCanvas& c = b.Canvas();
    c.Pen().SetColor(0x0000FF);
    c.Brush().SetColor(0xFF0000);
    c.Rectangle(1, 1, 6, 6);
    EXPECT_EQ(At(b, 1, 1), RGB(255, 0, 0));
    EXPECT_EQ(At(b, 5, 3), RGB(255, 0, 0));
    EXPECT_EQ(At(b, 3, 3), RGB(0, 0, 255));
    EXPECT_EQ(At(b, 6, 6), kWhite);
    c.Brush().SetStyle(TBrushStyle::bsClear);
    c.Pen().SetColor(0x00FF00);
    c.Rectangle(0, 0, 5, 5);
    EXPECT_EQ(At(b, 0, 0), RGB(0, 255, 0));
    EXPECT_EQ(At(b, 3, 3), RGB(0, 0, 255));  // a clear brush leaves the inside
    c.MoveTo(0, 8);
    c.LineTo(9, 8);
    EXPECT_EQ(At(b, 8, 8), RGB(0, 255, 0));
    EXPECT_EQ(At(b, 9, 8), kWhite);  // the end point is not drawn
    c.Brush().SetColor(0x808080);
    c.FrameRect({6, 0, 10, 4});
    EXPECT_EQ(At(b, 6, 0), RGB(128, 128, 128));
    EXPECT_EQ(At(b, 7, 1), kWhite);
}

TEST(Canvas, ClippingAndSavedStateIncludeTheSelectedObjects) {
    TBitmap b(8, 8);
    TCanvas& c = b.Canvas();
    {
        TCanvasState state(c);
        c.IntersectClip({2, 2, 4, 4});
        EXPECT_EQ(c.ClipRect().right, 4);
        c.Font().SetHeight(-20);  // the font made inside the saved state is gone after it
        c.TextOut(0, 0, L"W");
        Fill(b, 0x000000);
        EXPECT_EQ(At(b, 3, 3), RGB(0, 0, 0));
        EXPECT_EQ(At(b, 1, 1), kWhite);
        EXPECT_EQ(At(b, 4, 4), kWhite);
    }
    c.Font().SetHeight(-9);
    Fill(b, 0x00FF00);
    EXPECT_EQ(At(b, 0, 0), RGB(0, 255, 0));
    EXPECT_EQ(At(b, 7, 7), RGB(0, 255, 0));
    c.Font().SetColor(0x0000FF);
    c.Brush().SetStyle(TBrushStyle::bsClear);
    c.TextOut(0, 0, L"WW");
    bool red = false;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) red |= At(b, x, y) == RGB(255, 0, 0);
    EXPECT_TRUE(red);
    EXPECT_GT(c.TextWidth(L"WW"), c.TextWidth(L"W"));
}

TEST(Bitmap, AssignAndLoadingFromOtherPictures) {
    TBitmap a(3, 2);
    Put(a, 2, 1, RGB(1, 2, 3));
    a.SetTransparent(true);
    TBitmap b;
    b.Assign(a);
    EXPECT_EQ(b.Width(), 3);
    EXPECT_TRUE(b.Transparent());
    EXPECT_EQ(At(b, 2, 1), RGB(1, 2, 3));

    // A decoded picture: 0xAARRGGBB pixels, top row first.
    TBitmapData data;
    data.SetSize(2, 3);
    data.SetPixel(1, 2, 0xFF102030);
    data.SetPixel(0, 0, 0x00FFFFFF);
    TBitmap e;
    e.Assign(data);
    EXPECT_EQ((std::pair{e.Width(), e.Height()}), (std::pair{2, 3}));
    EXPECT_EQ(At(e, 1, 2), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(At(e, 0, 0), kWhite);
    EXPECT_EQ(At(e, 0, 1), RGB(0, 0, 0));
    e.Assign(TBitmapData());
    EXPECT_TRUE(e.Empty());

    // 32-bit bottom-up pixels: the last row in memory is the top row.
    const uint32_t pixels[] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00102030};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 2, 2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    TBitmap c;
    c.LoadFromDIB(info, pixels);
    EXPECT_EQ(At(c, 0, 1), RGB(255, 0, 0));
    EXPECT_EQ(At(c, 1, 0), RGB(0x10, 0x20, 0x30));

    // Any GDI bitmap: a device-dependent one made on the screen.
    TWindowDC screen(nullptr);
    TBitmapHandle ddb(CreateCompatibleBitmap(screen.Get(), 4, 4));
    {
        TMemoryDC dc(screen.Get());
        TSelectObject select(dc.Get(), ddb.Get());
        RECT all{0, 0, 4, 4};
        TBrushHandle brush(CreateSolidBrush(RGB(9, 99, 199)));
        FillRect(dc.Get(), &all, brush.Get());
    }
    TBitmap d;
    d.LoadFromHandle(ddb.Get());
    EXPECT_EQ(d.Width(), 4);
    EXPECT_EQ(At(d, 3, 3), RGB(9, 99, 199));
}

TEST(Colors, SystemColoursAreLookedUp) {
    EXPECT_EQ(ColorToColorRef(SystemColorRef(COLOR_BTNFACE)), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ColorToColorRef(static_cast<TColor>(0x80000000u | COLOR_WINDOW)), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(ColorToColorRef(0x123456), static_cast<COLORREF>(0x123456));
}

}  // namespace
}  // namespace fn
