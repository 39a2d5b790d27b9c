#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "skin/paint/effects.h"

namespace fn {
namespace {

// A buffer whose every pixel has the same value v in all three channels.
TmnEffectBmp Grey(int w, int h, uint8_t v) {
    TmnEffectBmp b(w, h);
    for (int y = 0; y < h; ++y) std::memset(b.RowPointer(y), v, 3 * static_cast<size_t>(w));
    return b;
}

TmnEffectBmp FromValues(int w, int h, const std::vector<int>& values) {
    TmnEffectBmp b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const auto v = static_cast<uint8_t>(values[static_cast<size_t>(y * w + x)]);
            b.SetPixel(x, y, {v, v, v});
        }
    return b;
}

TmnEffectBmp Random(int w, int h, unsigned seed) {
    TmnEffectBmp b(w, h);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
        for (int i = 0; i < b.RowStride; ++i) b.RowPointer(y)[i] = static_cast<uint8_t>(rng());
    return b;
}

TmnEffectBmp Copy(const TmnEffectBmp& b) {
    TmnEffectBmp c(b.Width, b.Height);
    std::memcpy(c.Bits, b.Bits, static_cast<size_t>(b.ByteSize));
    return c;
}

bool Same(const TmnEffectBmp& a, const TmnEffectBmp& b) {
    return a.Width == b.Width && a.Height == b.Height && std::memcmp(a.Bits, b.Bits, static_cast<size_t>(a.ByteSize)) == 0;
}

// The blue channel of every pixel, row by row (the tests use grey pictures).
std::vector<int> Values(const TmnEffectBmp& b) {
    std::vector<int> v;
    for (int y = 0; y < b.Height; ++y)
        for (int x = 0; x < b.Width; ++x) v.push_back(b.GetPixel(x, y).B);
    return v;
}

TEST(EffectBmp, LayoutPadsRowsToFourBytes) {
    TmnEffectBmp b(5, 3);
    EXPECT_EQ(b.RowStride, 16);
    EXPECT_EQ(b.ByteSize, 48);
    b.SetPixel(4, 2, {1, 2, 3});
    EXPECT_EQ(b.Bits[2 * 16 + 12], 1);
    EXPECT_EQ(b.Bits[2 * 16 + 14], 3);
    EXPECT_EQ(b.GetPixel(5, 0), (TPixel24{}));  // outside: black, no read past the row
    b.SetPixel(-1, 0, {9, 9, 9});               // outside: ignored
}

TEST(MorphBlend, RoundsHalvesToEvenAndClampsTheFactor) {
    TmnEffectBmp s = FromValues(4, 1, {0, 1, 3, 200});
    const TmnEffectBmp o = FromValues(4, 1, {255, 0, 0, 100});
    s.MorphBlend(o, 0.5);
    EXPECT_EQ(Values(s), (std::vector<int>{128, 0, 2, 150}));  // 127.5, 0.5, 1.5, 150

    TmnEffectBmp keep = FromValues(2, 1, {10, 20});
    keep.MorphBlend(FromValues(2, 1, {90, 80}), -1);
    EXPECT_EQ(Values(keep), (std::vector<int>{10, 20}));
    keep.MorphBlend(FromValues(2, 1, {90, 80}), NAN);
    EXPECT_EQ(Values(keep), (std::vector<int>{10, 20}));
    keep.MorphBlend(FromValues(2, 1, {90, 80}), 2);
    EXPECT_EQ(Values(keep), (std::vector<int>{90, 80}));
}

TEST(MorphBlend, MatchesTheFormulaOnEveryChannelOfALargePicture) {
    for (double k : {0.2, 0.4, 0.5, 0.6000000000000001, 0.8}) {
        TmnEffectBmp s = Random(123, 45, 1);
        const TmnEffectBmp o = Random(123, 45, 2);
        const TmnEffectBmp before = Copy(s);
        s.MorphBlend(o, k);
        for (int y = 0; y < s.Height; ++y)
            for (int i = 0; i < 3 * s.Width; ++i) {
                const double v = (1 - k) * before.RowPointer(y)[i] + k * o.RowPointer(y)[i];
                ASSERT_EQ(s.RowPointer(y)[i], static_cast<int>(std::nearbyint(v))) << k;
            }
    }
}

TEST(MorphLeftGradient, MatchesTheFormulaForEveryColumnWeightOfALargePicture) {
    // Weights x / a of every fraction, so that many values fall close to a tie.
    for (double k : {0.37, 0.5, 0.81}) {
        TmnEffectBmp s = Random(301, 7, 3);
        const TmnEffectBmp o = Random(301, 7, 4);
        const TmnEffectBmp before = Copy(s);
        s.MorphLeftGradient(o, k);
        const int a = static_cast<int>(std::nearbyint(301 * k));
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 301; ++x)
                for (int c = 0; c < 3; ++c) {
                    const double w = x <= a ? static_cast<double>(x) / a : 1.0;
                    const int sv = before.PixelPointer(x, y)[c], ov = o.PixelPointer(x, y)[c];
                    ASSERT_EQ(s.PixelPointer(x, y)[c], static_cast<int>(std::nearbyint(w * sv + (1 - w) * ov)))
                        << k << " at " << x;
                }
    }
}

TEST(MorphHGradient, RevealsFromTheCentreWithSoftEdges) {
    // k = 0: the band is column 5 alone; edges of 5 columns with steps of 0.2.
    TmnEffectBmp s = Grey(10, 2, 100);
    s.MorphHGradient(Grey(10, 2, 200), 0);
    EXPECT_EQ(Values(s), (std::vector<int>{100, 120, 140, 160, 180, 200, 180, 160, 140, 120,
                                           100, 120, 140, 160, 180, 200, 180, 160, 140, 120}));
    // k = 0.5: band 3..7, edges of 2 with step 0.5.
    TmnEffectBmp h = Grey(10, 1, 100);
    h.MorphHGradient(Grey(10, 1, 200), 0.5);
    EXPECT_EQ(Values(h), (std::vector<int>{100, 100, 150, 200, 200, 200, 200, 200, 150, 100}));
    // k = 0.25: round(2.5) is 2 (ties to even), so the edges are 4 wide with step 0.25.
    TmnEffectBmp q = Grey(10, 1, 0);
    q.MorphHGradient(Grey(10, 1, 200), 0.25);
    EXPECT_EQ(Values(q), (std::vector<int>{0, 50, 100, 150, 200, 200, 200, 150, 100, 50}));
}

TEST(MorphVGradient, RevealsFromTheMiddleRowAndShowsTheOtherWhenTheEdgeIsEmpty) {
    TmnEffectBmp s = Grey(1, 10, 0);
    s.MorphVGradient(Grey(1, 10, 200), 0);  // band row 5, edges of (10 - 1) div 2 = 4
    EXPECT_EQ(Values(s), (std::vector<int>{0, 0, 50, 100, 150, 200, 150, 100, 50, 0}));
    TmnEffectBmp t = Grey(2, 3, 0);
    t.MorphVGradient(Grey(2, 3, 200), 1.0 / 3);  // band row 1, edge height 0: step 0
    EXPECT_EQ(Values(t), (std::vector<int>(6, 200)));
    // The gradient morph picks the vertical form for tall pictures only.
    TmnEffectBmp tall = Grey(1, 10, 0), wide = Grey(10, 1, 0);
    tall.MorphGradient(Grey(1, 10, 200), 0);
    wide.MorphGradient(Grey(10, 1, 200), 0);
    EXPECT_EQ(Values(tall), Values(s));
    EXPECT_EQ(Values(wide), (std::vector<int>{0, 40, 80, 120, 160, 200, 160, 120, 80, 40}));
}

TEST(MorphSideGradients, RampFromTheOtherPictureAtTheOuterEdge) {
    TmnEffectBmp l = Grey(10, 1, 0);
    l.MorphLeftGradient(Grey(10, 1, 250), 0.5);  // a = 5, w = x / 5
    EXPECT_EQ(Values(l), (std::vector<int>{250, 200, 150, 100, 50, 0, 0, 0, 0, 0}));
    TmnEffectBmp l1 = Grey(4, 1, 0);
    l1.MorphLeftGradient(Grey(4, 1, 250), 0.01);  // a is at least 1
    EXPECT_EQ(Values(l1), (std::vector<int>{250, 0, 0, 0}));
    TmnEffectBmp r = Grey(10, 1, 0);
    r.MorphRightGradient(Grey(10, 1, 250), 0.5);  // a = 5, step 0.2 from the right; stops at 0.8
    EXPECT_EQ(Values(r), (std::vector<int>{0, 0, 0, 0, 0, 50, 100, 150, 200, 250}));
}

TEST(MorphSlides, BringTheActivePictureInFromOneSide) {
    const TmnEffectBmp o = FromValues(4, 1, {11, 12, 13, 14});
    TmnEffectBmp l = FromValues(4, 1, {1, 2, 3, 4});
    l.MorphLeftSlide(o, 0.1);  // round(0.4) = 0, still one column
    EXPECT_EQ(Values(l), (std::vector<int>{14, 2, 3, 4}));
    TmnEffectBmp l2 = FromValues(4, 1, {1, 2, 3, 4});
    l2.MorphLeftSlide(o, 0.5);
    EXPECT_EQ(Values(l2), (std::vector<int>{13, 14, 3, 4}));
    TmnEffectBmp r = FromValues(4, 1, {1, 2, 3, 4});
    r.MorphRightSlide(o, 0.5);
    EXPECT_EQ(Values(r), (std::vector<int>{1, 2, 11, 12}));
    TmnEffectBmp r1 = FromValues(4, 1, {1, 2, 3, 4});
    r1.MorphRightSlide(o, 1);  // at most Width - 1 columns
    EXPECT_EQ(Values(r1), (std::vector<int>{1, 11, 12, 13}));
}

TEST(MorphPush, PushesTheNormalPictureOutToTheRight) {
    const TmnEffectBmp o = FromValues(5, 1, {11, 12, 13, 14, 15});
    TmnEffectBmp p = FromValues(5, 1, {1, 2, 3, 4, 5});
    p.MorphPush(o, 0.4);  // a = 2: shift by 3
    EXPECT_EQ(Values(p), (std::vector<int>{13, 14, 15, 1, 2}));
    TmnEffectBmp p0 = FromValues(5, 1, {1, 2, 3, 4, 5});
    p0.MorphPush(o, 0);
    EXPECT_EQ(Values(p0), (std::vector<int>{15, 1, 2, 3, 4}));
}

TEST(Morphs, DifferentSizesChangeNothingAndTheTableDispatchesEveryKind) {
    const TmnEffectBmp other = Random(8, 6, 9);
    for (int kind = 0; kind < MorphKindCount; ++kind) {
        TmnEffectBmp s = Random(7, 6, 3);
        const TmnEffectBmp before = Copy(s);
        ApplyMorph(s, kind, other, 0.4);
        EXPECT_TRUE(Same(s, before)) << kind;
    }
    using Op = void (TmnEffectBmp::*)(const TmnEffectBmp&, double);
    const Op direct[] = {&TmnEffectBmp::MorphBlend,         &TmnEffectBmp::MorphGradient,
                         &TmnEffectBmp::MorphLeftGradient,  &TmnEffectBmp::MorphRightGradient,
                         &TmnEffectBmp::MorphLeftSlide,     &TmnEffectBmp::MorphRightSlide,
                         &TmnEffectBmp::MorphPush};
    const TmnEffectBmp active = Random(13, 9, 4);
    for (int kind = 0; kind < MorphKindCount; ++kind) {
        TmnEffectBmp a = Random(13, 9, 5), b = Random(13, 9, 5);
        ApplyMorph(a, kind, active, 0.6);
        (b.*direct[kind])(active, 0.6);
        EXPECT_TRUE(Same(a, b)) << kind;
        EXPECT_FALSE(Same(a, Random(13, 9, 5))) << kind;
    }
    TmnEffectBmp s = Random(13, 9, 5);
    ApplyMorph(s, 7, active, 0.6);
    EXPECT_TRUE(Same(s, Random(13, 9, 5)));
}

TEST(InactiveEffects, BrightnessDarknessGrayscaleAndInvert) {
    TmnEffectBmp b = FromValues(4, 1, {0, 1, 2, 255});
    b.Brightness(0.5);
    EXPECT_EQ(Values(b), (std::vector<int>{128, 128, 128, 255}));  // 127.5, 128, 128.5, 255
    TmnEffectBmp d = FromValues(3, 1, {5, 7, 255});
    d.Darkness(0.5);
    EXPECT_EQ(Values(d), (std::vector<int>{2, 4, 128}));  // 2.5, 3.5, 127.5
    // Every channel value, on rows of an odd byte count, against the formulas.
    TmnEffectBmp all(85, 3);
    for (int i = 0; i < 3 * 85 * 3; ++i) all.RowPointer(i / 255)[i % 255] = static_cast<uint8_t>(i);
    TmnEffectBmp bright = Copy(all), dark = Copy(all);
    bright.Brightness(0.3);
    dark.Darkness(0.3);
    for (int y = 0; y < 3; ++y)
        for (int i = 0; i < 255; ++i) {
            const int v = all.RowPointer(y)[i];
            ASSERT_EQ(bright.RowPointer(y)[i], std::nearbyint(0.7 * v + 0.3 * 255)) << v;
            ASSERT_EQ(dark.RowPointer(y)[i], std::nearbyint(0.7 * v)) << v;
        }
    TmnEffectBmp clamp = FromValues(1, 1, {100});
    clamp.Darkness(3);  // amounts are clamped to 0..1
    EXPECT_EQ(Values(clamp), (std::vector<int>{0}));

    TmnEffectBmp g(3, 1);
    g.SetPixel(0, 0, {0, 0, 10});    // red 10: 3
    g.SetPixel(1, 0, {0, 100, 0});   // green 100: 59
    g.SetPixel(2, 0, {200, 0, 0});   // blue 200: 22
    g.Grayscale();
    EXPECT_EQ(g.GetPixel(0, 0), (TPixel24{3, 3, 3}));
    EXPECT_EQ(g.GetPixel(1, 0), (TPixel24{59, 59, 59}));
    EXPECT_EQ(g.GetPixel(2, 0), (TPixel24{22, 22, 22}));
    TmnEffectBmp colours = Random(97, 13, 21);
    const TmnEffectBmp original = Copy(colours);
    colours.Grayscale();
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 97; ++x) {
            const uint8_t* p = original.PixelPointer(x, y);
            ASSERT_EQ(colours.GetPixel(x, y).R, static_cast<int>(std::nearbyint(0.3 * p[2] + 0.59 * p[1] + 0.11 * p[0])));
        }
    TmnEffectBmp greys = TmnEffectBmp(256, 1);
    for (int v = 0; v < 256; ++v) greys.SetPixel(v, 0, {uint8_t(v), uint8_t(v), uint8_t(v)});
    greys.Grayscale();
    for (int v = 0; v < 256; ++v) ASSERT_EQ(greys.GetPixel(v, 0).G, v);

    // Padding bytes are not part of the picture.
    TmnEffectBmp i = Random(5, 4, 8);
    const TmnEffectBmp before = Copy(i);
    i.Invert();
    EXPECT_EQ(i.Bits[0], before.Bits[0] ^ 0xFF);
    EXPECT_EQ(i.Bits[15], before.Bits[15]);
    i.Invert();
    EXPECT_TRUE(Same(i, before));
}

TEST(InactiveEffects, NoiseAddsOneUniformOffsetPerPixel) {
    TmnEffectBmp::SetNoiseSeed(42);
    TmnEffectBmp n = Grey(200, 100, 128);
    n.Noise(50);
    std::vector<int> counts(50, 0);
    for (int y = 0; y < n.Height; ++y)
        for (int x = 0; x < n.Width; ++x) {
            const TPixel24 p = n.GetPixel(x, y);
            ASSERT_TRUE(p.B == p.G && p.G == p.R);
            const int offset = p.B - 128;
            ASSERT_GE(offset, -25);
            ASSERT_LE(offset, 24);
            ++counts[static_cast<size_t>(offset + 25)];
        }
    for (int c : counts) EXPECT_NEAR(c, 20000 / 50, 100);  // uniform within a few deviations
    // Channels are clamped at both ends: a black picture stays within 0..24 and a white one
    // within 230..255 (a wrapped sum would land at the other end), and the offsets that fall
    // beyond the edge (-25..0 and 0..24: 26 and 25 of 50) all give the edge value.
    for (const int edge : {0, 255}) {
        TmnEffectBmp e = Grey(200, 100, static_cast<uint8_t>(edge));
        e.Noise(50);
        int atEdge = 0;
        for (int v : Values(e)) {
            ASSERT_LE(std::abs(v - edge), 25) << edge;
            atEdge += v == edge;
        }
        EXPECT_NEAR(atEdge, 20000 * (edge ? 25 : 26) / 50, 400) << edge;
    }
    TmnEffectBmp one = Grey(3, 3, 77);
    one.Noise(1);
    EXPECT_TRUE(Same(one, Grey(3, 3, 77)));
}

TEST(InactiveEffects, SplitBlurWorksInPlaceWithOwnRowAndColumnAtTheEdges) {
    TmnEffectBmp row = FromValues(3, 1, {0, 100, 200});
    row.SplitBlur(1);
    EXPECT_EQ(Values(row), (std::vector<int>{50, 125, 162}));
    TmnEffectBmp column = FromValues(1, 3, {0, 100, 200});
    column.SplitBlur(1);
    EXPECT_EQ(Values(column), (std::vector<int>{50, 125, 162}));
    // Centre of a 3 x 3: two samples from the blurred top row, two from the untouched bottom row.
    TmnEffectBmp square = FromValues(3, 3, {0, 0, 0, 0, 0, 0, 40, 0, 80});
    square.SplitBlur(1);
    EXPECT_EQ(Values(square)[4], (0 + 0 + 40 + 80) / 4);
    TmnEffectBmp still = Random(6, 5, 2);
    still.SplitBlur(0);
    EXPECT_TRUE(Same(still, Random(6, 5, 2)));
}

TEST(InactiveEffects, TableAppliesTheFixedArguments) {
    const TmnEffectBmp source = Random(9, 7, 6);
    auto viaTable = [&](int effect) {
        TmnEffectBmp b = Copy(source);
        TmnEffectBmp::SetNoiseSeed(1);
        ApplyInactiveEffect(b, effect);
        return b;
    };
    TmnEffectBmp b0 = Copy(source), b1 = Copy(source), b2 = Copy(source), b3 = Copy(source),
                 b4 = Copy(source), b5 = Copy(source);
    b0.Brightness(0.5);
    b1.Darkness(0.3);
    b2.Grayscale();
    TmnEffectBmp::SetNoiseSeed(1);
    b3.Noise(50);
    b4.SplitBlur(1);
    b5.Invert();
    const TmnEffectBmp* expected[] = {&b0, &b1, &b2, &b3, &b4, &b5};
    for (int e = 0; e < InactiveEffectCount; ++e) EXPECT_TRUE(Same(viaTable(e), *expected[e])) << e;
    EXPECT_TRUE(Same(viaTable(6), source));
}

TEST(FlipVertical, TwiceRestoresThePicture) {
    const TmnEffectBmp a = Random(7, 5, 12);
    TmnEffectBmp b(7, 5), c(7, 5);
    a.FlipVertical(b);
    EXPECT_EQ(std::memcmp(b.RowPointer(0), a.RowPointer(4), 21), 0);
    b.FlipVertical(c);
    for (int y = 0; y < 5; ++y) ASSERT_EQ(std::memcmp(c.RowPointer(y), a.RowPointer(y), 21), 0);
    TmnEffectBmp small(7, 4);
    a.FlipVertical(small);  // another size: untouched
    EXPECT_TRUE(Same(small, TmnEffectBmp(7, 4)));
}

}  // namespace
}  // namespace fn
