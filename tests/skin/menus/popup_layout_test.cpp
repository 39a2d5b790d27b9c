// Popup window geometry: height and scrolling, the visible range, and placement against the
// work area near each of its edges.
#include "skin/menus/popup_layout.h"

#include <gtest/gtest.h>

namespace fn {
namespace {

const TSkinRect Work{0, 0, 1000, 800};

TPopupPlaceInput At(TSkinRect anchor, int w = 100, int h = 200) {
    TPopupPlaceInput in;
    in.Anchor = anchor;
    in.WorkArea = Work;
    in.Width = w;
    in.Height = h;
    return in;
}

TEST(PopupHeight, LimitedByMaxItemsShowsMarkersAndScrolls) {
    std::vector<int> heights(30, 20);
    TPopupHeight h = PopupWindowHeight(heights, 4, 20, 10, 800);
    EXPECT_EQ(h.Height, 20 * 10 + 4 + 20);
    EXPECT_TRUE(h.Scroll);
    EXPECT_TRUE(h.LimitedByMax);
    h = PopupWindowHeight(heights, 4, 20, 0, 800);
    EXPECT_EQ(h.Height, 604);
    EXPECT_FALSE(h.Scroll);
    h = PopupWindowHeight(heights, 4, 20, 0, 300);  // lower work area: clamped, scrolls
    EXPECT_EQ(h.Height, 300);
    EXPECT_TRUE(h.Scroll);
    EXPECT_FALSE(h.LimitedByMax);
}

TEST(PopupLayout, TenItemsBetweenTwoMarkerStrips) {
    std::vector<int> heights(30, 20);
    const TSkinRect items{2, 2, 98, 222};  // 10 items + 2 markers
    std::vector<TItemPlace> places;
    EXPECT_EQ(LayoutPopupItems(heights, items, 0, true, places), 10);
    EXPECT_EQ(places[0].Rect.Top, 12);
    EXPECT_EQ(places[9].Rect.Bottom, 212);
    EXPECT_FALSE(places[10].Visible);
    EXPECT_EQ(LayoutPopupItems(heights, items, 5, true, places), 10);
    EXPECT_FALSE(places[4].Visible);
    EXPECT_TRUE(places[5].Visible);
    EXPECT_EQ(LastPageStart(heights, items, true), 20);
    // A start past the end places nothing and stays in range.
    EXPECT_EQ(LayoutPopupItems(heights, items, 99, true, places), 0);
}

TEST(PopupLayout, MarkerStripsOfTheWindowsScaleFrameTheItems) {
    // At 200 %: 20-pixel strips (and 40-pixel items) in a window limited to 10 items.
    std::vector<int> heights(30, 40);
    EXPECT_EQ(PopupWindowHeight(heights, 8, 40, 10, 2000, 20).Height, 40 * 10 + 8 + 40);
    const TSkinRect items{4, 4, 196, 444};
    std::vector<TItemPlace> places;
    EXPECT_EQ(LayoutPopupItems(heights, items, 3, true, places, 20), 10);
    EXPECT_EQ(places[3].Rect.Top, 24);
    EXPECT_EQ(places[12].Rect.Bottom, 424);
    EXPECT_EQ(LastPageStart(heights, items, true, 20), 20);
    EXPECT_EQ(ScrollMarkerAt(23, items, 3, 10, 30, 20), TScrollMarker::Up);
    EXPECT_EQ(ScrollMarkerAt(24, items, 3, 10, 30, 20), TScrollMarker::None);
    EXPECT_EQ(ScrollMarkerAt(424, items, 3, 10, 30, 20), TScrollMarker::Down);
}

TEST(PopupLayout, AnimationFramesLieBelowEachOtherOnlyInAStripHigherThanAnItem) {
    const TSkinRect stacked{10, 20, 110, 100};  // four 20-pixel frames of a 20-pixel item
    EXPECT_EQ(AnimationFrameRect(stacked, 20, 4, 1), (TSkinRect{10, 20, 110, 40}));
    EXPECT_EQ(AnimationFrameRect(stacked, 20, 4, 4), (TSkinRect{10, 80, 110, 100}));
    const TSkinRect beside{10, 20, 410, 40};  // four 100-pixel frames side by side
    EXPECT_EQ(AnimationFrameRect(beside, 20, 4, 2), (TSkinRect{110, 20, 210, 40}));
}

TEST(PopupLayout, AMarkerScrollsOnlyWhileItemsLieThatWay) {
    const TSkinRect items{2, 2, 98, 222};  // 30 items, 10 shown
    EXPECT_EQ(ScrollMarkerAt(2, items, 5, 10, 30), TScrollMarker::Up);
    EXPECT_EQ(ScrollMarkerAt(11, items, 5, 10, 30), TScrollMarker::Up);
    EXPECT_EQ(ScrollMarkerAt(12, items, 5, 10, 30), TScrollMarker::None);  // the first item
    EXPECT_EQ(ScrollMarkerAt(2, items, 0, 10, 30), TScrollMarker::None);   // nothing above
    EXPECT_EQ(ScrollMarkerAt(212, items, 5, 10, 30), TScrollMarker::Down);
    EXPECT_EQ(ScrollMarkerAt(221, items, 5, 10, 30), TScrollMarker::Down);
    EXPECT_EQ(ScrollMarkerAt(222, items, 5, 10, 30), TScrollMarker::None);  // below the items area
    EXPECT_EQ(ScrollMarkerAt(215, items, 20, 10, 30), TScrollMarker::None);  // the last page
}

TEST(PopupLayout, WindowLowerThanOneItemStillShowsOne) {
    std::vector<int> heights{50, 50};
    EXPECT_EQ(VisibleItemsFrom(heights, {0, 0, 10, 30}, 0, true), 1);
    EXPECT_EQ(LastPageStart(heights, {0, 0, 10, 30}, true), 1);
}

TEST(PopupPlacement, OpensBelowOrAboveTheAnchor) {
    TPopupPlace p = PlacePopup(At({100, 100, 100, 100}));
    EXPECT_EQ(p.X, 100);
    EXPECT_EQ(p.Y, 100);
    // Near the bottom with room above: above the anchor.
    p = PlacePopup(At({100, 700, 100, 720}));
    EXPECT_EQ(p.Y, 500);
    EXPECT_FALSE(p.Overlap);
    // Upward menus open above when there is room.
    TPopupPlaceInput up = At({100, 300, 200, 320});
    up.PopupUp = true;
    EXPECT_EQ(PlacePopup(up).Y, 100);
}

TEST(PopupPlacement, AWindowThatFitsExactlyOpensWhereItWasAsked) {
    // Down to the last pixel of the work area: still below the anchor, not flipped above it.
    TPopupPlace p = PlacePopup(At({100, 580, 100, 600}));
    EXPECT_EQ(p.Y, 600);
    EXPECT_EQ(p.X, 100);
    EXPECT_FALSE(p.Overlap);
    // Upward, up to the first pixel: above the anchor.
    TPopupPlaceInput up = At({100, 200, 100, 220});
    up.PopupUp = true;
    EXPECT_EQ(PlacePopup(up).Y, 0);
    // A sub-menu whose last item ends on the bottom edge: level with its parent item.
    TPopupPlaceInput sub = At({200, 605, 300, 625});
    sub.SubMenu = true;
    sub.ItemsTop = 5;
    EXPECT_EQ(PlacePopup(sub).Y, 600);
}

TEST(PopupPlacement, StaysInsideTheWorkAreaNearEveryEdge) {
    // Right edge: moved left so it ends at the edge.
    TPopupPlace p = PlacePopup(At({950, 100, 950, 100}));
    EXPECT_EQ(p.X, 900);
    // Left of the work area (a second monitor's anchor): moved right.
    TPopupPlaceInput in = At({-50, 100, -50, 100});
    in.WorkArea = {0, 0, 1000, 800};
    EXPECT_EQ(PlacePopup(in).X, 0);
    // Taller than the room above and below, anchor in the lower half: at the top, overlapping.
    in = At({100, 500, 100, 520}, 100, 600);
    p = PlacePopup(in);
    EXPECT_EQ(p.Y, 0);
    EXPECT_TRUE(p.Overlap);
    // Overlapping in the upper half: to the bottom, beside the anchor, still inside.
    in = At({100, 300, 150, 320}, 100, 700);
    p = PlacePopup(in);
    EXPECT_EQ(p.Y, 100);
    EXPECT_EQ(p.X, 151);
    // A work area not at the origin: top edge respected.
    in = At({100, 210, 100, 230}, 100, 300);
    in.WorkArea = {0, 200, 1000, 400};
    p = PlacePopup(in);
    EXPECT_GE(p.Y, 200);
    EXPECT_LE(p.Y + 300, 400 + 100);  // taller than the area: starts at its top
    EXPECT_EQ(p.Y, 200);
}

TEST(PopupPlacement, SubMenuBesideItsItemAndLeftAtTheRightEdge) {
    TPopupPlaceInput in = At({200, 100, 300, 120});
    in.SubMenu = true;
    in.ItemsTop = 5;
    TPopupPlace p = PlacePopup(in);
    EXPECT_EQ(p.X, 301);
    EXPECT_EQ(p.Y, 95);  // first item level with the parent item
    in.Anchor = {850, 100, 950, 120};
    EXPECT_EQ(PlacePopup(in).X, 749);  // left of the parent item, one pixel apart
    // Near the bottom in the lower half: bottom aligned with the item, inside the area.
    in.Anchor = {200, 700, 300, 720};
    p = PlacePopup(in);
    EXPECT_EQ(p.Y, 720 + 5 - 200);
    // Sub-menu with no room on either side: clamped to the left edge.
    in.Anchor = {50, 100, 950, 120};
    EXPECT_EQ(PlacePopup(in).X, 0);
}

TEST(PopupPlacement, ClampedWindowOpensAtTheTop) {
    TPopupPlaceInput in = At({100, 400, 100, 400}, 100, 800);
    in.ClampedToWork = true;
    TPopupPlace p = PlacePopup(in);
    EXPECT_EQ(p.Y, 0);
    EXPECT_EQ(p.X, 101);
}

TEST(PopupHeight, ItemHeightsBelowOneFallBack) {
    EXPECT_EQ(ValidItemHeight(0, 20), 20);
    EXPECT_EQ(ValidItemHeight(-7, 18), 18);
    EXPECT_EQ(ValidItemHeight(-7, 0), 20);
    EXPECT_EQ(ValidItemHeight(24, 20), 24);
}

}  // namespace
}  // namespace fn
