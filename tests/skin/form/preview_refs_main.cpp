// Writes what tools/skinpreview shows of the default skin's caption buttons, one BMP per button
// and state, for the Windows test that draws the same buttons with GDI and compares the pixels.
//   skin_form_preview_refs <skin folder> <output folder>
// Files: <button>_<state>.bmp for the states normal, hover, pressed and inactive (cut from the
// preview's frame at the button's place) and <button>_morph.bmp (the preview's morph midpoint).
// The frame is rendered without a caption text: the preview's text rasteriser is not GDI's.
#include <cstdio>
#include <filesystem>

#include "skin/data/skin_data.h"
#include "skin/data/stored_skin.h"
#include "tools/skinpreview/scenes.h"

using namespace fn;
using namespace fn::preview;

namespace {

TBitmapData ToBitmap(const Image& img, const TSkinRect& r) {
    TBitmapData b;
    b.SetSize(r.Width(), r.Height());
    for (int y = 0; y < r.Height(); ++y)
        for (int x = 0; x < r.Width(); ++x) {
            const uint8_t* p = img.PixelPointer(r.Left + x, r.Top + y);
            b.SetPixel(x, y, (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0]);
        }
    return b;
}

// Where the preview puts the caption buttons cut from the active picture: right to left in the
// button strip in the order close, maximise, minimise, roll-up, tray; the system-menu button at
// the caption's left end, centred in its height. (The frame picture's own size: dx = 0.)
std::vector<std::pair<const TmnDataSkinStdButton*, TSkinRect>> StripButtons(const TmnSkinData& skin) {
    std::vector<std::pair<const TmnDataSkinStdButton*, TSkinRect>> placed;
    auto find = [&](int command) -> const TmnDataSkinStdButton* {
        for (const auto& rec : skin.SkinObjects()) {
            auto b = dynamic_cast<const TmnDataSkinStdButton*>(rec.get());
            if (b && !dynamic_cast<const TmnDataSkinMainMenuBarButton*>(b) && b->SkinRectInAPicture &&
                b->Command == command)
                return b;
        }
        return nullptr;
    };
    const TSkinRect strip = !skin.ButtonsRect.IsEmpty() ? skin.ButtonsRect : skin.CaptionRect;
    int x = strip.Right;
    for (int command : {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray})
        if (const TmnDataSkinStdButton* b = find(command)) {
            const int w = b->SkinRect.Width(), h = b->SkinRect.Height();
            placed.push_back({b, {x - w, strip.Top, x, strip.Top + h}});
            x -= w + skin.ButtonsOffset;
        }
    if (const TmnDataSkinStdButton* sys = find(cmSysMenu)) {
        const TSkinRect c = skin.CaptionRect;
        const int w = sys->SkinRect.Width(), h = sys->SkinRect.Height();
        const int t = c.Top + (c.Height() - h) / 2;
        placed.push_back({sys, {c.Left, t, c.Left + w, t + h}});
    }
    return placed;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: skin_form_preview_refs <skin folder> <output folder>\n");
        return 2;
    }
    try {
        const std::filesystem::path out = argv[2];
        std::filesystem::create_directories(out);
        TmnCompressedStoredSkin stored(nullptr);
        stored.LoadFromSkinFile(Utf8ToWide((std::filesystem::path(argv[1]) / "skin.ini").string()));
        TmnSkinData skin(nullptr);
        skin.LoadFromCompressedStoredSkin(stored);
        TextRenderer text;
        SkinPreview preview(skin, text);

        const struct {
            const char* name;
            bool active;
            ButtonLook look;
        } states[] = {{"normal", true, ButtonLook::Normal},
                      {"hover", true, ButtonLook::Hover},
                      {"pressed", true, ButtonLook::Pressed},
                      {"inactive", false, ButtonLook::Normal}};
        const auto buttons = StripButtons(skin);
        for (const auto& s : states) {
            FrameState fs;
            fs.active = s.active;
            fs.look = s.look;
            fs.caption.clear();
            const Image frame = preview.Frame(fs);
            for (const auto& [record, rect] : buttons) {
                const std::string name = WideToUtf8(record->SectionName) + "_" + s.name + ".bmp";
                ToBitmap(frame, rect).SaveToFile(Utf8ToWide((out / name).string()));
            }
        }
        // Morph midpoints: one row per morphing record (normal, midpoint, hover, 8 apart).
        const Image morph = preview.MorphMidpoints();
        int y = 0;
        for (const auto& rec : skin.SkinObjects()) {
            const TmnDataSkinObject& r = *rec;
            if (!r.Morphing || !skin.ActivePicture(r.ActivePictureIndex) || r.ActiveSkinRect.IsEmpty()) continue;
            const int w = r.SkinRect.Width(), h = r.SkinRect.Height();
            if (dynamic_cast<const TmnDataSkinStdButton*>(&r) && !dynamic_cast<const TmnDataSkinMainMenuBarButton*>(&r))
                ToBitmap(morph, {w + 8, y, 2 * w + 8, y + h})
                    .SaveToFile(Utf8ToWide((out / (WideToUtf8(r.SectionName) + "_morph.bmp")).string()));
            y += h + 4;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skin_form_preview_refs: %s\n", e.what());
        return 1;
    }
    return 0;
}
