// The panel and the status bar as real windows: roll-up with its children, the caption check
// box, caption clicks and keys, the size grip, the border-mode painting and the roles.
#include <oleacc.h>

#include "skin/controls/skin_status_bar_win.h"
#include "tests/platform/win/gdi_support.h"
#include "tests/skin/controls/controls_fixture.h"

namespace fn {
namespace {

using test::At;
using test::ProbeColor;

struct Panel : test::ControlsTest {
    TmnSkinPanel* MakePanel(bool skinned) {
        auto* p = new TmnSkinPanel(form.get());
        p->SetBounds(10, 10, 200, 150);
        p->SetParent(form.get());
        if (skinned) p->SetSkinData(skin.get());
        for (int i = 0; i < 2; ++i) {
            auto* child = new TmnSkinCustomControl(form.get());
            child->SetBounds(20 + 40 * i, 40, 30, 30);
            child->SetParent(p);
            children.push_back(child);
        }
        return p;
    }
    std::vector<TWinControl*> children;
    bool ChildrenShown() const {
        for (TWinControl* c : children)
            if (!::IsWindowVisible(c->Handle())) return false;
        return true;
    }
    bool ChildrenHidden() const {
        for (TWinControl* c : children)
            if (::IsWindowVisible(c->Handle())) return false;
        return true;
    }
};

long RoleOf(HWND window, long* state = nullptr, std::wstring* name = nullptr) {
    IAccessible* acc = nullptr;
    if (FAILED(::AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&acc))) || !acc)
        return -1;
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role{};
    long r = SUCCEEDED(acc->get_accRole(self, &role)) && role.vt == VT_I4 ? role.lVal : -1;
    if (state) {
        VARIANT s{};
        *state = SUCCEEDED(acc->get_accState(self, &s)) && s.vt == VT_I4 ? s.lVal : 0;
    }
    if (name) {
        BSTR n = nullptr;
        if (SUCCEEDED(acc->get_accName(self, &n)) && n) {
            *name = n;
            ::SysFreeString(n);
        }
    }
    acc->Release();
    return r;
}

TEST_F(Panel, RollingUpFoldsToTheCaptionAndHidesTheChildren) {
    TmnSkinPanel* p = MakePanel(false);
    p->SetCaptionMode(true);
    p->SetRollUpMode(true);
    int changes = 0;
    p->OnChangeRollUpState = [&](TComponent*) { ++changes; };
    p->SetRollUpState(true);
    EXPECT_EQ(p->Height(), 23);
    EXPECT_EQ(p->RealHeight(), 150);
    EXPECT_TRUE(ChildrenHidden());
    p->SetRollUpState(true);  // twice: nothing more
    EXPECT_EQ(changes, 1);
    p->SetRollUpState(false);
    EXPECT_EQ(p->Height(), 150);
    EXPECT_EQ(p->RealHeight(), -1);
    EXPECT_TRUE(ChildrenShown());
    EXPECT_EQ(changes, 2);
}

TEST_F(Panel, AChildHiddenBeforeTheFoldStaysHidden) {
    TmnSkinPanel* p = MakePanel(false);
    p->SetCaptionMode(true);
    p->SetRollUpMode(true);
    children[1]->SetVisible(false);
    p->SetRollUpState(true);
    p->SetRollUpState(false);
    EXPECT_TRUE(::IsWindowVisible(children[0]->Handle()));
    EXPECT_FALSE(::IsWindowVisible(children[1]->Handle()));
}

TEST_F(Panel, SwitchingTheModeOffWhileFoldedUnfolds) {
    TmnSkinPanel* p = MakePanel(false);
    p->SetCaptionMode(true);
    p->SetRollUpMode(true);
    p->SetConstraints({0, 0, 0, 100});  // a minimum height the fold must not trip over
    p->SetRollUpState(true);
    EXPECT_EQ(p->Height(), 23);
    p->SetRollUpMode(false);
    EXPECT_FALSE(p->RollUpState());
    EXPECT_EQ(p->Height(), 150);
    EXPECT_TRUE(ChildrenShown());
    EXPECT_EQ(p->Constraints(), (TSizeConstraints{0, 0, 0, 100}));
}

TEST_F(Panel, ASkinnedFoldKeepsTheFrameWithoutTheClient) {
    TmnSkinPanel* p = MakePanel(true);
    ASSERT_NE(p->SkinIndex(), -1);
    p->SetCaptionMode(true);
    p->SetRollUpMode(true);
    p->SetRollUpState(true);
    EXPECT_EQ(p->Height(), 16);  // 8 above the client, 8 below it
    EXPECT_TRUE(ChildrenHidden());
    // A new skin folds it to its own caption again and keeps the height to unfold to.
    test::LoadProbeSkin(*skin, test::ProbeDescription());
    EXPECT_EQ(p->Height(), 16);
    p->SetRollUpState(false);
    EXPECT_EQ(p->Height(), 150);
    EXPECT_TRUE(ChildrenShown());
}

TEST_F(Panel, TheCheckBoxEnablesTheChildren) {
    TmnSkinPanel* p = MakePanel(false);
    p->SetCaptionMode(true);
    p->SetCheckedMode(true);
    int checks = 0;
    p->OnChecked = [&](TComponent*) { ++checks; };
    p->SetChecked(false);
    for (TWinControl* c : children) EXPECT_FALSE(::IsWindowEnabled(c->Handle()));
    p->SetChecked(true);
    for (TWinControl* c : children) EXPECT_TRUE(::IsWindowEnabled(c->Handle()));
    EXPECT_EQ(checks, 2);
    p->SetAutoEnabledControls(false);
    p->SetChecked(false);
    for (TWinControl* c : children) EXPECT_TRUE(::IsWindowEnabled(c->Handle()));
}

TEST_F(Panel, CaptionClicksAndSpaceToggle) {
    TmnSkinPanel* p = MakePanel(false);
    p->SetCaptionMode(true);
    p->SetCheckedMode(true);
    Mouse(*p, WM_LBUTTONUP, 100, 60);  // below the caption: nothing
    EXPECT_FALSE(p->Checked());
    Mouse(*p, WM_LBUTTONUP, 100, 23);  // just below the click area
    EXPECT_FALSE(p->Checked());
    Mouse(*p, WM_LBUTTONUP, 198, 22);  // its bottom-right corner counts
    EXPECT_TRUE(p->Checked());
    EXPECT_TRUE(::GetWindowLongPtrW(p->Handle(), GWL_STYLE) & WS_TABSTOP);
    ::SendMessageW(p->Handle(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_FALSE(p->Checked());
    // Without caption mode the caption takes no clicks.
    p->SetCaptionMode(false);
    Mouse(*p, WM_LBUTTONUP, 50, 10);
    EXPECT_FALSE(p->Checked());
    EXPECT_FALSE(::GetWindowLongPtrW(p->Handle(), GWL_STYLE) & WS_TABSTOP);
}

TEST_F(Panel, SkinnedCaptionClickUsesTheMappedCaptionArea) {
    TmnSkinPanel* p = MakePanel(true);
    p->SetCaptionMode(true);
    p->SetRollUpMode(true);
    EXPECT_EQ(p->CaptionClickArea(), (TSkinRect{4, 0, 196, 8}));
    Mouse(*p, WM_LBUTTONUP, 100, 30);
    EXPECT_FALSE(p->RollUpState());
    Mouse(*p, WM_LBUTTONUP, 100, 4);
    EXPECT_TRUE(p->RollUpState());
}

TEST_F(Panel, NumGlyphsIsKeptInRange) {
    TmnSkinPanel* p = MakePanel(false);
    p->SetNumGlyphs(0);
    EXPECT_EQ(p->NumGlyphs(), 1);
    p->SetNumGlyphs(9);
    EXPECT_EQ(p->NumGlyphs(), 2);
    // A glyph strip narrower than its count paints without reading outside it.
    TBitmap glyph(1, 4);
    p->SetGlyph(glyph);
    p->SetCaptionMode(true);
    p->SetCaption(L"Gruppe");
    auto img = Snapshot(*p);
    EXPECT_EQ(img->Width(), 200);
}

TEST_F(Panel, TheCaptionShowsTheListImageUntilTheListGoes) {
    TmnSkinPanel* p = MakePanel(false);
    p->SetCaptionMode(true);
    p->SetCaption(L"A");
    auto images = std::make_unique<TImageList>(nullptr, 8, 8);
    TBitmap red(8, 8);
    test::Fill(red, 0x0000FF);
    test::Put(red, 0, 7, RGB(255, 255, 255));  // the colour left out
    images->Add(red);
    p->SetCaptionImageList(images.get());
    p->SetCaptionImageIndex(0);
    // Text area (2, 2)-(198, 20): the image at its start + 2, centred vertically.
    auto img = Snapshot(*p);
    EXPECT_EQ(At(*img, 6, 9), RGB(255, 0, 0));
    EXPECT_EQ(At(*img, 4, 14), ::GetSysColor(COLOR_BTNFACE));
    p->SetCaptionImageIndex(5);  // outside the list: none
    img = Snapshot(*p);
    EXPECT_NE(At(*img, 6, 9), RGB(255, 0, 0));
    p->SetCaptionImageIndex(0);
    images.reset();
    EXPECT_EQ(p->CaptionImageList(), nullptr);
    img = Snapshot(*p);
    EXPECT_NE(At(*img, 6, 9), RGB(255, 0, 0));
}

TEST_F(Panel, BorderModeDrawsTheFrameAndTilesAOnePixelClient) {
    TmnSkinPanel* p = MakePanel(true);
    p->SetSkinDataName(L"dot");
    p->ChangeSkinData();
    p->SetBounds(0, 0, 1200, 900);
    auto img = Snapshot(*p);
    EXPECT_EQ(At(*img, 0, 0), ProbeColor(0, 0));
    EXPECT_EQ(At(*img, 1199, 899), ProbeColor(29, 29));
    for (auto [x, y] : {std::pair{20, 20}, std::pair{600, 450}, std::pair{1180, 880}})
        EXPECT_EQ(At(*img, x, y), ProbeColor(12, 12)) << x << "," << y;
}

TEST_F(Panel, SkinnedCheckBoxShowsTheRecordImages) {
    TmnSkinPanel* p = MakePanel(true);
    p->SetCaptionMode(true);
    p->SetCheckedMode(true);
    p->SetCaption(L"X");
    p->SetChecked(true);
    auto img = Snapshot(*p);
    // The check image (60,0)-(66,6) at the caption's left, centred in its 8 pixels.
    EXPECT_EQ(At(*img, 8, 2), ProbeColor(64, 1));
    p->SetChecked(false);
    img = Snapshot(*p);
    EXPECT_EQ(At(*img, 8, 2), ProbeColor(74, 1));
}

TEST_F(Panel, AccessibleRoles) {
    TmnSkinPanel* p = MakePanel(false);
    p->SetCaption(L"Optionen");
    EXPECT_EQ(RoleOf(p->Handle()), ROLE_SYSTEM_GROUPING);
    p->SetCaptionMode(true);
    p->SetCheckedMode(true);
    p->SetChecked(true);
    long state = 0;
    std::wstring name;
    EXPECT_EQ(RoleOf(p->Handle(), &state, &name), ROLE_SYSTEM_CHECKBUTTON);
    EXPECT_TRUE(state & STATE_SYSTEM_CHECKED);
    EXPECT_EQ(name, L"Optionen");
}

struct StatusBar : test::ControlsTest {
    // A form that records the sizing it is asked for instead of running it.
    struct SizingForm : TForm {
        using TForm::TForm;
        WPARAM sizing = 0;
        LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
            if (msg == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_SIZE) {
                sizing = wParam;
                return 0;
            }
            return TForm::WndProc(msg, wParam, lParam);
        }
    };
};

TEST_F(Panel, ACaptionImageListNamingAnotherKindOfComponentIsRefused) {
    RegisterComponentClass(L"TmnSkinPanel", [](TComponent* o) { return new TmnSkinPanel(o); });
    TmnSkinData::Register();
    auto text = [](const wchar_t* list) {
        return std::wstring(L"object PanelProbe: TForm\n  object mnSkinData1: TmnSkinData\n  end\n"
                            L"  object ImageList1: TImageList\n  end\n  object Panel1: TmnSkinPanel\n"
                            L"    CaptionImageList = ") + list + L"\n  end\nend\n";
    };
    TForm good(nullptr);
    good.LoadFromText(text(L"ImageList1"));
    EXPECT_NE(good.Field<TmnSkinPanel>(L"Panel1")->CaptionImageList(), nullptr);
    TForm bad(nullptr);
    EXPECT_THROW(bad.LoadFromText(text(L"mnSkinData1")), EReadError);
}

TEST_F(StatusBar, TheGripAnswersTheSizingHitCodeAndSizesTheForm) {
    SizingForm top(nullptr);
    top.LoadFromText(L"object SizingProbe: TForm\n  Left = 20\n  Top = 20\n  Width = 400\n  Height = 300\n  Caption = 'S'\nend\n");
    ::ShowWindow(top.Handle(), SW_SHOWNOACTIVATE);
    auto* bar = new TmnSkinStatusBar(&top);
    bar->SetParent(&top);
    bar->SetSizeGrip(true);
    ASSERT_EQ(bar->Height(), 21);
    RECT client;
    ::GetClientRect(top.Handle(), &client);
    EXPECT_EQ(bar->Width(), client.right);
    auto hit = [&](int x, int y) {
        POINT p{x, y};
        ::ClientToScreen(bar->Handle(), &p);
        return ::SendMessageW(bar->Handle(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
    };
    const int w = bar->Width();
    EXPECT_EQ(hit(w - 3, 15), HTBOTTOMRIGHT);
    EXPECT_EQ(hit(w - 40, 10), HTCLIENT);
    // The drag goes to the form, which runs the sizing from its bottom-right corner.
    ::SendMessageW(bar->Handle(), WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, 0);
    EXPECT_EQ(top.sizing, static_cast<WPARAM>(SC_SIZE | WMSZ_BOTTOMRIGHT));
    bar->SetGripAllowed(false);
    EXPECT_EQ(hit(w - 3, 15), HTCLIENT);
    // The grip is taken from the children's area.
    bar->SetGripAllowed(true);
    RECT r;
    ::GetClientRect(bar->Handle(), &r);
    bar->AdjustClientRect(r);
    EXPECT_EQ(r.right, w - 21);
    EXPECT_EQ(RoleOf(bar->Handle()), ROLE_SYSTEM_STATUSBAR);
}

TEST_F(StatusBar, ASkinnedGripShowsTheRecordImage) {
    auto* bar = new TmnSkinStatusBar(form.get());
    bar->SetParent(form.get());
    bar->SetSizeGrip(true);
    bar->SetSkinData(skin.get());
    ASSERT_NE(bar->SkinIndex(), -1);
    const TSkinRect g = bar->GripRect();
    EXPECT_EQ(g.Width(), 10);
    EXPECT_EQ(g.Height(), 10);
    auto img = Snapshot(*bar);
    EXPECT_EQ(At(*img, g.Left + 2, g.Top + 3), ProbeColor(52, 43));
}

TEST_F(StatusBar, GivesItsManagerToTheSkinnedControlsOnIt) {
    auto* bar = new TmnSkinStatusBar(form.get());
    bar->SetParent(form.get());
    auto* on = new TmnSkinCustomControl(form.get());
    on->SetParent(bar);
    bar->SetSkinData(skin.get());
    EXPECT_EQ(on->SkinData(), skin.get());
}

}  // namespace
}  // namespace fn
