// The up-down as a real window: stepping by click position, auto-repeat driven through its
// timer message, every way a press ends, the skinned images and the keyboard.
#include <oleacc.h>

#include "skin/controls/skin_updown_win.h"
#include "tests/platform/win/fake_timers.h"
#include "tests/platform/win/gdi_support.h"
#include "tests/skin/controls/controls_fixture.h"

namespace fn {
namespace {

using test::At;

struct UpDownWin : test::ControlsTest {
    TmnSkinUpDown* Make(bool skinned) {
        auto* u = new TmnSkinUpDown(form.get());
        u->SetParent(form.get());
        if (skinned) u->SetSkinData(skin.get());
        u->OnChange = [this](TComponent*) { ++changes; };
        return u;
    }
    // Moves the clock on by the current repeat period (a stopped repeat still gets time to
    // show that its timer is really gone).
    void Tick(TmnSkinUpDown& u) { timers.Advance(std::max(u.RepeatPeriod(), 100u)); }
    test::FakeTimers timers;
    int changes = 0;
};

TEST_F(UpDownWin, AClickStepsByWhereItLands) {
    TmnSkinUpDown* u = Make(false);
    ASSERT_EQ((std::pair{u->Width(), u->Height()}), (std::pair{50, 25}));
    int ups = 0, downs = 0;
    u->OnUpButtonClick = [&](TComponent*) { ++ups; };
    u->OnDownButtonClick = [&](TComponent*) { ++downs; };
    Mouse(*u, WM_LBUTTONDOWN, 40, 12);
    Mouse(*u, WM_LBUTTONUP, 40, 12);
    EXPECT_EQ(u->Position(), 1);
    Mouse(*u, WM_LBUTTONDOWN, 40, 12);
    Mouse(*u, WM_LBUTTONUP, 40, 12);
    Mouse(*u, WM_LBUTTONDOWN, 10, 12);
    Mouse(*u, WM_LBUTTONUP, 10, 12);
    EXPECT_EQ(u->Position(), 1);
    EXPECT_EQ((std::pair{ups, downs}), (std::pair{2, 1}));
    EXPECT_EQ(changes, 3);
    // Released outside: no step, no click.
    Mouse(*u, WM_LBUTTONDOWN, 40, 12);
    Mouse(*u, WM_MOUSEMOVE, 80, 12);
    Mouse(*u, WM_LBUTTONUP, 80, 12);
    EXPECT_EQ(u->Position(), 1);
    EXPECT_EQ(ups, 2);
}

TEST_F(UpDownWin, HoldingRepeatsUntilMax) {
    TmnSkinUpDown* u = Make(false);
    u->SetMax(4);
    Mouse(*u, WM_LBUTTONDOWN, 40, 12);
    EXPECT_EQ(u->RepeatPeriod(), 500u);
    Tick(*u);
    EXPECT_EQ(u->Position(), 0);
    EXPECT_EQ(u->RepeatPeriod(), 100u);
    for (int i = 0; i < 10; ++i) Tick(*u);
    EXPECT_EQ(u->Position(), 4);
    EXPECT_EQ(changes, 4);
    Mouse(*u, WM_LBUTTONUP, 40, 12);
    EXPECT_EQ(u->RepeatPeriod(), 0u);
    EXPECT_EQ(u->Position(), 4);
}

TEST_F(UpDownWin, ThePressEndsOnCaptureLossCancelDisableAndHide) {
    TmnSkinUpDown* u = Make(false);
    const std::function<void()> interruptions[] = {
        [&] { ::SetCapture(form->Handle()); },
        [&] { ::SendMessageW(u->Handle(), WM_CANCELMODE, 0, 0); },
        [&] { ::EnableWindow(u->Handle(), FALSE); },
        [&] { ::ShowWindow(u->Handle(), SW_HIDE); },
    };
    int n = 0;
    for (const auto& interrupt : interruptions) {
        ::EnableWindow(u->Handle(), TRUE);
        ::ShowWindow(u->Handle(), SW_SHOWNOACTIVATE);
        Mouse(*u, WM_LBUTTONDOWN, 40, 12);
        Tick(*u);
        ASSERT_EQ(u->RepeatPeriod(), 100u) << n;
        interrupt();
        EXPECT_EQ(u->RepeatPeriod(), 0u) << n;
        EXPECT_EQ(u->Model().PressedButton(), -1) << n;
        Tick(*u);
        Tick(*u);
        Mouse(*u, WM_LBUTTONUP, 40, 12);
        EXPECT_EQ(u->Position(), 0) << n;
        ::ReleaseCapture();
        ++n;
    }
}

TEST_F(UpDownWin, TheChangeHandlerIsNotEnteredAgainByItsOwnMessageLoop) {
    TmnSkinUpDown* u = Make(false);
    int depth = 0, deepest = 0;
    u->OnChange = [&](TComponent*) {
        ++depth;
        deepest = std::max(deepest, depth);
        // What a modal dialog's loop would deliver behind it.
        Tick(*u);
        Mouse(*u, WM_LBUTTONUP, 40, 12);
        --depth;
    };
    Mouse(*u, WM_LBUTTONDOWN, 40, 12);
    Tick(*u);
    Tick(*u);
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(u->Position(), 1);
}

TEST_F(UpDownWin, TheKeyboardStepsAndJumps) {
    TmnSkinUpDown* u = Make(false);
    EXPECT_EQ(::SendMessageW(u->Handle(), WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, DLGC_WANTARROWS);
    EXPECT_TRUE(::GetWindowLongPtrW(u->Handle(), GWL_STYLE) & WS_TABSTOP);
    auto key = [&](WPARAM k) { ::SendMessageW(u->Handle(), WM_KEYDOWN, k, 0); };
    key(VK_UP);
    key(VK_RIGHT);
    EXPECT_EQ(u->Position(), 2);
    key(VK_PRIOR);
    EXPECT_EQ(u->Position(), 12);
    key(VK_NEXT);
    key(VK_NEXT);
    EXPECT_EQ(u->Position(), 0);  // stopped at Min
    key(VK_END);
    EXPECT_EQ(u->Position(), 100);
    key(VK_HOME);
    key(VK_LEFT);
    EXPECT_EQ(u->Position(), 0);
}

TEST_F(UpDownWin, SkinnedButtonsUseTheRecordSizeAreasAndImages) {
    TmnSkinUpDown* u = Make(true);
    ASSERT_NE(u->SkinIndex(), -1);
    EXPECT_EQ((std::pair{u->Width(), u->Height()}), (std::pair{40, 20}));
    EXPECT_EQ(u->Model().Buttons(TUpDownModel::kUp).Area, (TSkinRect{20, 0, 40, 20}));
    auto img = Snapshot(*u);
    EXPECT_EQ(At(*img, 30, 10), RGB(0xC0, 0xC0, 0xC0));
    Mouse(*u, WM_MOUSEMOVE, 30, 10);
    img = Snapshot(*u);
    EXPECT_EQ(At(*img, 30, 10), RGB(0, 0, 0xFF));  // active
    EXPECT_EQ(At(*img, 10, 10), RGB(0xC0, 0xC0, 0xC0));
    Mouse(*u, WM_LBUTTONDOWN, 30, 10);
    img = Snapshot(*u);
    EXPECT_EQ(At(*img, 30, 10), RGB(0xFF, 0, 0));  // pressed
    Mouse(*u, WM_LBUTTONUP, 30, 10);
    EXPECT_EQ(u->Position(), 1);
    // Sized freely, the buttons split the control.
    u->SetUseSkinSize(false);
    u->SetBounds(0, 0, 30, 60);
    EXPECT_EQ((std::pair{u->Width(), u->Height()}), (std::pair{30, 60}));
    u->SetOrientation(TUDOrientation::udVertical);
    EXPECT_EQ(u->Model().Buttons(TUpDownModel::kDown).Area, (TSkinRect{0, 30, 30, 60}));
}

TEST_F(UpDownWin, UnskinnedLookFollowsTheState) {
    TmnSkinUpDown* u = Make(false);
    auto img = Snapshot(*u);
    EXPECT_EQ(At(*img, 26, 2), ::GetSysColor(COLOR_BTNFACE));
    Mouse(*u, WM_MOUSEMOVE, 40, 12);
    img = Snapshot(*u);
    EXPECT_EQ(At(*img, 26, 2), static_cast<COLORREF>(13811126));
    EXPECT_EQ(At(*img, 25, 0), static_cast<COLORREF>(8388608));  // navy frame
    ::SendMessageW(u->Handle(), WM_MOUSELEAVE, 0, 0);
    img = Snapshot(*u);
    EXPECT_EQ(At(*img, 26, 2), ::GetSysColor(COLOR_BTNFACE));
}

TEST_F(UpDownWin, AccessibleAsASpinButtonWithItsPosition) {
    TmnSkinUpDown* u = Make(false);
    u->SetPosition(42);
    IAccessible* acc = nullptr;
    ASSERT_TRUE(SUCCEEDED(::AccessibleObjectFromWindow(u->Handle(), OBJID_CLIENT, __uuidof(IAccessible),
                                                      reinterpret_cast<void**>(&acc))));
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role{};
    ASSERT_TRUE(SUCCEEDED(acc->get_accRole(self, &role)));
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_SPINBUTTON);
    BSTR value = nullptr;
    ASSERT_TRUE(SUCCEEDED(acc->get_accValue(self, &value)));
    EXPECT_EQ(std::wstring(value), L"42");
    ::SysFreeString(value);
    acc->Release();
}

}  // namespace
}  // namespace fn
