// The skin objects drawn by GDI into memory bitmaps: every state of the buttons, morphs,
// animation frames, the caption text and frame, the inactive effect, the built-in buttons; the
// window timers; and the cross-check against the pictures of tools/skinpreview.
#include <gtest/gtest.h>

#include <cstdlib>

#include "skin/data/stored_skin.h"
#include "skin/form/object_painter_win.h"
#include "skin/form/object_timers_win.h"
#include "skin/paint/effects.h"
#include "tests/skin/form/form_test_support.h"

using namespace fn;
using namespace fn::test;

namespace {

uint32_t Pixel(TBitmap& b, int x, int y) {
    const uint8_t* p = b.ScanLine(y) + 3 * x;
    return (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
}

// Every pixel of r in b has the colour.
::testing::AssertionResult Filled(TBitmap& b, const TSkinRect& r, uint32_t colour) {
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (Pixel(b, x, y) != colour)
                return ::testing::AssertionFailure()
                       << "pixel " << x << "," << y << " is " << std::hex << Pixel(b, x, y) << ", not " << colour;
    return ::testing::AssertionSuccess();
}

class ObjectPainterTest : public ::testing::Test {
protected:
    void SetUp() override {
        owner.skin = LoadSkin(component, TestArchive(TestDescription()));
        list.Rebuild();
        const TmnSkinData& s = *owner.skin;
        list.Layout({s.LeftTopPoint, s.RightTopPoint, s.LeftBottomPoint, s.RightBottomPoint, 200, 60}, 200, 60);
        Clear();
    }
    void Clear(uint32_t colour = 0xFFFFFF) {
        target.Canvas().Brush().SetColor(PixelToColor(colour));
        target.Canvas().FillRect({0, 0, target.Width(), target.Height()});
    }
    void Draw(TmnActiveSkinObject& o, bool direct = true) {
        TmnGdiObjectPainter painter(target.Canvas(), pictures);
        o.Draw(painter, direct);
    }
    template <class T>
    T& Get(const wchar_t* name) {
        for (int i = 0; i < list.Count(); ++i)
            if (list[i].IDName == name) return dynamic_cast<T&>(list[i]);
        throw std::runtime_error("no such object");
    }

    TComponent component{nullptr};
    TestOwner owner;
    TmnSkinObjectList list{owner};
    TmnSkinPictures pictures;
    TBitmap target{200, 60};
};

}  // namespace

TEST_F(ObjectPainterTest, ButtonStatesDrawTheirCellsAndTheMorphBlendsThem) {
    auto& close = Get<TmnSkinStdButtonObject>(L"closebutton");
    const TSkinRect at = close.ObjectRect;
    Draw(close, false);  // normal, full frame paint: the frame already shows it
    EXPECT_TRUE(Filled(target, at, 0xFFFFFF));
    Draw(close, true);
    EXPECT_TRUE(Filled(target, at, MainColour));

    list.TrackMouse(at.Left, at.Top, true);
    close.MorphFactor = 1;
    Draw(close);
    EXPECT_TRUE(Filled(target, at, CellColour(0, 1)));
    list.MouseDown(at.Left, at.Top, 0);
    Draw(close);
    EXPECT_TRUE(Filled(target, at, CellColour(0, 2)));
    list.MouseUp(at.Left, at.Top, 0);
    owner.active = false;
    Draw(close);
    EXPECT_TRUE(Filled(target, at, CellColour(0, 3)));
    owner.active = true;
    close.Enabled = false;
    Draw(close);
    EXPECT_TRUE(Filled(target, at, CellColour(0, 4)));
    close.Enabled = true;

    // Half way: every channel between the two images (blend of grey and the hover cell).
    close.MorphFactor = 0.4;
    Clear();
    Draw(close);
    TmnEffectBmp a(1, 1), b(1, 1);
    a.SetPixel(0, 0, {0x80, 0x80, 0x80});
    const uint32_t hover = CellColour(0, 1);
    b.SetPixel(0, 0, {uint8_t(hover), uint8_t(hover >> 8), uint8_t(hover >> 16)});
    a.MorphBlend(b, 0.4);
    const TPixel24 mid = a.GetPixel(0, 0);
    EXPECT_TRUE(Filled(target, at, (uint32_t(mid.R) << 16) | (uint32_t(mid.G) << 8) | mid.B));

    // The maximise button while maximised: restore images.
    auto& max = Get<TmnSkinStdButtonObject>(L"maxbutton");
    owner.state = swsMaximized;
    Draw(max);
    EXPECT_TRUE(Filled(target, max.ObjectRect, CellColour(2, 0)));
    owner.active = false;
    Draw(max);
    EXPECT_TRUE(Filled(target, max.ObjectRect, CellColour(2, 3)));
}

TEST_F(ObjectPainterTest, AnimationFramesAndTheBuiltInButtons) {
    auto& logo = Get<TmnSkinAnimateObject>(L"logo");
    logo.ObjectRect = {60, 30, 80, 50};
    for (int k = 1; k <= 4; ++k) {
        logo.CurrentFrame = k;
        Draw(logo);
        EXPECT_TRUE(Filled(target, logo.ObjectRect, FrameColour(k))) << k;
    }
    logo.MouseIn = logo.Pressed = true;
    Draw(logo);
    EXPECT_TRUE(Filled(target, logo.ObjectRect, AnimDownColour));

    list.CreateUnskinned();
    auto& close = dynamic_cast<TmnSkinStdButtonObject&>(list[0]);
    close.ObjectRect = {100, 10, 120, 28};
    Clear(0);
    Draw(close);
    EXPECT_EQ(Pixel(target, 101, 11), ColorToPixel(ColorToColorRef(clBtnFace)));
    close.MouseIn = true;
    Draw(close);
    EXPECT_EQ(Pixel(target, 100, 10), ColorToPixel(TmnGdiObjectPainter::PlainFrameColor));
    EXPECT_EQ(Pixel(target, 101, 11), ColorToPixel(TmnGdiObjectPainter::PlainHoverFill));
    close.Down = true;
    Draw(close);
    EXPECT_EQ(Pixel(target, 101, 11), ColorToPixel(TmnGdiObjectPainter::PlainPressedFill));
    // The close glyph in the button text colour somewhere inside.
    int glyph = 0;
    for (int y = 11; y < 27; ++y)
        for (int x = 101; x < 119; ++x) glyph += Pixel(target, x, y) == ColorToPixel(ColorToColorRef(clBtnText));
    EXPECT_GT(glyph, 4);
}

TEST_F(ObjectPainterTest, CaptionTextFitsBeforeTheButtonsWithItsShadowAndTheInactiveEffect) {
    const std::wstring body = L"activepictureindex=0\nskinrect=16,2,160,28\ntextrect=4,2,140,24\n"
                              L"alignment=taleftjustify\nfontname=Tahoma\nfontheight=14\nfontcolor=255\n"
                              L"activefontcolor=65280\nshadow=1\nshadowcolor=16711680\nactiveshadowcolor=16711680\n"
                              L"activeskinrect=0,0,72,26\nstretcheffect=1\n";
    std::wstring d = Replace(TestDescription(), L"caption1", body);
    d = Replace(d, L"FORMINFO",
                L"lefttoppoint=20,30\nrighttoppoint=150,30\nleftbottompoint=20,50\nrightbottompoint=150,50\n"
                L"clientrect=4,30,196,56\nautorenderinginactiveimage=1\ninactiveeffect=iegrayscale\n");
    owner.skin = LoadSkin(component, TestArchive(d));
    list.Rebuild();
    auto& caption = *list.FirstCaption();
    caption.ObjectRect = {16, 2, 100, 28};  // a narrow window: the text area is 76 pixels wide
    owner.caption = L"Fennick Notizen mit einem langen Titel";

    caption.Active = true;
    Draw(caption);
    TmnGdiObjectPainter measure(target.Canvas(), pictures);
    const auto layout = caption.LayoutText(measure, caption.CaptionText());
    ASSERT_GE(layout.Text.size(), 3u);
    EXPECT_EQ(layout.Text.substr(layout.Text.size() - 3), L"...");
    EXPECT_LE(layout.Width, layout.Area.Width());
    // Text pixels in the active colour and the shadow, all inside the text area (plus the
    // shadow's pixel); nothing of either right of it.
    int text = 0, shadow = 0;
    for (int y = 2; y < 28; ++y)
        for (int x = 16; x < 100; ++x) {
            const uint32_t p = Pixel(target, x, y);
            if (p == 0x00FF00 || p == 0x0000FF) {
                (p == 0x00FF00 ? text : shadow)++;
                EXPECT_LE(x, 16 + layout.Area.Right) << x;
            }
        }
    EXPECT_GT(text, 10);
    EXPECT_GT(shadow, 10);

    // Inactive with the skin's automatic inactive image: grayscale everywhere.
    caption.Active = false;
    owner.active = false;
    Clear();
    Draw(caption);
    int coloured = 0;
    for (int y = 2; y < 28; ++y)
        for (int x = 16; x < 100; ++x) {
            const uint32_t p = Pixel(target, x, y);
            coloured += !((p >> 16) == ((p >> 8) & 0xFF) && ((p >> 8) & 0xFF) == (p & 0xFF));
        }
    EXPECT_EQ(coloured, 0);
    // A caption narrower than nothing draws nothing and does not fail.
    caption.ObjectRect = {16, 2, 4, 28};
    Clear();
    Draw(caption);
    EXPECT_TRUE(Filled(target, {0, 0, 200, 60}, 0xFFFFFF));
}

TEST(ObjectTimers, StartStopAndEndWithTheirOwner) {
    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    {
        TmnObjectTimers timers(window);
        timers.Start(TmnObjectTimer::Morph);
        timers.Start(TmnObjectTimer::Animate);
        EXPECT_TRUE(timers.Running(TmnObjectTimer::Morph));
        EXPECT_FALSE(timers.Running(TmnObjectTimer::Mouse));
        EXPECT_EQ(TmnObjectTimers::FromId(TmnObjectTimers::AnimateTimerId), TmnObjectTimer::Animate);
        EXPECT_FALSE(TmnObjectTimers::FromId(1).has_value());
        timers.Stop(TmnObjectTimer::Morph);
        EXPECT_FALSE(timers.Running(TmnObjectTimer::Morph));
        EXPECT_FALSE(KillTimer(window, TmnObjectTimers::MorphTimerId));
    }
    // Gone with the owner: nothing left to kill.
    EXPECT_FALSE(KillTimer(window, TmnObjectTimers::AnimateTimerId));
    DestroyWindow(window);
}

TEST(ClientAreaAnimation, FollowsTheDesktopSetting) {
    BOOL before = TRUE;
    if (!SystemParametersInfoW(SPI_GETCLIENTAREAANIMATION, 0, &before, 0)) {
        EXPECT_TRUE(ClientAreaAnimationEnabled());  // unknown to the platform: animations stay on
        return;
    }
    EXPECT_EQ(ClientAreaAnimationEnabled(), before != FALSE);
    if (SystemParametersInfoW(SPI_SETCLIENTAREAANIMATION, 0, reinterpret_cast<void*>(INT_PTR(!before)), 0)) {
        EXPECT_EQ(ClientAreaAnimationEnabled(), before == FALSE);
        SystemParametersInfoW(SPI_SETCLIENTAREAANIMATION, 0, reinterpret_cast<void*>(INT_PTR(before)), 0);
    }
}

// The default skin's caption buttons, drawn by GDI, against the preview's pictures of the same
// buttons. Both copy the images 1:1 and morph with the same effects bitmap, so every pixel must
// match. Where they may differ: the caption text (FreeType in the preview, GDI here), which is
// why the caption is left out; pixels the preview's mask leaves to its backdrop, which are
// skipped; and the inactive look, which the preview renders as the frame painter does (the
// skin's inactive effect over the whole frame image) and which is applied here the same way.
TEST(PreviewCrossCheck, CaptionButtonsMatchThePreviewInEveryState) {
    const char* refs = std::getenv("FN_PREVIEW_REFS");
    const char* root = std::getenv("FN_SOURCE_DIR");
    ASSERT_NE(refs, nullptr) << "FN_PREVIEW_REFS names the folder of the preview's pictures";
    ASSERT_NE(root, nullptr);
    TComponent component(nullptr);
    TmnCompressedStoredSkin stored(&component);
    stored.LoadFromSkinFile(Utf8ToWide(root) + L"/skins/fennick/skin.ini");
    TestOwner owner;
    owner.skin = new TmnSkinData(&component);
    owner.skin->LoadFromCompressedStoredSkin(stored);
    TmnSkinObjectList list(owner);
    list.Rebuild();
    TmnSkinPictures pictures;
    const uint32_t backdrop = (96u << 16) | (110u << 8) | 126u;

    int compared = 0;
    for (int i = 0; i < list.Count(); ++i) {
        auto* button = dynamic_cast<TmnSkinStdButtonObject*>(&list[i]);
        if (!button || !button->SkinRectInAPicture) continue;
        for (const char* state : {"normal", "hover", "pressed", "inactive", "morph"}) {
            TBitmapData ref;
            const String file = Utf8ToWide(refs) + L"/" + button->IDName + L"_" + Utf8ToWide(state) + L".bmp";
            try {
                ref.LoadFromFile(file);
            } catch (const std::exception&) {
                ADD_FAILURE() << "missing " << WideToUtf8(file);
                continue;
            }
            const std::string s = state;
            button->ObjectRect = {0, 0, ref.Width, ref.Height};
            owner.active = s != "inactive";
            button->Active = button->MouseIn = s == "hover" || s == "pressed" || s == "morph";
            button->Down = s == "pressed";
            button->MorphFactor = s == "morph" ? 0.5 : button->Active ? 1 : 0;
            TBitmap mine(ref.Width, ref.Height);
            TmnGdiObjectPainter painter(mine.Canvas(), pictures);
            button->Draw(painter, true);
            if (s == "inactive" && owner.skin->AutoRenderingInactiveImage) {
                TmnEffectBmp e = TmnEffectBmp::CreateFromBitmap(mine.Handle());
                ApplyInactiveEffect(e, owner.skin->InactiveEffect);
                e.Draw(mine.Canvas().Handle(), 0, 0);
            }
            int differing = 0;
            for (int y = 0; y < ref.Height; ++y)
                for (int x = 0; x < ref.Width; ++x) {
                    const uint32_t want = ref.Pixel(x, y) & 0xFFFFFF;
                    if (want != backdrop && Pixel(mine, x, y) != want) ++differing;
                }
            EXPECT_EQ(differing, 0) << WideToUtf8(button->IDName) << " " << s;
            ++compared;
        }
    }
    EXPECT_GE(compared, 5 * 6);
}
