#include <gtest/gtest.h>

#include "skin/form/form_background.h"

namespace fn {
namespace {

TEST(BackgroundPlan, UnstretchedTileCoversTheClientWithOneSpareColumnAndRow) {
    const TmnBackgroundPlan p = BackgroundPlan({30, 20, 400, 300, 380, 250, false, stFull});
    EXPECT_EQ(p.TileWidth, 30);
    EXPECT_EQ(p.TileHeight, 20);
    EXPECT_EQ(p.Fill, (TSkinRect{0, 0, (380 / 30 + 1) * 30, (250 / 20 + 1) * 20}));
    EXPECT_FALSE(p.SingleCopy());
}

TEST(BackgroundPlan, StretchTypesScaleToTheWindowAlongTheirAxes) {
    const TmnBackgroundPlan full = BackgroundPlan({30, 20, 400, 300, 380, 250, true, stFull});
    EXPECT_EQ(full.Fill, (TSkinRect{0, 0, 400, 300}));
    EXPECT_TRUE(full.SingleCopy());
    // Horizontal: full window height, repeated left to right.
    const TmnBackgroundPlan horz = BackgroundPlan({30, 20, 400, 300, 380, 250, true, stHorz});
    EXPECT_EQ(horz.TileWidth, 30);
    EXPECT_EQ(horz.TileHeight, 300);
    EXPECT_EQ(horz.Fill, (TSkinRect{0, 0, (400 / 30 + 1) * 30, 300}));
    const TmnBackgroundPlan vert = BackgroundPlan({30, 20, 400, 300, 380, 250, true, stVert});
    EXPECT_EQ(vert.TileWidth, 400);
    EXPECT_EQ(vert.TileHeight, 20);
    EXPECT_EQ(vert.Fill, (TSkinRect{0, 0, 400, (300 / 20 + 1) * 20}));
}

TEST(BackgroundPlan, NothingToDrawForAnEmptyTileOrClient) {
    EXPECT_TRUE(BackgroundPlan({0, 20, 400, 300, 380, 250, false, stFull}).Empty());
    EXPECT_TRUE(BackgroundPlan({30, -1, 400, 300, 380, 250, true, stFull}).Empty());
    EXPECT_TRUE(BackgroundPlan({30, 20, 400, 300, 0, 250, false, stFull}).Empty());
    // A window of no size falls back to plain tiling.
    EXPECT_EQ(BackgroundPlan({30, 20, 0, 0, 60, 40, true, stFull}).TileWidth, 30);
}

TEST(LogoPosition, CentredWithHalvesTruncatedAndNeverBeforeTheOrigin) {
    EXPECT_EQ(LogoPosition(301, 201, 100, 51), (TSkinPoint{150 - 50, 100 - 25}));
    EXPECT_EQ(LogoPosition(100, 100, 300, 40), (TSkinPoint{0, 30}));
    EXPECT_EQ(LogoPosition(100, 100, 40, 300), (TSkinPoint{30, 0}));
}

}  // namespace
}  // namespace fn
