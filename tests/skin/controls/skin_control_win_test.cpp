// The control base as real windows: record lookup and the fall-back to the default look, the
// resize modes, nine-part painting at several sizes, the mask region, skin changes and the
// manager going away.
#include <oleacc.h>

#include "skin/paint/regions_win.h"
#include "tests/platform/win/gdi_support.h"
#include "tests/skin/controls/controls_fixture.h"

namespace fn {
namespace {

using test::At;
using test::ProbeColor;

const COLORREF kFace = ::GetSysColor(COLOR_BTNFACE);

struct SkinControl : test::ControlsTest {
    TmnSkinCustomControl* Make(const wchar_t* record, int w, int h) {
        auto* c = new TmnSkinCustomControl(form.get());
        c->SetSkinDataName(record);
        c->SetDefaultWidth(33);
        c->SetDefaultHeight(17);
        c->SetBounds(5, 5, w, h);
        c->SetParent(form.get());
        c->SetSkinData(skin.get());
        return c;
    }
};

// A child that counts the background notices it gets.
struct BackgroundProbe : TmnSkinControl {
    using TmnSkinControl::TmnSkinControl;
    int notices = 0;
    void ParentBackgroundChanged() override { ++notices; }
};

TEST_F(SkinControl, FindsItsRecordOrFallsBackToTheDefaultLook) {
    TmnSkinCustomControl* nine = Make(L"nine", 30, 30);
    EXPECT_EQ(nine->SkinIndex(), skin->GetControlIndex(L"nine"));
    EXPECT_EQ(nine->ResizeMode(), rmBoth);
    // Unknown name, record of another kind, picture index out of range: the default look at
    // the default size, nothing drawn from a picture.
    for (const wchar_t* name : {L"absent", L"stdlabel", L"nopicture", L"Nine"}) {
        TmnSkinCustomControl* c = Make(name, 60, 60);
        EXPECT_EQ(c->SkinIndex(), -1) << name;
        EXPECT_EQ(c->ResizeMode(), rmNone) << name;
        EXPECT_EQ((std::pair{c->Width(), c->Height()}), (std::pair{33, 17})) << name;
        auto img = Snapshot(*c);
        EXPECT_EQ(At(*img, 0, 0), kFace) << name;
        EXPECT_EQ(At(*img, 32, 16), kFace) << name;
    }
}

TEST_F(SkinControl, FixedAndStripPicturesKeepTheirSize) {
    TmnSkinCustomControl* fixed = Make(L"fixed", 100, 100);
    EXPECT_EQ((std::pair{fixed->Width(), fixed->Height()}), (std::pair{20, 12}));
    fixed->SetBounds(0, 0, 300, 5);  // the program asks again: it snaps back
    EXPECT_EQ((std::pair{fixed->Width(), fixed->Height()}), (std::pair{20, 12}));
    auto img = Snapshot(*fixed);
    EXPECT_EQ(At(*img, 0, 0), ProbeColor(30, 0));
    EXPECT_EQ(At(*img, 19, 11), ProbeColor(49, 11));

    TmnSkinCustomControl* h = Make(L"hstrip", 100, 77);
    EXPECT_EQ(h->ResizeMode(), rmHorizontal);
    EXPECT_EQ((std::pair{h->Width(), h->Height()}), (std::pair{100, 10}));
    img = Snapshot(*h);
    EXPECT_EQ(At(*img, 0, 5), ProbeColor(0, 35));   // left end
    EXPECT_EQ(At(*img, 99, 5), ProbeColor(39, 35));  // right end, moved to the far edge

    TmnSkinCustomControl* v = Make(L"vstrip", 77, 90);
    EXPECT_EQ(v->ResizeMode(), rmVertical);
    EXPECT_EQ((std::pair{v->Width(), v->Height()}), (std::pair{10, 90}));
    img = Snapshot(*v);
    EXPECT_EQ(At(*img, 3, 0), ProbeColor(43, 30));
    EXPECT_EQ(At(*img, 3, 89), ProbeColor(43, 59));
}

TEST_F(SkinControl, NinePartCornersStayAtEverySize) {
    TmnSkinCustomControl* c = Make(L"nine", 30, 30);
    for (auto [w, h] : {std::pair{30, 30}, std::pair{31, 45}, std::pair{120, 34}, std::pair{250, 180}}) {
        c->SetBounds(0, 0, w, h);
        ASSERT_EQ((std::pair{c->Width(), c->Height()}), (std::pair{w, h}));
        auto img = Snapshot(*c);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 6; ++x) {
                ASSERT_EQ(At(*img, x, y), ProbeColor(x, y)) << w << "x" << h;
                ASSERT_EQ(At(*img, w - 6 + x, y), ProbeColor(24 + x, y)) << w << "x" << h;
                ASSERT_EQ(At(*img, x, h - 8 + y), ProbeColor(x, 22 + y)) << w << "x" << h;
                ASSERT_EQ(At(*img, w - 6 + x, h - 8 + y), ProbeColor(24 + x, 22 + y)) << w << "x" << h;
            }
    }
    EXPECT_EQ(c->MapSkinRect({26, 1, 29, 4}), (TSkinRect{246, 1, 249, 4}));
}

TEST_F(SkinControl, TheMaskShapesTheWindowUntilTheSkinHasNone) {
    TmnSkinCustomControl* c = Make(L"masked", 20, 10);
    ASSERT_NE(c->ControlRegion(), nullptr);
    for (int round = 0; round < 2; ++round) {  // a second build replaces the first; both stay usable
        TRegionHandle rgn(::CreateRectRgn(0, 0, 0, 0));
        ASSERT_NE(::GetWindowRgn(c->Handle(), rgn.Get()), ERROR) << round;
        EXPECT_TRUE(::PtInRegion(rgn.Get(), 3, 5));
        EXPECT_FALSE(::PtInRegion(rgn.Get(), 15, 5));
        c->SetControlRegion();
    }
    c->SetSkinDataName(L"fixed");
    c->ChangeSkinData();
    EXPECT_EQ(c->ControlRegion(), nullptr);
    TRegionHandle rgn(::CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(::GetWindowRgn(c->Handle(), rgn.Get()), ERROR);
}

// The system deletes a window's region with the window: the control forgets it, and the next
// window gets a region of its own. A region a window refuses is deleted with its owner.
TEST_F(SkinControl, TheRegionGoesWithItsWindow) {
    TmnSkinCustomControl* c = Make(L"masked", 20, 10);
    ASSERT_NE(c->ControlRegion(), nullptr);
    ::DestroyWindow(c->Handle());
    EXPECT_EQ(c->ControlRegion(), nullptr);
    c->Handle();
    c->RecreateWnd();
    TRegionHandle shape(::CreateRectRgn(0, 0, 0, 0));
    EXPECT_NE(c->ControlRegion(), nullptr);
    ASSERT_NE(::GetWindowRgn(c->Handle(), shape.Get()), ERROR);
    EXPECT_FALSE(::PtInRegion(shape.Get(), 15, 5));

    TRegionHandle refused(::CreateRectRgn(0, 0, 4, 4));
    const HRGN handle = refused.Get();
    EXPECT_FALSE(SetWindowRegion(reinterpret_cast<HWND>(0xDEAD0), std::move(refused), false));
    EXPECT_EQ(::GetObjectType(handle), 0u);
}

TEST_F(SkinControl, SkinChangesDropTheOldSkinFirst) {
    TmnSkinCustomControl* c = Make(L"masked", 20, 10);
    int beforeIndex = 0;
    bool paintedDefault = false;
    test::LoadProbeSkin(*skin, test::ProbeDescription());  // same skin again: all still fine
    EXPECT_NE(c->SkinIndex(), -1);
    EXPECT_NE(c->ControlRegion(), nullptr);

    // Between "before" and "change" the control holds nothing of the old skin.
    auto previous = SetSkinMessageSink([&](TmnSkinData& sender, unsigned message) {
        NotifySkinControls(form.get(), message, &sender);
        if (message == MSG_SKIN_BEFORE_CHANGE) {
            beforeIndex = c->SkinIndex();
            auto img = Snapshot(*c);
            paintedDefault = At(*img, 0, 0) == kFace;
        }
    });
    String other = test::ProbeDescription();
    other.replace(other.find(L"4=masked"), 8, L"4=gone12");
    test::LoadProbeSkin(*skin, other);
    SetSkinMessageSink(std::move(previous));
    EXPECT_EQ(beforeIndex, -1);
    EXPECT_TRUE(paintedDefault);
    // The new skin has no such record: default look, default size, no region.
    EXPECT_EQ(c->SkinIndex(), -1);
    EXPECT_EQ((std::pair{c->Width(), c->Height()}), (std::pair{33, 17}));
    EXPECT_EQ(c->ControlRegion(), nullptr);
}

TEST_F(SkinControl, TheManagerGoingAwayLeavesTheDefaultLook) {
    TmnSkinCustomControl* c = Make(L"fixed", 20, 12);
    ASSERT_NE(c->SkinIndex(), -1);
    skin.reset();
    EXPECT_EQ(c->SkinData(), nullptr);
    EXPECT_EQ(c->SkinIndex(), -1);
    EXPECT_EQ((std::pair{c->Width(), c->Height()}), (std::pair{33, 17}));
    auto img = Snapshot(*c);
    EXPECT_EQ(At(*img, 10, 10), kFace);
    // A skin change without a sender re-reads every control, those without a manager too.
    c->SetBounds(0, 0, 50, 40);
    NotifySkinControls(form.get(), MSG_SKIN_BEFORE_CHANGE, nullptr);
    EXPECT_EQ((std::pair{c->Width(), c->Height()}), (std::pair{50, 40}));
    NotifySkinControls(form.get(), MSG_SKIN_CHANGE, nullptr);
    EXPECT_EQ((std::pair{c->Width(), c->Height()}), (std::pair{33, 17}));
}

TEST_F(SkinControl, AStretchedClientTellsItsChildrenWhenResized) {
    TmnSkinCustomControl* c = Make(L"stretchy", 60, 60);
    auto* child = new BackgroundProbe(form.get());
    child->SetBounds(10, 10, 5, 5);
    child->SetParent(c);
    c->SetBounds(0, 0, 90, 70);
    EXPECT_EQ(child->notices, 1);
    TmnSkinCustomControl* plain = Make(L"nine", 60, 60);
    auto* other = new BackgroundProbe(form.get());
    other->SetBounds(10, 10, 5, 5);
    other->SetParent(plain);
    plain->SetBounds(0, 0, 90, 70);
    EXPECT_EQ(other->notices, 0);
}

TEST_F(SkinControl, MouseEnterAndLeaveAreRaised) {
    TmnSkinCustomControl* c = Make(L"nine", 30, 30);
    int enters = 0, leaves = 0;
    c->OnMouseEnter = [&](TComponent*) { ++enters; };
    c->OnMouseLeave = [&](TComponent*) { ++leaves; };
    Mouse(*c, WM_MOUSEMOVE, 3, 3);
    Mouse(*c, WM_MOUSEMOVE, 4, 4);
    ::SendMessageW(c->Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(leaves, 1);
}

}  // namespace
}  // namespace fn
