#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <vector>

#include "skin/controls/updown_model.h"

namespace fn {
namespace {

// Records what the model asks for; the repeat timer is a value the test ticks by hand.
struct FakeHost : TUpDownHost {
    unsigned period = 0;  // 0: stopped
    int changes = 0, repaints = 0;
    std::vector<int> clicks;
    std::function<void()> onChange;
    void StartRepeat(unsigned ms) override { period = ms; }
    void StopRepeat() override { period = 0; }
    void ButtonsChanged() override { ++repaints; }
    void PositionChanged() override {
        ++changes;
        if (onChange) onChange();
    }
    void ButtonClicked(int b) override { clicks.push_back(b); }
};

struct UpDown : ::testing::Test {
    FakeHost host;
    TUpDownModel m{host};
    void SetUp() override { m.LayoutHalves(50, 25, false); }
    // A clock that runs the timer for ms milliseconds, ticking at whatever period it has.
    void Run(unsigned ms) {
        unsigned elapsed = 0;
        while (host.period != 0 && elapsed + host.period <= ms) {
            elapsed += host.period;
            m.RepeatTick();
        }
    }
};

TEST_F(UpDown, HorizontalHalvesDecrementOnTheLeft) {
    EXPECT_EQ(m.Buttons(TUpDownModel::kDown).Area, (TSkinRect{0, 0, 25, 25}));
    EXPECT_EQ(m.Buttons(TUpDownModel::kUp).Area, (TSkinRect{25, 0, 50, 25}));
    EXPECT_EQ(m.ButtonAt(10, 10), TUpDownModel::kDown);
    EXPECT_EQ(m.ButtonAt(40, 10), TUpDownModel::kUp);
    EXPECT_EQ(m.ButtonAt(60, 10), -1);
    m.LayoutHalves(20, 40, true);
    EXPECT_EQ(m.Buttons(TUpDownModel::kUp).Area, (TSkinRect{0, 0, 20, 20}));
    EXPECT_EQ(m.ButtonAt(5, 30), TUpDownModel::kDown);
}

TEST_F(UpDown, AClickStepsByThePressedButton) {
    m.MouseDown(40, 10);
    EXPECT_EQ(m.PressedButton(), TUpDownModel::kUp);
    EXPECT_TRUE(m.Buttons(TUpDownModel::kUp).Down);
    EXPECT_EQ(host.period, TUpDownModel::kFirstDelay);
    m.MouseUp(40, 10);
    EXPECT_EQ(m.Position(), 1);
    EXPECT_EQ(host.period, 0u);
    EXPECT_EQ(host.clicks, std::vector<int>{TUpDownModel::kUp});
    m.MouseDown(5, 5);
    m.MouseUp(5, 5);
    EXPECT_EQ(m.Position(), 0);
    EXPECT_EQ(host.changes, 2);
}

TEST_F(UpDown, ReleasingOutsideTheButtonDoesNothing) {
    m.MouseDown(40, 10);
    m.MouseMove(10, 10);  // over the other button: counts as none while pressed
    EXPECT_EQ(m.HoverButton(), -1);
    EXPECT_FALSE(m.Buttons(TUpDownModel::kDown).Active);
    EXPECT_EQ(host.period, 0u);  // the repeat stops while the pointer is off the button
    m.MouseUp(10, 10);
    EXPECT_EQ(m.Position(), 0);
    EXPECT_TRUE(host.clicks.empty());
    EXPECT_EQ(host.changes, 0);
}

TEST_F(UpDown, AReleaseSomewhereElseWithoutAMoveBetweenDoesNothing) {
    // The move to the release point never arrived (a fast flick, a captured pointer): the
    // release alone decides, over the other button and outside the control.
    for (int x : {10, 200}) {
        m.MouseDown(40, 10);
        m.MouseUp(x, 10);
        EXPECT_FALSE(m.Buttons(TUpDownModel::kUp).Active) << x;
        EXPECT_FALSE(m.Buttons(TUpDownModel::kUp).Down) << x;
        EXPECT_EQ(m.PressedButton(), -1) << x;
    }
    EXPECT_EQ(m.Position(), 0);
    EXPECT_TRUE(host.clicks.empty());
    EXPECT_EQ(host.changes, 0);
}

TEST_F(UpDown, HoldingRepeatsAfterTheDelayAndStopsAtMax) {
    m.SetMax(5);
    m.MouseDown(40, 10);
    Run(500);  // the first tick only switches to the repeat period
    EXPECT_EQ(m.Position(), 0);
    EXPECT_EQ(host.period, TUpDownModel::kRepeatPeriod);
    Run(100);
    EXPECT_EQ(m.Position(), 1);
    Run(1000);
    EXPECT_EQ(m.Position(), 5);  // held at Max
    const int changes = host.changes;
    m.MouseUp(40, 10);
    EXPECT_EQ(m.Position(), 5);  // the click step beyond Max is ignored
    EXPECT_EQ(host.changes, changes);
    EXPECT_EQ(host.clicks.size(), 1u);
    m.RepeatTick();  // a late tick after the release steps nothing
    EXPECT_EQ(m.Position(), 5);
}

TEST_F(UpDown, MovingBackOverThePressedButtonResumesTheRepeat) {
    m.MouseDown(40, 10);
    m.MouseMove(100, 10);
    EXPECT_EQ(host.period, 0u);
    m.MouseMove(40, 10);
    EXPECT_EQ(host.period, TUpDownModel::kReenterPeriod);
}

TEST_F(UpDown, IncrementZeroClicksWithoutSteppingOrTimer) {
    m.SetIncrement(0);
    m.MouseDown(40, 10);
    EXPECT_EQ(host.period, 0u);
    m.MouseUp(40, 10);
    EXPECT_EQ(m.Position(), 0);
    EXPECT_EQ(host.clicks.size(), 1u);
}

TEST_F(UpDown, CancelEndsThePressWithoutAClick) {
    m.MouseDown(40, 10);
    m.Cancel();
    EXPECT_EQ(host.period, 0u);
    EXPECT_EQ(m.PressedButton(), -1);
    EXPECT_FALSE(m.Buttons(TUpDownModel::kUp).Down);
    m.RepeatTick();
    m.MouseUp(40, 10);
    EXPECT_EQ(m.Position(), 0);
    EXPECT_TRUE(host.clicks.empty());
}

TEST_F(UpDown, RangeIsKeptAndStepsCannotOverflow) {
    EXPECT_FALSE(m.SetPosition(101));
    EXPECT_FALSE(m.SetPosition(-1));
    m.SetPosition(50);
    m.SetMin(60);  // raises the position without a report
    EXPECT_EQ(m.Position(), 60);
    EXPECT_EQ(host.changes, 1);
    m.SetMin(200);  // Min above Max moves Max along
    EXPECT_EQ(m.Max(), 200);
    EXPECT_EQ(m.Position(), 200);
    m.SetMax(-10);
    EXPECT_EQ(m.Min(), -10);
    EXPECT_EQ(m.Position(), -10);

    m.SetMin(INT_MIN);
    m.SetMax(INT_MAX);
    m.SetIncrement(INT_MAX);
    ASSERT_TRUE(m.SetPosition(INT_MAX - 1));
    EXPECT_FALSE(m.Step(+1));  // would pass INT_MAX: ignored
    EXPECT_EQ(m.Position(), INT_MAX - 1);
    EXPECT_TRUE(m.Step(+1, 10, true));  // the keyboard stops at Max
    EXPECT_EQ(m.Position(), INT_MAX);
    m.SetIncrement(INT_MIN);
    ASSERT_TRUE(m.SetPosition(INT_MIN + 1));
    EXPECT_FALSE(m.Step(+1));
    EXPECT_TRUE(m.Step(-1));  // minus INT_MIN, in 64 bits
    EXPECT_EQ(m.Position(), 1);
}

TEST_F(UpDown, TheChangeHandlerIsNotEnteredAgain) {
    // A handler that, like a modal dialog's message loop, lets the timer and the mouse through.
    int depth = 0, maxDepth = 0;
    host.onChange = [&] {
        ++depth;
        maxDepth = std::max(maxDepth, depth);
        m.RepeatTick();
        m.MouseUp(40, 10);
        m.SetPosition(m.Position());  // the program may set it; no nested report
        --depth;
    };
    m.MouseDown(40, 10);
    m.RepeatTick();
    m.RepeatTick();
    EXPECT_EQ(maxDepth, 1);
    EXPECT_EQ(host.changes, 1);
    EXPECT_EQ(m.Position(), 1);
}

TEST(UpDownLook, ColoursAndArrowsByState) {
    EXPECT_EQ(DefaultButtonLook(TUpDownModel::kUp, true, true, true).FillColor, 11899781);
    EXPECT_EQ(DefaultButtonLook(TUpDownModel::kUp, true, false, true).FillColor, 13811126);
    EXPECT_EQ(DefaultButtonLook(TUpDownModel::kUp, false, true, true).FillColor, clBtnFace);
    EXPECT_EQ(DefaultButtonLook(TUpDownModel::kUp, false, false, true).Arrow, 3);
    EXPECT_EQ(DefaultButtonLook(TUpDownModel::kUp, false, false, false).Arrow, 2);
    EXPECT_EQ(DefaultButtonLook(TUpDownModel::kDown, false, false, true).Arrow, 4);
    EXPECT_EQ(DefaultButtonLook(TUpDownModel::kDown, false, false, false).Arrow, 1);
}

}  // namespace
}  // namespace fn
