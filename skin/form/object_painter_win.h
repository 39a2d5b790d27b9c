#pragma once
// The skin objects' painter on a device context: GDI copies and stretches (colour on colour),
// three-part strips, the effects bitmap for morphs and inactive looks, text in the object's font,
// the built-in caption buttons. Scratch images are 24-bit bitmaps freed by ReleaseImages.
#include <map>
#include <memory>
#include <vector>

#include "platform/win/graphics.h"
#include "skin/form/object_painter.h"

namespace fn {

struct TmnDecodedSkin;

// Platform bitmaps of the skin's pictures, made on first use, and a few scratch bitmaps kept for
// the next repaint (a morph step needs two of the object's size every 25 ms). Clear it when the
// skin changes (the pictures it names belong to the skin data manager). The bitmaps of a shared
// decoded skin's own pictures are made once for every window that shows it (they are only
// read); a picture a program wrote (the manager's own copy) gets a bitmap of this owner's.
class TmnSkinPictures {
public:
    TBitmap& Get(const TBitmapData& picture);
    // The decoded skin whose pictures' bitmaps are shared (none: every bitmap is this owner's).
    void Share(std::shared_ptr<const TmnDecodedSkin> skin) { shared_ = std::move(skin); }
    void Clear() {
        bitmaps_.clear();
        idle_.clear();
        shared_.reset();
    }
    int Count() const { return static_cast<int>(bitmaps_.size()); }

    // A scratch bitmap of w x h (contents undefined), and its return.
    std::unique_ptr<TBitmap> TakeScratch(int w, int h);
    void GiveBack(std::unique_ptr<TBitmap> bitmap);
    static constexpr size_t MaxIdle = 8;

private:
    std::map<const TBitmapData*, std::shared_ptr<TBitmap>> bitmaps_;
    std::shared_ptr<const TmnDecodedSkin> shared_;
    std::vector<std::unique_ptr<TBitmap>> idle_;
};

class TmnGdiObjectPainter : public TmnObjectPainter {
public:
    TmnGdiObjectPainter(TCanvas& canvas, TmnSkinPictures& pictures) : canvas_(canvas), pictures_(pictures) {}
    // Painting into a bitmap: strips are copied straight into its pixels.
    TmnGdiObjectPainter(TBitmap& target, TmnSkinPictures& pictures)
        : canvas_(target.Canvas()), target_(&target), pictures_(pictures) {}
    ~TmnGdiObjectPainter() override { ReleaseImages(); }
    TmnGdiObjectPainter(const TmnGdiObjectPainter&) = delete;
    TmnGdiObjectPainter& operator=(const TmnGdiObjectPainter&) = delete;

    TCanvas* Canvas(int target) override;
    int NewImage(int w, int h) override;
    void ReleaseImages() override;
    void Copy(int target, const TBitmapData& picture, const TSkinRect& src, const TSkinRect& dst) override;
    void Strip(int target, const TBitmapData& picture, const TSkinRect& src, int lo, int ro, bool stretch,
               const TSkinRect& dst) override;
    void Morph(int normal, int hover, int morphKind, double k) override;
    void InactiveEffect(int image, int inactiveEffect) override;
    void DrawImage(int image, int x, int y) override;
    TmnTextSize MeasureText(const TmnObjectFont& font, const String& text) override;
    void Text(int target, const TmnObjectFont& font, TColor color, int x, int y, const String& text) override;
    void PlainButton(const TSkinRect& dst, TmnPlainLook look, TmnPlainGlyph glyph, bool enabled) override;

    // Colours of the built-in buttons (platform encoding).
    static constexpr TColor PlainFrameColor = 0x800000;
    static constexpr TColor PlainPressedFill = 0xB59385;
    static constexpr TColor PlainHoverFill = 0xD2BDB6;

private:
    TBitmap* Image(int image);
    TCanvas& Target(int target);
    // The bitmap behind a target, or null when target 0 is a plain canvas.
    TBitmap* TargetBitmap(int target);
    void SelectFont(TCanvas& canvas, const TmnObjectFont& font);

    TCanvas& canvas_;
    TBitmap* target_ = nullptr;
    TmnSkinPictures& pictures_;
    std::vector<std::unique_ptr<TBitmap>> images_;
};

// The desktop's "animate controls and elements inside windows" setting
// (SPI_GETCLIENTAREAANIMATION); true where the platform does not know it.
bool ClientAreaAnimationEnabled();

}  // namespace fn
