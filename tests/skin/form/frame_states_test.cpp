// Window-state rules of skinned windows: size limits, maximised and centred rectangles, the
// minimised places, magnetic edges, the caption double-click and the standard system menu.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "skin/form/frame_states.h"

using namespace fn;

TEST(SizeLimits, SkinnedWindowsKeepTheFramePictureUnlessTheSkinAllowsLess) {
    TmnSizeLimitInput in;
    in.Skinned = true;
    in.PictureWidth = 200;
    in.PictureHeight = 100;
    in.ClientHeight = 66;
    in.Area = {0, 0, 1280, 770};
    TmnSizeLimits l = ComputeSizeLimits(in);
    EXPECT_EQ(l.MinWidth, 200);
    EXPECT_EQ(l.MinHeight, 34);  // the frame rows alone
    EXPECT_EQ(l.MaxWidth, 1280);
    EXPECT_EQ(l.MaxHeight, 770);

    in.SkinMinWidth = 150;
    EXPECT_EQ(ComputeSizeLimits(in).MinWidth, 150);
    in.MinWidth = 180;  // not above the picture: the skin's value holds
    EXPECT_EQ(ComputeSizeLimits(in).MinWidth, 150);
    in.MinWidth = 300;
    in.MinHeight = 250;
    in.MaxWidth = 900;
    in.MaxHeight = 2000;  // larger than the area: the area holds
    l = ComputeSizeLimits(in);
    EXPECT_EQ(l.MinWidth, 300);
    EXPECT_EQ(l.MinHeight, 250);
    EXPECT_EQ(l.MaxWidth, 900);
    EXPECT_EQ(l.MaxHeight, 770);
    // Minimised or rolled up, the frame-only sizes hold.
    in.Minimized = true;
    l = ComputeSizeLimits(in);
    EXPECT_EQ(l.MinWidth, 150);
    EXPECT_EQ(l.MinHeight, 34);
    in.Minimized = false;
    in.RolledUp = true;
    EXPECT_EQ(ComputeSizeLimits(in).MinHeight, 34);
    EXPECT_EQ(ComputeSizeLimits(in).MinWidth, 300);
}

TEST(SizeLimits, BuiltInFrame) {
    TmnSizeLimitInput in;
    in.Area = {0, 0, 800, 600};
    EXPECT_EQ(ComputeSizeLimits(in).MinWidth, 120);
    EXPECT_EQ(ComputeSizeLimits(in).MinHeight, 25);
    in.CaptionHeight = 15;
    in.MinWidth = 60;
    in.MinHeight = 10;  // smaller than the frame: ignored
    EXPECT_EQ(ComputeSizeLimits(in).MinWidth, 60);
    EXPECT_EQ(ComputeSizeLimits(in).MinHeight, 21);
}

TEST(WindowRects, MaximisedOnTheWholePrimaryScreenLeavesAOnePixelGap) {
    const TSkinRect primary{0, 0, 1280, 800};
    EXPECT_EQ(MaximizedRect(primary, primary, primary, false), (TSkinRect{1, 1, 1279, 799}));
    EXPECT_EQ(MaximizedRect({0, 0, 1280, 770}, primary, primary, false), (TSkinRect{0, 0, 1280, 770}));
    // A second monitor whose work area is the whole monitor keeps it.
    const TSkinRect second{-1024, 0, 0, 768};
    EXPECT_EQ(MaximizedRect(second, second, primary, false), second);
    EXPECT_EQ(MaximizedRect({0, 0, 1280, 770}, primary, primary, true), primary);
}

TEST(WindowRects, CentredHalvesTruncateTowardZero) {
    EXPECT_EQ(CenteredRect({0, 0, 1280, 770}, 301, 201), (TSkinRect{490, 285, 791, 486}));
    EXPECT_EQ(CenteredRect({-1025, 0, 0, 768}, 300, 200), (TSkinRect{-663, 284, -363, 484}));
}

TEST(MinimizedPosition, SideBySideAtTheBottomThenOneRowHigherThenTheFirstPlace) {
    const TSkinRect area{0, 0, 300, 100};
    std::set<std::pair<int, int>> placed;
    auto taken = [&](int x, int y) { return placed.count({x, y}) > 0; };
    std::vector<TSkinPoint> got;
    for (int i = 0; i < 7; ++i) {
        const TSkinPoint p = MinimizedPosition(area, 120, 40, taken);
        got.push_back(p);
        placed.insert({p.X, p.Y});
    }
    const std::vector<TSkinPoint> expected = {{0, 60}, {120, 60}, {0, 20}, {120, 20}, {0, 60}, {0, 60}, {0, 60}};
    EXPECT_EQ(got, expected);
}

TEST(MinimizedPosition, EndsForDegenerateSizesAndAreas) {
    int asked = 0;
    auto always = [&](int, int) { return ++asked, true; };
    EXPECT_EQ(MinimizedPosition({0, 0, 300, 100}, 0, 0, always), (TSkinPoint{0, 99}));
    EXPECT_LE(asked, 5000);
    asked = 0;
    EXPECT_EQ(MinimizedPosition({0, 0, 0, 0}, 120, 40, always), (TSkinPoint{0, -40}));
    EXPECT_LE(asked, 2);
    asked = 0;
    // A huge area of one-pixel places: the search gives up and shares the first place.
    EXPECT_EQ(MinimizedPosition({0, 0, 100000, 100000}, -5, -5, always), (TSkinPoint{0, 99999}));
    EXPECT_LE(asked, 5000);
}

TEST(MagneticEdges, SnapHoldThenFollowTheCursorAgain) {
    const TSkinRect area{0, 0, 1000, 700};
    TmnMagnet magnet;
    // 4 pixels from the left edge: snaps, the anchor is the cursor.
    EXPECT_EQ(MagneticMove({4, 100, 304, 300}, area, 5, {50, 150}, magnet), (TSkinRect{0, 100, 300, 300}));
    EXPECT_TRUE(magnet.Left);
    EXPECT_EQ(magnet.AnchorX, 50);
    // Still within the snap distance of the edge and the cursor near its anchor: held.
    EXPECT_EQ(MagneticMove({3, 100, 303, 300}, area, 5, {53, 150}, magnet), (TSkinRect{0, 100, 300, 300}));
    // The cursor 6 pixels away from the anchor: the window follows it.
    EXPECT_EQ(MagneticMove({2, 100, 302, 300}, area, 5, {56, 150}, magnet), (TSkinRect{6, 100, 306, 300}));
    // Far from the edge the flag drops.
    MagneticMove({40, 100, 340, 300}, area, 5, {90, 150}, magnet);
    EXPECT_FALSE(magnet.Left);
    // Right and bottom edges snap the far side.
    magnet.Clear();
    EXPECT_EQ(MagneticMove({698, 497, 998, 697}, area, 5, {800, 600}, magnet), (TSkinRect{700, 500, 1000, 700}));
    EXPECT_TRUE(magnet.Right && magnet.Bottom);
    // Exactly m away is not near.
    magnet.Clear();
    EXPECT_EQ(MagneticMove({5, 100, 305, 300}, area, 5, {50, 150}, magnet), (TSkinRect{5, 100, 305, 300}));
}

TEST(CaptionDoubleClick, FirstRuleThatApplies) {
    const TmnBorderIcons all = DefaultBorderIcons;
    EXPECT_EQ(CaptionDoubleClick(true, swsMinimized, false, false, all), TmnCaptionAction::Restore);
    EXPECT_EQ(CaptionDoubleClick(true, swsNormal, false, false, all), TmnCaptionAction::Maximize);
    EXPECT_EQ(CaptionDoubleClick(true, swsNormal, true, false, all), TmnCaptionAction::ToggleRollUp);
    EXPECT_EQ(CaptionDoubleClick(true, swsMaximized, false, false, all), TmnCaptionAction::Restore);
    EXPECT_EQ(CaptionDoubleClick(true, swsMaximized, true, true, all), TmnCaptionAction::ToggleRollUp);
    EXPECT_EQ(CaptionDoubleClick(true, swsNormal, false, false, BorderIconBit(biSystemMenu)), TmnCaptionAction::ToggleRollUp);
    EXPECT_EQ(CaptionDoubleClick(false, swsMinimized, false, false, all), TmnCaptionAction::ToggleRollUp);
}

TEST(StandardSystemMenu, ItemsFollowStateAndIcons) {
    const TmnBorderIcons all = DefaultBorderIcons | BorderIconBit(biMinimizeToTray);
    using V = std::vector<std::wstring_view>;
    EXPECT_EQ(StandardSystemMenuItems(swsNormal, false, false, all),
              (V{L"MTL_MINITEM", L"MTL_MAXITEM", L"MTL_ROLLUP", L"MTL_MINTOTRAY"}));
    EXPECT_EQ(StandardSystemMenuItems(swsMaximized, false, false, all),
              (V{L"MTL_MINITEM", L"MTL_RESTORE", L"MTL_ROLLUP", L"MTL_MINTOTRAY"}));
    EXPECT_EQ(StandardSystemMenuItems(swsMaximized, false, true, all),
              (V{L"MTL_MINITEM", L"MTL_RESTORE", L"MTL_MINTOTRAY"}));
    EXPECT_EQ(StandardSystemMenuItems(swsMinimized, false, false, all),
              (V{L"MTL_MAXITEM", L"MTL_RESTORE", L"MTL_MINTOTRAY"}));
    EXPECT_EQ(StandardSystemMenuItems(swsNormal, true, false, all),
              (V{L"MTL_MINITEM", L"MTL_MAXITEM", L"MTL_RESTORE", L"MTL_MINTOTRAY"}));
    // Both windows of the program offer only the system menu: no item at all.
    EXPECT_TRUE(StandardSystemMenuItems(swsNormal, false, false, BorderIconBit(biSystemMenu)).empty());
}
