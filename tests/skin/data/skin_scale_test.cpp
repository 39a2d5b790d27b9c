// A skin at display scales: the records and pictures scaled once by the manager stay aligned
// (frame parts, mask, strip cells), lengths scale and counts do not; managers of one skin and
// DPI share one decoded skin, and a written picture or a DPI change stays with its manager.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "skin/data/picture_scale.h"
#include "skin/data/skin_archive.h"
#include "skin/data/skin_data.h"
#include "skin/data/stored_skin.h"
#include "skin/data/zlib_streams.h"

using namespace fn;

namespace {

std::vector<String> Lines(std::wstring_view text) {
    TStringList l;
    l.SetText(text);
    return l.Lines();
}

void Fill(TBitmapData& b, const TSkinRect& r, uint32_t colour) {
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) b.SetPixel(x, y, colour);
}

// Every pixel of r in b has colour; reports the first that has not.
::testing::AssertionResult Solid(const TBitmapData& b, const TSkinRect& r, uint32_t colour) {
    if (r.IsEmpty() || r.Left < 0 || r.Top < 0 || r.Right > b.Width || r.Bottom > b.Height)
        return ::testing::AssertionFailure() << "rectangle outside the picture";
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if ((b.Pixel(x, y) & 0xFFFFFF) != colour)
                return ::testing::AssertionFailure() << "pixel " << x << "," << y << " is " << std::hex << b.Pixel(x, y)
                                                     << ", not " << colour;
    return ::testing::AssertionSuccess();
}

uint32_t PartColour(int column, int row) { return 0x101010u * uint32_t(1 + column + 3 * row) + 0x400000u; }
uint32_t CellColour(int k) { return 0x00A000u + 0x20u * uint32_t(k + 1); }
uint32_t StackColour(int k) { return 0x0000A0u + 0x200000u * uint32_t(k + 1); }

// A 60 x 40 frame of nine coloured parts (corners at 10,8 and 50,32) with a mask over
// 3,2 - 57,38 (its last pixel cut off); an active picture with a strip of four 7-pixel button states from 2,1 and a
// stack of four 3-pixel caption frames from 32,0.
TSkinArchive ProbeArchive() {
    TSkinArchive a;
    a.Picture.SetSize(60, 40);
    const int xs[] = {0, 10, 50, 60}, ys[] = {0, 8, 32, 40};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) Fill(a.Picture, {xs[col], ys[row], xs[col + 1], ys[row + 1]}, PartColour(col, row));
    a.Mask.SetSize(60, 40);
    Fill(a.Mask, {0, 0, 60, 40}, 0xFFFFFF);
    Fill(a.Mask, {3, 2, 57, 38}, 0);
    a.Mask.SetPixel(56, 37, 0xFFFFFF);  // a rounded corner: an edge that is no record's coordinate
    TBitmapData active;
    active.SetSize(45, 12);
    Fill(active, {0, 0, 45, 12}, 0x808080);
    for (int k = 0; k < 4; ++k) Fill(active, {2 + 7 * k, 1, 9 + 7 * k, 6}, CellColour(k));
    for (int k = 0; k < 4; ++k) Fill(active, {32, 3 * k, 44, 3 * k + 3}, StackColour(k));
    a.ActivePictures = {active};
    a.Description = Lines(
        L"[VERSION]\nskinname=Probe\n"
        L"[PICTURES]\npicture=main.bmp\nmask=mask.bmp\nactivepicturescount=1\n0=a.bmp\n"
        L"[FORMINFO]\nlefttoppoint=10,8\nrighttoppoint=50,8\nleftbottompoint=10,32\nrightbottompoint=50,32\n"
        L"clientrect=10,8,50,32\nmaskrectarea=3,2,57,38\nborderwidth=4\n"
        L"[SKINOBJECTS]\ncount=3\n0=Close:animate\n1=Title:caption\n2=MENUITEM:menuitem\n"
        L"[Close]\nactivepictureindex=0\nskinrect=2,7,9,12\nactiveskinrect=2,1,9,6\ncountframes=4\ntimerinterval=40\n"
        L"[Title]\nactivepictureindex=0\nskinrect=32,0,44,3\nanimateskinrect=32,0,44,12\nframecount=4\nfontheight=14\n"
        L"[MENUITEM]\nitemleftoffset=5\nfontheight=-11\n"
        L"[SKINCONTROLS]\ncount=0\n");
    return a;
}

void Store(TmnCompressedStoredSkin& skin, const TSkinArchive& a) {
    TMemoryStream bytes;
    WriteSkinArchive(bytes, a);
    skin.CompressedStream().Clear();
    CompressStream(bytes, skin.CompressedStream());
}

template <class R>
const R& Record(const TmnSkinData& sd, std::wstring_view name) {
    return dynamic_cast<const R&>(*sd.SkinObjects().at(static_cast<size_t>(sd.GetObjectIndex(name))));
}

class SkinScaleTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override { previous_ = SetSkinMessageSink({}); }
    void TearDown() override { SetSkinMessageSink(std::move(previous_)); }
    TSkinMessageSink previous_;
};

}  // namespace

TEST_P(SkinScaleTest, FramePartsMaskAndStripCellsStayAlignedWithTheirPictures) {
    const int dpi = GetParam();
    const double s = dpi / 96.0;
    TmnCompressedStoredSkin stored(nullptr);
    Store(stored, ProbeArchive());
    TmnSkinData sd(nullptr);
    sd.SetDpi(dpi);
    sd.LoadFromCompressedStoredSkin(stored);
    ASSERT_FALSE(sd.Empty());
    EXPECT_EQ(sd.Dpi(), dpi);

    // The nine frame parts, cut at the scaled corner points, each hold their own colour only.
    const TBitmapData& pic = sd.Picture();
    EXPECT_NEAR(pic.Width, 60 * s, 2.0);
    EXPECT_NEAR(pic.Height, 40 * s, 2.0);
    const int xs[] = {0, sd.LeftTopPoint.X, sd.RightTopPoint.X, pic.Width};
    const int ys[] = {0, sd.LeftTopPoint.Y, sd.LeftBottomPoint.Y, pic.Height};
    EXPECT_EQ(sd.RightBottomPoint.X, xs[2]);
    EXPECT_EQ(sd.RightBottomPoint.Y, ys[2]);
    EXPECT_EQ(sd.ClientRect, (TSkinRect{xs[1], ys[1], xs[2], ys[2]}));
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            EXPECT_TRUE(Solid(pic, {xs[col], ys[row], xs[col + 1], ys[row + 1]}, PartColour(col, row)))
                << "part " << col << "," << row;

    // The mask: the same size, two colours, black exactly over the scaled mask area.
    const TBitmapData& mask = sd.Mask();
    ASSERT_EQ(mask.Width, pic.Width);
    ASSERT_EQ(mask.Height, pic.Height);
    EXPECT_TRUE(IsTwoColourMask(mask));
    const TSkinRect& m = sd.MaskRectArea;
    EXPECT_TRUE(Solid(mask, {m.Left, m.Top, m.Right, m.Bottom - static_cast<int>(std::ceil(2 * s))}, 0));
    EXPECT_TRUE(Solid(mask, {0, 0, mask.Width, m.Top}, 0xFFFFFF));
    EXPECT_TRUE(Solid(mask, {0, m.Top, m.Left, m.Bottom}, 0xFFFFFF));
    EXPECT_TRUE(Solid(mask, {m.Right, m.Top, mask.Width, m.Bottom}, 0xFFFFFF));

    // Button states side by side: whole cells of round(7 s), cell k at first + k * that.
    const TBitmapData& active = sd.ActivePictures().at(0);
    const auto& close = Record<TmnDataSkinAnimate>(sd, L"Close");
    const TSkinRect first = close.ActiveSkinRect;
    EXPECT_EQ(first.Width(), ScaleLength(7, s));
    EXPECT_EQ(close.SkinRect.Left, first.Left);
    for (int k = 0; k < close.CountFrames; ++k)
        EXPECT_TRUE(Solid(active, {first.Left + k * first.Width(), first.Top, first.Right + k * first.Width(), first.Bottom},
                          CellColour(k)))
            << "cell " << k;

    // Caption frames stacked: the strip cut into frame count cells of round(3 s) each.
    const auto& title = Record<TmnDataSkinCaption>(sd, L"Title");
    const TSkinRect& a = title.AnimateSkinRect;
    const int step = a.Height() / title.FrameCount;
    EXPECT_EQ(step, ScaleLength(3, s));
    EXPECT_EQ(title.SkinRect.Height(), step);
    for (int k = 0; k < title.FrameCount; ++k)
        EXPECT_TRUE(Solid(active, {a.Left, a.Top + k * step, a.Right, a.Top + (k + 1) * step}, StackColour(k)))
            << "frame " << k;

    // Lengths scale with the same rounding, counts and intervals do not.
    EXPECT_EQ(title.FontHeight, ScaleLength(14, s));
    EXPECT_EQ(Record<TmnDataSkinMenuItem>(sd, L"MENUITEM").FontHeight, ScaleLength(-11, s));
    EXPECT_EQ(Record<TmnDataSkinMenuItem>(sd, L"MENUITEM").ItemLeftOffset, ScaleLength(5, s));
    EXPECT_EQ(sd.BorderWidth, ScaleLength(4, s));
    EXPECT_EQ(close.CountFrames, 4);
    EXPECT_EQ(close.TimerInterval, 40);
    EXPECT_EQ(title.FrameCount, 4);
}

INSTANTIATE_TEST_SUITE_P(Scales, SkinScaleTest, ::testing::Values(120, 144, 168, 192, 288));

TEST(SkinAxisMap, StaysIncreasingAndKeepsStripCellsWholeForAnyCoordinates) {
    std::mt19937 random(28);
    for (int round = 0; round < 300; ++round) {
        const double s = std::uniform_int_distribution<int>(97, 300)(random) / 96.0;
        std::vector<int> coordinates;
        for (int i = 0; i < 30; ++i) coordinates.push_back(std::uniform_int_distribution<int>(0, 400)(random));
        std::vector<TSkinAxisStrip> strips;
        for (int i = 0; i < 3; ++i)
            strips.push_back({std::uniform_int_distribution<int>(0, 300)(random),
                              std::uniform_int_distribution<int>(1, 20)(random),
                              std::uniform_int_distribution<int>(1, 8)(random)});
        const TSkinAxisMap map(s, coordinates, strips);
        // Never closer than in the skin: each source pixel gets at least one device pixel.
        for (int x = -5; x < 420; ++x) ASSERT_GE(map.Map(x + 1) - map.Map(x), 1) << x << " at " << s;
        for (int x : coordinates) ASSERT_NEAR(map.Unmap(map.Map(x)), x, 1e-9);  // anchors map both ways
        // The first strip is never refused; its cells are equally wide.
        const TSkinAxisStrip& st = strips.front();
        for (int k = 0; k <= st.Count; ++k)
            ASSERT_EQ(map.Map(st.Start + k * st.Step) - map.Map(st.Start), k * ScaleLength(st.Step, s));
    }
}

TEST(SkinAxisMap, AStripWithACountOfMillionsAllocatesOnlyUpToTheLargestPicture) {
    const TSkinAxisMap map(2.0, {0, 10}, {{10, 1, 2000000000}});
    EXPECT_EQ(map.Map(10), 20);
    EXPECT_EQ(map.Map(1000), 2000);
}

TEST(ScalePicture, WholeFactorsReplicatePixelsAndFractionsNeverMixInTheKeyColour) {
    TBitmapData p;
    p.SetSize(4, 1);
    p.SetPixel(0, 0, 0x000000);
    p.SetPixel(1, 0, 0xFFFFFF);
    p.SetPixel(2, 0, 0xFF00FF);
    p.SetPixel(3, 0, 0x336699);
    TSkinScaleBuilder twice(192);
    twice.AddPictureSize(4, 1);
    const TBitmapData wide = ScalePicture(p, twice.Build());
    ASSERT_EQ(wide.Width, 8);
    ASSERT_EQ(wide.Height, 2);
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(wide.Pixel(x, 0), p.Pixel(x / 2, 0)) << x;
        EXPECT_EQ(wide.Pixel(x, 1), p.Pixel(x / 2, 0)) << x;
    }
    TSkinScaleBuilder oneAndAHalf(144);
    oneAndAHalf.AddPictureSize(4, 1);
    const TBitmapData mid = ScalePicture(p, oneAndAHalf.Build());
    ASSERT_EQ(mid.Width, 6);
    for (int x = 0; x < mid.Width; ++x) {
        const uint32_t px = mid.Pixel(x, 0) & 0xFFFFFF;
        // A pixel is the key colour or holds none of it: never a pink fringe.
        EXPECT_TRUE(px == 0xFF00FF || ((px >> 16) & 0xFF) != 0xFF || (px & 0xFF) != 0xFF || px == 0xFFFFFF) << x;
    }
    EXPECT_EQ(mid.Pixel(0, 0) & 0xFFFFFF, 0u);                    // the edge's first pixel stays its colour
    EXPECT_EQ(mid.Pixel(1, 0) & 0xFFFFFF, 0x808080u);             // half black, half white
    EXPECT_EQ(mid.Pixel(5, 0) & 0xFFFFFF, 0x336699u);
}

TEST(ScalePicture, ThreefoldBlocksAndUnequalSharesWeighEachSide) {
    // Every pixel of a picture (and of a mask, which keeps its palette) becomes a 3 x 3 block.
    std::mt19937 random(3);
    TBitmapData p, mask;
    p.SetSize(7, 5);
    mask.SetSize(7, 5);
    mask.BitsPerPixel = 1;
    mask.Palette = {0, 0xFFFFFF};
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) {
            p.SetPixel(x, y, random() & 0xFFFFFF);
            mask.SetPixel(x, y, random() % 2 ? 0xFFFFFF : 0);
        }
    TSkinScaleBuilder thrice(288);
    thrice.AddPictureSize(7, 5);
    TSkinRect cells{1, 1, 3, 2};
    thrice.Rect(L"", cells);
    thrice.Strip(StripBeside(cells, 3));
    const TSkinScale scale = thrice.Build();
    for (const TBitmapData* source : {&p, &mask}) {
        const TBitmapData big = ScalePicture(*source, scale);
        ASSERT_EQ(big.Width, 21);
        ASSERT_EQ(big.Height, 15);
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 21; ++x) ASSERT_EQ(big.Pixel(x, y), source->Pixel(x / 3, y / 3)) << x << "," << y;
        EXPECT_EQ(big.Palette, source->Palette);
    }
    // At 125 % the second device pixel covers a quarter of black and three quarters of white.
    TBitmapData edge;
    edge.SetSize(4, 1);
    for (int x = 1; x < 4; ++x) edge.SetPixel(x, 0, 0xFFFFFF);
    edge.SetPixel(3, 0, 0x336699);  // not a mask
    TSkinScaleBuilder quarter(120);
    quarter.AddPictureSize(4, 1);
    const TBitmapData wider = ScalePicture(edge, quarter.Build());
    ASSERT_EQ(wider.Width, 5);
    EXPECT_EQ(wider.Pixel(0, 0) & 0xFFFFFF, 0u);
    EXPECT_EQ(wider.Pixel(1, 0) & 0xFFFFFF, 0xBFBFBFu);
    EXPECT_EQ(wider.Pixel(4, 0) & 0xFFFFFF, 0x336699u);
}

TEST(ScalePicture, RowsScaledAsTheyAreDecodedGiveThePixelsOfDecodingThenScaling) {
    // Pictures of every kind the reader meets, stored as a file holds them (bottom-up, and the
    // same bytes marked top-down): each read straight to its scale equals decoded, then scaled.
    std::mt19937 random(7);
    auto picture = [&](int bits, std::vector<uint32_t> palette, const std::vector<uint32_t>& colours) {
        TBitmapData b;
        b.SetSize(13, 7);
        b.BitsPerPixel = bits;
        b.Palette = std::move(palette);
        for (uint32_t& px : b.Pixels) px = colours.empty() ? random() & 0xFFFFFF : colours[random() % colours.size()];
        return b;
    };
    const std::vector<uint32_t> several = {0x000000, 0xFF00FF, 0x336699, 0xFFFFFF, 0xC0C0C0};
    const TBitmapData pictures[] = {
        picture(8, several, several),                            // a colour table
        picture(24, {}, {}),                                     // 24 bits
        picture(1, {0x000000, 0xFFFFFF}, {0x000000, 0xFFFFFF}),  // a mask
        picture(24, {}, {0x000000, 0xFFFFFF}),                   // a mask stored in 24 bits
        picture(4, {0xFFFFFF, 0xFF0000, 0x000000}, {0x000000, 0xFFFFFF}),  // a mask whose table has a colour
    };
    for (int dpi : {120, 144, 192, 288}) {
        TSkinScaleBuilder builder(dpi);
        builder.AddPictureSize(13, 7);
        TSkinRect cell{2, 1, 5, 4};
        builder.Rect(L"", cell);
        builder.Strip(StripBeside(cell, 3));
        const TSkinScale scale = builder.Build();
        for (const TBitmapData& source : pictures)
            for (bool topDown : {false, true}) {
                TMemoryStream file;
                source.SaveToStream(file);
                if (topDown) {
                    int32_t height = -source.Height;
                    std::memcpy(file.Memory() + 22, &height, 4);
                }
                file.SetPosition(0);
                TBitmapData decoded;
                decoded.LoadFromStream(file);
                const TBitmapData expected = ScalePicture(decoded, scale);
                file.SetPosition(0);
                const TBitmapData scaled = ScalePicture(TBitmapRows(file), scale);
                EXPECT_EQ(file.Position(), file.Size());
                const auto where = ::testing::Message() << dpi << " dpi, " << source.BitsPerPixel << " bits"
                                                        << (topDown ? ", top-down" : "");
                ASSERT_EQ(scaled.Width, expected.Width) << where;
                ASSERT_EQ(scaled.Height, expected.Height) << where;
                EXPECT_TRUE(scaled.Pixels == expected.Pixels) << where;
                EXPECT_EQ(scaled.BitsPerPixel, expected.BitsPerPixel) << where;
                EXPECT_EQ(scaled.Palette, expected.Palette) << where;
            }
    }
}

// A picture within the reading limit that a scale would take past it (to gigabytes) is refused
// before its scaled pixels are allocated.
TEST(ScalePicture, APictureThatWouldGrowPastTheReadingLimitIsRefused) {
    const int32_t side = 8192;  // 64 Mi pixels: the limit itself
    const uint32_t stride = side / 8, offset = 14 + 40 + 8;
    std::vector<uint8_t> bmp(offset + size_t(stride) * side, 0);
    auto put = [&](size_t at, uint32_t v, int bytes) { std::memcpy(&bmp[at], &v, size_t(bytes)); };
    bmp[0] = 'B', bmp[1] = 'M';
    put(2, uint32_t(bmp.size()), 4), put(10, offset, 4);
    put(14, 40, 4), put(18, side, 4), put(22, side, 4), put(26, 1, 2), put(28, 1, 2), put(46, 2, 4);
    put(58, 0xFFFFFF, 4);  // a black and white colour table
    TMemoryStream file;
    file.WriteBuffer(bmp.data(), int64_t(bmp.size()));
    file.SetPosition(0);
    TSkinScaleBuilder builder(192);
    builder.AddPictureSize(side, side);
    EXPECT_THROW(ScalePicture(TBitmapRows(file), builder.Build()), EInvalidGraphic);
}

// ---- one decoded skin shared ----

class SharedSkinTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = SetSkinMessageSink([this](TmnSkinData& sd, unsigned msg) { sent.push_back({&sd, msg}); });
        Store(stored, ProbeArchive());
    }
    void TearDown() override { SetSkinMessageSink(std::move(previous_)); }
    TSkinMessageSink previous_;
    std::vector<std::pair<TmnSkinData*, unsigned>> sent;
    TmnCompressedStoredSkin stored{nullptr};
};

TEST_F(SharedSkinTest, ManagersOfOneSkinAndScaleShareItAndTheLastOneFreesIt) {
    auto first = std::make_unique<TmnSkinData>(nullptr);
    TmnSkinData second(nullptr);
    first->LoadFromCompressedStoredSkin(stored);
    second.LoadFromCompressedStoredSkin(stored);
    EXPECT_EQ(first->DecodedSkin(), second.DecodedSkin());
    EXPECT_EQ(&first->Picture(), &second.Picture());
    const TBitmapData picture = second.Picture();

    // Freeing one leaves the other with every part of the skin.
    first.reset();
    EXPECT_EQ(second.Picture(), picture);
    ASSERT_EQ(second.SkinObjects().size(), 3u);
    EXPECT_EQ(second.SkinObjects()[0]->SectionName, L"Close");

    // Another scale is another skin; back at 96 the two meet again.
    TmnSkinData third(nullptr);
    third.SetDpi(144);
    third.LoadFromCompressedStoredSkin(stored);
    EXPECT_NE(third.DecodedSkin(), second.DecodedSkin());
    third.SetDpi(96);
    EXPECT_EQ(third.DecodedSkin(), second.DecodedSkin());

    // Freed with the last user.
    std::weak_ptr<const TmnDecodedSkin> shared = second.DecodedSkin();
    second.ClearAll();
    third.ClearAll();
    EXPECT_TRUE(shared.expired());
}

TEST_F(SharedSkinTest, AWrittenPictureOrAScaleChangeStaysWithItsManager) {
    TmnSkinData a(nullptr), b(nullptr);
    a.LoadFromCompressedStoredSkin(stored);
    b.LoadFromCompressedStoredSkin(stored);
    const TBitmapData before = b.Picture();
    a.WritablePicture().SetPixel(0, 0, 0x123456);
    a.WritableActivePictures().at(0).SetPixel(0, 0, 0x654321);
    EXPECT_EQ(a.Picture().Pixel(0, 0), 0x123456u);
    EXPECT_EQ(b.Picture(), before);
    EXPECT_NE(b.ActivePictures().at(0).Pixel(0, 0), 0x654321u);
    // A third manager loading now gets the shared, unwritten skin.
    TmnSkinData c(nullptr);
    c.LoadFromCompressedStoredSkin(stored);
    EXPECT_EQ(c.Picture(), before);

    // A DPI change is announced as a skin change to its manager only.
    sent.clear();
    a.SetDpi(192);
    const std::vector<std::pair<TmnSkinData*, unsigned>> announced = {
        {&a, MSG_SKIN_BEFORE_CHANGE}, {&a, MSG_SKIN_CHANGE}, {&a, MSG_SKIN_AFTER_CHANGE}};
    EXPECT_EQ(sent, announced);
    EXPECT_EQ(a.Picture().Width, 120);
    EXPECT_EQ(a.LeftTopPoint.X, 20);
    EXPECT_EQ(b.Picture(), before);
    EXPECT_EQ(b.LeftTopPoint.X, 10);
    EXPECT_EQ(b.Dpi(), 96);

    // Out-of-range DPIs are kept within 96..480; the same DPI again announces nothing.
    sent.clear();
    a.SetDpi(5000);
    EXPECT_EQ(a.Dpi(), SkinMaxDpi);
    a.SetDpi(SkinMaxDpi);
    EXPECT_EQ(sent.size(), 3u);
    a.SetDpi(-1);
    EXPECT_EQ(a.Dpi(), SkinBaseDpi);
    EXPECT_EQ(a.Picture(), before);
}

TEST_F(SharedSkinTest, WhatWindowsDeriveForASizeIsBuiltOnceAndGoesWithTheSkin) {
    struct TSize {
        int W, H;
        bool operator==(const TSize&) const = default;
    };
    int built = 0;
    auto make = [&built](int value) {
        return [&built, value] {
            ++built;
            return std::make_shared<const int>(value);
        };
    };
    TmnSkinData a(nullptr), b(nullptr);
    a.LoadFromCompressedStoredSkin(stored);
    b.LoadFromCompressedStoredSkin(stored);
    ASSERT_NE(a.SharedCache(), nullptr);
    ASSERT_EQ(a.SharedCache(), b.SharedCache());
    // Two windows of one skin and size: one build, the same result.
    const auto first = a.SharedCache()->Get<const int>(TSize{300, 200}, 4, make(1));
    const auto second = b.SharedCache()->Get<const int>(TSize{300, 200}, 4, make(2));
    EXPECT_EQ(first, second);
    EXPECT_EQ(built, 1);
    // Another size is another entry.
    EXPECT_EQ(*b.SharedCache()->Get<const int>(TSize{301, 200}, 4, make(3)), 3);
    EXPECT_EQ(built, 2);
    // Bounded: the least recently used goes first; a window holding it keeps its own.
    for (int w = 0; w < 4; ++w) a.SharedCache()->Get<const int>(TSize{w, 1}, 4, make(10 + w));
    EXPECT_EQ((a.SharedCache()->Count<const int, TSize>()), 4u);
    EXPECT_EQ(*first, 1);
    EXPECT_EQ(*a.SharedCache()->Get<const int>(TSize{300, 200}, 4, make(4)), 4);

    // A manager whose frame geometry or pictures were changed derives its own.
    b.LeftTopPoint.X += 1;
    EXPECT_EQ(b.SharedCache(), nullptr);
    b.LeftTopPoint.X -= 1;
    EXPECT_EQ(b.SharedCache(), a.SharedCache());
    b.WritableMask();
    EXPECT_EQ(b.SharedCache(), nullptr);

    // A skin change drops it: another scale has its own cache, and the last user frees it.
    std::weak_ptr<const int> kept = a.SharedCache()->Get<const int>(TSize{300, 200}, 4, make(5));
    a.SetDpi(192);
    ASSERT_NE(a.SharedCache(), nullptr);
    EXPECT_EQ(*a.SharedCache()->Get<const int>(TSize{300, 200}, 4, make(6)), 6);
    EXPECT_FALSE(kept.expired());  // b still shows the skin at 96
    b.ClearAll();
    EXPECT_TRUE(kept.expired());
}
