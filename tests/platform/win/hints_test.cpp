// The application's hints with the test's clock: the pause, the hide pause, the short pause from
// one hint to the next, ShowHint inherited from the parents, OnShowHint changing or refusing a
// hint, the hint window class, hint sources, and a control freed while its hint waits.
#include <gtest/gtest.h>

#include "platform/win/application.h"
#include "platform/win/forms.h"
#include "tests/platform/win/fake_timers.h"

namespace fn {
namespace {

constexpr UINT_PTR HintTimerId = 1;

class HintTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.Initialize();
        form.LoadFromText(L"object HintHost: TForm\n  Caption = 'Hinweise'\n  ShowHint = True\nend\n");
        for (TWinControl*& c : controls) {
            c = new TWinControl(&form);
            c->SetParent(&form);
            c->SetBounds(0, 0, 10, 10);
        }
        form.Show();
    }
    void TearDown() override {
        app.OnShowHint = nullptr;
        app.SetHintWindowClass(nullptr);
        app.CancelHint();
    }
    void Move(HWND window) {
        MSG msg{window, WM_MOUSEMOVE, 0, 0, 0, {0, 0}};
        app.DispatchOne(msg);
    }
    void Move(TWinControl* control) { Move(control->Handle()); }
    bool Waiting() const { return timers.Has(app.Handle(), HintTimerId); }
    UINT Pause() const { return timers.Interval(app.Handle(), HintTimerId); }
    void Fire() { timers.Fire(app.Handle(), HintTimerId); }
    bool Showing() const { return app.HintWindow() && app.HintWindow()->Visible(); }

    TApplication& app = *Application();
    test::FakeTimers timers;
    TForm form{nullptr};
    TWinControl* controls[4] = {};
};

TEST_F(HintTest, ShowsAfterThePauseGoesAfterTheHidePauseAndComesBackOnlyAfterLeaving) {
    TWinControl* a = controls[0];
    a->SetHint(L"Neues Dokument");
    Move(a);
    ASSERT_TRUE(Waiting());
    EXPECT_EQ(Pause(), app.HintPause);
    EXPECT_FALSE(Showing());
    Fire();
    ASSERT_TRUE(Showing());
    EXPECT_EQ(app.HintWindow()->Text(), L"Neues Dokument");
    EXPECT_EQ(Pause(), app.HintHidePause);
    Fire();
    EXPECT_FALSE(Showing());
    EXPECT_FALSE(Waiting());
    // Resting on the same control does not bring it back; leaving and coming back does.
    Move(a);
    EXPECT_FALSE(Waiting());
    Move(controls[1]);
    EXPECT_FALSE(Waiting());
    Move(a);
    EXPECT_TRUE(Waiting());
    // A click ends the wait.
    MSG click{a->Handle(), WM_LBUTTONDOWN, 0, 0, 0, {0, 0}};
    app.DispatchOne(click);
    EXPECT_FALSE(Waiting());
}

TEST_F(HintTest, ShowHintComesFromTheParentsUnlessTheControlSetsItsOwn) {
    TWinControl* inherits = controls[0];
    TWinControl* refuses = controls[1];
    inherits->SetHint(L"geerbt");
    refuses->SetHint(L"aus");
    refuses->SetShowHint(false);
    EXPECT_TRUE(inherits->ShowingHint());
    EXPECT_FALSE(refuses->ShowingHint());
    Move(refuses);
    EXPECT_FALSE(Waiting());
    Move(inherits);
    EXPECT_TRUE(Waiting());
    // A control without a hint of its own shows its parent's.
    form.SetHint(L"Formular");
    Move(controls[2]);
    ASSERT_TRUE(Waiting());
    Fire();
    ASSERT_TRUE(Showing());
    EXPECT_EQ(app.HintWindow()->Text(), L"Formular");
}

TEST_F(HintTest, TheNextHintWhileOneShowsComesAfterTheShortPause) {
    controls[0]->SetHint(L"eins");
    controls[1]->SetHint(L"zwei");
    Move(controls[0]);
    Fire();
    ASSERT_TRUE(Showing());
    Move(controls[1]);
    EXPECT_FALSE(Showing());
    EXPECT_EQ(Pause(), app.HintShortPause);
    Fire();
    EXPECT_EQ(app.HintWindow()->Text(), L"zwei");
}

TEST_F(HintTest, OnShowHintChangesTheTextAndPlaceOrRefuses) {
    controls[0]->SetHint(L"alt");
    bool allow = true;
    TWinControl* seen = nullptr;
    app.OnShowHint = [&](String& text, bool& canShow, THintInfo& info) {
        seen = info.HintControl;
        text = L"neu";
        info.HintPos = {40, 50};
        info.HideTimeout = 7000;
        canShow = allow;
    };
    Move(controls[0]);
    Fire();
    EXPECT_EQ(seen, controls[0]);
    ASSERT_TRUE(Showing());
    EXPECT_EQ(app.HintWindow()->Text(), L"neu");
    RECT r;
    ::GetWindowRect(app.HintWindow()->Handle(), &r);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 50);
    EXPECT_EQ(Pause(), 7000u);
    allow = false;
    Move(controls[1]);
    Move(controls[0]);
    Fire();
    EXPECT_FALSE(Showing());
    EXPECT_FALSE(Waiting());
}

int made = 0;
std::unique_ptr<THintWindow> CountingHintWindow() {
    ++made;
    return std::make_unique<THintWindow>();
}

TEST_F(HintTest, TheWindowClassMakesTheNextHintWindowAfterShowHintWasSwitched) {
    controls[0]->SetHint(L"x");
    Move(controls[0]);
    Fire();
    ASSERT_NE(app.HintWindow(), nullptr);
    made = 0;
    app.SetHintWindowClass(&CountingHintWindow);
    EXPECT_EQ(app.HintWindowClass(), &CountingHintWindow);
    app.SetShowHint(false);
    EXPECT_EQ(app.HintWindow(), nullptr);
    Move(controls[1]);
    EXPECT_FALSE(Waiting());
    app.SetShowHint(true);
    Move(controls[0]);
    Fire();
    EXPECT_EQ(made, 1);
    EXPECT_TRUE(Showing());
    // No class given: the platform's own.
    app.SetHintWindowClass(nullptr);
    EXPECT_EQ(app.HintWindowClass(), &MakePlatformHintWindow);
}

TEST_F(HintTest, AFreedControlEndsItsWaitAndAHintSourceAnswersForItsWindow) {
    controls[3]->SetHint(L"geht gleich");
    Move(controls[3]);
    ASSERT_TRUE(Waiting());
    delete controls[3];
    controls[3] = nullptr;
    EXPECT_FALSE(Waiting());
    Fire();
    EXPECT_FALSE(Showing());

    struct Source : THintSource {
        String text;
        String HintText() override { return text; }
    } source;
    HWND plain = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SetWindowHintSource(plain, &source);
    Move(plain);
    EXPECT_FALSE(Waiting());  // no text, no hint
    source.text = L"Eintrag eins";
    Move(plain);
    ASSERT_TRUE(Waiting());
    Fire();
    EXPECT_EQ(app.HintWindow()->Text(), L"Eintrag eins");
    // A new text over the same window is a new hint.
    source.text = L"Eintrag zwei";
    Move(plain);
    EXPECT_EQ(Pause(), app.HintShortPause);
    SetWindowHintSource(plain, nullptr);
    ::DestroyWindow(plain);
}

}  // namespace
}  // namespace fn
