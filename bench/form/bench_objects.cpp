// The skin objects' repaints under the platform, with the default skin: one hover morph step of
// a caption button (two images cut, the blend, the result drawn) and one caption repaint (text
// with its shadow on the frame), each beside a plain BitBlt of the same rectangle.
//   bench_form_objects [runs]      FN_BENCH_SMOKE=1: three runs, to see that it works
#include <cstdlib>
#include <random>

#include "skin/data/skin_data.h"
#include "skin/data/stored_skin.h"
#include "skin/form/object_painter_win.h"
#include "skin/form/skin_object_list.h"
#include "timing.h"

using namespace fn;
using namespace fn::bench;

namespace {

// Just enough of a window for the objects: active, normal, nothing posted or redrawn.
class BenchOwner : public TmnSkinObjectOwner {
public:
    TmnSkinData* skin = nullptr;
    TmnSkinData* SkinData() const override { return skin; }
    bool IsFormActive() const override { return true; }
    TmnSkinWindowState SkinWindowState() const override { return swsNormal; }
    bool RolledUp() const override { return false; }
    bool ShowIcon() const override { return false; }
    bool AlwaysMinimizeToTray() const override { return false; }
    bool ClientAreaAnimation() const override { return true; }
    String CaptionText() const override { return L"Fennick Notizen - Notiz1.rtf"; }
    String MaximizedChildCaption() const override { return L""; }
    uint8_t DefCaptionCharSet() const override { return DEFAULT_CHARSET; }
    void RedrawObject(TmnActiveSkinObject&) override {}
    void DrawFormIcon(TmnObjectPainter&, int, int) override {}
    bool HasCaptionPaint() const override { return false; }
    void CaptionPaint(TmnObjectPainter&, int, const TSkinRect&, bool) override {}
    void PaintEvent(const String&, TmnObjectPainter&, const TSkinRect&) override {}
    void MouseDownEvent(const String&, int, int, const TSkinRect&, int) override {}
    void MouseUpEvent(const String&, int, int, const TSkinRect&, int) override {}
    void MouseMoveEvent(const String&, int, int, const TSkinRect&) override {}
    void MouseEnterEvent(const String&) override {}
    void MouseLeaveEvent(const String&) override {}
    void PostWindowAction(TmnWindowAction) override {}
    TMenuItem* SystemMenuItem() override { return nullptr; }
    bool OpenPopup(TmnActiveSkinObject&, TMenuItem*, const TSkinRect&) override { return false; }
    void StartTimer(TmnObjectTimer) override {}
    void StopTimer(TmnObjectTimer) override {}
};

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 201;
    if (const char* smoke = std::getenv("FN_BENCH_SMOKE"); smoke && *smoke == '1') runs = 3;

    TmnCompressedStoredSkin stored(nullptr);
    stored.LoadFromSkinFile(Utf8ToWide(FN_SOURCE_DIR) + L"/skins/fennick/skin.ini");
    BenchOwner owner;
    TmnSkinData skin(nullptr);
    skin.LoadFromCompressedStoredSkin(stored);
    owner.skin = &skin;
    TmnSkinObjectList list(owner);
    list.Rebuild();
    const int width = 640, height = 480;
    list.Layout({skin.LeftTopPoint, skin.RightTopPoint, skin.LeftBottomPoint, skin.RightBottomPoint,
                 skin.Picture().Width, skin.Picture().Height},
                width, height);

    TmnActiveSkinObject* button = nullptr;
    for (int i = 0; i < list.Count() && !button; ++i)
        if (auto b = dynamic_cast<TmnSkinStdButtonObject*>(&list[i]); b && b->Command == cmClose && b->MorphEnabled())
            button = b;
    TmnSkinCaptionObject* caption = list.FirstCaption();
    if (!button || !caption) {
        std::fprintf(stderr, "the default skin has no morphing close button or no caption\n");
        return 1;
    }
    button->ObjectRect = {width - 36, 4, width - 36 + button->SkinRect.Width(), 4 + button->SkinRect.Height()};
    caption->Active = true;

    // The window's non-client canvas stands in as a bitmap of the window's size.
    TBitmap window(width, height), source(width, height);
    std::mt19937 rng(1);
    for (int y = 0; y < height; ++y)
        for (int i = 0; i < 3 * width; ++i) source.ScanLine(y)[i] = static_cast<uint8_t>(rng());
    TmnSkinPictures pictures;
    TmnGdiObjectPainter painter(window.Canvas(), pictures);
    auto blit = [&](const TSkinRect& r) {
        return [&, r] {
            BitBlt(window.Canvas().Handle(), r.Left, r.Top, r.Width(), r.Height(), source.Canvas().Handle(), r.Left,
                   r.Top, SRCCOPY);
            GdiFlush();
        };
    };

    std::printf("Skin object repaints under the platform (medians of %d runs, each beside its baseline)\n\n", runs);
    button->Active = true;
    button->MorphFactor = 0.2;
    const auto [morph, morphBase] = CompareMs(
        [&] {
            button->MorphFactor = button->MorphFactor >= 0.8 ? 0.2 : button->MorphFactor + 0.2;
            button->Draw(painter, true);
            GdiFlush();
        },
        blit(button->ObjectRect), runs);
    char name[96];
    std::snprintf(name, sizeof name, "hover morph step %dx%d", button->ObjectRect.Width(), button->ObjectRect.Height());
    Report(name, morph, "BitBlt of the rectangle", morphBase, 25);
    std::printf("  in microseconds: %.2f beside %.2f; one step is %.2f%% of the 25 ms morph tick\n", 1000 * morph,
                1000 * morphBase, 100 * morph / 25);

    const auto [repaint, repaintBase] = CompareMs(
        [&] {
            caption->Draw(painter, true);
            GdiFlush();
        },
        blit(caption->ObjectRect), runs);
    std::snprintf(name, sizeof name, "caption repaint %dx%d", caption->ObjectRect.Width(), caption->ObjectRect.Height());
    Report(name, repaint, "BitBlt of the rectangle", repaintBase, 25);
    std::printf("  in microseconds: %.2f beside %.2f\n", 1000 * repaint, 1000 * repaintBase);
    return 0;
}
