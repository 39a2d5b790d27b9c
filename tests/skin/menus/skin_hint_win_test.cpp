// The skinned hint under Wine: the timed show and hide with the test's clock, placement at the
// screen edge, the size against the picture, alpha switched off and on, and handing the
// program's hints back.
#include <gtest/gtest.h>

#include "menus_fixture.h"
#include "platform/win/application.h"
#include "skin/menus/skin_hint_win.h"
#include "skin/paint/system_win.h"

namespace fn {
namespace {

using test::FakeTimers;

constexpr UINT_PTR HintTimerId = 1;

TEST(SkinHint, ShowsAfterThePauseAndHidesAfterTheHidePause) {
    FakeTimers timers;
    TmnSkinHint hint(nullptr);
    hint.SetSkinData(&test::FennickSkin());
    HWND w = hint.HintWindow().Handle();
    hint.ShowHintText(L"Schließen");
    ASSERT_TRUE(timers.Has(w, HintTimerId));
    EXPECT_EQ(timers.Interval(w, HintTimerId), Application()->HintPause);
    EXPECT_FALSE(hint.HintWindow().Visible());
    timers.Fire(w, HintTimerId);
    EXPECT_TRUE(hint.HintWindow().Visible());
    EXPECT_EQ(hint.HintWindow().Text(), L"Schließen");
    EXPECT_EQ(timers.Interval(w, HintTimerId), Application()->HintHidePause);
    timers.Fire(w, HintTimerId);
    EXPECT_FALSE(hint.HintWindow().Visible());
    EXPECT_FALSE(timers.Has(w, HintTimerId));
    // HideHint before the pause ends: nothing shows, no timer stays.
    hint.ShowHintText(L"Minimieren");
    hint.HideHint();
    EXPECT_FALSE(timers.Has(w, HintTimerId));
    timers.Fire(w, HintTimerId);
    EXPECT_FALSE(hint.HintWindow().Visible());
}

TEST(SkinHint, SkinnedWindowNeverSmallerThanItsPicture) {
    TmnSkinHint hint(nullptr);
    TmnSkinData& skin = test::FennickSkin();
    hint.SetSkinData(&skin);
    hint.HintWindow().ActivateHint({100, 100, 100, 100}, L".");
    RECT r;
    ::GetWindowRect(hint.HintWindow().Handle(), &r);
    const TBitmapData* picture = skin.ActivePicture(skin.HintWindow().WindowPictureIndex);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(r.right - r.left, picture->Width);
    EXPECT_EQ(r.bottom - r.top, picture->Height);
    EXPECT_EQ(hint.HintWindow().SkinData, &skin);
    // An out-of-range picture index: the unskinned look.
    auto& record = const_cast<TmnDataSkinHintWindow&>(skin.HintWindow());
    const int saved = record.WindowPictureIndex;
    record.WindowPictureIndex = 1000;
    hint.HintWindow().ActivateHint({100, 100, 100, 100}, L".");
    EXPECT_EQ(hint.HintWindow().SkinData, nullptr);
    record.WindowPictureIndex = saved;
}

TEST(SkinHint, AtTheRightEdgeItOpensLeftOfThePoint) {
    TmnSkinHint hint(nullptr);
    RECT work;
    GetPrimaryScreenRect(true, work);
    const int x = work.right - 3;
    hint.HintWindow().ActivateHint({x, 100, x, 100}, L"Ein längerer Hinweistext");
    RECT r;
    ::GetWindowRect(hint.HintWindow().Handle(), &r);
    EXPECT_EQ(r.right, x - 2);
    EXPECT_LE(r.right, work.right);
}

TEST(SkinHint, AlphaSwitchedOffAndOnKeepsTheHintVisible) {
    if (!LayeredWindowsAvailable()) GTEST_SKIP();
    TmnSkinHint hint(nullptr);
    HWND w = hint.HintWindow().Handle();
    hint.AlphaBlend = true;
    hint.AlphaBlendValue = 120;
    hint.HintWindow().ActivateHint({10, 10, 10, 10}, L"a");
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(w, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 120);
    hint.AlphaBlend = false;
    hint.HintWindow().ActivateHint({10, 10, 10, 10}, L"b");
    EXPECT_EQ(::GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    hint.AlphaBlend = true;  // same value as before the style went
    hint.HintWindow().ActivateHint({10, 10, 10, 10}, L"c");
    alpha = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(w, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 120);
    EXPECT_TRUE(flags & LWA_ALPHA);
}

TEST(SkinHint, OnlyOneServesAndDestroyingHandsTheHintsBack) {
    EXPECT_EQ(ActiveSkinHint(), nullptr);
    {
        TmnSkinHint first(nullptr);
        EXPECT_EQ(ActiveSkinHint(), &first);
        {
            TmnSkinHint second(nullptr);
            EXPECT_EQ(ActiveSkinHint(), &second);
            EXPECT_FALSE(first.Active());
        }
        EXPECT_EQ(ActiveSkinHint(), nullptr);
        first.SetActive(true);
        // The application's hint window, made while a component is active, shows the hint.
        TmnSkinHintWindow window;
        window.ActivateHint({5, 5, 5, 5}, L"x");
        EXPECT_TRUE(window.Visible());
        window.Hide();
        first.SetActive(false);
        window.ActivateHint({5, 5, 5, 5}, L"x");
        EXPECT_FALSE(window.Visible());
    }
    EXPECT_EQ(ActiveSkinHint(), nullptr);
}

TEST(SkinHint, TakesTheApplicationsHintsOverAndHandsBackWhatItFound) {
    TApplication& app = *Application();
    app.Initialize();
    int ownCalls = 0;
    app.OnShowHint = [&](String&, bool&, THintInfo&) { ++ownCalls; };
    const UINT shortPause = app.HintShortPause;
    auto callApp = [&] {
        String text = L"t";
        bool canShow = true;
        THintInfo info;
        if (app.OnShowHint) app.OnShowHint(text, canShow, info);
        return canShow;
    };
    {
        TmnSkinHint hint(nullptr);
        EXPECT_EQ(app.HintWindowClass(), &TmnSkinHintWindow::Create);
        EXPECT_EQ(app.HintShortPause, 100u);
        // The application's event now goes to the component's.
        bool refuse = true;
        hint.OnShowHint = [&](String&, bool& canShow, THintInfo&) { canShow = !refuse; };
        EXPECT_FALSE(callApp());
        EXPECT_EQ(ownCalls, 0);
        // Deactivated it hands back; active again it takes over again.
        hint.SetActive(false);
        EXPECT_EQ(app.HintWindowClass(), &MakePlatformHintWindow);
        callApp();
        EXPECT_EQ(ownCalls, 1);
        hint.SetActive(true);
        EXPECT_FALSE(callApp());
        {
            // A second component takes over from the first and hands back the program's own.
            TmnSkinHint second(nullptr);
            EXPECT_FALSE(hint.Active());
            EXPECT_EQ(app.HintWindowClass(), &TmnSkinHintWindow::Create);
            callApp();
            EXPECT_EQ(ownCalls, 1);
        }
        EXPECT_EQ(app.HintWindowClass(), &MakePlatformHintWindow);
        callApp();
        EXPECT_EQ(ownCalls, 2);
        hint.SetActive(true);
        // The application's next hint comes in a skinned window.
        FakeTimers timers;
        struct Source : THintSource {
            String HintText() override { return L"Über dem Fenster"; }
        } source;
        test::CountingWindow plain;
        SetWindowHintSource(plain.Handle(), &source);
        refuse = false;
        MSG move{plain.Handle(), WM_MOUSEMOVE, 0, 0, 0, {0, 0}};
        app.DispatchOne(move);
        timers.Fire(app.Handle(), 1);
        ASSERT_NE(dynamic_cast<TmnSkinHintWindow*>(app.HintWindow()), nullptr);
        EXPECT_TRUE(app.HintWindow()->Visible());
        app.CancelHint();
        SetWindowHintSource(plain.Handle(), nullptr);
    }
    EXPECT_EQ(app.HintWindowClass(), &MakePlatformHintWindow);
    callApp();
    EXPECT_EQ(ownCalls, 3);
    app.OnShowHint = nullptr;
    app.HintShortPause = shortPause;
    // A class set after the takeover is not replaced by the hand-back.
    {
        TmnSkinHint hint(nullptr);
        app.SetHintWindowClass(&MakePlatformHintWindow);
        app.SetHintWindowClass([]() -> std::unique_ptr<THintWindow> { return std::make_unique<THintWindow>(); });
        const THintWindowClass later = app.HintWindowClass();
        hint.SetActive(false);
        EXPECT_EQ(app.HintWindowClass(), later);
    }
    app.SetHintWindowClass(nullptr);
}

TEST(SkinHint, ACursorHeightIsMeasured) {
    ::SetCursor(::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
    const int h = CursorHeightBelowHotSpot();
    EXPECT_GE(h, 0);
    EXPECT_LE(h, ::GetSystemMetrics(SM_CYCURSOR));
}

}  // namespace
}  // namespace fn
