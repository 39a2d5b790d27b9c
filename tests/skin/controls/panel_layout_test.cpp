#include <gtest/gtest.h>

#include "skin/controls/panel_layout.h"

namespace fn {
namespace {

TEST(PanelClientRect, FrameCaptionAndSkinDecide) {
    TPanelClientInput in;
    in.Width = 150;
    in.Height = 100;
    EXPECT_EQ(PanelClientRect(in), (TSkinRect{1, 1, 149, 99}));
    in.CaptionMode = true;
    EXPECT_EQ(PanelClientRect(in), (TSkinRect{1, 23, 149, 99}));
    in.BorderStyle = TmnSkinBorderStyle::bvNone;
    EXPECT_EQ(PanelClientRect(in), (TSkinRect{0, 22, 150, 100}));

    in.Skinned = true;
    in.NewClientRect = {2, 20, 148, 98};
    in.NinePart = true;
    EXPECT_EQ(PanelClientRect(in), in.NewClientRect);  // a caption keeps the skin's client
    in.CaptionMode = false;
    EXPECT_EQ(PanelClientRect(in), (TSkinRect{0, 0, 150, 100}));  // bvNone nine-part without caption: all
    in.BorderStyle = TmnSkinBorderStyle::bvFrame;
    EXPECT_EQ(PanelClientRect(in), in.NewClientRect);
    in.HasBgPicture = true;
    EXPECT_EQ(PanelClientRect(in), (TSkinRect{0, 0, 150, 100}));
}

TEST(CaptionStartX, ByAlignment) {
    EXPECT_EQ(CaptionStartX(taLeftJustify, 20, 120, 40, false), 22);
    EXPECT_EQ(CaptionStartX(taLeftJustify, 20, 120, 40, true), 20);
    EXPECT_EQ(CaptionStartX(taRightJustify, 20, 120, 40, false), 80);
    EXPECT_EQ(CaptionStartX(taCenter, 20, 120, 40, false), 52);
    EXPECT_EQ(CaptionStartX(taCenter, 20, 120, 40, true), 50);
}

TEST(PanelRollUp, FoldsKeepsItsHeightAndUnfolds) {
    TPanelRollUp r;
    TSizeConstraints c{0, 0, 0, 120};  // a minimum height that would stop the fold
    TRollUpPlan p = r.Set(true, true, 150, 23, c);
    EXPECT_TRUE(r.State());
    EXPECT_EQ(r.RealHeight(), 150);
    EXPECT_TRUE(p.Resize && p.HideChildren && !p.ShowChildren);
    EXPECT_EQ(p.Height, 23);
    EXPECT_EQ(c, TSizeConstraints{});
    // Folding again changes nothing (children are not hidden twice).
    p = r.Set(true, true, 23, 23, c);
    EXPECT_FALSE(p.Resize || p.HideChildren || p.ShowChildren);
    p = r.Set(false, true, 23, 23, c);
    EXPECT_TRUE(p.Resize && p.ShowChildren && !p.HideChildren);
    EXPECT_EQ(p.Height, 150);
    EXPECT_EQ(r.RealHeight(), -1);
    EXPECT_EQ(c, (TSizeConstraints{0, 0, 0, 120}));  // the constraints come back
    // A second unfold has nothing to give back.
    p = r.Set(false, true, 150, 23, c);
    EXPECT_FALSE(p.Resize || p.ShowChildren);
}

TEST(PanelRollUp, TheModeSwitchedOffWhileFoldedUnfolds) {
    TPanelRollUp r;
    TSizeConstraints c;
    r.Set(true, true, 150, 23, c);
    TRollUpPlan p = r.ModeOff(c);
    EXPECT_FALSE(r.State());
    EXPECT_FALSE(r.RolledUp());
    EXPECT_TRUE(p.Resize && p.ShowChildren);
    EXPECT_EQ(p.Height, 150);
    // With the mode off, asking to fold does nothing.
    p = r.Set(true, false, 150, 23, c);
    EXPECT_FALSE(r.State());
    EXPECT_FALSE(p.Resize);
    EXPECT_EQ(r.Refold(30).Resize, false);
}

TEST(SizeConstraints, ZeroIsNoLimit) {
    int w = 10, h = 500;
    TSizeConstraints{100, 50, 200, 0}.Apply(w, h);
    EXPECT_EQ((std::pair{w, h}), (std::pair{50, 200}));
}

TEST(SizeGrip, AreaLinesAndHitTest) {
    const TSkinRect client{0, 0, 300, 21};
    EXPECT_EQ(GripArea(client, 12, 12), (TSkinRect{288, 9, 300, 21}));
    EXPECT_EQ(GripWidth(client, 12), 12);
    const TSkinRect square = GripArea(client, 0, 0);
    EXPECT_EQ(square, (TSkinRect{281, 0, 300, 19}));
    EXPECT_EQ(GripWidth(client, 0), 21);
    const std::vector<TGripLine> lines = GripLines(square);
    ASSERT_EQ(lines.size(), 10u);  // k = 3, 6, ..., 15
    EXPECT_EQ(lines[0], (TGripLine{284, 19, 300, 3, false}));
    EXPECT_EQ(lines[1], (TGripLine{285, 19, 300, 4, true}));
    EXPECT_TRUE(GripLines({0, 0, 4, 4}).empty());
    EXPECT_EQ(StatusBarHitTest(290, 10, true, square), kHitBottomRight);
    EXPECT_EQ(StatusBarHitTest(280, 10, true, square), kHitClient);
    EXPECT_EQ(StatusBarHitTest(290, 10, false, square), kHitClient);
}

}  // namespace
}  // namespace fn
