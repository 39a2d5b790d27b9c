#include "tools/skinpreview/render_all.h"

#include <filesystem>

#include "platform/core/form_data.h"
#include "skin/data/skin_data.h"
#include "skin/data/stored_skin.h"
#include "tools/skinpreview/scenes.h"

namespace fn::preview {

namespace {

// Lays pictures side by side on the backdrop with a margin.
Image Row(const std::vector<const Image*>& images, int gap = 16) {
    int w = gap, h = 0;
    for (const Image* img : images) w += img->Width + gap, h = std::max(h, img->Height);
    Image out(w, h + 2 * gap);
    Fill(out, {0, 0, out.Width, out.Height}, SkinPreview::Backdrop);
    int x = gap;
    for (const Image* img : images) {
        Draw(out, x, gap, *img);
        x += img->Width + gap;
    }
    return out;
}

// Places img at (x, y) leaving out the backdrop around a window's shape.
void Place(Image& dst, int x, int y, const Image& img) {
    DrawTransparent(dst, x, y, img, SkinPreview::Backdrop);
}

// The program as a person sees it: the main window with the MDI background, an inactive and an
// active document window with menu bar and text, the "Datei" menu open and a hint.
Image Scene(const TmnSkinData& skin, SkinPreview& preview, TextRenderer& text) {
    auto px = [&](int at96) { return ScaledForDpi(at96, skin.Dpi()); };
    const int pw = skin.Picture().Width, ph = skin.Picture().Height;
    auto client = [&](int w, int h) {
        TSkinRect c = skin.ClientRect;
        c.Right += w - pw, c.Bottom += h - ph;
        return c;
    };
    FrameState mainState;
    mainState.width = px(900), mainState.height = px(620);
    Image scene = preview.Frame(mainState);
    const TSkinRect mainClient = client(px(900), px(620));

    auto document = [&](int w, int h, bool active, const String& caption, const std::vector<String>& lines, int hot,
                        int down) {
        FrameState st;
        st.width = w, st.height = h, st.active = active, st.caption = caption, st.mdiFrame = false;
        Image doc = preview.Frame(st);
        const TSkinRect c = client(w, h);
        const Image bar = preview.MenuBar(c.Width(), {L"&Datei", L"&Bearbeiten", L"F&ormat", L"&Fenster", L"&Hilfe"},
                                          hot, down, false);
        Draw(doc, c.Left, c.Top, bar);
        int richTop = c.Top + bar.Height;
        const int index = skin.GetControlIndex(L"richedit");
        const auto* rich = index >= 0 ? dynamic_cast<const TmnDataSkinRichEdit*>(skin.SkinControls()[index].get()) : nullptr;
        const FontSpec font{rich ? rich->FontName : L"Arial", rich ? rich->FontHeight : 14, rich ? rich->FontStyle : TFontStyles(0)};
        Fill(doc, {c.Left, richTop, c.Right, c.Bottom}, rich ? FromSkinColor(rich->BgColor) : Colour{255, 255, 255});
        for (const String& line : lines) {
            text.Draw(doc, c.Left + px(6), richTop + px(4), font, line, rich ? FromSkinColor(rich->FontColor) : Colour{},
                      false, {c.Left, c.Top, c.Right, c.Bottom});
            richTop += text.Height(font) + px(3);
        }
        return doc;
    };
    const Image back = document(px(420), px(300), false, L"Einkaufsliste",
                                {L"Milch, Brot, Äpfel", L"Kaffee (gemahlen)", L"Fennel? Fenchel!"}, -1, -1);
    const Image front = document(px(520), px(360), true, L"Notiz1",
                                 {L"Besprechung am Dienstag um 10 Uhr.", L"Themen: Zeitplan, Budget, Skin der Anwendung.",
                                  L"Danach: Protokoll schreiben und verschicken."},
                                 -1, 0);
    Place(scene, mainClient.Left + px(24), mainClient.Top + px(20), back);
    const int fx = mainClient.Left + px(300), fy = mainClient.Top + px(150);
    Place(scene, fx, fy, front);
    const TSkinRect frontClient = client(px(520), px(360));
    const std::vector<MenuEntry> menu = {{L"&Neu", L"Strg+N"},        {L"Ö&ffnen...", L"Strg+O"},
                                         {L"&Speichern", L"Strg+S"},  {L"Speichern &unter..."},
                                         {L"-"},                      {L"&Drucken...", L"Strg+P"},
                                         {L"-"},                      {L"&Beenden"}};
    const Image popup = preview.PopupMenu(menu, 1);
    const int barHeight = preview.MenuBar(frontClient.Width(), {}, -1, -1, false).Height;
    Place(scene, fx + frontClient.Left + px(2), fy + frontClient.Top + barHeight, popup);
    const Image hint = preview.Hint(L"Öffnet eine vorhandene Notiz");
    Place(scene, fx + frontClient.Left + popup.Width + px(10), fy + frontClient.Top + barHeight + px(40), hint);
    return scene;
}

}  // namespace

std::vector<std::string> RenderPreviews(const std::string& skinPath, const std::string& outFolder, int dpi) {
    TmnCompressedStoredSkin stored(nullptr);
    if (std::filesystem::is_directory(skinPath))
        stored.LoadFromSkinFile(Utf8ToWide((std::filesystem::path(skinPath) / "skin.ini").string()));
    else
        stored.LoadFromCompressedFile(Utf8ToWide(skinPath));
    TmnSkinData skin(nullptr);
    skin.SetDpi(dpi);
    skin.LoadFromCompressedStoredSkin(stored);
    auto px = [&](int at96) { return ScaledForDpi(at96, skin.Dpi()); };
    if (skin.Empty()) throw EInvalidOperation(L"the skin could not be loaded: " + Utf8ToWide(skinPath));

    TextRenderer text;
    SkinPreview preview(skin, text);
    std::filesystem::create_directories(outFolder);
    std::vector<std::string> written;
    auto save = [&](const Image& img, const std::string& name) {
        const std::string path = (std::filesystem::path(outFolder) / name).string();
        WritePng(img, path);
        written.push_back(path);
    };

    const struct {
        int w, h;
        const char* name;
    } sizes[] = {{0, 0, "picture"}, {px(640), px(480), "640x480"}, {px(1280), px(800), "1280x800"}};
    const struct {
        ButtonLook look;
        const char* name;
    } looks[] = {{ButtonLook::Normal, "normal"}, {ButtonLook::Hover, "hover"}, {ButtonLook::Pressed, "pressed"}};
    for (const auto& size : sizes)
        for (const auto& look : looks) {
            FrameState state;
            state.width = size.w, state.height = size.h, state.look = look.look;
            save(preview.Frame(state), std::string("frame-") + size.name + "-" + look.name + ".png");
        }
    FrameState inactive;
    inactive.width = px(640), inactive.height = px(480), inactive.active = false;
    save(preview.Frame(inactive), "frame-640x480-inactive.png");
    FrameState narrow;
    narrow.caption = L"Fennick Notizen - [Ein recht langer Titel einer Notiz, der nicht passt]";
    save(preview.Frame(narrow), "frame-picture-long-caption.png");

    save(Enlarge(preview.MorphMidpoints(), 3), "morph-midpoints.png");

    const std::vector<MenuEntry> menu = {
        {L"&Neu", L"Strg+N"}, {L"Ö&ffnen...", L"Strg+O"}, {L"&Speichern", L"Strg+S"},
        {L"Speichern &unter..."}, {L"-"}, {L"&Drucken...", L"Strg+P", false},
        {L"&Zeilenumbruch", L"", true, true}, {L"&Ausrichtung", L"", true, false, true}, {L"-"}, {L"&Beenden"}};
    const Image popup = preview.PopupMenu(menu, 2);
    const Image hint = preview.Hint(L"Neue Notiz anlegen");
    save(Row({&popup, &hint}), "popup-and-hint.png");
    save(Enlarge(Row({&popup}), 2), "popup-2x.png");

    const std::vector<String> items = {L"&Datei", L"&Bearbeiten", L"F&ormat", L"&Fenster", L"&Hilfe"};
    const Image bar = preview.MenuBar(px(480), items, 1, 0, false);
    const Image barMax = preview.MenuBar(px(480), items, -1, -1, true);
    save(Enlarge(Row({&bar}), 2), "menubar.png");
    save(Enlarge(Row({&barMax}), 2), "menubar-maximized-child.png");
    save(Enlarge(preview.Controls(), 2), "controls.png");
    save(Scene(skin, preview, text), "scene.png");
    return written;
}

}  // namespace fn::preview
