// The skin objects' arithmetic: the corner rule, frames cut from strips, morph steps, the
// caption's text area and position.
#include <gtest/gtest.h>

#include <climits>

#include "skin/form/object_geometry.h"

using namespace fn;

namespace {

// A 200 x 60 frame picture cut at (20,30), (150,30), (20,50), (150,50).
const TmnCornerFrame kFrame{{20, 30}, {150, 30}, {20, 50}, {150, 50}, 200, 60};

}  // namespace

TEST(PlaceByCorners, CornersStayOrMoveWithTheWindowAndSpanningRectanglesGrow) {
    for (int dx : {-40, 0, 37, 500}) {
        const int dy = dx / 2;
        // Left-top corner: fixed at every size.
        EXPECT_EQ(PlaceByCorners({4, 4, 16, 16}, kFrame, dx, dy), (TSkinRect{4, 4, 16, 16}));
        // Right-top: moves with the width only.
        EXPECT_EQ(PlaceByCorners({184, 4, 196, 16}, kFrame, dx, dy), (TSkinRect{184 + dx, 4, 196 + dx, 16}));
        // Left-bottom: moves down; right-bottom: both ways.
        EXPECT_EQ(PlaceByCorners({4, 52, 16, 58}, kFrame, dx, dy), (TSkinRect{4, 52 + dy, 16, 58 + dy}));
        EXPECT_EQ(PlaceByCorners({160, 52, 170, 58}, kFrame, dx, dy), (TSkinRect{160 + dx, 52 + dy, 170 + dx, 58 + dy}));
        // From the left-top into the right-top zone: the caption widens.
        EXPECT_EQ(PlaceByCorners({16, 2, 160, 28}, kFrame, dx, dy), (TSkinRect{16, 2, 160 + dx, 28}));
        // Left-top to right-bottom: grows both ways; left-top to left-bottom: grows down.
        EXPECT_EQ(PlaceByCorners({2, 2, 160, 55}, kFrame, dx, dy), (TSkinRect{2, 2, 160 + dx, 55 + dy}));
        EXPECT_EQ(PlaceByCorners({2, 2, 10, 55}, kFrame, dx, dy), (TSkinRect{2, 2, 10, 55 + dy}));
        // Left-bottom to right-bottom: moved down and widened; right-top to right-bottom: moved right, taller.
        EXPECT_EQ(PlaceByCorners({2, 52, 160, 58}, kFrame, dx, dy), (TSkinRect{2, 52 + dy, 160 + dx, 58 + dy}));
        EXPECT_EQ(PlaceByCorners({160, 2, 170, 55}, kFrame, dx, dy), (TSkinRect{160 + dx, 2, 170 + dx, 55 + dy}));
    }
    // Whole containment takes the zone's right and bottom edges in; the corner test is
    // half-open, so a corner on a zone's far edge belongs to the next zone.
    EXPECT_EQ(PlaceByCorners({4, 4, 20, 30}, kFrame, 10, 10), (TSkinRect{4, 4, 20, 30}));
    EXPECT_EQ(PlaceByCorners({16, 2, 150, 28}, kFrame, 10, 0), (TSkinRect{16, 2, 160, 28}));
    EXPECT_EQ(PlaceByCorners({30, 2, 150, 28}, kFrame, 10, 0), (TSkinRect{30, 2, 150, 28}));
    // A rectangle in the middle stays where it is.
    EXPECT_EQ(PlaceByCorners({40, 35, 60, 45}, kFrame, 10, 10), (TSkinRect{40, 35, 60, 45}));
    // Huge offsets saturate instead of wrapping.
    const TSkinRect far = PlaceByCorners({184, 4, 196, 16}, kFrame, INT_MAX, 0);
    EXPECT_EQ(far.Right, INT_MAX);
    EXPECT_GE(far.Left, 184);
}

TEST(ObjectHitTest, LeftAndTopEdgesAreInsideRightAndBottomOutside) {
    const TSkinRect r{10, 20, 30, 40};
    EXPECT_TRUE(PointInObject(r, 10, 20));
    EXPECT_TRUE(PointInObject(r, 29, 39));
    EXPECT_FALSE(PointInObject(r, 30, 25));
    EXPECT_FALSE(PointInObject(r, 15, 40));
    EXPECT_FALSE(PointInObject(r, 9, 25));
    EXPECT_FALSE(PointInObject({10, 20, 10, 40}, 10, 25));  // empty
}

TEST(ObjectFrames, AnimationFramesAreWholeAndInsideThePicture) {
    EXPECT_EQ(ImageInPicture({0, 0, 10, 10}, 10, 10), (TSkinRect{0, 0, 10, 10}));
    EXPECT_TRUE(ImageInPicture({0, 0, 11, 10}, 10, 10).IsEmpty());
    EXPECT_TRUE(ImageInPicture({-1, 0, 5, 5}, 10, 10).IsEmpty());
    EXPECT_TRUE(ImageInPicture({5, 5, 5, 9}, 10, 10).IsEmpty());

    EXPECT_EQ(WholeFramesBeside({0, 0, 20, 20}, 80, 40), 4);
    EXPECT_EQ(WholeFramesBeside({10, 0, 30, 20}, 80, 40), 3);  // 70 pixels hold three frames
    EXPECT_EQ(WholeFramesBeside({0, 0, 20, 20}, 19, 40), 0);
    EXPECT_EQ(WholeFramesBeside({}, 80, 40), 0);

    EXPECT_EQ(FrameBeside({0, 0, 20, 20}, 4, 1), (TSkinRect{0, 0, 20, 20}));
    EXPECT_EQ(FrameBeside({0, 0, 20, 20}, 4, 4), (TSkinRect{60, 0, 80, 20}));
    EXPECT_TRUE(FrameBeside({0, 0, 20, 20}, 4, 5).IsEmpty());
    EXPECT_TRUE(FrameBeside({0, 0, 20, 20}, 4, 0).IsEmpty());
    EXPECT_TRUE(FrameBeside({0, 0, 20, 20}, 0, 1).IsEmpty());
    // Far frames of a wide strip: computed without overflow, refused beyond the integer range.
    EXPECT_TRUE(FrameBeside({0, 0, 1 << 30, 1}, 4, 3).IsEmpty());
}

TEST(ObjectFrames, CaptionStripsAreCutByCountAndLimitedToThePicture) {
    const TSkinRect skin{0, 0, 100, 20};
    // Side by side: 4 frames of 25.
    TmnFrameStrip s = CaptionFrameStrip({0, 30, 100, 50}, skin, 4, 200, 100);
    EXPECT_FALSE(s.Vertical);
    EXPECT_EQ(s.Count, 4);
    EXPECT_EQ(FrameOfStrip(s, 2), (TSkinRect{25, 30, 50, 50}));
    // Stacked when taller than the caption: 3 frames of 20.
    s = CaptionFrameStrip({0, 0, 100, 60}, skin, 3, 200, 100);
    EXPECT_TRUE(s.Vertical);
    EXPECT_EQ(FrameOfStrip(s, 3), (TSkinRect{0, 40, 100, 60}));
    EXPECT_TRUE(FrameOfStrip(s, 4).IsEmpty());
    // Count 0 or below: off.
    EXPECT_EQ(CaptionFrameStrip({0, 30, 100, 50}, skin, 0, 200, 100).Count, 0);
    EXPECT_EQ(CaptionFrameStrip({0, 30, 100, 50}, skin, -5, 200, 100).Count, 0);
    // More frames than pixels: one-pixel frames.
    s = CaptionFrameStrip({0, 30, 100, 50}, skin, 1000000, 200, 100);
    EXPECT_EQ(s.Count, 100);
    EXPECT_EQ(FrameOfStrip(s, 100), (TSkinRect{99, 30, 100, 50}));
    // A strip running off the picture keeps only its whole frames inside; one across it none.
    s = CaptionFrameStrip({100, 0, 200, 20}, {0, 0, 100, 20}, 4, 160, 100);
    EXPECT_EQ(s.Count, 2);
    EXPECT_EQ(CaptionFrameStrip({0, 90, 100, 110}, skin, 4, 200, 100).Count, 0);
    EXPECT_EQ(CaptionFrameStrip({0, 30, 100, 50}, skin, 4, 0, 0).Count, 0);
}

TEST(ObjectMorph, FiveStepsReachEachEndAndStayThere) {
    double k = 0;
    int steps = 0;
    while (MorphUnderWay(k, true)) {
        k = NextMorphFactor(k, true);
        ASSERT_LE(++steps, 5);
    }
    EXPECT_EQ(steps, 5);
    EXPECT_EQ(k, 1.0);
    EXPECT_EQ(NextMorphFactor(1.0, true), 1.0);
    steps = 0;
    while (MorphUnderWay(k, false)) {
        k = NextMorphFactor(k, false);
        ASSERT_LE(++steps, 5);
    }
    EXPECT_EQ(steps, 5);
    EXPECT_EQ(k, 0.0);
    EXPECT_EQ(NextMorphFactor(0.1, false), 0.0);
    EXPECT_EQ(NextMorphFactor(0.9, true), 1.0);
    EXPECT_EQ(FloorInterval(0), 25);
    EXPECT_EQ(FloorInterval(-100), 25);
    EXPECT_EQ(FloorInterval(50), 50);
}

TEST(ObjectMorph, AFadeStartsOnTheTimerOnlyWhenMorphingAndAnimatingElseJumpsToItsEnd) {
    double k = 0.4;
    EXPECT_EQ(StartFade(k, true, true, true), TmnFadeStart::Timer);
    EXPECT_EQ(k, 0.4);  // the timer steps it
    EXPECT_EQ(StartFade(k, true, false, true), TmnFadeStart::Redraw);
    EXPECT_EQ(k, 0.4);  // no fade: the factor is not the object's look
    EXPECT_EQ(StartFade(k, true, true, false), TmnFadeStart::Redraw);
    EXPECT_EQ(k, 1.0);
    EXPECT_EQ(StartFade(k, false, true, false), TmnFadeStart::Redraw);
    EXPECT_EQ(k, 0.0);
}

TEST(ObjectFrames, AnAnimationRunsPastItsLastFrameWhileActiveAndBackToNothing) {
    int frame = 0, steps = 0;
    while (StepFrame(frame, 3, true)) ASSERT_LE(++steps, 4);
    EXPECT_EQ(steps, 4);
    EXPECT_EQ(frame, 4);  // one past the last: the resting active image
    EXPECT_FALSE(StepFrame(frame, 3, true));
    EXPECT_EQ(frame, 4);
    steps = 0;
    while (StepFrame(frame, 3, false)) ASSERT_LE(++steps, 4);
    EXPECT_EQ(steps, 4);
    EXPECT_EQ(frame, 0);
    // Turned around halfway, it goes back from where it stands.
    frame = 2;
    EXPECT_TRUE(StepFrame(frame, 3, false));
    EXPECT_EQ(frame, 1);
    int none = 0;
    EXPECT_TRUE(StepFrame(none, 0, true));  // no frames: straight to the active image
    EXPECT_EQ(none, 1);
    EXPECT_FALSE(StepFrame(none, 0, true));
}

TEST(CaptionLayout, TextAreaWidensWithTheObjectAndPositionFollowsAlignment) {
    const TSkinRect area = CaptionTextArea({4, 2, 140, 24}, 200, 144, {}, {});
    EXPECT_EQ(area, (TSkinRect{4, 2, 196, 24}));
    // With a frame picture: cut to the frame's text part.
    EXPECT_EQ(CaptionTextArea({4, 2, 140, 24}, 144, 144, {0, 0, 30, 20}, {5, 3, 22, 17}),
              (TSkinRect{9, 5, 132, 24}));
    EXPECT_TRUE(CaptionTextArea({}, 200, 144, {}, {}).IsEmpty());

    const TSkinRect a{10, 0, 110, 20};
    EXPECT_EQ(CaptionTextPosition(a, taLeftJustify, 40, 14), (TmnTextPos{10, 3}));
    EXPECT_EQ(CaptionTextPosition(a, taRightJustify, 40, 14), (TmnTextPos{70, 3}));
    EXPECT_EQ(CaptionTextPosition(a, taCenter, 40, 14), (TmnTextPos{40, 3}));
    EXPECT_EQ(CaptionTextPosition(a, taCenter, 41, 15), (TmnTextPos{40, 3}));

    EXPECT_EQ(CaptionStripEnds({16, 2, 160, 28}, {20, 30}, {150, 30}).Left, 4);
    EXPECT_EQ(CaptionStripEnds({16, 2, 160, 28}, {20, 30}, {150, 30}).Right, 10);
    EXPECT_EQ(CaptionStripEnds({30, 2, 140, 28}, {20, 30}, {150, 30}).Left, 0);
    EXPECT_EQ(CaptionStripEnds({30, 2, 140, 28}, {20, 30}, {150, 30}).Right, 0);
}
