// The skinned hint under Wine: the timed show and hide with the test's clock, placement at the
// screen edge, the size against the picture, alpha switched off and on, and handing the
// program's hints back.
#include <gtest/gtest.h>

#include "menus_fixture.h"
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
    EXPECT_EQ(timers.Interval(w, HintTimerId), hint.HintPause);
    EXPECT_FALSE(hint.HintWindow().Visible());
    timers.Fire(w, HintTimerId);
    EXPECT_TRUE(hint.HintWindow().Visible());
    EXPECT_EQ(hint.HintWindow().Text(), L"Schließen");
    EXPECT_EQ(timers.Interval(w, HintTimerId), hint.HintHidePause);
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
        EXPECT_TRUE(ActivateSkinHint({5, 5, 5, 5}, L"x"));
        first.SetActive(false);
        EXPECT_FALSE(ActivateSkinHint({5, 5, 5, 5}, L"x"));
    }
    EXPECT_EQ(ActiveSkinHint(), nullptr);
}

TEST(SkinHint, ACursorHeightIsMeasured) {
    ::SetCursor(::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
    const int h = CursorHeightBelowHotSpot();
    EXPECT_GE(h, 0);
    EXPECT_LE(h, ::GetSystemMetrics(SM_CYCURSOR));
}

}  // namespace
}  // namespace fn
