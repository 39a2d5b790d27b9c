// The tray icon's click detection, icon order, index bounds and tooltip.
#include "skin/tray/tray_logic.h"

#include <gtest/gtest.h>

namespace fn {
namespace {

TEST(TrayClicks, QuickClickReportedWhenTheDoubleClickTimeEnds) {
    TTrayClickDetector d;
    d.ButtonDown();
    EXPECT_FALSE(d.ButtonUp());
    EXPECT_TRUE(d.TimerFired());
    EXPECT_FALSE(d.TimerFired());  // once only
}

TEST(TrayClicks, LongPressReportedAtButtonUp) {
    TTrayClickDetector d;
    d.ButtonDown();
    EXPECT_FALSE(d.TimerFired());
    EXPECT_TRUE(d.ButtonUp());
}

TEST(TrayClicks, DoubleClickReportsNoClick) {
    TTrayClickDetector d;
    d.ButtonDown();
    EXPECT_FALSE(d.ButtonUp());
    d.DoubleClick();
    EXPECT_FALSE(d.ButtonUp());
    EXPECT_FALSE(d.TimerFired());
    // The next quick click counts again.
    d.ButtonDown();
    d.ButtonUp();
    EXPECT_TRUE(d.TimerFired());
}

TEST(TrayIcons, IndexClampedAndCycleOrder) {
    EXPECT_EQ(ClampIconIndex(10, 3), 2);
    EXPECT_EQ(ClampIconIndex(-4, 3), 0);
    EXPECT_EQ(ClampIconIndex(5, 0), 0);
    int i = 0;
    std::vector<int> shown;
    for (int k = 0; k < 4; ++k) { shown.push_back(i); i = NextIconIndex(i, 3); }
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 0}));
    EXPECT_EQ(NextIconIndex(0, 0), 0);
    EXPECT_EQ(ClampAnimateInterval(0), 25u);
    EXPECT_EQ(ClampAnimateInterval(4000000000u), 60000u);
}

TEST(TrayTip, First127CharactersOrNothing) {
    const auto tip = TrayTip(String(200, L'x'), true);
    EXPECT_EQ(String(tip.data()).size(), 127u);
    EXPECT_EQ(tip[127], 0);
    EXPECT_EQ(TrayTip(L"Fennick", false)[0], 0);
    EXPECT_EQ(String(TrayTip(L"Fennick", true).data()), L"Fennick");
}

}  // namespace
}  // namespace fn
