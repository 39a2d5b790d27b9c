// Frame plans: the skin's geometry at other window sizes, the button strip, the built-in frame.
#include <gtest/gtest.h>

#include <vector>

#include "skin/form/frame_layout.h"
#include "tests/skin/form/frame_test_support.h"

using namespace fn;

TEST(FrameGeometry, RightAndBottomPartsFollowTheWindowSize) {
    const TmnFrameGeometry g = ComputeFrameGeometry(SampleFrameInfo(), 200, 100, 300, 150);
    EXPECT_EQ(g.NewLT, (TSkinPoint{10, 30}));
    EXPECT_EQ(g.NewRT, (TSkinPoint{290, 30}));
    EXPECT_EQ(g.NewLB, (TSkinPoint{10, 146}));
    EXPECT_EQ(g.NewRB, (TSkinPoint{290, 146}));
    EXPECT_EQ(g.NewClientRect, (TSkinRect{4, 30, 296, 146}));
    EXPECT_EQ(g.NewCaptionRect, (TSkinRect{4, 4, 296, 26}));
    EXPECT_EQ(g.NewButtonsRect, (TSkinRect{220, 6, 296, 24}));
    EXPECT_EQ(g.NewMaskRect, (TSkinRect{4, 4, 296, 146}));
    EXPECT_EQ(g.HitRT, (TSkinPoint{295, 5}));
    EXPECT_EQ(g.HitLB, (TSkinPoint{5, 145}));
    EXPECT_EQ(g.HitRB, (TSkinPoint{295, 145}));
    // Shrinking moves them back the other way.
    EXPECT_EQ(ComputeFrameGeometry(SampleFrameInfo(), 200, 100, 150, 80).NewClientRect, (TSkinRect{4, 30, 146, 76}));
}

TEST(FrameGeometry, ButtonsMoveOnlyFromTheRightHalfAndAnEmptyCaptionStaysEmpty) {
    TmnSkinFormInfo info = SampleFrameInfo();
    info.ButtonsRect = {100, 6, 160, 24};  // left edge exactly at half the width: stays
    info.CaptionRect = {};
    TmnFrameGeometry g = ComputeFrameGeometry(info, 200, 100, 300, 100);
    EXPECT_EQ(g.NewButtonsRect, (TSkinRect{100, 6, 160, 24}));
    EXPECT_TRUE(g.NewCaptionRect.IsEmpty());
    info.ButtonsRect.Left = 101;
    EXPECT_EQ(ComputeFrameGeometry(info, 200, 100, 300, 100).NewButtonsRect, (TSkinRect{201, 6, 260, 24}));
    // An empty buttons rectangle in the right half is not moved either.
    info.ButtonsRect = {150, 6, 150, 24};
    EXPECT_EQ(ComputeFrameGeometry(info, 200, 100, 300, 100).NewButtonsRect, (TSkinRect{150, 6, 150, 24}));
}

TEST(ButtonStrip, RightToLeftInCommandOrderWithOffsetAndFirstOfEachCommandOnly) {
    const TmnFrameGeometry g = ComputeFrameGeometry(SampleFrameInfo(), 200, 100, 300, 100);
    const std::vector<TmnStripItem> items = {
        {cmDefault, 10, 12}, {cmMinimize, 16, 14}, {cmClose, 18, 14}, {cmClose, 18, 14},
        {cmMaximize, 16, 14}, {cmSysMenu, 16, 16}, {cmMinimizeToTray, 12, 14}, {cmRollUp, 14, 14},
    };
    const TmnStripLayout s = LayoutButtonStrip(g, items);
    ASSERT_EQ(s.Rects.size(), items.size());
    EXPECT_EQ(s.Rects[2], (TSkinRect{278, 6, 296, 20}));  // close at the right edge
    EXPECT_TRUE(s.Rects[3].IsEmpty());                     // a second close gets no place
    EXPECT_EQ(s.Rects[4], (TSkinRect{260, 6, 276, 20}));   // maximise, 2 pixels apart
    EXPECT_EQ(s.Rects[1], (TSkinRect{242, 6, 258, 20}));   // minimise
    EXPECT_EQ(s.Rects[7], (TSkinRect{226, 6, 240, 20}));   // roll-up
    EXPECT_EQ(s.Rects[6], (TSkinRect{212, 6, 224, 20}));   // tray
    EXPECT_EQ(s.Rects[0], (TSkinRect{200, 6, 210, 18}));   // custom buttons last
    // The system-menu button sits at the caption's left, centred in its height (22 - 16 = 6).
    EXPECT_EQ(s.Rects[5], (TSkinRect{4, 7, 20, 23}));
    EXPECT_TRUE(s.CaptionLeftSet);
    EXPECT_EQ(s.CaptionLeft, 20);
    EXPECT_FALSE(s.CaptionRightSet);  // the buttons have a rectangle of their own
}

TEST(ButtonStrip, WithoutButtonsRectangleTheCaptionTakesThemAndGivesUpItsRightPart) {
    TmnSkinFormInfo info = SampleFrameInfo();
    info.ButtonsRect = {};
    const TmnFrameGeometry g = ComputeFrameGeometry(info, 200, 100, 200, 100);
    const std::vector<TmnStripItem> items = {{cmClose, 18, 14}, {cmSysMenu, 16, 17}};
    const TmnStripLayout s = LayoutButtonStrip(g, items);
    EXPECT_EQ(s.Rects[0], (TSkinRect{178, 4, 196, 18}));
    EXPECT_TRUE(s.CaptionRightSet);
    EXPECT_EQ(s.CaptionRight, 178);
    // Odd space above and below: the half is truncated (22 - 17 = 5, top 4 + 2).
    EXPECT_EQ(s.Rects[1], (TSkinRect{4, 6, 20, 23}));

    // With both rectangles empty nothing is placed and the caption keeps its edges.
    info.CaptionRect = {};
    const TmnStripLayout none = LayoutButtonStrip(ComputeFrameGeometry(info, 200, 100, 200, 100), items);
    EXPECT_TRUE(none.Rects[0].IsEmpty());
    EXPECT_TRUE(none.Rects[1].IsEmpty());
    EXPECT_FALSE(none.CaptionLeftSet || none.CaptionRightSet);
}

TEST(ButtonStrip, ButtonsOnTheLeftRunRightwardAndTheSystemMenuJoinsThemInTheCaption) {
    TmnSkinFormInfo info = SampleFrameInfo();
    info.ButtonsInLeft = true;
    info.ButtonsRect = {};
    const std::vector<TmnStripItem> items = {{cmSysMenu, 16, 16}, {cmMinimize, 16, 14}, {cmClose, 18, 14}};
    const TmnStripLayout s = LayoutButtonStrip(ComputeFrameGeometry(info, 200, 100, 200, 100), items);
    EXPECT_EQ(s.Rects[2], (TSkinRect{4, 4, 22, 18}));
    EXPECT_EQ(s.Rects[1], (TSkinRect{24, 4, 40, 18}));
    EXPECT_EQ(s.Rects[0], (TSkinRect{42, 4, 58, 20}));
    EXPECT_TRUE(s.CaptionLeftSet);
    EXPECT_EQ(s.CaptionLeft, 62);

    // In a buttons rectangle of their own the system-menu button is not in the row.
    info.ButtonsRect = {6, 6, 80, 24};
    const TmnStripLayout own = LayoutButtonStrip(ComputeFrameGeometry(info, 200, 100, 200, 100), items);
    EXPECT_EQ(own.Rects[2], (TSkinRect{6, 6, 24, 20}));
    EXPECT_TRUE(own.Rects[0].IsEmpty());
    EXPECT_FALSE(own.CaptionLeftSet);
}

TEST(BuiltInFrame, ClientAreaButtonsAndCaptionOfAPlainWindow) {
    const std::vector<TmnStripItem> items = {{cmSysMenu, 0, 0}, {cmMinimize, 0, 0}, {cmClose, 0, 0}};
    const TmnBuiltInFrame f = LayoutBuiltInFrame(300, 200, false, items);
    EXPECT_EQ(f.Client, (TSkinRect{3, 22, 297, 197}));
    EXPECT_EQ(f.Rects[2], (TSkinRect{280, 4, 297, 21}));
    EXPECT_EQ(f.Rects[1], (TSkinRect{263, 4, 280, 21}));
    EXPECT_EQ(f.Rects[0], (TSkinRect{3, 4, 20, 21}));
    EXPECT_EQ(f.CaptionArea, (TSkinRect{20, 3, 263, 19}));

    // Tool windows have the smaller caption; the form's icon sizes the system-menu button.
    const TmnBuiltInFrame tool = LayoutBuiltInFrame(300, 200, true, items, 16, 16);
    EXPECT_EQ(tool.Client, (TSkinRect{3, 18, 297, 197}));
    EXPECT_EQ(tool.Rects[2], (TSkinRect{284, 4, 297, 17}));
    EXPECT_EQ(tool.Rects[0], (TSkinRect{3, 4, 19, 20}));
    EXPECT_EQ(tool.CaptionArea.Left, 19);
}
