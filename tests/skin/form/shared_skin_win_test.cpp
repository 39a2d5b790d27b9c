// Two windows that carry the same stored skin on real windows under Wine: they share one
// decoded skin, either draws on when the other is freed, and a DPI change of one manager
// reaches its own window's frame only.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "platform/win/application.h"
#include "platform/win/forms.h"
#include "platform/win/graphics.h"
#include "skin/data/skin_messages.h"
#include "skin/data/stored_skin.h"
#include "skin/form/frame_painter_win.h"
#include "skin/form/mantle_win.h"

namespace fn {
namespace {

constexpr const wchar_t* kForm = LR"(object SharedForm: TForm
  Left = 60
  Top = 40
  Width = 420
  Height = 300
  Caption = 'Geteilt'
  object mnMantle1: TmnMantle
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

void Pump() {
    MSG msg;
    for (int i = 0; i < 2000 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) Application()->DispatchOne(msg);
}

struct Window {
    std::unique_ptr<TForm> form;
    TmnMantle* mantle = nullptr;
    TmnSkinData* skin = nullptr;

    Window() {
        static const bool registered = [] {
            Application()->Initialize();
            TmnSkinData::Register();
            TmnCompressedStoredSkin::Register();
            TmnMantle::Register();
            return true;
        }();
        (void)registered;
        form = std::make_unique<TForm>(nullptr);
        form->LoadFromText(kForm);
        mantle = TmnMantle::Of(form.get());
        skin = dynamic_cast<TmnSkinData*>(form->FindComponent(L"mnSkinData1"));
        form->Show();
        Pump();
    }
    // The frame painted into a bitmap of the window's size, as rows of 0xRRGGBB.
    std::vector<uint32_t> Frame(int& width) const {
        RECT r;
        ::GetWindowRect(form->Handle(), &r);
        width = r.right - r.left;
        TBitmap shot(width, r.bottom - r.top);
        ::SendMessageW(form->Handle(), MSG_PAINT_FRAME, reinterpret_cast<WPARAM>(shot.Canvas().Handle()),
                       MSG_PAINT_FRAME_MAGIC);
        std::vector<uint32_t> pixels;
        for (int y = 0; y < r.bottom - r.top; ++y)
            for (int x = 0; x < width; ++x) {
                const uint8_t* p = shot.ScanLine(y) + 3 * x;
                pixels.push_back((uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0]);
            }
        return pixels;
    }
    TSkinRect CloseButton() const {
        for (int i = 0; i < mantle->ObjectList().Count(); ++i)
            if (mantle->ObjectList()[i].IDName == L"closebutton") return mantle->ObjectList()[i].ObjectRect;
        return {};
    }
    int ClientLeft() const {
        RECT wr;
        ::GetWindowRect(form->Handle(), &wr);
        POINT o{0, 0};
        ::ClientToScreen(form->Handle(), &o);
        return o.x - wr.left;
    }
};

TEST(SharedSkin, TwoWindowsShareOneDecodedSkinAndEitherDrawsOnWithoutTheOther) {
    auto first = std::make_unique<Window>();
    Window second;
    ASSERT_TRUE(first->mantle->Skinned() && second.mantle->Skinned());
    EXPECT_EQ(first->skin->DecodedSkin(), second.skin->DecodedSkin());
    EXPECT_EQ(&first->skin->Picture(), &second.skin->Picture());

    int width = 0;
    const std::vector<uint32_t> before = second.Frame(width);
    // The frame's top-left corner is the skin picture's.
    const TBitmapData& picture = second.skin->Picture();
    EXPECT_EQ(before[size_t(8) * width + 8], picture.Pixel(8, 8) & 0xFFFFFF);

    first.reset();
    Pump();
    ASSERT_TRUE(second.mantle->Skinned());
    EXPECT_EQ(second.Frame(width), before);
}

TEST(SharedSkin, ADpiChangeReachesItsOwnWindowsFrameOnly) {
    Window a, b;
    const int left = b.ClientLeft();
    ASSERT_EQ(left, b.skin->ClientRect.Left);
    const TSkinRect close = b.CloseButton();
    ASSERT_FALSE(close.IsEmpty());
    a.skin->SetDpi(192);
    Pump();
    EXPECT_EQ(a.skin->Dpi(), 192);
    EXPECT_NE(a.skin->DecodedSkin(), b.skin->DecodedSkin());
    EXPECT_EQ(a.skin->ClientRect.Left, 2 * left);
    EXPECT_EQ(a.ClientLeft(), 2 * left);  // the mantle re-read its frame from the changed skin
    EXPECT_EQ(b.ClientLeft(), left);
    // The caption buttons were laid out again from the changed skin: twice as large.
    EXPECT_EQ(a.CloseButton().Width(), 2 * close.Width());
    EXPECT_EQ(a.CloseButton().Height(), 2 * close.Height());
    EXPECT_EQ(b.CloseButton(), close);
    EXPECT_EQ(b.skin->Dpi(), 96);
}

// What a window derives for its size (the mask strips of its region, the frame's side images,
// the bitmaps of the skin's pictures) is made once per skin: a second window of the same size
// takes it from the shared skin, another size makes its own, and a skin change starts afresh.
TEST(SharedSkin, ASecondWindowOfTheSameSizeTakesItsFrameFromTheSharedSkin) {
    auto strips = [](const TmnSkinData& s) { return s.SharedCache()->Count<const TmnMaskStripImage, TImagePlan>(); };
    auto bitmaps = [](const TmnSkinData& s) { return s.SharedCache()->Count<TBitmap, const TBitmapData*>(); };
    Window a;
    TmnSkinCache* cache = a.skin->SharedCache();
    ASSERT_NE(cache, nullptr);
    int width = 0;
    a.Frame(width);
    const size_t stripsOfOne = strips(*a.skin), bitmapsOfOne = bitmaps(*a.skin), hits = cache->Hits();
    EXPECT_EQ(stripsOfOne, 4u);
    EXPECT_GE(bitmapsOfOne, 2u);  // at least the frame picture and the mask

    Window b;
    ASSERT_EQ(b.skin->SharedCache(), cache);
    b.Frame(width);
    const std::vector<uint32_t> frameOfA = a.Frame(width);
    EXPECT_EQ(strips(*b.skin), stripsOfOne);
    EXPECT_EQ(bitmaps(*b.skin), bitmapsOfOne);
    EXPECT_GE(cache->Hits(), hits + 4 + 2);  // four strips, two side images at least
    HRGN ra = ::CreateRectRgn(0, 0, 0, 0), rb = ::CreateRectRgn(0, 0, 0, 0);
    ::GetWindowRgn(a.form->Handle(), ra);
    ::GetWindowRgn(b.form->Handle(), rb);
    EXPECT_TRUE(::EqualRgn(ra, rb));

    // Another width: new top and bottom strips, the sides still shared.
    ::SetWindowPos(b.form->Handle(), nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    EXPECT_EQ(strips(*b.skin), stripsOfOne + 2);

    // A skin change (another scale) leaves the old cache to the window that still shows it.
    b.skin->SetDpi(144);
    Pump();
    ASSERT_NE(b.skin->SharedCache(), nullptr);
    EXPECT_NE(b.skin->SharedCache(), cache);
    EXPECT_EQ(strips(*b.skin), 4u);
    EXPECT_EQ(a.skin->SharedCache(), cache);
    EXPECT_EQ(a.Frame(width), frameOfA);
    ::DeleteObject(ra);
    ::DeleteObject(rb);
}

}  // namespace
}  // namespace fn
