#include <gtest/gtest.h>

#include "skin/controls/control_geometry.h"

namespace fn {
namespace {

// A 40 x 30 picture part whose corners end at (10, 8) and (30, 22).
const TSkinRect kSkin{100, 50, 140, 80};
const TFrameGeometry kNine{{10, 8}, {30, 8}, {10, 22}, {30, 22}, {4, 4, 36, 26}};

TEST(ResizeMode, ReadFromTheCornerPoints) {
    EXPECT_EQ(ResizeModeOf({}, kNine), rmNone);
    EXPECT_EQ(ResizeModeOf(kSkin, kNine), rmBoth);
    // Both coordinates of RB are needed for nine-part; RT alone makes a horizontal strip.
    EXPECT_EQ(ResizeModeOf(kSkin, {{}, {10, 0}, {}, {0, 5}, {}}), rmHorizontal);
    EXPECT_EQ(ResizeModeOf(kSkin, {{}, {}, {0, 7}, {}, {}}), rmVertical);
    EXPECT_EQ(ResizeModeOf(kSkin, {}), rmFixed);
}

TEST(CalcSkinSize, EachModeKeepsWhatItCannotStretch) {
    const TSkinSize fixed = CalcSkinSize(rmFixed, kNine, kSkin, 300, 200);
    EXPECT_EQ((std::pair{fixed.Width, fixed.Height}), (std::pair{40, 30}));
    EXPECT_EQ(fixed.New.Cl, kNine.Cl);

    const TSkinSize both = CalcSkinSize(rmBoth, kNine, kSkin, 60, 50);
    EXPECT_EQ((std::pair{both.Width, both.Height}), (std::pair{60, 50}));
    EXPECT_EQ(both.New.LT, kNine.LT);
    EXPECT_EQ(both.New.RT, (TSkinPoint{50, 8}));
    EXPECT_EQ(both.New.LB, (TSkinPoint{10, 42}));
    EXPECT_EQ(both.New.RB, (TSkinPoint{50, 42}));
    EXPECT_EQ(both.New.Cl, (TSkinRect{4, 4, 56, 46}));

    const TSkinSize h = CalcSkinSize(rmHorizontal, kNine, kSkin, 90, 999);
    EXPECT_EQ((std::pair{h.Width, h.Height}), (std::pair{90, 30}));
    EXPECT_EQ(h.New.RT, (TSkinPoint{80, 8}));
    EXPECT_EQ(h.New.Cl, (TSkinRect{4, 4, 86, 26}));

    const TSkinSize v = CalcSkinSize(rmVertical, kNine, kSkin, 999, 70);
    EXPECT_EQ((std::pair{v.Width, v.Height}), (std::pair{40, 70}));
    EXPECT_EQ(v.New.LB, (TSkinPoint{10, 62}));
    EXPECT_EQ(v.New.Cl, (TSkinRect{4, 4, 36, 66}));

    const TSkinSize none = CalcSkinSize(rmNone, kNine, kSkin, 77, 66);
    EXPECT_EQ((std::pair{none.Width, none.Height}), (std::pair{77, 66}));
}

TEST(MapSkinRect, NinePartPartsFollowTheirCorners) {
    auto map = [](const TSkinRect& r) { return MapSkinRect(rmBoth, kNine, kSkin, 60, 50, r); };  // dW 20, dH 20
    EXPECT_EQ(map({1, 1, 5, 5}), (TSkinRect{1, 1, 5, 5}));             // top-left corner
    EXPECT_EQ(map({32, 1, 36, 5}), (TSkinRect{52, 1, 56, 5}));         // top-right
    EXPECT_EQ(map({1, 24, 5, 28}), (TSkinRect{1, 44, 5, 48}));         // bottom-left
    EXPECT_EQ(map({32, 24, 36, 28}), (TSkinRect{52, 44, 56, 48}));     // bottom-right
    EXPECT_EQ(map({4, 2, 34, 6}), (TSkinRect{4, 2, 54, 6}));           // across the top: wider
    EXPECT_EQ(map({2, 4, 6, 26}), (TSkinRect{2, 4, 6, 46}));           // down the left: taller
    EXPECT_EQ(map({4, 4, 36, 26}), (TSkinRect{4, 4, 56, 46}));         // the client: both
    EXPECT_EQ(map({4, 24, 34, 28}), (TSkinRect{4, 44, 54, 48}));       // across the bottom
    EXPECT_EQ(map({32, 4, 36, 26}), (TSkinRect{52, 4, 56, 46}));       // down the right
    EXPECT_EQ(map({15, 12, 25, 18}), (TSkinRect{15, 12, 25, 18}));     // the middle stays
}

TEST(MapSkinRect, StripsMoveOrGrowAlongTheirAxis) {
    const TFrameGeometry h{{10, 0}, {30, 0}, {}, {}, {}};
    auto mapH = [&](const TSkinRect& r) { return MapSkinRect(rmHorizontal, h, kSkin, 100, 30, r); };  // dW 60
    EXPECT_EQ(mapH({4, 2, 34, 20}), (TSkinRect{4, 2, 94, 20}));
    EXPECT_EQ(mapH({31, 2, 38, 20}), (TSkinRect{91, 2, 98, 20}));
    EXPECT_EQ(mapH({2, 2, 8, 20}), (TSkinRect{2, 2, 8, 20}));
    const TFrameGeometry v{{0, 6}, {}, {0, 20}, {}, {}};
    auto mapV = [&](const TSkinRect& r) { return MapSkinRect(rmVertical, v, kSkin, 40, 60, r); };  // dH 30
    EXPECT_EQ(mapV({0, 2, 40, 24}), (TSkinRect{0, 2, 40, 54}));
    EXPECT_EQ(mapV({0, 21, 40, 28}), (TSkinRect{0, 51, 40, 58}));
    EXPECT_EQ(mapV({0, 1, 40, 5}), (TSkinRect{0, 1, 40, 5}));
    EXPECT_EQ(MapSkinRect(rmFixed, kNine, kSkin, 400, 400, {1, 2, 3, 4}), (TSkinRect{1, 2, 3, 4}));
}

TEST(RegionGeometry, StripsCollapseTheMissingCorners) {
    const TFrameGeometry h{{10, 3}, {30, 3}, {}, {}, {}};
    const TRegionGeometry rh = RegionGeometry(rmHorizontal, h, kSkin, 100, 30);
    EXPECT_EQ(rh.Old.LB, h.LT);
    EXPECT_EQ(rh.Old.RB, h.RT);
    EXPECT_EQ(rh.New.LT, h.LT);
    EXPECT_EQ(rh.New.LB, h.LT);
    EXPECT_EQ(rh.New.RT, (TSkinPoint{90, 3}));
    EXPECT_EQ(rh.New.RB, (TSkinPoint{90, 3}));
    const TFrameGeometry v{{4, 6}, {}, {4, 20}, {}, {}};
    const TRegionGeometry rv = RegionGeometry(rmVertical, v, kSkin, 40, 60);
    EXPECT_EQ(rv.Old.RT, v.LT);
    EXPECT_EQ(rv.Old.RB, v.LB);
    EXPECT_EQ(rv.New.RT, v.LT);
    EXPECT_EQ(rv.New.LB, (TSkinPoint{4, 50}));
    EXPECT_EQ(rv.New.RB, (TSkinPoint{4, 50}));
}

TEST(BackgroundPlan, TilesStretchesAndRefusesWhatIsNotThere) {
    const TSkinRect fill{4, 4, 204, 104};
    // Unstretched: the piece as it is, taken from the picture at the skin rectangle's offset.
    TBackgroundPlan p = BackgroundPlan(kSkin, {4, 4, 5, 5}, fill, false, stFull, 200, 100);
    ASSERT_TRUE(p.Draw);
    EXPECT_EQ(p.Source, (TSkinRect{104, 54, 105, 55}));
    EXPECT_EQ((std::pair{p.TileWidth, p.TileHeight}), (std::pair{1, 1}));
    EXPECT_EQ(p.Fill, fill);
    p = BackgroundPlan(kSkin, kNine.Cl, fill, true, stFull, 200, 100);
    EXPECT_EQ((std::pair{p.TileWidth, p.TileHeight}), (std::pair{200, 100}));
    p = BackgroundPlan(kSkin, kNine.Cl, fill, true, stHorz, 200, 100);
    EXPECT_EQ((std::pair{p.TileWidth, p.TileHeight}), (std::pair{32, 100}));
    p = BackgroundPlan(kSkin, kNine.Cl, fill, true, stVert, 200, 100);
    EXPECT_EQ((std::pair{p.TileWidth, p.TileHeight}), (std::pair{200, 22}));
    // An empty client piece or fill, or a piece beyond the picture: nothing (no division by 0).
    EXPECT_FALSE(BackgroundPlan(kSkin, {}, fill, false, stFull, 200, 100).Draw);
    EXPECT_FALSE(BackgroundPlan(kSkin, kNine.Cl, {}, true, stFull, 200, 100).Draw);
    EXPECT_FALSE(BackgroundPlan(kSkin, kNine.Cl, fill, false, stFull, 120, 100).Draw);
    EXPECT_FALSE(BackgroundPlan({-200, 0, -160, 30}, kNine.Cl, fill, false, stFull, 200, 100).Draw);
}

}  // namespace
}  // namespace fn
