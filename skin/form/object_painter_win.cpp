#include "skin/form/object_painter_win.h"

#include <cstring>

#include "skin/data/skin_data.h"
#include "skin/paint/effects.h"
#include "skin/paint/glyphs_win.h"
#include "skin/paint/images_win.h"
#include "skin/paint/rects.h"

namespace fn {

namespace {

RECT ToRect(const TSkinRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

// The effects bitmap of a platform bitmap and back. Both hold top-down 24-bit rows padded to
// 4 bytes, so the pixels move in one copy, without a device context.
TmnEffectBmp EffectsOf(TBitmap& b) {
    TmnEffectBmp e(b.Width(), b.Height());
    if (!e.Empty()) std::memcpy(e.Bits, b.ScanLine(0), static_cast<size_t>(e.ByteSize));
    return e;
}
void PutBack(const TmnEffectBmp& e, TBitmap& b) {
    if (!e.Empty() && e.Width == b.Width() && e.Height == b.Height())
        std::memcpy(b.ScanLine(0), e.Bits, static_cast<size_t>(e.ByteSize));
}

}  // namespace

namespace {

// Whether picture is one of the decoded skin's own pictures (not a manager's written copy).
bool OwnPictureOf(const TmnDecodedSkin& skin, const TBitmapData& picture) {
    const TmnDecodedPictures& p = *skin.Pictures;
    const std::vector<TBitmapData>& active = p.ActivePictures;
    return &picture == &p.Picture || &picture == &p.InactivePicture || &picture == &p.Mask ||
           (!active.empty() && &picture >= active.data() && &picture < active.data() + active.size());
}

// Every picture of a skin can be shared at once.
constexpr size_t kSharedPictures = 256;

}  // namespace

TBitmap& TmnSkinPictures::Get(const TBitmapData& picture) {
    auto& slot = bitmaps_[&picture];
    if (!slot) {
        auto make = [&picture] {
            auto bitmap = std::make_shared<TBitmap>();
            bitmap->Assign(picture);
            return bitmap;
        };
        slot = shared_ && OwnPictureOf(*shared_, picture)
                   ? shared_->Cache.Get<TBitmap>(&picture, kSharedPictures, make)
                   : make();
    }
    return *slot;
}

std::unique_ptr<TBitmap> TmnSkinPictures::TakeScratch(int w, int h) {
    for (auto it = idle_.begin(); it != idle_.end(); ++it)
        if ((*it)->Width() == w && (*it)->Height() == h) {
            std::unique_ptr<TBitmap> b = std::move(*it);
            idle_.erase(it);
            return b;
        }
    return std::make_unique<TBitmap>(w, h);
}

void TmnSkinPictures::GiveBack(std::unique_ptr<TBitmap> bitmap) {
    if (idle_.size() >= MaxIdle) idle_.erase(idle_.begin());
    idle_.push_back(std::move(bitmap));
}

void TmnGdiObjectPainter::ReleaseImages() {
    for (auto& b : images_) pictures_.GiveBack(std::move(b));
    images_.clear();
}

TBitmap* TmnGdiObjectPainter::Image(int image) {
    return image >= 1 && image <= static_cast<int>(images_.size()) ? images_[static_cast<size_t>(image - 1)].get()
                                                                  : nullptr;
}

TCanvas& TmnGdiObjectPainter::Target(int target) {
    TBitmap* b = Image(target);
    return b ? b->Canvas() : canvas_;
}

TCanvas* TmnGdiObjectPainter::Canvas(int target) { return &Target(target); }

TBitmap* TmnGdiObjectPainter::TargetBitmap(int target) { return target == 0 ? target_ : Image(target); }

int TmnGdiObjectPainter::NewImage(int w, int h) {
    std::unique_ptr<TBitmap> b = pictures_.TakeScratch(w > 0 ? w : 0, h > 0 ? h : 0);
    if (!b->Empty()) {
        b->Canvas().Brush().SetColor(clBlack);
        b->Canvas().FillRect({0, 0, b->Width(), b->Height()});
    }
    images_.push_back(std::move(b));
    return static_cast<int>(images_.size());
}

void TmnGdiObjectPainter::Copy(int target, const TBitmapData& picture, const TSkinRect& src, const TSkinRect& dst) {
    if (src.IsEmpty() || dst.IsEmpty()) return;
    Target(target).CopyRect(ToRect(dst), pictures_.Get(picture).Canvas(), ToRect(src));
}

void TmnGdiObjectPainter::Strip(int target, const TBitmapData& picture, const TSkinRect& src, int lo, int ro,
                                bool stretch, const TSkinRect& dst) {
    if (src.IsEmpty() || dst.Width() <= 0) return;
    if (TBitmap* into = TargetBitmap(target)) {
        // Straight into the target's pixels, without a bitmap of the strip's own.
        TBlitPlan plan = HStripPlan(lo, ro, src, dst.Width(), stretch);
        for (TBlit& b : plan) {
            b.Dst = MovedRect(b.Dst, dst.Left, dst.Top);
            if (!b.Clip.IsEmpty()) b.Clip = MovedRect(b.Clip, dst.Left, dst.Top);
        }
        DrawPlan(*into, pictures_.Get(picture), plan);
        return;
    }
    TBitmap strip;
    BuildHStripImage(lo, ro, strip, pictures_.Get(picture), src, dst.Width(), stretch);
    if (!strip.Empty()) Target(target).Draw(dst.Left, dst.Top, strip);
}

void TmnGdiObjectPainter::Morph(int normal, int hover, int morphKind, double k) {
    TBitmap *a = Image(normal), *b = Image(hover);
    if (!a || !b || a->Empty()) return;
    TmnEffectBmp ea = EffectsOf(*a);
    const TmnEffectBmp eb = EffectsOf(*b);
    ApplyMorph(ea, morphKind, eb, k);
    PutBack(ea, *a);
}

void TmnGdiObjectPainter::InactiveEffect(int image, int inactiveEffect) {
    TBitmap* a = Image(image);
    if (!a || a->Empty()) return;
    TmnEffectBmp ea = EffectsOf(*a);
    ApplyInactiveEffect(ea, inactiveEffect);
    PutBack(ea, *a);
}

void TmnGdiObjectPainter::DrawImage(int image, int x, int y) {
    if (TBitmap* b = Image(image)) canvas_.Draw(x, y, *b);
}

void TmnGdiObjectPainter::SelectFont(TCanvas& canvas, const TmnObjectFont& font) {
    TFont& f = canvas.Font();
    f.SetName(font.Name);
    f.SetHeight(font.Height);
    f.SetStyle(font.Style);
    f.SetCharSet(font.CharSet);
}

TmnTextSize TmnGdiObjectPainter::MeasureText(const TmnObjectFont& font, const String& text) {
    SelectFont(canvas_, font);
    const SIZE s = canvas_.TextExtent(text);
    return {s.cx, s.cy};
}

void TmnGdiObjectPainter::Text(int target, const TmnObjectFont& font, TColor color, int x, int y,
                               const String& text) {
    TCanvas& c = Target(target);
    SelectFont(c, font);
    c.Font().SetColor(color);
    c.Brush().SetStyle(TBrushStyle::bsClear);
    c.TextOut(x, y, text);
    c.Brush().SetStyle(TBrushStyle::bsSolid);
}

void TmnGdiObjectPainter::PlainButton(const TSkinRect& dst, TmnPlainLook look, TmnPlainGlyph glyph, bool enabled) {
    const int w = dst.Width(), h = dst.Height();
    if (w <= 0 || h <= 0) return;
    TBitmap b(w, h);
    TCanvas& c = b.Canvas();
    const RECT all{0, 0, w, h};
    if (look == TmnPlainLook::Normal) {
        c.Brush().SetColor(clBtnFace);
        c.FillRect(all);
    } else {
        c.Brush().SetColor(look == TmnPlainLook::Pressed ? PlainPressedFill : PlainHoverFill);
        c.FillRect(all);
        c.Brush().SetColor(PlainFrameColor);
        c.FrameRect(all);
    }
    const bool pressed = look == TmnPlainLook::Pressed;
    const int x = w / 2 - (pressed ? 4 : 5), y = h / 2 - (pressed ? 3 : 4);
    const TColor colour = enabled ? clBtnText : clGrayText;
    switch (glyph) {
        case TmnPlainGlyph::Close: DrawCloseGlyph(c, x, y, colour); break;
        case TmnPlainGlyph::Maximize: DrawMaximizeGlyph(c, x, y, colour); break;
        case TmnPlainGlyph::Restore: DrawRestoreGlyph(c, x, y, colour); break;
        case TmnPlainGlyph::Minimize: DrawMinimizeGlyph(c, x, y, colour); break;
        case TmnPlainGlyph::SysMenu: DrawSysMenuGlyph(c, x, y, colour); break;
        case TmnPlainGlyph::RollUp: DrawRollUpGlyph(c, x, y, colour); break;
        case TmnPlainGlyph::RollDown: DrawRollDownGlyph(c, x, y, colour); break;
        case TmnPlainGlyph::Tray: DrawTrayGlyph(c, x, y, colour); break;
        case TmnPlainGlyph::None: break;
    }
    canvas_.Draw(dst.Left, dst.Top, b);
}

bool ClientAreaAnimationEnabled() {
    BOOL on = TRUE;
    if (!SystemParametersInfoW(SPI_GETCLIENTAREAANIMATION, 0, &on, 0)) return true;
    return on != FALSE;
}

}  // namespace fn
