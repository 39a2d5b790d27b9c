// The form skinning component on real windows under Wine: the frame's geometry, painting and
// region with the default skin (which has a mask) and a small skin without one, hit-testing,
// caption buttons, skin changes, the background, translucency, menus and handle hygiene.
#include <gtest/gtest.h>

#include <malloc.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "form_test_support.h"
#include "platform/core/live_counts.h"
#include "platform/win/application.h"
#include "platform/win/forms.h"
#include "platform/win/rich_edit.h"
#include "skin/data/skin_messages.h"
#include "skin/data/stored_skin.h"
#include "skin/controls/skin_status_bar_win.h"
#include "skin/form/frame_layout.h"
#include "skin/form/frame_painter_win.h"
#include "skin/form/mantle_win.h"
#include "skin/menus/skin_menu_win.h"
#include "tests/platform/win/fake_timers.h"

namespace fn {
namespace {

void Pump() {
    MSG msg;
    for (int i = 0; i < 2000 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) Application()->DispatchOne(msg);
}

// A form carrying a mantle and the default skin, loaded from form data like the program's.
constexpr const wchar_t* kSkinnedForm = LR"(object TestForm: TForm
  Left = 100
  Top = 80
  Width = 420
  Height = 300
  Caption = 'Probe'
  object mnMantle1: TmnMantle
    BorderIcons = [biSystemMenu, biMinimize, biMaximize, biRollUp]
    SkinData = mnSkinData1
  end
  object mnSkinData1: TmnSkinData
    CompressedStoredSkin = mnStoredSkin1
  end
  object mnStoredSkin1: TmnCompressedStoredSkin
    FileName = 'skin.ini'
    CompressedData = @FENNICK_SKIN
  end
end
)";

void RegisterOnce() {
    static const bool done = [] {
        Application()->Initialize();
        TmnSkinData::Register();
        TmnCompressedStoredSkin::Register();
        TmnMantle::Register();
        return true;
    }();
    (void)done;
}

struct SkinnedForm {
    std::unique_ptr<TForm> form;
    TmnMantle* mantle = nullptr;
    TmnSkinData* skin = nullptr;

    explicit SkinnedForm(const wchar_t* text = kSkinnedForm) {
        RegisterOnce();
        form = std::make_unique<TForm>(nullptr);
        form->LoadFromText(text);
        mantle = TmnMantle::Of(form.get());
        skin = dynamic_cast<TmnSkinData*>(form->FindComponent(L"mnSkinData1"));
        form->Show();
        Pump();
    }
    HWND Handle() const { return form->Handle(); }
    void Resize(int w, int h) {
        ::SetWindowPos(Handle(), nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER);
        Pump();
    }
    SIZE Size() const {
        RECT r;
        ::GetWindowRect(form->Handle(), &r);
        return {r.right - r.left, r.bottom - r.top};
    }
    // The client area's origin and size in window coordinates.
    RECT ClientInWindow() const {
        RECT wr, cr;
        ::GetWindowRect(form->Handle(), &wr);
        ::GetClientRect(form->Handle(), &cr);
        POINT o{0, 0};
        ::ClientToScreen(form->Handle(), &o);
        return {o.x - wr.left, o.y - wr.top, o.x - wr.left + cr.right, o.y - wr.top + cr.bottom};
    }
    LRESULT HitTest(int x, int y) const {
        RECT wr;
        ::GetWindowRect(form->Handle(), &wr);
        return ::SendMessageW(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(wr.left + x, wr.top + y));
    }
    int IndexOf(const wchar_t* id) const {
        for (int i = 0; i < mantle->ObjectList().Count(); ++i)
            if (mantle->ObjectList()[i].IDName == id) return i;
        return -1;
    }
    TSkinRect RectOf(const wchar_t* id) const {
        const int i = IndexOf(id);
        return i < 0 ? TSkinRect{} : mantle->ObjectList()[i].ObjectRect;
    }
};

// The frame drawn into a bitmap of the window's size through MSG_PAINT_FRAME.
struct FrameShot {
    TBitmap bitmap;
    LRESULT answer = 0;
    explicit FrameShot(const SkinnedForm& f) : bitmap(f.Size().cx, f.Size().cy) {
        answer = ::SendMessageW(f.Handle(), MSG_PAINT_FRAME, reinterpret_cast<WPARAM>(bitmap.Canvas().Handle()),
                                MSG_PAINT_FRAME_MAGIC);
    }
    uint32_t Pixel(int x, int y) const {
        const uint8_t* p = bitmap.ScanLine(y) + 3 * x;
        return (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
    }
};

uint32_t PicturePixel(const TBitmapData& b, int x, int y) { return b.Pixels[size_t(y) * size_t(b.Width) + size_t(x)] & 0xFFFFFF; }

TEST(Mantle, ClientAreaSitsAtTheSkinsClientRectangleAtEverySize) {
    SkinnedForm f;
    ASSERT_TRUE(f.mantle->Skinned());
    const TSkinRect cl = f.skin->ClientRect;
    const int pw = f.skin->Picture().Width, ph = f.skin->Picture().Height;
    for (SIZE s : {SIZE{420, 300}, SIZE{640, 480}, SIZE{333, 222}}) {
        f.Resize(s.cx, s.cy);
        const RECT c = f.ClientInWindow();
        EXPECT_EQ(c.left, cl.Left);
        EXPECT_EQ(c.top, cl.Top);
        EXPECT_EQ(c.right, s.cx - (pw - cl.Right));
        EXPECT_EQ(c.bottom, s.cy - (ph - cl.Bottom));
        EXPECT_EQ(f.mantle->Geometry().NewClientRect, (TSkinRect{c.left, c.top, c.right, c.bottom}));
    }
}

TEST(Mantle, BuiltInFrameWithoutASkinHasItsClientAtThreeAndTwentyTwo) {
    SkinnedForm f;
    f.mantle->SetSkinData(nullptr);
    f.Resize(300, 200);
    EXPECT_FALSE(f.mantle->Skinned());
    const RECT c = f.ClientInWindow();
    EXPECT_EQ(c.left, 3);
    EXPECT_EQ(c.top, 22);
    EXPECT_EQ(c.right, 297);
    EXPECT_EQ(c.bottom, 197);
    // No region without a skin; the built-in buttons answer as objects, the caption as caption.
    TRegionHandle rgn(::CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(::GetWindowRgn(f.Handle(), rgn.Get()), ERROR);
    EXPECT_EQ(f.HitTest(100, 10), HTCAPTION);
    EXPECT_EQ(f.HitTest(286, 12), 19);  // the close button
    EXPECT_EQ(f.HitTest(0, 0), HTTOPLEFT);
    EXPECT_EQ(f.HitTest(150, 100), HTCLIENT);
    FrameShot shot(f);
    EXPECT_EQ(shot.answer, MSG_PAINT_FRAME_MAGIC);
    // Its caption fonts take effect at once; a skinned frame does not repaint for them.
    int paints = 0;
    f.mantle->OnCaptionPaint = [&](TCanvas&, const RECT&, bool) { ++paints; };
    f.mantle->DefCaptionFont().SetColor(0x0000FF);
    EXPECT_EQ(paints, 1);
    f.mantle->SetSkinData(f.skin);
    paints = 0;
    f.mantle->DefCaptionFont().SetColor(0xFF0000);
    EXPECT_EQ(paints, 0);
}

TEST(Mantle, RegionFollowsTheMaskAndRightAnchoredButtonsFollowTheWidth) {
    SkinnedForm f;
    f.Resize(420, 300);
    TRegionHandle rgn(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(::GetWindowRgn(f.Handle(), rgn.Get()), ERROR);
    RECT box;
    ::GetRgnBox(rgn.Get(), &box);
    EXPECT_EQ(box.right, 420);
    EXPECT_EQ(box.bottom, 300);
    // The default skin's mask rounds the top corners: the corner pixel is outside.
    EXPECT_FALSE(::PtInRegion(rgn.Get(), 0, 0));
    EXPECT_TRUE(::PtInRegion(rgn.Get(), 210, 10));
    const TSkinRect close = f.RectOf(L"closebutton");
    ASSERT_FALSE(close.IsEmpty());
    f.Resize(520, 300);
    ASSERT_NE(::GetWindowRgn(f.Handle(), rgn.Get()), ERROR);
    ::GetRgnBox(rgn.Get(), &box);
    EXPECT_EQ(box.right, 520);
    const TSkinRect moved = f.RectOf(L"closebutton");
    EXPECT_EQ(moved.Left, close.Left + 100);
    EXPECT_EQ(moved.Top, close.Top);
    EXPECT_EQ(f.mantle->Geometry().NewClientRect.Right, 520 - (f.skin->Picture().Width - f.skin->ClientRect.Right));
}

// Between size steps the region and the frame painter keep the strips and side images whose
// plan did not change; what they give must still equal a fresh build.
TEST(Mantle, SizeStepsRedrawOnlyWhatChangedAndMatchAFreshBuild) {
    SkinnedForm f;
    const TmnSkinData& skin = *f.skin;
    TmnSkinPictures pictures;
    auto geometry = [&](int w, int h) {
        return ComputeFrameGeometry(skin, skin.Picture().Width, skin.Picture().Height, w, h);
    };
    TmnFrameRegion kept;
    auto region = [&](TmnFrameRegion& r, int w, int h) { return r.Build(skin, geometry(w, h), w, h, pictures); };
    struct Step { int w, h, drawn; };
    TRegionHandle first = region(kept, 600, 400);
    EXPECT_EQ(kept.StripsDrawn(), 4);
    for (Step s : {Step{601, 400, 2}, Step{601, 400, 0}, Step{601, 450, 2}, Step{700, 500, 4}}) {
        TRegionHandle r = region(kept, s.w, s.h);
        EXPECT_EQ(kept.StripsDrawn(), s.drawn) << s.w << "x" << s.h;
        TmnFrameRegion fresh;
        TRegionHandle expected = region(fresh, s.w, s.h);
        ASSERT_TRUE(r && expected);
        EXPECT_TRUE(::EqualRgn(r.Get(), expected.Get())) << s.w << "x" << s.h;
        for (TmnMaskStrip strip : {msTop, msBottom, msLeft, msRight})
            for (int x = 0; x < 12; ++x)
                for (int y = 0; y < 12; ++y) ASSERT_EQ(kept.Black(strip, x, y), fresh.Black(strip, x, y));
    }
    // A skin change forgets everything.
    kept.Clear();
    EXPECT_TRUE(kept.Empty());
    TRegionHandle again = region(kept, 700, 500);
    EXPECT_EQ(kept.StripsDrawn(), 4);

    TmnSkinnedFramePainter painter;
    auto paint = [&](TmnSkinnedFramePainter& p, int w, int h, bool active) {
        auto b = std::make_unique<TBitmap>(w, h);
        p.Paint(b->Canvas().Handle(), skin, geometry(w, h), w, h, active, f.mantle->ObjectList(), pictures);
        return b;
    };
    struct Paint { int w, h; bool active; int sides; };
    for (Paint s : {Paint{600, 400, true, 2}, Paint{601, 400, true, 0}, Paint{601, 450, true, 2},
                    Paint{601, 450, false, 2}, Paint{602, 450, false, 0}, Paint{602, 450, true, 2}}) {
        auto shot = paint(painter, s.w, s.h, s.active);
        EXPECT_EQ(painter.SidesDrawn(), s.sides) << s.w << "x" << s.h << " " << s.active;
        TmnSkinnedFramePainter fresh;
        auto expected = paint(fresh, s.w, s.h, s.active);
        for (int y = 0; y < s.h; ++y)
            ASSERT_EQ(std::memcmp(shot->ScanLine(y), expected->ScanLine(y), static_cast<size_t>(3 * s.w)), 0)
                << "row " << y << " at " << s.w << "x" << s.h << " " << s.active;
    }
}

TEST(Mantle, SkinWithoutMaskGetsTheWholeWindowAsRegion) {
    RegisterOnce();
    SkinnedForm f;
    TComponent owner(nullptr);
    TMemoryStream s;
    WriteSkinArchive(s, test::TestArchive(test::TestDescription()));
    f.skin->LoadFromArchive(s);
    Pump();
    ASSERT_TRUE(f.mantle->Skinned());
    f.Resize(400, 200);
    TRegionHandle rgn(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(::GetWindowRgn(f.Handle(), rgn.Get()), ERROR);
    RECT box;
    ::GetRgnBox(rgn.Get(), &box);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.right, 400);
    EXPECT_EQ(box.bottom, 200);
    EXPECT_TRUE(::PtInRegion(rgn.Get(), 0, 0));
}

TEST(Mantle, FramePaintedAtThePicturesOwnSizeIsThePicture) {
    SkinnedForm f;
    const TBitmapData& pic = f.skin->Picture();
    f.Resize(pic.Width, pic.Height);
    ::SetActiveWindow(f.Handle());
    ::SendMessageW(f.Handle(), WM_NCACTIVATE, TRUE, 0);
    FrameShot shot(f);
    ASSERT_EQ(shot.answer, MSG_PAINT_FRAME_MAGIC);
    // Left and bottom border columns and rows away from every object.
    const TSkinRect cl = f.skin->ClientRect;
    int compared = 0;
    for (int y = cl.Top; y < pic.Height; y += 7)
        for (int x = 0; x < cl.Left; ++x, ++compared) ASSERT_EQ(shot.Pixel(x, y), PicturePixel(pic, x, y)) << x << "," << y;
    for (int x = 0; x < pic.Width; x += 5)
        for (int y = cl.Bottom; y < pic.Height; ++y, ++compared) ASSERT_EQ(shot.Pixel(x, y), PicturePixel(pic, x, y));
    EXPECT_GT(compared, 50);
}

TEST(Mantle, LargerFrameKeepsItsCornersAndInactiveFrameTurnsGrey) {
    SkinnedForm f;
    const TBitmapData& pic = f.skin->Picture();
    f.Resize(pic.Width + 300, pic.Height + 200);
    ::SendMessageW(f.Handle(), WM_NCACTIVATE, TRUE, 0);
    FrameShot active(f);
    const SIZE s = f.Size();
    // The bottom-right corner of the picture lands at the window's bottom-right corner.
    for (int d = 1; d <= 3; ++d)
        EXPECT_EQ(active.Pixel(s.cx - d, s.cy - d), PicturePixel(pic, pic.Width - d, pic.Height - d));
    EXPECT_EQ(active.Pixel(1, s.cy - 2), PicturePixel(pic, 1, pic.Height - 2));

    ::SendMessageW(f.Handle(), WM_NCACTIVATE, FALSE, 0);
    ASSERT_FALSE(f.mantle->IsFormActive());
    FrameShot inactive(f);
    // The default skin renders the inactive frame with the grey-scale effect.
    const uint32_t c = inactive.Pixel(1, s.cy - 2);
    EXPECT_EQ((c >> 16) & 0xFF, (c >> 8) & 0xFF);
    EXPECT_EQ((c >> 8) & 0xFF, c & 0xFF);
    EXPECT_NE(c, active.Pixel(1, s.cy - 2));
}

TEST(Mantle, PaintFrameAnswersOnlyItsOwnMagicAndLeavesTheDeviceContext) {
    SkinnedForm f;
    TBitmap b(f.Size().cx, f.Size().cy);
    HDC dc = b.Canvas().Handle();
    ::SetMapMode(dc, MM_TEXT);
    TRegionHandle clip(::CreateRectRgn(0, 0, 10, 10));
    ::SelectClipRgn(dc, clip.Get());
    EXPECT_EQ(::SendMessageW(f.Handle(), MSG_PAINT_FRAME, reinterpret_cast<WPARAM>(dc), 1234), 0);
    EXPECT_EQ(::SendMessageW(f.Handle(), MSG_PAINT_FRAME, 0, MSG_PAINT_FRAME_MAGIC), 0);
    EXPECT_EQ(::SendMessageW(f.Handle(), MSG_PAINT_FRAME, reinterpret_cast<WPARAM>(dc), MSG_PAINT_FRAME_MAGIC),
              MSG_PAINT_FRAME_MAGIC);
    // The caller's clipping is what it was.
    TRegionHandle after(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(::GetClipRgn(dc, after.Get()), 1);
    RECT box;
    ::GetRgnBox(after.Get(), &box);
    EXPECT_EQ(box.right, 10);
    EXPECT_EQ(box.bottom, 10);
}

TEST(Mantle, HitTestOverCaptionButtonsEdgesCornersAndClient) {
    SkinnedForm f;
    f.Resize(420, 300);
    const TSkinRect cl = f.mantle->Geometry().NewClientRect;
    const TSkinRect close = f.RectOf(L"closebutton");
    const TSkinRect caption = f.mantle->ObjectList().FirstCaption()->ObjectRect;
    EXPECT_EQ(f.HitTest((cl.Left + cl.Right) / 2, (cl.Top + cl.Bottom) / 2), HTCLIENT);
    EXPECT_EQ(f.HitTest((close.Left + close.Right) / 2, (close.Top + close.Bottom) / 2), 19);
    EXPECT_EQ(f.HitTest(caption.Left + 20, (caption.Top + caption.Bottom) / 2), HTCAPTION);
    EXPECT_EQ(f.HitTest(2, 299), HTBOTTOMLEFT);
    EXPECT_EQ(f.HitTest(418, 298), HTBOTTOMRIGHT);
    EXPECT_EQ(f.HitTest(210, 299), HTBOTTOM);
    EXPECT_EQ(f.HitTest(0, 150), HTLEFT);
    EXPECT_EQ(f.HitTest(419, 150), HTRIGHT);
}

TEST(Mantle, AWindowSmallerThanItsFramesPartsIsStillFramedAndShaped) {
    SkinnedForm f;
    const TmnFitSize fit = FrameFitSize(*f.skin, f.skin->Picture().Width, f.skin->Picture().Height);
    for (SIZE size : {SIZE{fit.Width, fit.Height}, SIZE{200, 36}, SIZE{120, 24}}) {
        f.Resize(size.cx, size.cy);
        const SIZE got = f.Size();
        FrameShot shot(f);
        EXPECT_EQ(shot.answer, MSG_PAINT_FRAME_MAGIC) << got.cx << "x" << got.cy;
        HRGN region = ::CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(::GetWindowRgn(f.Handle(), region), ERROR) << got.cx << "x" << got.cy;
        // Rounded at the caption's corners, whole along the middle of every edge.
        for (POINT corner : {POINT{0, 0}, POINT{got.cx - 1, 0}})
            EXPECT_FALSE(::PtInRegion(region, corner.x, corner.y)) << corner.x << "," << corner.y;
        for (POINT edge : {POINT{got.cx / 2, 1}, POINT{got.cx / 2, got.cy - 2}, POINT{1, got.cy / 2}, POINT{got.cx - 2, got.cy / 2}})
            EXPECT_TRUE(::PtInRegion(region, edge.x, edge.y)) << edge.x << "," << edge.y;
        ::DeleteObject(region);
        // The bottom edge is the frame's, not a white client strip.
        EXPECT_NE(shot.Pixel(got.cx / 2, got.cy - 2), 0xFFFFFFu);
    }
}

TEST(Mantle, TheCaptionReachesTheFirstVisibleButtonWhateverTheirNumber) {
    SkinnedForm f;
    f.Resize(260, 200);
    auto leftmostButton = [&] {
        int left = 1 << 30;
        for (const wchar_t* id : {L"closebutton", L"maxbutton", L"minbutton", L"rollupbutton", L"traybutton"}) {
            const int i = f.IndexOf(id);
            if (i >= 0 && f.mantle->ObjectList()[i].Visible) left = std::min(left, f.RectOf(id).Left);
        }
        return left;
    };
    // Four buttons, then the close button alone (as on the program's windows): the caption ends
    // where the first button begins, so a title that fits is never cut.
    EXPECT_EQ(f.mantle->ObjectList().FirstCaption()->ObjectRect.Right, leftmostButton());
    f.mantle->SetBorderIcons(BorderIconBit(biSystemMenu));
    f.Resize(261, 200);
    const TSkinRect caption = f.mantle->ObjectList().FirstCaption()->ObjectRect;
    EXPECT_EQ(caption.Right, f.RectOf(L"closebutton").Left);
    EXPECT_GT(caption.Width(), 150);
    EXPECT_EQ(f.HitTest(caption.Right - 3, (caption.Top + caption.Bottom) / 2), HTCAPTION);
}

TEST(Mantle, CloseButtonClosesAfterItsHandlerAndCaptureLossCancelsThePress) {
    SkinnedForm f;
    bool closed = false;
    f.form->OnClose = [&](TComponent*, TCloseAction& a) { closed = true; a = TCloseAction::caNone; };
    ::SetActiveWindow(f.Handle());
    ::SendMessageW(f.Handle(), WM_NCACTIVATE, TRUE, 0);
    const TSkinRect close = f.RectOf(L"closebutton");
    RECT wr;
    ::GetWindowRect(f.Handle(), &wr);
    const LPARAM at = MAKELPARAM(wr.left + close.Left + 3, wr.top + close.Top + 3);

    // A press that loses the capture to another window runs no command.
    ASSERT_EQ(::SendMessageW(f.Handle(), WM_NCHITTEST, 0, at), 19);
    ::SendMessageW(f.Handle(), WM_NCLBUTTONDOWN, 19, at);
    EXPECT_EQ(::GetCapture(), f.Handle());
    HWND other = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ::SetCapture(other);
    ::ReleaseCapture();
    ::SendMessageW(f.Handle(), WM_LBUTTONUP, 0, 0);
    Pump();
    EXPECT_FALSE(closed);
    ::DestroyWindow(other);

    // A press and release over the button closes, but only after the message returned.
    ::SendMessageW(f.Handle(), WM_NCHITTEST, 0, at);
    ::SendMessageW(f.Handle(), WM_NCLBUTTONDOWN, 19, at);
    ::SendMessageW(f.Handle(), WM_LBUTTONUP, 0, 0);
    EXPECT_FALSE(closed);
    EXPECT_NE(::GetCapture(), f.Handle());
    Pump();
    EXPECT_TRUE(closed);
}

TEST(Mantle, HiddenCaptionButtonsLeaveOnlyTheCaption) {
    SkinnedForm f;
    f.mantle->SetHideCaptionButtons(true);
    int visibleButtons = 0;
    for (int i = 0; i < f.mantle->ObjectList().Count(); ++i) {
        const TmnActiveSkinObject& o = f.mantle->ObjectList()[i];
        if (dynamic_cast<const TmnSkinStdButtonObject*>(&o)) {
            EXPECT_FALSE(o.Enabled) << o.IDName.c_str();
            if (o.Visible && !o.ObjectRect.IsEmpty()) ++visibleButtons;
        }
    }
    EXPECT_EQ(visibleButtons, 0);
    ASSERT_NE(f.mantle->ObjectList().FirstCaption(), nullptr);
    EXPECT_TRUE(f.mantle->ObjectList().FirstCaption()->Visible);
}

TEST(Mantle, SkinChangeAtRunTimeRebuildsObjectsAndRemovingTheManagerLeavesTheBuiltInFrame) {
    SkinnedForm f;
    const int fennickObjects = f.mantle->ObjectList().Count();
    ASSERT_GT(fennickObjects, 0);
    int before = 0, changed = 0;
    f.mantle->OnBeforeChangeSkinData = [&](TComponent*) { ++before; };
    f.mantle->OnChangeSkinData = [&](TComponent*) { ++changed; };
    TMemoryStream s;
    WriteSkinArchive(s, test::TestArchive(test::TestDescription()));
    f.skin->LoadFromArchive(s);
    Pump();
    EXPECT_EQ(before, 1);
    EXPECT_EQ(changed, 1);
    EXPECT_TRUE(f.mantle->Skinned());
    EXPECT_NE(f.IndexOf(L"logo"), -1);  // an object only the test skin has
    EXPECT_EQ(f.mantle->Geometry().NewClientRect.Left, 4);

    delete f.skin;
    f.skin = nullptr;
    Pump();
    EXPECT_FALSE(f.mantle->Skinned());
    EXPECT_EQ(f.mantle->SkinData(), nullptr);
    FrameShot shot(f);
    EXPECT_EQ(shot.answer, MSG_PAINT_FRAME_MAGIC);  // the built-in frame paints
    EXPECT_EQ(f.ClientInWindow().top, 22);
}

// A form not made yet is not made for a skin change, yet its component lets go of the old skin
// at once and is dressed in the new one when the form is shown.
TEST(Mantle, AFormWithoutAWindowIsToldOfASkinChangeWithoutMakingOne) {
    SkinnedForm f;
    TForm later(nullptr);
    auto* m = new TmnMantle(&later);
    m->SetSkinData(f.skin);
    int objectsBefore = -1;
    m->OnBeforeChangeSkinData = [&](TComponent*) { objectsBefore = m->ObjectList().Count(); };
    TMemoryStream s;
    WriteSkinArchive(s, test::TestArchive(test::TestDescription()));
    f.skin->LoadFromArchive(s);
    Pump();
    EXPECT_FALSE(later.HandleAllocated());
    EXPECT_EQ(objectsBefore, 0);
    later.SetBounds(50, 50, 300, 200);
    later.Show();
    Pump();
    EXPECT_TRUE(m->Skinned());
    EXPECT_EQ(m->Geometry().NewClientRect.Left, 4);  // the test skin's frame, not the default skin's
}

TEST(Mantle, BrokenSkinLeavesTheBuiltInFrameNotAWindowWithoutOne) {
    SkinnedForm f;
    TMemoryStream garbage;
    const char bytes[] = "not a skin archive at all, just some text";
    garbage.Write(bytes, sizeof bytes);
    try {
        f.skin->LoadFromArchive(garbage);
    } catch (const Exception&) {
        // a load that throws ends the same way as one that stops early
    }
    Pump();
    EXPECT_FALSE(f.mantle->Skinned());
    EXPECT_FALSE(f.mantle->SkinChanging());
    FrameShot shot(f);
    EXPECT_EQ(shot.answer, MSG_PAINT_FRAME_MAGIC);
    EXPECT_EQ(f.ClientInWindow().top, 22);
}

TEST(Mantle, BackgroundIsTheSkinsTile) {
    SkinnedForm f;
    const int index = f.skin->BgPictureIndex;
    const TBitmapData* tile = f.skin->ActivePicture(index);
    ASSERT_NE(tile, nullptr);
    RECT cr;
    ::GetClientRect(f.Handle(), &cr);
    TBitmap b(cr.right, cr.bottom);
    f.mantle->PaintBackground(b.Canvas().Handle(), false);
    for (POINT p : {POINT{0, 0}, POINT{5, 7}, POINT{tile->Width + 3, 2}, POINT{1, tile->Height + 4}}) {
        if (p.x >= cr.right || p.y >= cr.bottom) continue;
        const uint8_t* px = b.ScanLine(p.y) + 3 * p.x;
        const uint32_t got = (uint32_t(px[2]) << 16) | (uint32_t(px[1]) << 8) | px[0];
        EXPECT_EQ(got, PicturePixel(*tile, p.x % tile->Width, p.y % tile->Height)) << p.x << "," << p.y;
    }
}

constexpr UINT_PTR FadeTimerId = 0x4D04;

BYTE LayeredAlpha(HWND window) {
    BYTE alpha = 0;
    DWORD flags = 0;
    return ::GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) ? alpha : 0;
}

TEST(Mantle, FadeInEndsAtFullOpacityAndDropsTheLayeredStyle) {
    test::FakeTimers timers;
    SkinnedForm f;
    f.form->Hide();
    Pump();
    f.mantle->AlphaBlendAnimation = true;
    f.form->Show();
    ASSERT_TRUE(::GetWindowLongPtrW(f.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    ASSERT_TRUE(timers.Has(f.Handle(), FadeTimerId));
    // A tenth of a second in, the form is part way up; a second in, the fade has ended.
    timers.Advance(100);
    EXPECT_TRUE(::GetWindowLongPtrW(f.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_GT(LayeredAlpha(f.Handle()), 0);
    EXPECT_LT(LayeredAlpha(f.Handle()), 255);
    timers.Advance(900);
    EXPECT_FALSE(::GetWindowLongPtrW(f.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_FALSE(timers.Has(f.Handle(), FadeTimerId));
    // Faded in to a translucent target, the form stays layered at that opacity.
    f.form->Hide();
    Pump();
    f.mantle->SetAlphaBlend(true);
    f.mantle->SetAlphaBlendValue(120);
    f.form->Show();
    timers.Advance(1000);
    EXPECT_FALSE(timers.Has(f.Handle(), FadeTimerId));
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(f.Handle(), nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 120);
}

// The caption buttons' hover tracking and morphing run on the window timers of the seam: the
// clock alone brings a hovered button up, and takes it back down once the pointer has left.
TEST(Mantle, AHoveredCaptionButtonMorphsOnItsTimersAndBackWhenThePointerLeaves) {
    test::FakeTimers timers;
    SkinnedForm f;
    ::SetActiveWindow(f.Handle());
    ::SendMessageW(f.Handle(), WM_NCACTIVATE, TRUE, 0);
    const TSkinRect close = f.RectOf(L"closebutton");
    RECT wr;
    ::GetWindowRect(f.Handle(), &wr);
    const POINT at{wr.left + close.Left + 3, wr.top + close.Top + 3};
    ASSERT_TRUE(::SetCursorPos(at.x, at.y));
    ::SendMessageW(f.Handle(), WM_NCMOUSEMOVE, ::SendMessageW(f.Handle(), WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)),
                   MAKELPARAM(at.x, at.y));
    TmnSkinObjectList& objects = f.mantle->ObjectList();
    TmnActiveSkinObject* button = objects.Object(f.IndexOf(L"closebutton"));
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->Morphing);  // the default skin fades its caption buttons
    EXPECT_TRUE(timers.Has(f.Handle(), TmnObjectTimers::MouseTimerId));
    timers.Advance(1000);
    EXPECT_EQ(objects.ActiveObject, f.IndexOf(L"closebutton"));
    EXPECT_TRUE(button->Active);
    EXPECT_EQ(button->MorphFactor, 1.0);
    // The pointer leaves without a message: the hover poll notices, the button goes back down.
    ASSERT_TRUE(::SetCursorPos(wr.right + 50, wr.bottom + 50));
    timers.Advance(1000);
    EXPECT_EQ(objects.ActiveObject, -1);
    EXPECT_FALSE(button->Active);
    EXPECT_EQ(button->MorphFactor, 0.0);
    EXPECT_FALSE(timers.Has(f.Handle(), TmnObjectTimers::MorphTimerId));
    // With nothing left to follow the poll stops; the pointer back on a button starts it again.
    EXPECT_FALSE(timers.Has(f.Handle(), TmnObjectTimers::MouseTimerId));
    ::SendMessageW(f.Handle(), WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
    EXPECT_TRUE(timers.Has(f.Handle(), TmnObjectTimers::MouseTimerId));
}

// Every skinned window can show menus, most never do: the menus' message window is only made
// for the first one.
TEST(Mantle, AWindowThatNeverShowedAMenuHasNoMenuMessageWindow) {
    SkinnedForm f;
    EXPECT_EQ(::FindWindowExW(HWND_MESSAGE, nullptr, L"TmnSkinMenuMessages", nullptr), nullptr);
}

// A form whose program counts its own timer's ticks, as the skin gallery's watch timer does.
class TimedForm : public TForm {
public:
    using TForm::TForm;
    int ticks = 0;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_TIMER && wParam == 1) {
            ++ticks;
            return 0;
        }
        return TForm::WndProc(msg, wParam, lParam);
    }
};

TEST(Mantle, TheProgramsOwnTimersReachTheDressedFormWhileItFadesIn) {
    RegisterOnce();
    test::FakeTimers timers;
    TimedForm form(nullptr);
    form.LoadFromText(kSkinnedForm);
    TmnMantle* mantle = TmnMantle::Of(&form);
    mantle->AlphaBlendAnimation = true;
    form.Show();
    Pump();
    ASSERT_TRUE(::SetTimer(form.Handle(), 1, 10, nullptr));
    const DWORD end = ::GetTickCount() + 5000;
    while (form.ticks < 2 && ::GetTickCount() < end) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        Pump();
    }
    ::KillTimer(form.Handle(), 1);
    EXPECT_GE(form.ticks, 2);
    // The fade-in still ends on its own ticks.
    timers.Advance(1000);
    EXPECT_FALSE(::GetWindowLongPtrW(form.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST(Mantle, KeysPressedWhileTheSystemMenuIsOpenDoNotReachTheWindow) {
    SkinnedForm f;
    auto* edit = new TRichEdit(f.form.get());
    edit->SetParent(f.form.get());
    edit->SetBounds(0, 0, 200, 100);
    edit->SetVisible(true);
    f.form->Show();
    edit->SetFocus();
    Pump();
    RECT wr;
    ::GetWindowRect(f.Handle(), &wr);
    f.mantle->ShowSystemMenu({wr.left + 5, wr.top + 5, wr.left + 20, wr.top + 20});
    ASSERT_TRUE(f.mantle->SkinMenu().Visible);
    EXPECT_TRUE(f.mantle->InSkinMenu());
    for (WPARAM key : {WPARAM('A'), WPARAM(VK_RETURN)}) {
        ::PostMessageW(edit->Handle(), WM_KEYDOWN, key, 1);
        ::PostMessageW(edit->Handle(), WM_CHAR, key == 'A' ? 'a' : '\r', 1);
    }
    Pump();
    EXPECT_EQ(::GetWindowTextLengthW(edit->Handle()), 0);
    f.mantle->SkinMenu().CloseAll();
    Pump();
    EXPECT_FALSE(f.mantle->InSkinMenu());
}

TEST(Mantle, EmptySystemMenuOpensNothingAndStartsNoMenuMode) {
    SkinnedForm f;
    f.mantle->SetBorderIcons(BorderIconBit(biSystemMenu));
    f.mantle->ShowSystemMenu({100, 100, 110, 110});
    EXPECT_FALSE(f.mantle->SkinMenu().Visible);
    EXPECT_FALSE(f.mantle->InSkinMenu());
    // Alt+Space on such a window does nothing either.
    EXPECT_TRUE(f.mantle->FormShortCut(VK_SPACE, ssAlt));
    EXPECT_FALSE(f.mantle->InSkinMenu());
}

TEST(Mantle, SystemCommandsAreComparedWithoutTheirLowBits) {
    SkinnedForm f;
    const SIZE before = f.Size();
    ::SendMessageW(f.Handle(), WM_SYSCOMMAND, SC_MAXIMIZE | 2, 0);
    EXPECT_EQ(f.mantle->SkinWindowState(), swsMaximized);
    EXPECT_FALSE(::IsZoomed(f.Handle()));  // the platform window stays normal
    ::SendMessageW(f.Handle(), WM_SYSCOMMAND, SC_RESTORE | 3, 0);
    EXPECT_EQ(f.mantle->SkinWindowState(), swsNormal);
    EXPECT_EQ(f.Size().cx, before.cx);
    EXPECT_EQ(f.Size().cy, before.cy);
}

TEST(Mantle, SizeMoveStateEndsWithTheLoop) {
    SkinnedForm f;
    ::SendMessageW(f.Handle(), WM_ENTERSIZEMOVE, 0, 0);
    EXPECT_TRUE(f.mantle->InSizeMove());
    ::SendMessageW(f.Handle(), WM_EXITSIZEMOVE, 0, 0);
    EXPECT_FALSE(f.mantle->InSizeMove());
    EXPECT_EQ(f.mantle->ObjectList().ActiveObject, -1);
}

TEST(Mantle, DetachesInEitherOrderBesideAnotherHandler) {
    for (bool mantleFirst : {true, false}) {
        SkinnedForm f;
        int seen = 0;
        TWndProcHook other(f.form->WindowProc(), [&](HWND, UINT m, WPARAM w, LPARAM l, const TWndProcNext& next) {
            if (m == WM_USER + 7) ++seen;
            return next(m, w, l);
        });
        if (mantleFirst) {
            delete f.mantle;
            other.Remove();
        } else {
            other.Remove();
            delete f.mantle;
        }
        f.mantle = nullptr;
        ::SendMessageW(f.Handle(), WM_USER + 7, 0, 0);
        EXPECT_EQ(seen, 0);
        EXPECT_EQ(TmnMantle::Of(f.form.get()), nullptr);
        // The platform frame and no region are back; the form keeps working.
        TRegionHandle rgn(::CreateRectRgn(0, 0, 0, 0));
        EXPECT_EQ(::GetWindowRgn(f.Handle(), rgn.Get()), ERROR);
        ::SendMessageW(f.Handle(), WM_NCPAINT, 1, 0);
        f.Resize(300, 250);
        EXPECT_EQ(f.Size().cx, 300);
    }
}

// Every heap of the process passes the system's own check of its blocks.
bool HeapsWhole() {
    HANDLE heaps[64];
    const DWORD count = ::GetProcessHeaps(64, heaps);
    for (DWORD i = 0; i < count && i < 64; ++i)
        if (!::HeapValidate(heaps[i], 0, nullptr)) return false;
    return count > 0;
}

// A mantle freed before its form, while its hover timer runs, gives its parts back in an order
// that never touches one already gone; other skinned windows came and went before.
TEST(Mantle, FreedBeforeItsFormLeavesTheHeapWhole) {
    for (int i = 0; i < 2; ++i) SkinnedForm other;
    const long timers = LiveCount(TLiveKind::Timer);
    for (int i = 0; i < 3; ++i) {
        {
            SkinnedForm f;
            ASSERT_GT(LiveCount(TLiveKind::Timer), timers);
            delete f.mantle;
            f.mantle = nullptr;
            ASSERT_TRUE(HeapsWhole()) << i;
        }
        EXPECT_EQ(LiveCount(TLiveKind::Timer), timers) << i;
    }
}

TEST(Mantle, OwnerThatIsNotAFormIsRefused) {
    RegisterOnce();
    TComponent owner(nullptr);
    EXPECT_THROW(TmnMantle mantle(&owner), EInvalidCast);
}

// What a tabs bar hears from the documents' mantles.
class TabsRecorder : public TComponent, public TmnMDITabsPartner {
public:
    using TComponent::TComponent;
    void AddTab(TForm* child) override { calls.push_back({L'+', child}); }
    void RemoveTab(TForm* child) override { calls.push_back({L'-', child}); }
    void DrawTab(TForm* child) override { calls.push_back({L'd', child}); }
    void UpdateActiveTabs() override {}
    bool Heard(wchar_t what, TForm* child) const {
        for (const auto& c : calls)
            if (c.first == what && c.second == child) return true;
        return false;
    }
    std::vector<std::pair<wchar_t, TForm*>> calls;
};

// A document reaches the tabs bar of the frame holding it, also when that frame is not the
// program's main form (a second frame, or a main form of another kind).
TEST(Mantle, DocumentsTellTheTabsBarOfTheirOwnFrameNotTheMainForms) {
    RegisterOnce();
    TForm frame(nullptr);
    frame.LoadFromText(L"object Frame: TForm\n  Width = 500\n  Height = 360\n  FormStyle = fsMDIForm\nend\n");
    ASSERT_NE(Application()->MainForm(), &frame);
    auto* frameMantle = new TmnMantle(&frame);
    auto* tabs = new TabsRecorder(&frame);
    frameMantle->SetMDITabsBar(tabs);
    frame.Show();
    Pump();
    auto* child = new TForm(&frame);
    child->LoadFromText(L"object Doc: TForm\n  FormStyle = fsMDIChild\n  Width = 200\n  Height = 120\nend\n");
    new TmnMantle(child);
    child->Show();
    Pump();
    // Shown while it was created, before the seam saw it: the tab comes all the same.
    EXPECT_TRUE(tabs->Heard(L'+', child));
    child->Hide();
    Pump();
    EXPECT_TRUE(tabs->Heard(L'-', child));
    child->Show();
    Pump();
    EXPECT_TRUE(tabs->Heard(L'+', child));
    child->SetCaption(L"Umbenannt");
    EXPECT_TRUE(tabs->Heard(L'd', child));
}

// The process's GDI handle table (about 65,000 entries under Wine) filled up but for a few free
// ones, so that a handle leaked per step exhausts it within a short run; and a count of what
// is free again afterwards.
class ScarceGdiHandles {
public:
    explicit ScarceGdiHandles(int leave) {
        for (HRGN r; held_.size() < 300000 && (r = ::CreateRectRgn(0, 0, 1, 1));) held_.push_back(r);
        full_ = held_.size() < 300000;
        for (int i = 0; i < leave && !held_.empty(); ++i) {
            ::DeleteObject(held_.back());
            held_.pop_back();
        }
    }
    ~ScarceGdiHandles() {
        for (HRGN r : held_) ::DeleteObject(r);
    }
    // Whether the table had a limit to fill.
    bool Full() const { return full_; }
    static int FreeCount() {
        std::vector<HRGN> probe;
        for (HRGN r; probe.size() < 300000 && (r = ::CreateRectRgn(0, 0, 1, 1));) probe.push_back(r);
        for (HRGN r : probe) ::DeleteObject(r);
        return static_cast<int>(probe.size());
    }

private:
    std::vector<HRGN> held_;
    bool full_ = false;
};

// Every size step builds the geometry, the mask strips, the region (handed to SetWindowRgn) and
// paints the frame: one handle kept per step would use up the few free ones long before the end.
TEST(Mantle, SizeStepsLeakNoHandleEvenWithTheHandleTableNearlyFull) {
    SkinnedForm f;
    f.form->Hide();
    Pump();
    TBitmap canvas(440, 220);
    const int leave = 1500, steps = 3000;
    ScarceGdiHandles scarce(leave);
    ASSERT_TRUE(scarce.Full()) << "the platform gives GDI handles without a limit";
    const int before = ScarceGdiHandles::FreeCount();
    for (int i = 0; i < steps; ++i) {
        const int w = 300 + (i % 120), h = 120 + (i % 80);
        ::SetWindowPos(f.Handle(), nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_EQ(::SendMessageW(f.Handle(), MSG_PAINT_FRAME, reinterpret_cast<WPARAM>(canvas.Canvas().Handle()),
                                 MSG_PAINT_FRAME_MAGIC),
                  MSG_PAINT_FRAME_MAGIC)
            << "step " << i;
    }
    EXPECT_GE(ScarceGdiHandles::FreeCount(), before - 50);
    TRegionHandle rgn(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_TRUE(rgn);
    EXPECT_NE(::GetWindowRgn(f.Handle(), rgn.Get()), ERROR);
}


// ---- the window states, exact to the pixel ----

RECT BoundsOf(HWND window) {
    RECT r;
    ::GetWindowRect(window, &r);
    return r;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Str(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," + std::to_string(r.bottom);
}

// The rectangle a maximised top-level window must take on its monitor.
RECT ExpectedMaximized(HWND window) {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &mi);
    RECT r = mi.rcWork;
    const RECT primary{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    const bool whole = r.right - r.left == mi.rcMonitor.right - mi.rcMonitor.left &&
                       r.bottom - r.top == mi.rcMonitor.bottom - mi.rcMonitor.top;
    if (whole && SameRect(mi.rcMonitor, primary)) ::InflateRect(&r, -1, -1);
    return r;
}

RECT WorkArea(HWND window) {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &mi);
    return mi.rcWork;
}

// A left double-click (or right press) on the middle of the caption, as the platform sends it.
void CaptionClick(const SkinnedForm& f, UINT message) {
    const TSkinRect c = f.mantle->ObjectList().FirstCaption()->ObjectRect;
    const RECT wr = BoundsOf(f.Handle());
    const LPARAM at = MAKELPARAM(wr.left + (c.Left + c.Right) / 2, wr.top + (c.Top + c.Bottom) / 2);
    ASSERT_EQ(::SendMessageW(f.Handle(), WM_NCHITTEST, 0, at), HTCAPTION);
    ::SendMessageW(f.Handle(), message, HTCAPTION, at);
    Pump();
}

TEST(MantleStates, MaximiseFillsTheWorkAreaFollowsItAndRestoreGivesTheBoundsBack) {
    SkinnedForm f;
    const RECT before = BoundsOf(f.Handle());
    const RECT expected = ExpectedMaximized(f.Handle());
    f.mantle->RunWindowAction(TmnWindowAction::Maximize);
    EXPECT_EQ(f.mantle->SkinWindowState(), swsMaximized);
    EXPECT_TRUE(SameRect(BoundsOf(f.Handle()), expected)) << Str(BoundsOf(f.Handle())) << " / " << Str(expected);

    // A maximised window is not moved.
    RECT moving{5, 6, 105, 106};
    ::SendMessageW(f.Handle(), WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&moving));
    EXPECT_TRUE(SameRect(moving, expected));

    // The work area or the display changed: the window takes the area again; other settings
    // leave it alone.
    for (auto [msg, wParam] : {std::pair{UINT(WM_SETTINGCHANGE), WPARAM(SPI_SETWORKAREA)}, std::pair{UINT(WM_DISPLAYCHANGE), WPARAM(32)}}) {
        ::SetWindowPos(f.Handle(), nullptr, 30, 40, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
        ::SendMessageW(f.Handle(), msg, wParam, 0);
        EXPECT_TRUE(SameRect(BoundsOf(f.Handle()), expected)) << msg;
    }
    ::SetWindowPos(f.Handle(), nullptr, 30, 40, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(f.Handle(), WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, 0);
    EXPECT_TRUE(SameRect(BoundsOf(f.Handle()), RECT{30, 40, 330, 240}));
    ::SendMessageW(f.Handle(), WM_DISPLAYCHANGE, 32, 0);

    f.mantle->RunWindowAction(TmnWindowAction::Restore);
    EXPECT_EQ(f.mantle->SkinWindowState(), swsNormal);
    EXPECT_TRUE(SameRect(BoundsOf(f.Handle()), before)) << Str(BoundsOf(f.Handle()));
    EXPECT_EQ(f.mantle->RestoreBounds(), nullptr);
    // A normal window stays where it is when the display changes.
    ::SendMessageW(f.Handle(), WM_DISPLAYCHANGE, 32, 0);
    EXPECT_TRUE(SameRect(BoundsOf(f.Handle()), before));
}

TEST(MantleStates, RollUpKeepsTheFrameRowsAndEveryWayBackIsExact) {
    SkinnedForm f;
    const RECT before = BoundsOf(f.Handle());
    const int rows = f.skin->Picture().Height - f.skin->ClientRect.Height();
    f.mantle->RunWindowAction(TmnWindowAction::RollUp);
    EXPECT_TRUE(f.mantle->RolledUp());
    EXPECT_TRUE(SameRect(BoundsOf(f.Handle()), RECT{before.left, before.top, before.right, before.top + rows}));
    f.mantle->RunWindowAction(TmnWindowAction::RollDown);
    EXPECT_TRUE(SameRect(BoundsOf(f.Handle()), before));

    // Rolled up while maximised: the caption's double-click unrolls, the window stays maximised.
    const RECT maximized = ExpectedMaximized(f.Handle());
    f.mantle->RunWindowAction(TmnWindowAction::Maximize);
    f.mantle->RunWindowAction(TmnWindowAction::RollUp);
    EXPECT_TRUE(f.mantle->RolledUpInMaximized());
    EXPECT_EQ(BoundsOf(f.Handle()).bottom - BoundsOf(f.Handle()).top, rows);
    CaptionClick(f, WM_NCLBUTTONDBLCLK);
    EXPECT_FALSE(f.mantle->RolledUp());
    EXPECT_EQ(f.mantle->SkinWindowState(), swsMaximized);
    EXPECT_TRUE(SameRect(BoundsOf(f.Handle()), maximized));
    CaptionClick(f, WM_NCLBUTTONDBLCLK);
    EXPECT_EQ(f.mantle->SkinWindowState(), swsNormal);
    EXPECT_TRUE(SameRect(BoundsOf(f.Handle()), before));

    // Maximised from the rolled-up state: it stays rolled up through the maximised state and
    // returns to the rolled-up bounds; unrolling then gives the first height back.
    f.mantle->RunWindowAction(TmnWindowAction::RollUp);
    const RECT rolled = BoundsOf(f.Handle());
    f.mantle->RunWindowAction(TmnWindowAction::Maximize);
    f.mantle->RunWindowAction(TmnWindowAction::RollDown);
    EXPECT_TRUE(f.mantle->RolledUp());
    f.mantle->RunWindowAction(TmnWindowAction::Restore);
    EXPECT_EQ(f.mantle->SkinWindowState(), swsNormal);
    EXPECT_TRUE(SameRect(BoundsOf(f.Handle()), rolled));
    f.mantle->RunWindowAction(TmnWindowAction::Restore);
    EXPECT_FALSE(f.mantle->RolledUp());
    EXPECT_TRUE(SameRect(BoundsOf(f.Handle()), before));

    // Rolled up while maximised, then restored straight away: unrolled first, then the bounds.
    f.mantle->RunWindowAction(TmnWindowAction::Maximize);
    f.mantle->RunWindowAction(TmnWindowAction::RollUp);
    ::SendMessageW(f.Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(f.mantle->RolledUp());
    f.mantle->RunWindowAction(TmnWindowAction::Restore);
    EXPECT_FALSE(f.mantle->RolledUp());
    EXPECT_TRUE(SameRect(BoundsOf(f.Handle()), before));
}

TEST(MantleStates, CaptionClicksActOnlyWithTheirBorderIcons) {
    SkinnedForm f;
    const RECT before = BoundsOf(f.Handle());
    CaptionClick(f, WM_NCLBUTTONDBLCLK);
    EXPECT_EQ(f.mantle->SkinWindowState(), swsMaximized);
    CaptionClick(f, WM_NCLBUTTONDBLCLK);
    EXPECT_EQ(f.mantle->SkinWindowState(), swsNormal);
    EXPECT_TRUE(SameRect(BoundsOf(f.Handle()), before));
    CaptionClick(f, WM_NCRBUTTONDOWN);
    EXPECT_TRUE(f.mantle->SkinMenu().Visible);
    f.mantle->SkinMenu().CloseAll();
    Pump();

    // Configured like the program's windows: no maximise, no roll-up, an empty system menu.
    f.mantle->SetBorderIcons(BorderIconBit(biSystemMenu));
    CaptionClick(f, WM_NCLBUTTONDBLCLK);
    CaptionClick(f, WM_NCLBUTTONDBLCLK);
    EXPECT_EQ(f.mantle->SkinWindowState(), swsNormal);
    EXPECT_FALSE(f.mantle->RolledUp());
    EXPECT_TRUE(SameRect(BoundsOf(f.Handle()), before));
    CaptionClick(f, WM_NCRBUTTONDOWN);
    EXPECT_FALSE(f.mantle->SkinMenu().Visible);
    EXPECT_FALSE(f.mantle->InSkinMenu());
    ::SendMessageW(f.Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    f.mantle->RunWindowAction(TmnWindowAction::Minimize);
    f.mantle->RunWindowAction(TmnWindowAction::RollUp);
    EXPECT_EQ(f.mantle->SkinWindowState(), swsNormal);
    EXPECT_TRUE(SameRect(BoundsOf(f.Handle()), before));
}

TEST(MantleStates, SystemMenuItemsRunTheirCommandsAndTheSizeGripGoesWhileMaximised) {
    SkinnedForm f;
    auto* bar = new TmnSkinStatusBar(f.form.get());
    bar->SetParent(f.form.get());
    bar->SetAlign(TAlign::alBottom);
    bar->SetSizeGrip(true);
    f.mantle->SetStatusBar(bar);
    RECT wr;
    ::GetWindowRect(f.Handle(), &wr);
    f.mantle->ShowSystemMenu({wr.left + 5, wr.top + 5, wr.left + 20, wr.top + 20});
    Pump();
    TmnSkinMenu& chain = f.mantle->SkinMenu();
    ASSERT_TRUE(chain.Visible);
    ASSERT_FALSE(chain.PopupList.empty());
    std::vector<String> names;
    for (const auto& item : chain.PopupList[0]->Items) names.push_back(item->MenuItem->Name());
    // The standard items of a normal window, then the divider (the standard menu has no close).
    EXPECT_EQ(names, (std::vector<String>{L"MTL_MINITEM", L"MTL_MAXITEM", L"MTL_ROLLUP", L""}));
    TMenuItem* maximize = nullptr;
    for (const auto& item : chain.PopupList[0]->Items)
        if (item->MenuItem->Name() == L"MTL_MAXITEM") maximize = item->MenuItem;
    ASSERT_NE(maximize, nullptr);
    chain.CloseAll();
    maximize->Click();
    Pump();
    EXPECT_EQ(f.mantle->SkinWindowState(), swsMaximized);
    EXPECT_FALSE(bar->GripShown());
    f.mantle->RunWindowAction(TmnWindowAction::Restore);
    Pump();
    EXPECT_EQ(f.mantle->SkinWindowState(), swsNormal);
    EXPECT_TRUE(bar->GripShown());
    // A bar whose grip was off keeps it off through maximising and restoring.
    bar->SetSizeGrip(false);
    f.mantle->RunWindowAction(TmnWindowAction::Maximize);
    f.mantle->RunWindowAction(TmnWindowAction::Restore);
    Pump();
    EXPECT_FALSE(bar->GripShown());
    EXPECT_FALSE(bar->SizeGrip());
}

TEST(MantleStates, AUserSystemMenuGetsTheStandardItemsFirstInOrderAndCloseLast) {
    SkinnedForm f;
    auto* user = new TPopupMenu(f.form.get());
    auto* own = new TMenuItem(user);
    own->SetName(L"Eigenes");
    own->SetCaption(L"Eigenes");
    user->Items()->Add(own);
    f.mantle->SetSystemMenu(user);
    // Rolled up, a normal window offers minimise, restore (unroll), maximise; not roll-up.
    f.mantle->RunWindowAction(TmnWindowAction::RollUp);
    ASSERT_TRUE(f.mantle->RolledUp());
    for (int round = 0; round < 2; ++round) {  // a second build replaces, never doubles, them
        TMenuItem* root = f.mantle->SystemMenuItem();
        std::vector<String> names;
        for (int i = 0; i < root->Count(); ++i) names.push_back(root->Items(i)->Name());
        EXPECT_EQ(names, (std::vector<String>{L"MTL_MINITEM", L"MTL_RESTORE", L"MTL_MAXITEM", L"Eigenes", L"MTL_CLOSE"}));
    }
}

// Border styles: a form that may not be sized answers no sizing code and does not maximise from
// its caption; tool windows get the small built-in caption; a borderless form has no frame.
TEST(MantleStates, BorderStylesDecideSizingTheBuiltInCaptionAndWhetherThereIsAFrame) {
    auto withStyle = [](const wchar_t* style) {
        std::wstring text = kSkinnedForm;
        text.insert(text.find(L"  Caption"), std::wstring(L"  BorderStyle = ") + style + L"\n");
        return text;
    };
    {
        const std::wstring text = withStyle(L"bsSingle");
        SkinnedForm f(text.c_str());
        const SIZE s = f.Size();
        EXPECT_NE(f.HitTest(s.cx - 1, s.cy - 1), HTBOTTOMRIGHT);
        EXPECT_NE(f.HitTest(0, s.cy / 2), HTLEFT);
        CaptionClick(f, WM_NCLBUTTONDBLCLK);
        EXPECT_EQ(f.mantle->SkinWindowState(), swsNormal);
        EXPECT_TRUE(f.mantle->RolledUp());  // the double click rolls it up instead
        f.mantle->SetSkinData(nullptr);
        f.mantle->RunWindowAction(TmnWindowAction::RollDown);
        f.Resize(300, 200);
        EXPECT_NE(f.HitTest(0, 0), HTTOPLEFT);
        EXPECT_EQ(f.HitTest(299, 199), HTOBJECT);
    }
    {
        const std::wstring text = withStyle(L"bsSizeToolWin");
        SkinnedForm f(text.c_str());
        f.mantle->SetSkinData(nullptr);
        f.Resize(300, 200);
        EXPECT_EQ(f.ClientInWindow().top, 15 + 3);
        EXPECT_EQ(f.HitTest(299, 199), HTBOTTOMRIGHT);
    }
    {
        const std::wstring text = withStyle(L"bsNone");
        SkinnedForm f(text.c_str());
        const RECT c = f.ClientInWindow();
        EXPECT_EQ(c.left, 0);
        EXPECT_EQ(c.top, 0);
        EXPECT_EQ(c.right, f.Size().cx);
        TRegionHandle rgn(::CreateRectRgn(0, 0, 0, 0));
        EXPECT_EQ(::GetWindowRgn(f.Handle(), rgn.Get()), ERROR);
        EXPECT_EQ(FrameShot(f).answer, 0);
    }
}

TEST(MantleStates, AMaximisedDocumentNamesItselfInTheFramesCaption) {
    RegisterOnce();
    TForm frame(nullptr);
    frame.LoadFromText(L"object Frame: TForm\n  Width = 500\n  Height = 360\n  FormStyle = fsMDIForm\n  Caption = 'Rahmen'\nend\n");
    auto* frameMantle = new TmnMantle(&frame);
    frame.Show();
    Pump();
    auto* child = new TForm(&frame);
    child->LoadFromText(L"object Doc: TForm\n  FormStyle = fsMDIChild\n  Width = 200\n  Height = 120\n  Caption = 'Notiz1'\nend\n");
    auto* childMantle = new TmnMantle(child);
    childMantle->SetBorderIcons(DefaultBorderIcons);
    child->Show();
    Pump();
    EXPECT_EQ(frameMantle->MaximizedChildCaption(), L"");
    childMantle->RunWindowAction(TmnWindowAction::Maximize);
    Pump();
    EXPECT_EQ(frameMantle->MaximizedChild(), child);
    EXPECT_EQ(frameMantle->MaximizedChildCaption(), L"Notiz1");
    // The document fills the frame's client area.
    RECT client, doc;
    ::GetClientRect(frame.ClientHandle(), &client);
    ::GetWindowRect(child->Handle(), &doc);
    ::MapWindowPoints(nullptr, frame.ClientHandle(), reinterpret_cast<POINT*>(&doc), 2);
    EXPECT_LE(doc.left, 0);
    EXPECT_LE(doc.top, 0);
    EXPECT_GE(doc.right, client.right);
    EXPECT_GE(doc.bottom, client.bottom);
    childMantle->RunWindowAction(TmnWindowAction::Restore);
    Pump();
    EXPECT_EQ(frameMantle->MaximizedChildCaption(), L"");
    delete child;
    Pump();
}

// Documents in a frame as a person uses them: tiled, deactivated by a dialog, with their context
// menu and the key-menu command that reaches the frame when Alt is let go in a document.
TEST(MantleStates, DocumentsTileWithinTheirMinimumSizeAndFollowTheFrame) {
    RegisterOnce();
    TForm frame(nullptr);
    frame.LoadFromText(L"object Frame: TForm\n  Width = 400\n  Height = 360\n  FormStyle = fsMDIForm\nend\n");
    auto* frameMantle = new TmnMantle(&frame);
    frame.Show();
    Pump();
    std::vector<TForm*> docs;
    for (int i = 0; i < 5; ++i) {
        auto* child = new TForm(&frame);
        // Skinned like the program's notes: a frame no narrower than the skin's minimum width.
        std::wstring text = kSkinnedForm;
        text.replace(text.find(L"TestForm"), 8, L"Doc" + std::to_wstring(i));
        text.insert(text.find(L"  Caption"), L"  FormStyle = fsMDIChild\n");
        child->LoadFromText(text);
        child->Show();
        docs.push_back(child);
    }
    Pump();
    MINMAXINFO limits{};
    ::SendMessageW(docs[0]->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    ::SendMessageW(frame.ClientHandle(), WM_MDITILE, MDITILE_VERTICAL, 0);
    Pump();
    RECT client;
    ::GetClientRect(frame.ClientHandle(), &client);
    ASSERT_LT(client.right / 2, limits.ptMinTrackSize.x) << "two columns must not fit for this test";
    std::vector<RECT> placed;
    for (TForm* d : docs) {
        RECT r;
        ::GetWindowRect(d->Handle(), &r);
        ::MapWindowPoints(nullptr, frame.ClientHandle(), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_GE(r.right - r.left, limits.ptMinTrackSize.x);
        EXPECT_LE(r.right, client.right) << "a column hangs outside the documents' area";
        for (const RECT& o : placed)
            EXPECT_FALSE(r.left < o.right && o.left < r.right && r.top < o.bottom && o.top < r.bottom) << "overlap";
        placed.push_back(r);
    }

    // The active document looks active only while its frame is.
    TForm* active = frame.ActiveMDIChild();
    ASSERT_NE(active, nullptr);
    TmnMantle* activeMantle = TmnMantle::Of(active);
    ::SendMessageW(frame.Handle(), WM_NCACTIVATE, TRUE, 0);
    EXPECT_TRUE(activeMantle->IsFormActive());
    ::SendMessageW(frame.Handle(), WM_NCACTIVATE, FALSE, 0);
    EXPECT_FALSE(activeMantle->IsFormActive());
    ::SendMessageW(frame.Handle(), WM_NCACTIVATE, TRUE, 0);
    EXPECT_TRUE(activeMantle->IsFormActive());

    // The document's plain context menu opens as a skinned chain of the frame (never the
    // platform's modal menu), after its OnPopup.
    auto* popup = new TPopupMenu(active);
    auto* item = new TMenuItem(popup);
    item->SetCaption(L"Kopieren");
    popup->Items()->Add(item);
    int popups = 0;
    popup->OnPopup = [&](TComponent*) { ++popups; };
    active->SetPopupMenu(popup);
    ::SendMessageW(active->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(active->Handle()), MAKELPARAM(300, 300));
    EXPECT_EQ(popups, 1);
    EXPECT_TRUE(frameMantle->SkinMenu().Visible);
    frameMantle->SkinMenu().CloseAll();
    Pump();
}

TEST(MantleStates, TrackSizesAreTheFrameRowsTheWorkAreaAndTheLimitsSet) {
    SkinnedForm f;
    auto track = [&] {
        MINMAXINFO info{};
        ::SendMessageW(f.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        return info;
    };
    const int pictureWidth = f.skin->FormMinWidth > 0 ? f.skin->FormMinWidth : f.skin->Picture().Width;
    const int rows = f.skin->Picture().Height - f.skin->ClientRect.Height();
    const RECT area = WorkArea(f.Handle());
    MINMAXINFO info = track();
    EXPECT_EQ(info.ptMinTrackSize.x, pictureWidth);
    EXPECT_EQ(info.ptMinTrackSize.y, rows);
    EXPECT_EQ(info.ptMaxTrackSize.x, area.right - area.left);
    EXPECT_EQ(info.ptMaxTrackSize.y, area.bottom - area.top);

    // The component's limits: a larger minimum and a smaller maximum count; a minimum height
    // does not hold a rolled-up window open.
    f.mantle->MinWidth = f.skin->Picture().Width + 40;
    f.mantle->MinHeight = rows + 100;
    f.mantle->MaxWidth = 700;
    f.mantle->MaxHeight = area.bottom - area.top + 50;
    info = track();
    EXPECT_EQ(info.ptMinTrackSize.x, f.skin->Picture().Width + 40);
    EXPECT_EQ(info.ptMinTrackSize.y, rows + 100);
    EXPECT_EQ(info.ptMaxTrackSize.x, 700);
    EXPECT_EQ(info.ptMaxTrackSize.y, area.bottom - area.top);
    f.mantle->RunWindowAction(TmnWindowAction::RollUp);
    EXPECT_EQ(track().ptMinTrackSize.y, rows);
    EXPECT_EQ(BoundsOf(f.Handle()).bottom - BoundsOf(f.Handle()).top, rows);
    f.mantle->RunWindowAction(TmnWindowAction::RollDown);

    // The built-in frame: 120 wide, its caption and borders high.
    f.mantle->MinWidth = f.mantle->MinHeight = f.mantle->MaxWidth = f.mantle->MaxHeight = 0;
    f.mantle->SetSkinData(nullptr);
    info = track();
    EXPECT_EQ(info.ptMinTrackSize.x, 120);
    EXPECT_EQ(info.ptMinTrackSize.y, 19 + 6);
}

TEST(MantleStates, MinimisedWindowsSitSideBySideAtTheBottomLeftAndComeBackExactly) {
    std::vector<std::unique_ptr<SkinnedForm>> forms;
    for (int i = 0; i < 3; ++i) forms.push_back(std::make_unique<SkinnedForm>());
    TmnSkinData& skin = *forms[0]->skin;
    const int w = skin.FormMinWidth > 0 ? skin.FormMinWidth : skin.Picture().Width;
    const int h = skin.Picture().Height - skin.ClientRect.Height();
    const RECT area = WorkArea(forms[0]->Handle());
    ASSERT_GE(area.right - area.left, 3 * w);
    std::vector<RECT> before;
    for (auto& f : forms) {
        before.push_back(BoundsOf(f->Handle()));
        f->mantle->RunWindowAction(TmnWindowAction::Minimize);
        EXPECT_EQ(f->mantle->SkinWindowState(), swsMinimized);
    }
    for (int i = 0; i < 3; ++i) {
        const RECT expected{area.left + i * w, area.bottom - h, area.left + (i + 1) * w, area.bottom};
        EXPECT_TRUE(SameRect(BoundsOf(forms[i]->Handle()), expected)) << i << ": " << Str(BoundsOf(forms[i]->Handle()));
    }
    // The middle one comes back exactly and, minimised again, takes the place it left.
    forms[1]->mantle->RunWindowAction(TmnWindowAction::Restore);
    EXPECT_TRUE(SameRect(BoundsOf(forms[1]->Handle()), before[1]));
    forms[1]->mantle->RunWindowAction(TmnWindowAction::Minimize);
    EXPECT_EQ(BoundsOf(forms[1]->Handle()).left, area.left + w);
    // Maximised, then minimised, then restored: back to the bounds before both.
    forms[2]->mantle->RunWindowAction(TmnWindowAction::Restore);
    forms[2]->mantle->RunWindowAction(TmnWindowAction::Maximize);
    forms[2]->mantle->RunWindowAction(TmnWindowAction::Minimize);
    EXPECT_TRUE(SameRect(BoundsOf(forms[2]->Handle()),
                         RECT{area.left + 2 * w, area.bottom - h, area.left + 3 * w, area.bottom}));
    forms[2]->mantle->RunWindowAction(TmnWindowAction::Restore);
    EXPECT_TRUE(SameRect(BoundsOf(forms[2]->Handle()), before[2]));
}

TEST(MantleStates, MinimisedDocumentsLineTheFramesBottomAndFollowItsSize) {
    RegisterOnce();
    TForm frame(nullptr);
    frame.LoadFromText(L"object Frame: TForm\n  Width = 640\n  Height = 400\n  FormStyle = fsMDIForm\nend\n");
    new TmnMantle(&frame);
    frame.Show();
    Pump();
    std::vector<TForm*> docs;
    for (int i = 0; i < 3; ++i) {
        auto* child = new TForm(&frame);
        child->LoadFromText(L"object Doc: TForm\n  FormStyle = fsMDIChild\n  Width = 200\n  Height = 150\nend\n");
        new TmnMantle(child);
        child->Show();
        docs.push_back(child);
    }
    Pump();
    // Without a skin a minimised window is 120 wide and its caption with borders high.
    const int w = 120, h = 19 + 6;
    auto inClient = [&](TForm* doc) {
        RECT r = BoundsOf(doc->Handle());
        ::MapWindowPoints(nullptr, frame.ClientHandle(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    for (TForm* d : docs) TmnMantle::Of(d)->RunWindowAction(TmnWindowAction::Minimize);
    RECT client;
    ::GetClientRect(frame.ClientHandle(), &client);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(SameRect(inClient(docs[i]), RECT{i * w, client.bottom - h, (i + 1) * w, client.bottom}))
            << i << ": " << Str(inClient(docs[i]));
    // The frame grows: they move down with its client area's bottom.
    ::SetWindowPos(frame.Handle(), nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    ::GetClientRect(frame.ClientHandle(), &client);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(inClient(docs[i]).bottom, client.bottom) << i;
    std::vector<LONG> lefts;
    for (TForm* d : docs) lefts.push_back(inClient(d).left);
    std::sort(lefts.begin(), lefts.end());
    EXPECT_EQ(lefts, (std::vector<LONG>{0, w, 2 * w}));
}

TEST(MantleStates, MagneticEdgesSnapWithinMagneticSizeOnly) {
    SkinnedForm f;
    f.mantle->Magnetic = true;
    f.mantle->MagneticSize = 10;
    const RECT area = WorkArea(f.Handle());
    const SIZE s = f.Size();
    auto move = [&](int left, int top) {
        ::SendMessageW(f.Handle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(s.cx, s.cy));  // clears the snaps
        ::SendMessageW(f.Handle(), WM_ENTERSIZEMOVE, 0, 0);
        RECT r{left, top, left + s.cx, top + s.cy};
        ::SendMessageW(f.Handle(), WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&r));
        ::SendMessageW(f.Handle(), WM_EXITSIZEMOVE, 0, 0);
        return r;
    };
    const int midY = (area.top + area.bottom) / 2 - s.cy / 2;
    EXPECT_TRUE(SameRect(move(area.left + 9, midY), RECT{area.left, midY, area.left + s.cx, midY + s.cy}));
    EXPECT_TRUE(SameRect(move(area.left - 9, midY), RECT{area.left, midY, area.left + s.cx, midY + s.cy}));
    EXPECT_EQ(move(area.left + 10, midY).left, area.left + 10);
    EXPECT_EQ(move(area.left + 200, area.top + 4).top, area.top);
    EXPECT_EQ(move(area.right - s.cx - 9, midY).left, area.right - s.cx);
    EXPECT_EQ(move(area.right - s.cx - 10, midY).left, area.right - s.cx - 10);
    EXPECT_EQ(move(area.left + 200, area.bottom - s.cy + 9).top, area.bottom - s.cy);
    f.mantle->Magnetic = false;
    EXPECT_EQ(move(area.left + 3, midY).left, area.left + 3);
}

// Monitors left of and above the primary one have negative coordinates: the frame's mouse
// messages read them as such.
TEST(MantleStates, FrameWorksLeftOfAndAboveThePrimaryScreen) {
    SkinnedForm f;
    bool closed = false;
    f.form->OnClose = [&](TComponent*, TCloseAction& a) { closed = true; a = TCloseAction::caNone; };
    ::SetWindowPos(f.Handle(), nullptr, -700, -60, 420, 300, SWP_NOZORDER);
    Pump();
    ::SetActiveWindow(f.Handle());
    ::SendMessageW(f.Handle(), WM_NCACTIVATE, TRUE, 0);
    const RECT wr = BoundsOf(f.Handle());
    ASSERT_LT(wr.left, 0);
    const TSkinRect close = f.RectOf(L"closebutton");
    const LPARAM at = MAKELPARAM(wr.left + close.Left + 3, wr.top + close.Top + 3);
    ASSERT_EQ(::SendMessageW(f.Handle(), WM_NCHITTEST, 0, at), 19);
    ::SendMessageW(f.Handle(), WM_NCLBUTTONDOWN, 19, at);
    ::SendMessageW(f.Handle(), WM_NCLBUTTONUP, 19, at);
    Pump();
    EXPECT_TRUE(closed);
    EXPECT_EQ(f.HitTest(2, 299), HTBOTTOMLEFT);
    CaptionClick(f, WM_NCLBUTTONDBLCLK);
    EXPECT_EQ(f.mantle->SkinWindowState(), swsMaximized);
}

}  // namespace
}  // namespace fn

// Freed memory is scrubbed before the heap takes it back: code that still reads an object it freed
// finds garbage at once instead of the values the object last held.
void operator delete(void* p) noexcept {
    if (!p) return;
    std::memset(p, 0xDD, _msize(p));
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept { ::operator delete(p); }
