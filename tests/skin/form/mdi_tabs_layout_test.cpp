// The MDI tabs' plan: tab rectangles for a bar width, hit-testing, where a dragged tab lands,
// and the hover / press / drag machine with what it asks of the bar.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "skin/form/mdi_tabs_layout.h"

namespace fn {
namespace {

std::vector<int> Lefts(const std::vector<TSkinRect>& rects) {
    std::vector<int> v;
    for (const TSkinRect& r : rects) v.push_back(r.Left);
    return v;
}

TEST(MdiTabsLayout, TabsShareTheBarUpToTheirWidestAndTheLastTakesTheRest) {
    const auto four = TabRects(4, 300, 21, 100);
    EXPECT_EQ(Lefts(four), (std::vector<int>{0, 75, 150, 225}));
    EXPECT_EQ(four.back(), (TSkinRect{225, 0, 300, 21}));
    const auto two = TabRects(2, 300, 21, 100);
    EXPECT_EQ(two[0], (TSkinRect{0, 0, 100, 21}));
    EXPECT_EQ(two[1], (TSkinRect{100, 0, 200, 21}));  // free space on the right
    // Below the widest the integer division's rest goes to the last tab.
    EXPECT_EQ(TabRects(3, 299, 21, 100).back(), (TSkinRect{198, 0, 299, 21}));
    EXPECT_EQ(TabRects(3, 300, 21, 100).back(), (TSkinRect{200, 0, 300, 21}));
}

TEST(MdiTabsLayout, NoTabsOrNoRoomDivideNothing) {
    EXPECT_TRUE(TabRects(0, 300, 21, 100).empty());
    EXPECT_TRUE(TabRects(-2, 300, 21, 100).empty());
    for (const TSkinRect& r : TabRects(3, 0, 21, 100)) EXPECT_TRUE(r.IsEmpty());
    for (const TSkinRect& r : TabRects(3, -40, 21, 100)) EXPECT_LE(r.Width(), 0);
    for (const TSkinRect& r : TabRects(2, 300, 21, 0)) EXPECT_LE(r.Left, 300);
    EXPECT_TRUE(BackgroundCopies(300, 21, 0, 10).empty());
    EXPECT_TRUE(BackgroundCopies(300, 21, 10, 0).empty());
    EXPECT_TRUE(BackgroundCopies(0, 21, 10, 10).empty());
}

TEST(MdiTabsLayout, TheBackgroundRepeatsCutAtTheBarsEdges) {
    const auto copies = BackgroundCopies(250, 21, 100, 30);
    ASSERT_EQ(copies.size(), 3u);
    EXPECT_EQ(copies[2].X, 200);
    EXPECT_EQ(copies[2].Width, 50);
    EXPECT_EQ(copies[0].Height, 21);
    EXPECT_EQ(BackgroundCopies(200, 21, 100, 10).size(), 2u);
}

TEST(MdiTabsLayout, HitTestingCountsBothEdgesAndTheFirstTabWins) {
    const auto rects = TabRects(4, 300, 21, 100);
    EXPECT_EQ(TabAt(rects, 0, 0), 0);
    EXPECT_EQ(TabAt(rects, 75, 10), 0);  // the shared edge belongs to the earlier tab
    EXPECT_EQ(TabAt(rects, 76, 21), 1);
    EXPECT_EQ(TabAt(rects, 300, 5), 3);
    EXPECT_EQ(TabAt(rects, 301, 5), -1);
    EXPECT_EQ(TabAt(rects, 10, 22), -1);
    EXPECT_EQ(TabAt(rects, -1, -1), -1);
    EXPECT_EQ(TabAt({}, 0, 0), -1);
}

TEST(MdiTabsLayout, ADraggedTabStaysInsideTheBar) {
    EXPECT_EQ(DraggedTabRect({0, 0, 100, 21}, 30, 300), (TSkinRect{30, 0, 130, 21}));
    EXPECT_EQ(DraggedTabRect({0, 0, 100, 21}, 500, 300), (TSkinRect{200, 0, 300, 21}));
    EXPECT_EQ(DraggedTabRect({200, 0, 300, 21}, -900, 300), (TSkinRect{0, 0, 100, 21}));
}

TEST(MdiTabsLayout, TheDropIndexIsTheFarthestMiddlePassed) {
    auto rects = TabRects(3, 300, 21, 100);
    rects[0] = DraggedTabRect(rects[0], 151, 300);  // right edge 251, past the third middle (250)
    EXPECT_EQ(DropIndex(rects, 0, 151), 2);
    rects = TabRects(3, 300, 21, 100);
    rects[0] = DraggedTabRect(rects[0], 150, 300);  // right edge 250: not left of it
    EXPECT_EQ(DropIndex(rects, 0, 150), 1);
    rects = TabRects(3, 300, 21, 100);
    rects[0] = DraggedTabRect(rects[0], 40, 300);
    EXPECT_EQ(DropIndex(rects, 0, 40), -1);
    rects = TabRects(3, 300, 21, 100);
    rects[2] = DraggedTabRect(rects[2], -151, 300);  // left edge 49: left of the first middle
    EXPECT_EQ(DropIndex(rects, 2, -151), 0);
    EXPECT_EQ(DropIndex(rects, 2, 0), -1);
    EXPECT_EQ(DropIndex(rects, 7, 10), -1);
    EXPECT_EQ(DropMarkerX({100, 0, 200, 21}, -5), 100);
    EXPECT_EQ(DropMarkerX({100, 0, 200, 21}, 5), 200);
}

TEST(MdiTabsLayout, AButtonsTextAreaGrowsWithTheTabAndFitsTheText) {
    const TSkinRect client{4, 3, 26, 17}, skin{50, 50, 80, 70};  // 30 x 20 picture
    EXPECT_EQ(ButtonTextArea(client, skin, 100, 24, 12), (TSkinRect{4, 3, 96, 21}));
    EXPECT_EQ(ButtonTextArea(client, skin, 100, 24, 20), (TSkinRect{4, 2, 96, 22}));
}

// ---- the machine ----

struct Host : TmnMDITabsHost {
    std::vector<std::string> log;
    bool captured = false;
    int repaints = 0;
    std::function<void(int)> onLeave;
    void TabMouseEnter(int i) override { log.push_back("enter " + std::to_string(i)); }
    void TabMouseLeave(int i) override {
        log.push_back("leave " + std::to_string(i));
        if (onLeave) onLeave(i);
    }
    void MoveTab(int from, int to) override { log.push_back("move " + std::to_string(from) + ">" + std::to_string(to)); }
    void CaptureMouse() override { captured = true; }
    void ReleaseMouse() override { captured = false; }
    void Repaint() override { ++repaints; }
};

struct MdiTabsMachine : ::testing::Test {
    MdiTabsMachine() {
        model.SetSize(300, 21);
        for (int i = 0; i < 3; ++i) model.TabAdded();
    }
    Host host;
    TmnMDITabsModel model{host};
};

TEST_F(MdiTabsMachine, HoverEntersAndLeavesOnceEach) {
    model.MouseMove(10, 5);
    model.MouseMove(20, 5);
    model.MouseMove(150, 5);
    model.MouseLeave();
    EXPECT_EQ(host.log, (std::vector<std::string>{"enter 0", "leave 0", "enter 1", "leave 1"}));
    EXPECT_EQ(model.HotTab(), -1);
    EXPECT_EQ(model.OldHotTab(), -1);
}

TEST_F(MdiTabsMachine, DraggingTheFirstTabPastTheThirdsMiddleMovesItToTheEnd) {
    EXPECT_EQ(model.MouseDown(50, 5, true), 0);
    EXPECT_TRUE(host.captured);
    model.MouseMove(120, 5);
    EXPECT_TRUE(model.Dragging());
    EXPECT_EQ(model.DragOffset(), 70);
    model.MouseMove(202, 5);  // right edge 252 passes the third's middle
    EXPECT_EQ(model.Layout()[0], (TSkinRect{152, 0, 252, 21}));
    EXPECT_EQ(model.DropIndex(), 2);
    EXPECT_EQ(model.MouseUp(202, 5), -1);  // a drag is no click
    EXPECT_EQ(host.log.back(), "move 0>2");
    EXPECT_FALSE(host.captured);
    EXPECT_FALSE(model.Dragging());
    EXPECT_FALSE(model.Pressed());
    EXPECT_EQ(model.DragTab(), -1);
    EXPECT_EQ(model.DragOffset(), 0);
}

TEST_F(MdiTabsMachine, ReleasingWithoutCrossingAMiddleKeepsTheOrder) {
    model.MouseDown(50, 5, true);
    model.MouseMove(80, 5);
    model.MouseUp(80, 5);
    EXPECT_TRUE(std::none_of(host.log.begin(), host.log.end(), [](auto& s) { return s.rfind("move", 0) == 0; }));
    // Dragged left the last tab lands first.
    model.MouseDown(250, 5, true);
    model.MouseMove(90, 5);
    model.MouseUp(90, 5);
    EXPECT_EQ(host.log.back(), "move 2>0");
}

TEST_F(MdiTabsMachine, AClickWithoutMovementIsAClick) {
    EXPECT_EQ(model.MouseDown(150, 5, true), 1);
    EXPECT_EQ(model.MouseUp(150, 5), 1);
    EXPECT_FALSE(host.captured);
    EXPECT_EQ(model.MouseDown(150, 5, false), 1);  // without MoveTabs nothing drags
    model.MouseMove(290, 5);
    EXPECT_FALSE(model.Dragging());
    EXPECT_EQ(model.MouseUp(290, 5), 2);
    EXPECT_EQ(model.MouseDown(350, 5, true), -1);  // beside the tabs: no press
    EXPECT_FALSE(host.captured);
}

TEST_F(MdiTabsMachine, TheHotTabFollowsItsTabWhenDropped) {
    model.MouseMove(50, 5);
    model.MouseDown(50, 5, true);
    model.MouseMove(210, 5);
    model.MouseUp(210, 5);
    EXPECT_EQ(model.HotTab(), 2);
    EXPECT_EQ(model.OldHotTab(), 2);
}

TEST_F(MdiTabsMachine, LosingTheMouseCancelsTheDragWithoutMoving) {
    model.MouseDown(50, 5, true);
    model.MouseMove(260, 5);
    const int repaints = host.repaints;
    model.Cancel();
    EXPECT_FALSE(model.Dragging());
    EXPECT_FALSE(model.Pressed());
    EXPECT_EQ(model.DragTab(), -1);
    EXPECT_GT(host.repaints, repaints);
    EXPECT_EQ(model.MouseUp(260, 5), 2);  // the late release is a plain release
    EXPECT_TRUE(std::none_of(host.log.begin(), host.log.end(), [](auto& s) { return s.rfind("move", 0) == 0; }));
}

TEST_F(MdiTabsMachine, RemovingAnyTabResetsEveryIndexAndEndsTheDrag) {
    model.MouseMove(150, 5);
    model.MouseDown(150, 5, true);
    model.MouseMove(200, 5);
    ASSERT_TRUE(model.Dragging());
    model.TabRemoving();
    model.TabRemoved();
    EXPECT_EQ(host.log.back(), "leave 1");
    EXPECT_EQ(model.HotTab(), -1);
    EXPECT_EQ(model.OldHotTab(), -1);
    EXPECT_EQ(model.DragTab(), -1);
    EXPECT_FALSE(model.Dragging());
    EXPECT_FALSE(model.Pressed());
    EXPECT_FALSE(host.captured);
    EXPECT_EQ(model.Count(), 2);
    // The next move enters afresh.
    model.MouseMove(150, 5);
    EXPECT_EQ(host.log.back(), "enter 1");
    // Removing them all while hovering leaves nothing hot; moves and clicks find nothing.
    for (int i = 0; i < 2; ++i) {
        model.TabRemoving();
        model.TabRemoved();
    }
    model.TabRemoved();
    EXPECT_EQ(model.Count(), 0);
    model.MouseMove(10, 5);
    EXPECT_EQ(model.MouseDown(10, 5, true), -1);
    EXPECT_EQ(model.HotTab(), -1);
}

TEST_F(MdiTabsMachine, ALeaveHandlerThatRemovesATabStopsTheEnter) {
    model.MouseMove(10, 5);
    host.onLeave = [&](int) {
        host.onLeave = nullptr;
        model.TabRemoving();
        model.TabRemoved();
    };
    model.MouseMove(150, 5);
    EXPECT_EQ(host.log.back(), "leave 0");
    EXPECT_EQ(model.HotTab(), -1);
}

}  // namespace
}  // namespace fn
