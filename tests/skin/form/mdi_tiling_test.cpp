// Tiling documents within their frames' minimum size: the windows never overlap, none is smaller
// than its minimum, they fill the area when they fit and run past it (the area scrolls) when not.
#include <gtest/gtest.h>

#include <algorithm>

#include "skin/form/mdi_tiling.h"

using namespace fn;

namespace {

bool Overlap(const TSkinRect& a, const TSkinRect& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

// Checks the invariants and returns the number of distinct columns (lefts).
void ExpectSoundTiling(const TmnTileRequest& r, const std::vector<TSkinRect>& tiles) {
    ASSERT_EQ(static_cast<int>(tiles.size()), r.Count);
    long long area = 0;
    for (size_t i = 0; i < tiles.size(); ++i) {
        EXPECT_GE(tiles[i].Width(), r.MinWidth) << i;
        EXPECT_GE(tiles[i].Height(), r.MinHeight) << i;
        EXPECT_GE(tiles[i].Left, 0);
        EXPECT_GE(tiles[i].Top, 0);
        area += static_cast<long long>(tiles[i].Width()) * tiles[i].Height();
        for (size_t j = i + 1; j < tiles.size(); ++j) EXPECT_FALSE(Overlap(tiles[i], tiles[j])) << i << " " << j;
    }
    // Within the area every pixel is covered once: the tiles add up to at least the area.
    EXPECT_GE(area, static_cast<long long>(r.AreaWidth) * r.AreaHeight);
}

}  // namespace

TEST(MdiTiling, FitsColumnsOrRowsWithinTheMinimumSizeAndScrollsBeyond) {
    struct Case {
        TmnTileRequest r;
        int expectedLines;  // columns side by side, rows one under another
    };
    const Case cases[] = {
        {{600, 400, 3, 200, 36, true}, 3},    // exactly three columns of the minimum width
        {{599, 400, 3, 200, 36, true}, 2},    // one pixel short: two columns, one holding two
        {{712, 380, 6, 200, 36, true}, 3},    // the six notes in a 712 px wide area
        {{500, 300, 30, 200, 100, true}, 2},  // too many: two columns run past the bottom
        {{600, 400, 4, 200, 36, false}, 4},   // one under another: four rows of 100
        {{600, 100, 5, 200, 36, false}, 2},   // only two rows fit
        {{150, 20, 2, 200, 36, true}, 1},     // an area smaller than one window
    };
    for (const Case& c : cases) {
        const std::vector<TSkinRect> tiles = TileDocuments(c.r);
        ExpectSoundTiling(c.r, tiles);
        std::vector<int> lines;
        for (const TSkinRect& t : tiles) {
            const int key = c.r.SideBySide ? t.Left : t.Top;
            if (std::find(lines.begin(), lines.end(), key) == lines.end()) lines.push_back(key);
        }
        EXPECT_EQ(static_cast<int>(lines.size()), c.expectedLines) << c.r.AreaWidth << "x" << c.r.AreaHeight;
    }
    // Windows that fit share the area exactly: the last column ends at its right edge.
    const std::vector<TSkinRect> three = TileDocuments({700, 400, 3, 200, 36, true});
    EXPECT_EQ(three.back().Right, 700);
    EXPECT_EQ(three.back().Bottom, 400);
    EXPECT_TRUE(TileDocuments({700, 400, 0, 200, 36, true}).empty());
}
