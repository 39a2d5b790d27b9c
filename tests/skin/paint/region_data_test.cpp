#include <gtest/gtest.h>

#include <random>
#include <set>

#include "skin/paint/region_data.h"

namespace fn {
namespace {

int32_t Read32(const TRegionData& d, size_t offset) {
    const uint8_t* p = d.Bytes.data() + offset;
    return static_cast<int32_t>(p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24);
}

std::vector<TSkinRect> Rects(const TRegionData& d) {
    std::vector<TSkinRect> rects;
    for (int i = 0; i < Read32(d, 8); ++i) {
        const size_t o = 32 + 16 * static_cast<size_t>(i);
        rects.push_back({Read32(d, o), Read32(d, o + 4), Read32(d, o + 8), Read32(d, o + 12)});
    }
    return rects;
}

void SetPixel(TmnFBitmap& m, int x, int y, uint8_t b, uint8_t g, uint8_t r) {
    uint8_t* p = m.Rows[static_cast<size_t>(y)] + 3 * x;
    p[0] = b;
    p[1] = g;
    p[2] = r;
}

TmnFBitmap WhiteMask(int w, int h) {
    TmnFBitmap m(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) SetPixel(m, x, y, 255, 255, 255);
    return m;
}

TEST(MaskToRegionData, BlackWhiteBlackGivesTwoRectanglesByteForByte) {
    TmnFBitmap m = WhiteMask(3, 1);
    SetPixel(m, 0, 0, 0, 0, 0);
    SetPixel(m, 2, 0, 0, 0, 0);
    const TRegionData d = MaskToRegionData(m, 0, 0);
    const std::vector<uint8_t> expected = {
        32, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0,  // header size, type, count, buffer size
        0,  0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 1, 0, 0, 0,  // bounds 0,0,3,1
        0,  0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0,  // 0,0,1,1
        2,  0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 1, 0, 0, 0,  // 2,0,3,1
    };
    EXPECT_EQ(d.Bytes, expected);
    EXPECT_EQ(d.Size(), 32 + 2 * 16);
}

TEST(MaskToRegionData, OnlyPureBlackIsInsideAndOffsetsMoveEverything) {
    TmnFBitmap m = WhiteMask(4, 2);
    SetPixel(m, 1, 1, 0, 0, 1);  // red 1: outside
    SetPixel(m, 2, 1, 1, 0, 0);  // blue 1: outside
    SetPixel(m, 3, 1, 0, 0, 0);
    const TRegionData d = MaskToRegionData(m, -5, 7);
    EXPECT_EQ(Rects(d), (std::vector<TSkinRect>{{-2, 8, -1, 9}}));
    EXPECT_EQ((TSkinRect{Read32(d, 16), Read32(d, 20), Read32(d, 24), Read32(d, 28)}), (TSkinRect{-5, 7, -1, 9}));
}

TEST(MaskToRegionData, EmptyWhiteAndBlackMasks) {
    EXPECT_EQ(MaskToRegionData(TmnFBitmap(0, 5), 0, 0).Size(), 0);
    const TRegionData white = MaskToRegionData(WhiteMask(7, 3), 0, 0);
    EXPECT_EQ(white.Size(), 32);
    EXPECT_EQ(Read32(white, 8), 0);
    // A fresh buffer is zero-filled: all black, one full-width run per row.
    const TRegionData black = MaskToRegionData(TmnFBitmap(7, 3), 0, 0);
    EXPECT_EQ(Rects(black), (std::vector<TSkinRect>{{0, 0, 7, 1}, {0, 1, 7, 2}, {0, 2, 7, 3}}));
}

TEST(MaskToRegionData, LongRunsEndAtTheFirstNonBlackByte) {
    // Row 0: black but for one pixel with only its green byte set; row 1: white with a pixel
    // that is almost black, then a black pixel near the end.
    TmnFBitmap m(40, 2);
    SetPixel(m, 30, 0, 0, 1, 0);
    for (int x = 0; x < 40; ++x) SetPixel(m, x, 1, 255, 255, 255);
    SetPixel(m, 35, 1, 0, 0, 1);
    SetPixel(m, 37, 1, 0, 0, 0);
    EXPECT_EQ(Rects(MaskToRegionData(m, 0, 0)), (std::vector<TSkinRect>{{0, 0, 30, 1}, {31, 0, 40, 1}, {37, 1, 38, 2}}));
}

TEST(MaskToRegionData, TheRegionIsExactlyTheBlackPixelsWithoutARunLimit) {
    // A 301 x 203 checkerboard with noise has far more than 10,000 runs.
    const int w = 301, h = 203;
    std::mt19937 rng(5);
    TmnFBitmap m(w, h);
    std::set<std::pair<int, int>> black;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool inside = ((x + y) % 2 == 0) != (rng() % 7 == 0);
            const uint8_t v = inside ? 0 : static_cast<uint8_t>(1 + rng() % 255);
            SetPixel(m, x, y, rng() % 3 == 0 ? v : 0, rng() % 3 == 1 ? v : 0, inside || rng() % 3 == 2 ? v : 1);
            if (inside) black.insert({x, y});
        }
    const TRegionData d = MaskToRegionData(m, 0, 0);
    const std::vector<TSkinRect> rects = Rects(d);
    EXPECT_GT(rects.size(), 10000u);
    EXPECT_EQ(d.Size(), 32 + 16 * static_cast<int>(rects.size()));
    std::set<std::pair<int, int>> covered;
    const TSkinRect* previous = nullptr;
    for (const TSkinRect& r : rects) {
        ASSERT_EQ(r.Bottom, r.Top + 1);
        ASSERT_LT(r.Left, r.Right);
        if (previous) {
            // Row order, left to right, and maximal: two runs of a row never touch.
            ASSERT_TRUE(previous->Top < r.Top || previous->Right < r.Left);
        }
        for (int x = r.Left; x < r.Right; ++x) ASSERT_TRUE(covered.insert({x, r.Top}).second);
        previous = &r;
    }
    EXPECT_EQ(covered, black);
}

}  // namespace
}  // namespace fn
