// Hit-testing of skinned and built-in frames: borders and corners from the skin's hit-test
// points, the caption, the client, the mask strips and the states that turn sizing off.
#include <gtest/gtest.h>

#include <vector>

#include "skin/form/frame_hit_test.h"
#include "tests/skin/form/frame_test_support.h"

using namespace fn;

namespace {

// The sample frame (a 200 × 100 picture, client (4, 30, 196, 96)) shown at 300 × 150.
TmnFrameGeometry Geometry() {
    TmnSkinFormInfo info = SampleFrameInfo();
    info.HitTestLeftTopPoint = {8, 8};
    info.HitTestRightTopPoint = {192, 8};
    info.HitTestLeftBottomPoint = {8, 92};
    info.HitTestRightBottomPoint = {192, 92};
    return ComputeFrameGeometry(info, 200, 100, 300, 150);
}

TmnHitState State() {
    TmnHitState s;
    s.Width = 300;
    s.Height = 150;
    s.BorderWidth = 3;
    return s;
}

// The caption object covers the caption rectangle.
bool OnCaption(int x, int y) { return x >= 4 && x < 296 && y >= 4 && y < 26; }

}  // namespace

TEST(SkinnedHitTest, EdgesCornersCaptionAndClientWithoutMask) {
    const TmnFrameGeometry g = Geometry();
    const TmnHitState s = State();
    auto hit = [&](int x, int y) { return SkinnedHitTest(g, s, x, y, OnCaption, nullptr); };
    EXPECT_EQ(hit(0, 0), htTopLeft);
    EXPECT_EQ(hit(299, 1), htTopRight);
    EXPECT_EQ(hit(1, 149), htBottomLeft);
    EXPECT_EQ(hit(299, 149), htBottomRight);
    EXPECT_EQ(hit(150, 0), htTop);
    EXPECT_EQ(hit(150, 148), htBottom);
    EXPECT_EQ(hit(2, 70), htLeft);
    EXPECT_EQ(hit(297, 70), htRight);
    // Further in than the border width: the frame's own parts.
    EXPECT_EQ(hit(3, 70), htObject);
    EXPECT_EQ(hit(150, 10), htCaption);
    EXPECT_EQ(hit(150, 70), htClient);
    EXPECT_EQ(hit(295, 145), htClient);  // right and bottom client edges lie just outside
    EXPECT_EQ(hit(296, 70), htObject);
}

TEST(SkinnedHitTest, StatesThatTurnSizingOff) {
    const TmnFrameGeometry g = Geometry();
    TmnHitState s = State();

    s.ObjectActive = true;  // a button under the mouse keeps the point at the border's edges...
    EXPECT_EQ(SkinnedHitTest(g, s, 150, 0, OnCaption, nullptr), htObject);
    EXPECT_EQ(SkinnedHitTest(g, s, 297, 70, OnCaption, nullptr), htObject);
    // ...but not at the corners, where a press must size the window (it ran the close button)
    EXPECT_EQ(SkinnedHitTest(g, s, 0, 0, OnCaption, nullptr), htTopLeft);
    EXPECT_EQ(SkinnedHitTest(g, s, 298, 2, OnCaption, nullptr), htTopRight);
    EXPECT_EQ(SkinnedHitTest(g, s, 298, 12, OnCaption, nullptr), htObject);  // past the corner's reach
    EXPECT_EQ(SkinnedHitTest(g, s, 150, 70, OnCaption, nullptr), htClient);
    s.InSizeMove = true;  // not while the window is being sized
    EXPECT_EQ(SkinnedHitTest(g, s, 150, 0, OnCaption, nullptr), htTop);

    s = State();
    s.Maximized = true;
    EXPECT_EQ(SkinnedHitTest(g, s, 0, 0, OnCaption, nullptr), htObject);
    EXPECT_EQ(SkinnedHitTest(g, s, 150, 70, OnCaption, nullptr), htClient);
    s = State();
    s.Resizable = false;
    EXPECT_EQ(SkinnedHitTest(g, s, 150, 0, OnCaption, nullptr), htObject);

    for (bool rolledUp : {true, false}) {
        s = State();
        s.RolledUp = rolledUp;
        s.Minimized = !rolledUp;
        EXPECT_EQ(SkinnedHitTest(g, s, 0, 0, OnCaption, nullptr), htObject);
        EXPECT_EQ(SkinnedHitTest(g, s, 150, 70, OnCaption, nullptr), htObject);
        EXPECT_EQ(SkinnedHitTest(g, s, 150, 10, OnCaption, nullptr), htCaption);
    }
}

TEST(SkinnedHitTest, MaskStripsDecideWhereTheEdgeIs) {
    // Mask rectangle (4, 4, 296, 146); the strips are black except the top strip's left 20 columns
    // and the left strip's rows from 50 on.
    std::vector<std::tuple<TmnMaskStrip, int, int>> asked;
    TmnMaskPixel black = [&](TmnMaskStrip strip, int x, int y) {
        asked.emplace_back(strip, x, y);
        if (x < 0 || y < 0) return false;
        if (strip == msTop) return x >= 20 && x < 300 && y < 4;
        if (strip == msLeft) return x < 4 && y < 50;
        if (strip == msRight) return x < 4 && y < 142;
        return x < 300 && y < 4;
    };
    EXPECT_TRUE(PointOnMask({4, 4, 296, 146}, 10, 10, black));
    EXPECT_TRUE(asked.empty());  // inside the rectangle no strip is read
    EXPECT_FALSE(PointOnMask({4, 4, 296, 146}, 10, 2, black));
    EXPECT_TRUE(PointOnMask({4, 4, 296, 146}, 30, 3, black));
    EXPECT_FALSE(PointOnMask({4, 4, 296, 146}, 2, 4, black));  // beside the top edge: still the top strip
    EXPECT_TRUE(PointOnMask({4, 4, 296, 146}, 2, 40, black));
    EXPECT_TRUE(PointOnMask({4, 4, 296, 146}, 297, 40, black));
    EXPECT_TRUE(PointOnMask({4, 4, 296, 146}, 100, 147, black));
    const std::vector<std::tuple<TmnMaskStrip, int, int>> expected = {
        {msTop, 10, 2}, {msTop, 30, 3}, {msTop, 2, 4}, {msLeft, 2, 36}, {msRight, 1, 36}, {msBottom, 100, 1}};
    EXPECT_EQ(asked, expected);

    const TmnFrameGeometry g = Geometry();
    const TmnHitState s = State();
    // On the top strip's black part, 3 pixels in from the window edge: not near the edge.
    EXPECT_EQ(SkinnedHitTest(g, s, 100, 3, OnCaption, black), htObject);
    // Where the top strip is transparent, the same depth counts as the edge.
    EXPECT_EQ(SkinnedHitTest(g, s, 14, 3, OnCaption, black), htTop);
    EXPECT_EQ(SkinnedHitTest(g, s, 2, 100, OnCaption, black), htLeft);
    // Inside the mask rectangle nothing is near the edge.
    EXPECT_EQ(SkinnedHitTest(g, s, 4, 20, OnCaption, black), htCaption);
}

TEST(BuiltInHitTest, ThreePixelBordersCaptionAndClient) {
    const TmnBuiltInFrame f = LayoutBuiltInFrame(300, 200, false, {});
    TmnHitState s;
    s.Width = 300;
    s.Height = 200;
    EXPECT_EQ(BuiltInHitTest(f, s, 2, 2), htTopLeft);
    EXPECT_EQ(BuiltInHitTest(f, s, 298, 0), htTopRight);
    EXPECT_EQ(BuiltInHitTest(f, s, 0, 198), htBottomLeft);
    EXPECT_EQ(BuiltInHitTest(f, s, 299, 199), htBottomRight);
    EXPECT_EQ(BuiltInHitTest(f, s, 1, 100), htLeft);
    EXPECT_EQ(BuiltInHitTest(f, s, 100, 2), htTop);
    EXPECT_EQ(BuiltInHitTest(f, s, 298, 100), htRight);
    EXPECT_EQ(BuiltInHitTest(f, s, 100, 198), htBottom);
    EXPECT_EQ(BuiltInHitTest(f, s, 100, 10), htCaption);
    EXPECT_EQ(BuiltInHitTest(f, s, 100, 22), htClient);
    EXPECT_EQ(BuiltInHitTest(f, s, 100, 20), htObject);  // between caption and client
    s.Maximized = true;
    EXPECT_EQ(BuiltInHitTest(f, s, 2, 2), htObject);
    s.Maximized = false;
    s.ObjectActive = true;
    EXPECT_EQ(BuiltInHitTest(f, s, 2, 2), htObject);
}
