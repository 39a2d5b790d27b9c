// The menu bar's plan: the items area, the child buttons at both ends, items lined up with their
// captions and the overflow, hit-testing and hover, the keyboard's moves and merged ordering.
#include <gtest/gtest.h>

#include "skin/form/menu_bar_layout.h"

namespace fn {
namespace {

TEST(MenuBarLayout, ItemsAreaFollowsTheSkinOrKeepsTwoPixelMargins) {
    EXPECT_EQ(MenuBarItemsArea({}, 300, 22), (TSkinRect{2, 2, 298, 20}));
    // The default skin's bar: 32 wide, items from 2 to 30; the right end keeps its 2 pixels.
    const TMenuBarGeometry g{true, {0, 0, 32, 24}, {2, 0, 30, 24}};
    EXPECT_EQ(MenuBarItemsArea(g, 400, 24), (TSkinRect{2, 0, 398, 24}));
}

TEST(MenuBarLayout, ChildButtonsTakeBothEndsCentredWithGaps) {
    TSkinRect area{2, 0, 398, 24};
    const auto rects = PlaceMenuBarButtons(area, {{20, 18}, {20, 18}, {16, 18}, {20, 17}});
    ASSERT_EQ(rects.size(), 4u);
    EXPECT_EQ(rects[0], (TSkinRect{2, 3, 22, 21}));     // system menu at the left end
    EXPECT_EQ(rects[1], (TSkinRect{378, 3, 398, 21}));  // close outermost on the right
    EXPECT_EQ(rects[2], (TSkinRect{360, 3, 376, 21}));  // restore next
    EXPECT_EQ(rects[3], (TSkinRect{338, 4, 358, 21}));  // minimise; odd height centred by halves
    EXPECT_EQ(area, (TSkinRect{24, 0, 336, 24}));
}

TEST(MenuBarLayout, ItemsLineUpAndThoseBeyondTheLimitAreHidden) {
    const TSkinRect area{2, 2, 100, 20};
    // Unskinned: caption + 12, full area height.
    TMenuBarItemsPlan p = LayoutMenuBarItems(area, {}, {30, 20, 26, 5}, true);
    EXPECT_EQ(p.Rects[0], (TSkinRect{2, 2, 44, 20}));
    EXPECT_EQ(p.Rects[1], (TSkinRect{44, 2, 76, 20}));
    // The third ends at 114: beyond the limit of 100 - 5; so is every later one.
    EXPECT_EQ(p.Fits, (std::vector<bool>{true, true, false, false}));
    EXPECT_TRUE(p.Overflow);
    EXPECT_EQ(p.FirstHidden, 2);
    EXPECT_EQ(p.Marker, (TSkinRect{95, 2, 100, 20}));

    // An item ending exactly at the limit fits; without the scroll marker the limit is the edge.
    p = LayoutMenuBarItems(area, {}, {81}, true);
    EXPECT_TRUE(p.Fits[0]);
    EXPECT_FALSE(p.Overflow);
    p = LayoutMenuBarItems(area, {}, {82}, true);
    EXPECT_FALSE(p.Fits[0]);
    p = LayoutMenuBarItems(area, {}, {86}, false);
    EXPECT_TRUE(p.Fits[0]);

    // Skinned: the picture widened by the caption beyond its text rectangle, picture height.
    const TMenuBarItemMetrics m{true, 24, 24, 6};
    p = LayoutMenuBarItems({2, 0, 398, 24}, m, {40, 0}, true);
    EXPECT_EQ(p.Rects[0], (TSkinRect{2, 0, 62, 24}));
    EXPECT_EQ(p.Rects[1], (TSkinRect{62, 0, 82, 24}));
    EXPECT_FALSE(p.Overflow);
    EXPECT_EQ(p.FirstHidden, -1);
}

TEST(MenuBarLayout, HitTestingAndHoverRules) {
    const std::vector<TMenuBarHitObject> objects{
        {{0, 0, 10, 10}, false, true}, {{0, 0, 20, 10}, true, true}, {{20, 0, 30, 10}, true, false}, {{20, 0, 40, 10}}};
    EXPECT_EQ(MenuBarHitTest(objects, 5, 5), 1);    // the disabled one above is skipped
    EXPECT_EQ(MenuBarHitTest(objects, 20, 0), 3);   // the invisible one is skipped; left edge inside
    EXPECT_EQ(MenuBarHitTest(objects, 40, 5), -1);  // right edge outside
    EXPECT_EQ(MenuBarHitTest(objects, 25, 10), -1);  // bottom edge outside
    EXPECT_EQ(MenuBarHitTest(objects, -1, -1), -1);

    EXPECT_EQ(MenuBarTrackHot(-1, 4, true, true, -1), 4);    // menu mode keeps the item hot
    EXPECT_EQ(MenuBarTrackHot(-1, 4, true, false, -1), -1);
    EXPECT_EQ(MenuBarTrackHot(-1, 0, false, true, -1), -1);  // a button is not kept
    EXPECT_EQ(MenuBarTrackHot(2, 4, true, true, 1), -1);     // a press held elsewhere
    EXPECT_EQ(MenuBarTrackHot(1, -1, false, false, 1), 1);
}

std::vector<TMenuBarNavItem> Nav(std::initializer_list<TMenuBarNavItem> items) { return items; }

TEST(MenuBarLayout, KeyboardStepsWrapAndSkipWhatCannotBeReached) {
    // Enabled and fitting: 0, 2, 3; 1 is disabled, 4 hidden by the overflow.
    auto items = Nav({{}, {false}, {}, {}, {true, false}});
    items[3].Active = true;
    TMenuBarMove m = MenuBarStep(items, true);
    EXPECT_EQ(m.Leave, 3);
    EXPECT_EQ(m.Enter, 0);  // past the hidden one, round to the first
    m = MenuBarStep(items, false);
    EXPECT_EQ(m.Enter, 2);
    items[3].Active = false;
    items[0].Down = true;
    m = MenuBarStep(items, false);
    EXPECT_EQ(m.Leave, 0);
    EXPECT_EQ(m.Enter, 3);  // wraps to the last reachable
    items[0].Down = false;
    EXPECT_EQ(MenuBarStep(items, true).Enter, 0);   // nothing highlighted: the first
    EXPECT_EQ(MenuBarStep(items, false).Enter, 3);  // ... or the last
    EXPECT_EQ(MenuBarStep(Nav({{false}, {true, false}}), true).Enter, -1);
    EXPECT_EQ(MenuBarStep({}, true).Enter, -1);
}

TEST(MenuBarLayout, MenuModeStartsOnlyOnAReachableItem) {
    auto items = Nav({{false}, {}, {}});
    EXPECT_EQ(MenuBarEntryItem(items), 1);
    items[2].Active = true;
    EXPECT_EQ(MenuBarEntryItem(items), 2);
    items[2].Fits = false;  // an active item that no longer fits is not taken
    EXPECT_EQ(MenuBarEntryItem(items), 1);
    EXPECT_EQ(MenuBarEntryItem(Nav({{false}, {true, false}})), -1);
    EXPECT_EQ(MenuBarEntryItem({}), -1);
}

TEST(MenuBarLayout, AcceleratorsIgnoreCaseUmlautsIncluded) {
    auto items = Nav({{true, true, false, false, L'D'}, {true, true, false, false, L'\u00D6'},
                      {false, true, false, false, L'H'}, {true, false, false, false, L'F'},
                      {true, true, false, false, L'h'}});
    EXPECT_EQ(MenuBarAccelItem(items, L'd'), 0);
    EXPECT_EQ(MenuBarAccelItem(items, L'\u00F6'), 1);  // ö finds "&Öffnen"
    EXPECT_EQ(MenuBarAccelItem(items, L'H'), 4);       // the disabled one is passed over
    EXPECT_EQ(MenuBarAccelItem(items, L'f'), -1);      // hidden by the overflow
    EXPECT_EQ(MenuBarAccelItem(items, L'x'), -1);
    EXPECT_EQ(MenuBarAccelItem(items, 0), -1);
}

TEST(MenuBarLayout, MergedItemsReplaceTheirGroupAndSortByGroup) {
    // Frame: Datei(0) Bearbeiten(1) Fenster(9) Hilfe(10); child: Format(1) Ansicht(5).
    const auto merged = MergeMenuBarItems({0, 1, 9, 10}, {1, 5});
    std::vector<std::pair<bool, int>> order;
    for (const auto& e : merged) order.push_back({e.FromChild, e.Index});
    EXPECT_EQ(order, (std::vector<std::pair<bool, int>>{{false, 0}, {true, 0}, {true, 1}, {false, 2}, {false, 3}}));
    // Every frame item of a group the child has goes; equal groups stay in menu order.
    order.clear();
    for (const auto& e : MergeMenuBarItems({5, 3, 5, 3}, {3, 1, 3})) order.push_back({e.FromChild, e.Index});
    EXPECT_EQ(order, (std::vector<std::pair<bool, int>>{{true, 1}, {true, 0}, {true, 2}, {false, 0}, {false, 2}}));
    EXPECT_TRUE(MergeMenuBarItems({}, {}).empty());
}

}  // namespace
}  // namespace fn
