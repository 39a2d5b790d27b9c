// The menu bar's state machine driven as a person does: Alt and F10, letters, arrows, Escape,
// clicks and slides, with a stand-in for the popup chain and the form's skinning component.
#include <gtest/gtest.h>

#include "skin/form/menu_bar_state.h"

namespace fn {
namespace {

using S = TMenuBarStep;

}  // namespace

void PrintTo(const TMenuBarAction& a, std::ostream* os) {
    *os << "{step " << static_cast<int>(a.Step) << ", " << a.Item << ", " << a.Other << "}";
}

namespace {

// A child button, then "&Datei", "&Bearbeiten", "&Format" (each with a popup) and "&Über".
struct Bar {
    TMenuBarState s;
    TMenuBarEntries e{{false}, {true, true, true, true, L'D'}, {true, true, true, true, L'B'},
                      {true, true, true, true, L'F'}, {true, true, true, false, L'\u00DC'}};
    TAltTap alt;
    int levels = 0;  // open popup windows
    TMenuBarActions last;

    // Carries the steps out as the executors do: the chain opens and closes, and ending the
    // mode comes back to the bar through its owner.
    void Run(TMenuBarActions a) {
        last = a;
        for (const TMenuBarAction& x : a) {
            if (x.Step == S::Open) levels = e[static_cast<size_t>(x.Item)].HasPopup ? 1 : 0;
            if (x.Step == S::Run || x.Step == S::Close || x.Step == S::LeaveMode) {
                levels = 0;
                s.LeaveMenuMode();
            }
            if (x.Step == S::ToChain && --levels == 0) Run(s.PopupEscaped());  // Escape in the popup
        }
    }
    void Key(TMenuKey k, wchar_t ch = 0) { Run(s.Key(k, ch, {levels, false, false}, false, e)); }
    void KeyMenu(TKeyMenuKey k) {
        const TKeyMenuPlan p = PlanKeyMenu(k, {alt.TakeUsed(), s.MenuMode(), false, false, true});
        if (p.LeaveMenuMode) Run({{S::LeaveMode}});
        if (p.EnterMenuMode) Run(s.EnterMenuMode(e));
    }
    void Click(int at) {
        const TMenuBarActions down = s.MouseDown(at, true, false, levels > 0, false, e);
        Run(down);
        Run(s.MouseUp());
        last = down;
    }
};

TEST(MenuBarState, AltThenALetterOpensThatItemAndAnUnknownLetterDoesNothing) {
    Bar b;
    b.KeyMenu(TKeyMenuKey::Tap);
    EXPECT_EQ(b.last, (TMenuBarActions{{S::EnterMode}, {S::Select, 1}}));
    EXPECT_EQ(b.s.Mode(), TMenuBarMode::Selecting);
    b.Key(TMenuKey::Other, L'q');
    EXPECT_TRUE(b.last.empty());
    EXPECT_EQ(b.s.Item(), 1);
    b.Key(TMenuKey::Other, L'f');
    EXPECT_EQ(b.last, (TMenuBarActions{{S::Select, 3, 1}, {S::Open, 3}}));
    EXPECT_EQ(b.s.Mode(), TMenuBarMode::Open);
    // With a popup open, a letter moves it; a command's letter runs it and ends the mode.
    b.Key(TMenuKey::Other, L'b');
    EXPECT_EQ(b.last, (TMenuBarActions{{S::Hover, -1, 3}, {S::Open, 2, 3}}));
    b.Key(TMenuKey::Other, L'\u00FC');
    EXPECT_EQ(b.last.back(), (TMenuBarAction{S::Run, 4}));
    EXPECT_EQ(b.s.Mode(), TMenuBarMode::Idle);
    // Alt held for Alt+D is no tap: letting it go keeps the popup; the next tap leaves.
    b.alt.Pressed();
    b.Run(b.s.Accelerator(L'd', false, false, b.e));
    b.alt.KeyWithAlt(true);
    b.KeyMenu(TKeyMenuKey::Tap);
    EXPECT_EQ(b.s.Mode(), TMenuBarMode::Open);
    EXPECT_EQ(b.s.OpenItem(), 1);
    b.KeyMenu(TKeyMenuKey::Tap);
    EXPECT_EQ(b.s.Mode(), TMenuBarMode::Idle);
    // Alt with a letter no item has opens nothing.
    b.KeyMenu(TKeyMenuKey::Letter);
    EXPECT_EQ(b.s.Mode(), TMenuBarMode::Idle);
}

TEST(MenuBarState, AltRightDownOpensTheSecondAndTheArrowsCarryThePopupAlong) {
    Bar b;
    b.KeyMenu(TKeyMenuKey::Tap);
    b.Key(TMenuKey::Right);
    EXPECT_EQ(b.last, (TMenuBarActions{{S::Select, 2, 1}}));
    b.Key(TMenuKey::Down);
    EXPECT_EQ(b.last, (TMenuBarActions{{S::Open, 2}}));
    EXPECT_EQ(b.levels, 1);
    b.e[3].Enabled = false;  // "Format" is skipped while disabled
    b.Key(TMenuKey::Right);  // the popup moves along
    EXPECT_EQ(b.last, (TMenuBarActions{{S::Hover, -1, 2}, {S::Open, 4, 2}}));
    b.e[3].Enabled = true;
    b.Key(TMenuKey::Left);
    EXPECT_EQ(b.s.OpenItem(), 3);
    // In a further popup the arrows are the chain's; Left from the first wraps round to "Über".
    EXPECT_EQ(b.s.Key(TMenuKey::Left, 0, {2, false, false}, false, b.e), (TMenuBarActions{{S::ToChain}}));
    EXPECT_EQ(b.s.Key(TMenuKey::Right, 0, {1, true, false}, false, b.e), (TMenuBarActions{{S::ToChain}}));
    b.Key(TMenuKey::Left);
    b.Key(TMenuKey::Left);
    b.Key(TMenuKey::Left);
    EXPECT_EQ(b.s.OpenItem(), 4);
    EXPECT_EQ(b.levels, 0);  // a command shows pressed, no popup
    b.Key(TMenuKey::Other, L'd');  // a letter from there opens its item's popup once
    EXPECT_EQ(b.last, (TMenuBarActions{{S::Hover, -1, 4}, {S::Open, 1, 4}}));
    b.Key(TMenuKey::Left);
    b.Key(TMenuKey::Enter);  // Enter on the command runs it
    EXPECT_EQ(b.last, (TMenuBarActions{{S::Run, 4}}));
}

TEST(MenuBarState, ClickSlideEscapeEscapeAndASecondClickCloses) {
    Bar b;
    b.Run(b.s.MouseMove(1, b.e));
    EXPECT_EQ(b.last, (TMenuBarActions{{S::Hover, 1}}));
    b.Click(1);
    EXPECT_EQ(b.s.Mode(), TMenuBarMode::Open);
    b.Run(b.s.MouseMove(-1, b.e));  // off the items the open one stays
    EXPECT_TRUE(b.last.empty());
    b.Run(b.s.MouseMove(0, b.e));  // over the child button the popup stays
    EXPECT_EQ(b.s.OpenItem(), 1);
    b.Run(b.s.MouseMove(2, b.e));
    EXPECT_EQ(b.last, (TMenuBarActions{{S::Hover, -1, 0}, {S::Open, 2, 1}}));
    b.Key(TMenuKey::Escape);
    EXPECT_EQ(b.s.Mode(), TMenuBarMode::Selecting);
    EXPECT_EQ(b.s.Item(), 2);
    b.Key(TMenuKey::Escape);
    EXPECT_EQ(b.s.Mode(), TMenuBarMode::Idle);
    EXPECT_EQ(b.s.Item(), -1);
    // F10 then Escape.
    b.KeyMenu(TKeyMenuKey::Tap);
    b.Key(TMenuKey::Escape);
    EXPECT_EQ(b.last, (TMenuBarActions{{S::LeaveMode}}));
    EXPECT_FALSE(b.s.MenuMode());
    // A click on the open item closes it and the item stays hot; so does a click whose press the
    // chain took first to close the popup. Then a click opens it again.
    b.Click(1);
    EXPECT_EQ(b.last, (TMenuBarActions{{S::Hover, 1}, {S::EnterMode}, {S::Open, 1}}));
    b.Click(1);
    EXPECT_EQ(b.last, (TMenuBarActions{{S::Close, 1}}));
    EXPECT_EQ(b.s.Mode(), TMenuBarMode::Idle);
    EXPECT_EQ(b.s.Item(), 1);
    b.Click(1);
    b.s.PopupClosed(1);
    b.Run(b.s.MouseDown(1, true, false, false, false, b.e));
    EXPECT_EQ(b.last, (TMenuBarActions{{S::Close, 1}}));
    b.Click(1);
    EXPECT_EQ(b.s.OpenItem(), 1);
}

TEST(MenuBarState, AChildButtonKeepsThePressAndTheMarkerOpensTheHiddenItems) {
    Bar b;
    EXPECT_EQ(b.s.MouseDown(0, true, true, false, false, b.e), (TMenuBarActions{{S::Hover, 0}, {S::Press, 0, -1, true}}));
    // Nothing else is hot while the press is held.
    EXPECT_EQ(b.s.MouseMove(1, b.e), (TMenuBarActions{{S::Hover, -1, 0}}));
    EXPECT_EQ(b.s.MouseUp(), (TMenuBarActions{{S::Release, 0}}));
    b.e[4].Fits = false;
    EXPECT_TRUE(b.s.Accelerator(L'\u00FC', false, false, b.e).empty());
    EXPECT_EQ(b.s.Accelerator(L'\u00FC', false, true, b.e), (TMenuBarActions{{S::Overflow}}));
    EXPECT_EQ(b.s.MouseDown(-1, true, false, false, true, b.e), (TMenuBarActions{{S::Overflow}}));
}

}  // namespace
}  // namespace fn
