// The default skin "Fennick": the committed folder is what skinart draws, it loads into a skin
// data manager with every record the windows, menus and controls look up, every rectangle and
// picture index is valid, its text is readable, it packs small, and its previews render.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "skin/data/skin_data.h"
#include "skin/data/stored_skin.h"
#include "tools/skinart/fennick_art.h"
#include "tools/skinpreview/render_all.h"
#include "tools/skinpreview/scenes.h"

namespace fn {
namespace {

namespace fs = std::filesystem;

fs::path SkinFolder() {
    const char* root = std::getenv("FN_SOURCE_DIR");
    return fs::path(root ? root : ".") / "skins" / "fennick";
}

std::vector<uint8_t> FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The manager loaded from the committed folder, the way the program's stored skin is built.
class FennickSkin : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        stored_ = new TmnCompressedStoredSkin(nullptr);
        stored_->LoadFromSkinFile(Utf8ToWide((SkinFolder() / "skin.ini").string()));
        skin_ = new TmnSkinData(nullptr);
        skin_->LoadFromCompressedStoredSkin(*stored_);
    }
    static void TearDownTestSuite() {
        delete skin_;
        delete stored_;
    }

    template <class T>
    static const T* Object(const wchar_t* name) {
        const int i = skin_->GetObjectIndex(name);
        return i < 0 ? nullptr : dynamic_cast<const T*>(skin_->SkinObjects()[i].get());
    }
    template <class T>
    static const T* Control(const wchar_t* name) {
        const int i = skin_->GetControlIndex(name);
        return i < 0 ? nullptr : dynamic_cast<const T*>(skin_->SkinControls()[i].get());
    }
    static const TBitmapData* Active(int index) { return skin_->ActivePicture(index); }

    static TmnCompressedStoredSkin* stored_;
    static TmnSkinData* skin_;
};
TmnCompressedStoredSkin* FennickSkin::stored_ = nullptr;
TmnSkinData* FennickSkin::skin_ = nullptr;

TEST(FennickArt, CommittedFolderIsExactlyWhatSkinartDraws) {
    const fs::path out = fs::temp_directory_path() / "fennick_art_test";
    fs::remove_all(out);
    fs::create_directories(out);
    const art::SkinArt drawn = art::DrawFennick();
    art::WriteSkinFolder(drawn, out.string());
    std::set<std::string> names{"skin.ini", drawn.picture.fileName, drawn.mask.fileName};
    for (const auto& p : drawn.activePictures) names.insert(p.fileName);
    for (const auto& name : names)
        EXPECT_TRUE(FileBytes(out / name) == FileBytes(SkinFolder() / name)) << name << " differs: rerun skinart";
    size_t committedBmps = 0;
    for (const auto& entry : fs::directory_iterator(SkinFolder()))
        if (entry.path().extension() == ".bmp") ++committedBmps;
    EXPECT_EQ(committedBmps + 1, names.size()) << "a stale picture lies in skins/fennick";
    fs::remove_all(out);
}

TEST(FennickArt, ContrastRatioMatchesKnownValues) {
    EXPECT_NEAR(art::ContrastRatio({0, 0, 0}, {255, 255, 255}), 21.0, 1e-9);
    EXPECT_NEAR(art::ContrastRatio({255, 255, 255}, {255, 255, 255}), 1.0, 1e-9);
    EXPECT_NEAR(art::ContrastRatio({118, 118, 118}, {255, 255, 255}), 4.54, 0.01);
}

TEST_F(FennickSkin, LoadsWithIdentityAndEveryPicture) {
    ASSERT_FALSE(skin_->Empty());
    EXPECT_FALSE(skin_->SkinLoading());
    EXPECT_EQ(skin_->SkinName(), L"Fennick");
    EXPECT_EQ(skin_->SkinAuthor(), L"Fennick Notizen");
    EXPECT_FALSE(skin_->Picture().Empty());
    EXPECT_TRUE(skin_->InactivePicture().Empty());
    ASSERT_FALSE(skin_->Mask().Empty());
    EXPECT_EQ(skin_->Mask().Width, skin_->Picture().Width);
    EXPECT_EQ(skin_->Mask().Height, skin_->Picture().Height);
    EXPECT_EQ(skin_->ActivePictures().size(), skin_->ActivePictureNames().size());
    for (const auto& bmp : skin_->ActivePictures()) EXPECT_FALSE(bmp.Empty());
}

TEST_F(FennickSkin, FrameHasRoundedTopCornersAndAnInactiveEffect) {
    const TBitmapData& mask = skin_->Mask();
    auto inside = [&](int x, int y) { return (mask.Pixel(x, y) & 0xFFFFFF) == 0; };
    const int w = mask.Width, h = mask.Height;
    EXPECT_FALSE(inside(0, 0));
    EXPECT_FALSE(inside(w - 1, 0));
    EXPECT_TRUE(inside(w / 2, 0));
    EXPECT_TRUE(inside(0, h - 1));       // square bottom corners
    EXPECT_TRUE(inside(w - 1, h - 1));
    EXPECT_TRUE(skin_->AutoRenderingInactiveImage);
    EXPECT_EQ(skin_->InactiveEffect, ieGrayScale);
    EXPECT_FALSE(skin_->ButtonsRect.IsEmpty());
    EXPECT_FALSE(skin_->CaptionRect.IsEmpty());
    // The button strip must follow the right edge when the window grows.
    EXPECT_GT(skin_->ButtonsRect.Left, skin_->Picture().Width / 2);
    for (TSkinPoint p : {skin_->HitTestLeftTopPoint, skin_->HitTestRightTopPoint, skin_->HitTestLeftBottomPoint,
                         skin_->HitTestRightBottomPoint})
        EXPECT_FALSE(p.IsUnset());
    EXPECT_GT(skin_->BorderWidth, 0);
    EXPECT_NE(Active(skin_->BgPictureIndex), nullptr);
    EXPECT_NE(Active(skin_->MDIBgPictureIndex), nullptr);
}

TEST_F(FennickSkin, CaptionButtonsCoverEveryCommandWithAllStates) {
    std::map<int, const TmnDataSkinStdButton*> byCommand;
    std::set<int> morphKinds;
    for (const auto& rec : skin_->SkinObjects()) {
        auto b = dynamic_cast<const TmnDataSkinStdButton*>(rec.get());
        if (!b || dynamic_cast<const TmnDataSkinMainMenuBarButton*>(b)) continue;
        byCommand[b->Command] = b;
        EXPECT_TRUE(b->SkinRectInAPicture) << WideToUtf8(b->SectionName);
        EXPECT_NE(Active(b->ActivePictureIndex), nullptr);
        for (const TSkinRect& r : {b->SkinRect, b->ActiveSkinRect, b->DownRect, b->InactiveSkinRect})
            EXPECT_FALSE(r.IsEmpty()) << WideToUtf8(b->SectionName);
        EXPECT_TRUE(b->Morphing);
        morphKinds.insert(b->MorphKind);
        // The states must look different, or hover and press are invisible.
        EXPECT_FALSE(b->SkinRect == b->ActiveSkinRect);
        EXPECT_FALSE(b->ActiveSkinRect == b->DownRect);
    }
    for (int command : {cmClose, cmMaximize, cmMinimize, cmSysMenu, cmRollUp, cmMinimizeToTray})
        EXPECT_TRUE(byCommand.count(command)) << "no caption button for command " << command;
    EXPECT_GE(morphKinds.size(), 2u);
    for (int command : {cmMaximize, cmMinimize, cmRollUp}) {
        const auto* b = byCommand[command];
        ASSERT_NE(b, nullptr);
        for (const TSkinRect& r : {b->RestoreRect, b->RestoreActiveRect, b->RestoreDownRect, b->RestoreInactiveRect})
            EXPECT_FALSE(r.IsEmpty()) << "restore images of command " << command;
    }
}

TEST_F(FennickSkin, MenusHintsAndControlsHaveTheirRecords) {
    const auto* caption = Object<TmnDataSkinCaption>(L"caption1");
    ASSERT_NE(caption, nullptr);
    EXPECT_FALSE(caption->TextRect.IsEmpty());
    EXPECT_TRUE(caption->Shadow || caption->Light);

    const auto* item = Object<TmnDataSkinMenuItem>(L"MENUITEM");
    ASSERT_NE(item, nullptr);
    for (const TSkinRect& r : {item->SkinRect, item->ActiveSkinRect, item->DividerRect, item->TextRect, item->ImageRect})
        EXPECT_FALSE(r.IsEmpty());

    const auto* bar = Control<TmnDataSkinMainMenuBar>(L"mainmenubar");
    ASSERT_NE(bar, nullptr);
    EXPECT_NE(Object<TmnDataSkinMainMenuBarItem>(bar->MenuBarItem.c_str()), nullptr);
    const std::pair<const String*, int> buttons[] = {
        {&bar->CloseButton, cmClose}, {&bar->MinButton, cmMinimize}, {&bar->MaxButton, cmMaximize},
        {&bar->SysMenuButton, cmSysMenu}};
    for (const auto& [name, command] : buttons) {
        const auto* b = Object<TmnDataSkinMainMenuBarButton>(name->c_str());
        ASSERT_NE(b, nullptr) << WideToUtf8(*name);
        EXPECT_EQ(b->Command, command);
        EXPECT_FALSE(b->DownRect.IsEmpty());
    }

    EXPECT_NE(Active(skin_->PopupWindow().WindowPictureIndex), nullptr);
    EXPECT_NE(Active(skin_->PopupWindow().MaskPictureIndex), nullptr);
    EXPECT_NE(Active(skin_->HintWindow().WindowPictureIndex), nullptr);

    const auto* panel = Control<TmnDataSkinPanelControl>(L"panel");
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(panel->CheckImageRect.IsEmpty());
    EXPECT_FALSE(panel->UnCheckImageRect.IsEmpty());
    const auto* status = Control<TmnDataSkinPanelControl>(L"statusbar");
    ASSERT_NE(status, nullptr);
    EXPECT_FALSE(status->GripperRect.IsEmpty());
    EXPECT_NE(Control<TmnDataSkinUpDownControl>(L"hupdown"), nullptr);
    EXPECT_NE(Control<TmnDataSkinUpDownControl>(L"vupdown"), nullptr);
    const auto* tab = Control<TmnDataSkinTabControl>(L"tab");
    ASSERT_NE(tab, nullptr);
    EXPECT_NE(Control<TmnDataSkinUpDownControl>(tab->UpDown.c_str()), nullptr);
    EXPECT_NE(Control<TmnDataSkinRichEdit>(L"richedit"), nullptr);
    EXPECT_NE(Control<TmnDataSkinButtonControl>(L"resizebutton"), nullptr);
    EXPECT_NE(Control<TmnDataSkinStdLabelControl>(L"stdlabel"), nullptr);
}

// Collects every rectangle and point a record holds, with its key.
class GeometryCollector : public TSkinFieldVisitor {
public:
    std::vector<std::pair<std::wstring, TSkinRect>> rects;
    std::vector<std::pair<std::wstring, TSkinPoint>> points;
    std::vector<std::pair<std::wstring, int>> indexes;
    void Integer(std::wstring_view key, int& value, int def) override {
        if (def == -1) indexes.emplace_back(std::wstring(key), value);
    }
    void Colour(std::wstring_view, TColor&, TColor) override {}
    void Bool(std::wstring_view, bool&) override {}
    void Text(std::wstring_view, String&, std::wstring_view) override {}
    void Rect(std::wstring_view key, TSkinRect& value) override { rects.emplace_back(std::wstring(key), value); }
    void Point(std::wstring_view key, TSkinPoint& value) override { points.emplace_back(std::wstring(key), value); }
    void FontStyles(std::wstring_view, TFontStyles&) override {}
    void Alignment(std::wstring_view, TAlignment&) override {}
    void InactiveEffect(std::wstring_view, TInactiveEffect&) override {}
    void MorphKind(std::wstring_view, TMorphKind&) override {}
    void StretchType(std::wstring_view, TStretchType&) override {}
    void ButtonCommand(std::wstring_view, TButtonCommand&) override {}
};

// Keys whose rectangles lie inside the record's own image rather than in its picture.
bool RelativeKey(const std::wstring& key) {
    static const std::set<std::wstring> keys = {L"textrect", L"imagerect", L"itemsrect", L"clientrect",
                                                L"captionrect", L"frametextrect", L"checkimagearea", L"textarea"};
    return keys.count(key) > 0;
}

bool Inside(const TSkinRect& r, int w, int h) {
    return r.Left >= 0 && r.Top >= 0 && r.Right <= w && r.Bottom <= h;
}

TEST_F(FennickSkin, EveryRectangleLiesInsideItsPictureAndEveryIndexIsInRange) {
    const int count = int(skin_->ActivePictures().size());
    // mainSkinRect: the record's "skinrect" lies in the main frame picture, not in its own.
    auto check = [&](TmnSkinRecord& record, const TBitmapData* picture, const TSkinRect& own, bool mainSkinRect) {
        GeometryCollector c;
        record.VisitFields(c);
        const std::string name = WideToUtf8(record.SectionName);
        for (const auto& [key, index] : c.indexes)
            EXPECT_TRUE(index == -1 || (index >= 0 && index < count)) << name << " " << WideToUtf8(key);
        for (const auto& [key, r] : c.rects) {
            if (r.IsEmpty()) continue;
            const TBitmapData* in = mainSkinRect && key == L"skinrect" ? &skin_->Picture() : picture;
            const bool relative = RelativeKey(key);
            ASSERT_TRUE(relative || in) << name << " " << WideToUtf8(key) << " has no picture";
            const int w = relative ? own.Width() : in->Width, h = relative ? own.Height() : in->Height;
            EXPECT_TRUE(Inside(r, w, h)) << name << " " << WideToUtf8(key) << " = " << WideToUtf8(RectToText(r));
        }
        for (const auto& [key, p] : c.points)
            EXPECT_TRUE(p.X >= 0 && p.Y >= 0 && p.X <= own.Width() && p.Y <= own.Height())
                << name << " " << WideToUtf8(key);
    };
    for (const auto& rec : skin_->SkinObjects()) {
        const bool inMain = !rec->SkinRectInAPicture && !dynamic_cast<const TmnDataSkinMenuItem*>(rec.get()) &&
                            !dynamic_cast<const TmnDataSkinMainMenuItem*>(rec.get());
        check(*rec, Active(rec->ActivePictureIndex), rec->SkinRect, inMain);
    }
    for (const auto& rec : skin_->SkinControls()) check(*rec, Active(rec->PictureIndex), rec->SkinRect, false);

    const TBitmapData& frame = skin_->Picture();
    for (const TSkinRect& r : {skin_->ClientRect, skin_->MaskRectArea, skin_->ButtonsRect, skin_->CaptionRect})
        EXPECT_TRUE(Inside(r, frame.Width, frame.Height)) << WideToUtf8(RectToText(r));
    const TmnDataSkinPopupWindow& popup = skin_->PopupWindow();
    const TBitmapData* popupPicture = Active(popup.WindowPictureIndex);
    ASSERT_NE(popupPicture, nullptr);
    EXPECT_TRUE(Inside(popup.ItemsRect, popupPicture->Width, popupPicture->Height));
    EXPECT_EQ(Active(popup.MaskPictureIndex)->Width, popupPicture->Width);
    const TmnDataSkinHintWindow& hint = skin_->HintWindow();
    const TBitmapData* hintPicture = Active(hint.WindowPictureIndex);
    ASSERT_NE(hintPicture, nullptr);
    EXPECT_TRUE(Inside(hint.ClientRect, hintPicture->Width, hintPicture->Height));
}

// Lowest contrast of a text colour against the pixels of a picture rectangle.
double WorstContrast(TColor text, const TBitmapData& picture, const TSkinRect& r, bool grey = false) {
    auto rgb = [&](uint32_t px) {
        art::Rgb c{uint8_t(px >> 16), uint8_t(px >> 8), uint8_t(px)};
        return grey ? art::Grey(c) : c;
    };
    const art::Rgb t = rgb(ColorToPixel(text));
    double worst = 21;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) worst = std::min(worst, art::ContrastRatio(t, rgb(picture.Pixel(x, y))));
    return worst;
}

TEST_F(FennickSkin, CaptionAndMenuTextReachContrastOfFourAndAHalf) {
    const auto* caption = Object<TmnDataSkinCaption>(L"caption1");
    ASSERT_NE(caption, nullptr);
    // The caption band behind the text, active as drawn and inactive after the grey effect.
    const TSkinRect band{caption->SkinRect.Left + caption->TextRect.Left, caption->SkinRect.Top + caption->TextRect.Top + 2,
                         caption->SkinRect.Right, caption->SkinRect.Top + caption->TextRect.Bottom - 2};
    EXPECT_GE(WorstContrast(caption->ActiveFontColor, skin_->Picture(), band), 4.5);
    EXPECT_GE(WorstContrast(caption->FontColor, skin_->Picture(), band, true), 4.5);

    const auto* item = Object<TmnDataSkinMenuItem>(L"MENUITEM");
    const TBitmapData& items = *Active(item->ActivePictureIndex);
    auto inner = [](TSkinRect r) { return TSkinRect{r.Left + 4, r.Top + 4, r.Right - 4, r.Bottom - 4}; };
    EXPECT_GE(WorstContrast(item->FontColor, items, inner(item->SkinRect)), 4.5);
    EXPECT_GE(WorstContrast(item->ActiveFontColor, items, inner(item->ActiveSkinRect)), 4.5);

    const auto* bar = Control<TmnDataSkinMainMenuBar>(L"mainmenubar");
    const auto* barItem = Object<TmnDataSkinMainMenuBarItem>(bar->MenuBarItem.c_str());
    const TBitmapData& barPicture = *Active(barItem->ActivePictureIndex);
    EXPECT_GE(WorstContrast(barItem->FontColor, barPicture, inner(barItem->SkinRect)), 4.5);
    EXPECT_GE(WorstContrast(barItem->ActiveFontColor, barPicture, inner(barItem->ActiveSkinRect)), 4.5);
    EXPECT_GE(WorstContrast(barItem->DownFontColor, barPicture, inner(barItem->DownRect)), 4.5);

    const TmnDataSkinHintWindow& hint = skin_->HintWindow();
    EXPECT_GE(WorstContrast(hint.FontColor, *Active(hint.WindowPictureIndex), hint.ClientRect), 4.5);
}

TEST_F(FennickSkin, PacksUnder64KilobytesAtLevelNine) {
    const TMemoryStream& data = stored_->CompressedStream();
    EXPECT_LT(data.Bytes().size(), 64u * 1024u);
    ASSERT_GE(data.Bytes().size(), 2u);
    EXPECT_EQ(data.Bytes()[0], 0x78);
    EXPECT_EQ(data.Bytes()[1], 0xDA);  // level 9
}

TEST(FennickPack, SkinpackChecksTheFolderAndPacksTheSameData) {
    const char* skinpack = std::getenv("FN_SKINPACK");
    ASSERT_NE(skinpack, nullptr) << "FN_SKINPACK names the host skinpack";
    const std::string folder = SkinFolder().string();
    EXPECT_EQ(std::system((std::string(skinpack) + " --check '" + folder + "'").c_str()), 0);

    const char* packed = std::getenv("FN_FENNICK_SKIN_DATA");
    ASSERT_NE(packed, nullptr);
    TmnCompressedStoredSkin stored(nullptr);
    stored.LoadFromSkinFile(Utf8ToWide(folder + "/skin.ini"));
    EXPECT_TRUE(FileBytes(packed) == stored.CompressedStream().Bytes()) << "the build's packed skin is stale";
}

TEST(FennickPreview, RendersEveryPictureWithTheWindowShape) {
    const fs::path out = fs::temp_directory_path() / "fennick_preview_test";
    fs::remove_all(out);
    const auto written = preview::RenderPreviews(SkinFolder().string(), out.string());
    EXPECT_GE(written.size(), 12u);
    for (const auto& file : written) {
        ASSERT_TRUE(fs::exists(file)) << file;
        const auto bytes = FileBytes(file);
        ASSERT_GT(bytes.size(), 8u);
        EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 4), "PNG");
    }
    fs::remove_all(out);
}

TEST(FennickPreview, ABrokenOrBareSkinGivesAnErrorOrPlainPicturesNotACrash) {
    const fs::path out = fs::temp_directory_path() / "fennick_preview_bad";
    fs::remove_all(out);
    EXPECT_THROW(preview::RenderPreviews((out / "missing").string(), out.string()), Exception);
    fs::create_directories(out / "garbage");
    {
        std::ofstream f(out / "garbage.skin", std::ios::binary);
        f << "not a compressed skin at all";
    }
    EXPECT_ANY_THROW(preview::RenderPreviews((out / "garbage.skin").string(), (out / "p").string()));
    // A description with no pictures at all still renders every picture, all of them plain.
    fs::create_directories(out / "bare");
    {
        std::ofstream f(out / "bare" / "skin.ini", std::ios::binary);
        f << "[VERSION]\r\nskinname=Leer\r\n[PICTURES]\r\npicture=\r\n[FORMINFO]\r\n"
             "[SKINOBJECTS]\r\ncount=1\r\n0=cap:caption\r\n[SKINCONTROLS]\r\ncount=0\r\n";
    }
    EXPECT_NO_THROW(preview::RenderPreviews((out / "bare").string(), (out / "p").string()));
    fs::remove_all(out);
}

// The PNG writer: chunks with correct lengths and CRCs, and rows that inflate to the pixels.
TEST(FennickPreview, PngHoldsThePixelsWithValidChunks) {
    preview::Image img(3, 2);
    preview::Fill(img, {0, 0, 3, 2}, {10, 20, 30});
    preview::Fill(img, {1, 1, 2, 2}, {200, 100, 50});
    const fs::path file = fs::temp_directory_path() / "fennick_png_test.png";
    preview::WritePng(img, file.string());
    const auto png = FileBytes(file);
    fs::remove(file);
    ASSERT_GT(png.size(), 8u);
    auto u32 = [&](size_t at) {
        return uint32_t(png[at]) << 24 | uint32_t(png[at + 1]) << 16 | uint32_t(png[at + 2]) << 8 | png[at + 3];
    };
    std::vector<uint8_t> idat;
    std::vector<std::string> types;
    for (size_t at = 8; at + 12 <= png.size();) {
        const uint32_t length = u32(at);
        ASSERT_LE(at + 12 + length, png.size());
        types.emplace_back(png.begin() + at + 4, png.begin() + at + 8);
        EXPECT_EQ(u32(at + 8 + length), uint32_t(crc32(0, png.data() + at + 4, uInt(length + 4)))) << types.back();
        if (types.back() == "IHDR") {
            EXPECT_EQ(u32(at + 8), 3u);
            EXPECT_EQ(u32(at + 12), 2u);
        }
        if (types.back() == "IDAT") idat.insert(idat.end(), png.begin() + at + 8, png.begin() + at + 8 + length);
        at += 12 + length;
    }
    EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    std::vector<uint8_t> rows(2 * (1 + 3 * 3));
    uLongf size = uLongf(rows.size());
    ASSERT_EQ(uncompress(rows.data(), &size, idat.data(), uLong(idat.size())), Z_OK);
    EXPECT_EQ(size, rows.size());
    const std::vector<uint8_t> expected = {0, 10, 20, 30, 10, 20, 30, 10, 20, 30,
                                           0, 10, 20, 30, 200, 100, 50, 10, 20, 30};
    EXPECT_EQ(rows, expected);
}

// Pixels of the painted frame: the shape, the buttons' states and the inactive look.
TEST_F(FennickSkin, PaintedFrameShowsButtonStatesAndAGreyInactiveWindow) {
    preview::TextRenderer text;
    preview::SkinPreview painter(*skin_, text);
    auto at = [](const preview::Image& img, int x, int y) {
        const uint8_t* p = img.PixelPointer(x, y);
        return preview::Colour{p[2], p[1], p[0]};
    };
    auto same = [](preview::Colour a, preview::Colour b) { return a.r == b.r && a.g == b.g && a.b == b.b; };
    preview::FrameState state;
    state.width = 500, state.height = 300;
    const preview::Image normal = painter.Frame(state);
    state.look = preview::ButtonLook::Hover;
    const preview::Image hover = painter.Frame(state);
    state.look = preview::ButtonLook::Pressed;
    const preview::Image pressed = painter.Frame(state);
    state.look = preview::ButtonLook::Normal;
    state.active = false;
    const preview::Image inactive = painter.Frame(state);

    // Rounded top corners are cut away; the bottom corners are not.
    EXPECT_TRUE(same(at(normal, 0, 0), preview::SkinPreview::Backdrop));
    EXPECT_TRUE(same(at(normal, 499, 0), preview::SkinPreview::Backdrop));
    EXPECT_FALSE(same(at(normal, 0, 299), preview::SkinPreview::Backdrop));
    // The close button sits at the right end of the grown window: hover and press change it.
    const TSkinRect strip = skin_->ButtonsRect;
    const int cx = strip.Right + (500 - skin_->Picture().Width) - 3, cy = strip.Top + 3;
    EXPECT_FALSE(same(at(normal, cx, cy), at(hover, cx, cy)));
    EXPECT_FALSE(same(at(hover, cx, cy), at(pressed, cx, cy)));
    // The caption band is coloured while active and grey while inactive.
    const preview::Colour active = at(normal, 250, 20), grey = at(inactive, 250, 20);
    EXPECT_GT(active.b, active.r + 20);
    EXPECT_TRUE(grey.r == grey.g && grey.g == grey.b);
}

}  // namespace
}  // namespace fn
