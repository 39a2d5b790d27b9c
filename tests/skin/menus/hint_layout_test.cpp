// The hint's size, placement beside the cursor, cursor-height scan and timing.
#include "skin/menus/hint_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace fn {
namespace {

TEST(HintGeometry, SkinnedNeverSmallerThanThePicture) {
    // Picture 32 x 24, client 6,4 .. 26,20.
    THintGeometry g = SkinnedHintGeometry(5, 5, 32, 24, {6, 4, 26, 20}, {6, 6}, {26, 6}, {6, 18}, {26, 18});
    EXPECT_EQ(g.Width, 32);
    EXPECT_EQ(g.Height, 24);
    g = SkinnedHintGeometry(100, 30, 32, 24, {6, 4, 26, 20}, {6, 6}, {26, 6}, {6, 18}, {26, 18});
    EXPECT_EQ(g.Width, 112);
    EXPECT_EQ(g.Height, 38);
    EXPECT_EQ(g.NewClientRect, (TSkinRect{6, 4, 106, 34}));
    EXPECT_EQ(g.NewRBPoint, (TSkinPoint{106, 32}));
    EXPECT_EQ(g.NewLBPoint, (TSkinPoint{6, 32}));
    EXPECT_EQ(UnskinnedHintGeometry(50, 13).Width, 54);
}

TEST(HintPlacement, FlipsAtTheEdgesAndStaysInside) {
    const TSkinRect area{0, 0, 800, 600};
    int x, y;
    PlaceHint(100, 100, 50, 20, area, x, y);
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 100);
    PlaceHint(780, 100, 50, 20, area, x, y);  // right edge: left of the cursor, 2 further
    EXPECT_EQ(x, 728);
    PlaceHint(100, 590, 50, 20, area, x, y);
    EXPECT_EQ(y, 568);
    PlaceHint(-300, -300, 50, 20, area, x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    PlaceHint(10, 10, 900, 20, area, x, y);  // wider than the area
    EXPECT_EQ(x, 0);
}

// A 32 x 32 monochrome cursor: mask data 32 x 64, bottom-up, AND half last.
std::vector<uint8_t> Cursor(int opaqueRowsFromTop) {
    std::vector<uint8_t> bits(4 * 64, 0);
    std::fill(bits.begin() + 4 * 32, bits.end(), uint8_t{0xFF});  // AND half transparent
    for (int screenRow = 0; screenRow < opaqueRowsFromTop; ++screenRow) {
        const int dataRow = 63 - screenRow;
        bits[static_cast<size_t>(dataRow) * 4] = 0x0F;
    }
    return bits;
}

TEST(CursorHeight, ScansTheMaskFromItsVisibleBottom) {
    std::vector<uint8_t> bits = Cursor(19);
    EXPECT_EQ(CursorHeightBelowHotSpot(bits.data(), bits.size(), 32, 64, 0, 32), 19);
    EXPECT_EQ(CursorHeightBelowHotSpot(bits.data(), bits.size(), 32, 64, 5, 32), 14);
    // All transparent AND half: the XOR half decides.
    std::vector<uint8_t> xorOnly = Cursor(0);
    xorOnly[static_cast<size_t>(32 - 12) * 4] = 0x80;  // XOR row 20 from the bottom = screen row 11
    EXPECT_EQ(CursorHeightBelowHotSpot(xorOnly.data(), xorOnly.size(), 32, 64, 0, 32), 12);
}

TEST(CursorHeight, ShortOrEmptyBuffersStayInBounds) {
    std::vector<uint8_t> bits = Cursor(10);
    // Claims more rows than the buffer holds: the scan stays inside (ASan watches this).
    EXPECT_GE(CursorHeightBelowHotSpot(bits.data(), 17, 32, 64, 0, 32), 0);
    EXPECT_EQ(CursorHeightBelowHotSpot(nullptr, 0, 32, 64, 4, 32), 28);
    std::vector<uint8_t> clear(4 * 64, 0xFF);
    std::fill(clear.begin(), clear.begin() + 4 * 32, uint8_t{0});
    EXPECT_EQ(CursorHeightBelowHotSpot(clear.data(), clear.size(), 32, 64, 4, 32), 28);
}

TEST(HintTiming, WaitShowHide) {
    THintTiming t;
    EXPECT_EQ(t.Tick(), THintTiming::Action::None);
    EXPECT_EQ(t.Request(), THintTiming::Action::StartTimer);
    EXPECT_EQ(t.Tick(), THintTiming::Action::ShowAndRestart);
    EXPECT_EQ(t.Tick(), THintTiming::Action::Hide);
    EXPECT_EQ(t.Current(), THintTiming::Phase::Idle);
    t.Request();
    t.Cancel();
    EXPECT_EQ(t.Tick(), THintTiming::Action::None);
}

}  // namespace
}  // namespace fn
