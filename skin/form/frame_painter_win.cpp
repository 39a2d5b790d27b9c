#include "skin/form/frame_painter_win.h"

#include <cstring>
#include <tuple>

#include "platform/win/gdi.h"
#include "skin/data/skin_cache.h"
#include "skin/data/skin_data.h"
#include "skin/paint/effects.h"
#include "skin/paint/images_win.h"
#include "skin/paint/plan_painter.h"
#include "skin/paint/region_data.h"
#include "skin/paint/regions_win.h"

namespace fn {

namespace {

// Keeps a device context's clipping region and puts it back.
class TSavedClip {
public:
    explicit TSavedClip(HDC dc) : dc_(dc), saved_(CreateRectRgn(0, 0, 0, 0)) {
        if (GetClipRgn(dc_, saved_.Get()) != 1) saved_.Reset();
    }
    ~TSavedClip() { SelectClipRgn(dc_, saved_.Get()); }
    TSavedClip(const TSavedClip&) = delete;
    TSavedClip& operator=(const TSavedClip&) = delete;

private:
    HDC dc_;
    TRegionHandle saved_;
};

void Blit(HDC dc, int x, int y, TBitmap& image) {
    if (image.Empty()) return;
    BitBlt(dc, x, y, image.Width(), image.Height(), image.Canvas().Handle(), 0, 0, SRCCOPY);
}

void ApplyEffect(TBitmap& image, int inactiveEffect) {
    if (image.Empty()) return;
    TmnEffectBmp e(image.Width(), image.Height());
    std::memcpy(e.Bits, image.ScanLine(0), static_cast<size_t>(e.ByteSize));
    ApplyInactiveEffect(e, inactiveEffect);
    std::memcpy(image.ScanLine(0), e.Bits, static_cast<size_t>(e.ByteSize));
}

// Shared images a skin keeps of each kind: enough for a few window sizes and both states.
constexpr size_t kSharedSides = 8;
constexpr size_t kSharedStrips = 16;

}  // namespace

TFrameGeometry SkinFrame(const TmnSkinFormInfo& info, bool mask) {
    return {info.LeftTopPoint, info.RightTopPoint, info.LeftBottomPoint, info.RightBottomPoint,
            mask ? info.MaskRectArea : info.ClientRect};
}

TFrameGeometry ResizedFrame(const TmnFrameGeometry& g, bool mask) {
    return {g.NewLT, g.NewRT, g.NewLB, g.NewRB, mask ? g.NewMaskRect : g.NewClientRect};
}

bool TmnSkinnedFramePainter::UpdateSide(TSide& side, const TImagePlan& plan, TBitmap& picture, const TBitmapData& source,
                                        int effect, TmnSkinCache* cache) {
    if (!plan.Built) return false;  // the image stays as it was
    if (side.Source == &picture && side.Effect == effect && side.Plan == plan) return false;
    auto draw = [&] {
        auto image = std::make_shared<TBitmap>(plan.Width, plan.Height);
        DrawPlan(*image, picture, plan.Plan);
        if (effect >= 0) ApplyEffect(*image, effect);
        return image;
    };
    // Only blitted from once drawn, so one image serves every window.
    side.Image = cache ? cache->Get<TBitmap>(TSideKey{plan, &source, effect}, kSharedSides, draw) : draw();
    side.Plan = plan, side.Source = &picture, side.Effect = effect;
    return true;
}

void TmnSkinnedFramePainter::UpdateBand(TBand& band, const TImagePlan& plan, TBitmap& picture) {
    if (!plan.Built) return;  // the image stays as it was
    constexpr int kStep = 256;
    const int capacity = band.Image.Width();
    if (band.Image.Height() != plan.Height || capacity < plan.Width || capacity > plan.Width + 4 * kStep)
        band.Image.SetSize((plan.Width + kStep - 1) / kStep * kStep, plan.Height);
    band.Width = plan.Width;
    if (band.Image.Empty()) return;
    const TPixelView used{band.Image.ScanLine(0), plan.Width, plan.Height, band.Image.RowStride()};
    PaintPlan(plan.Plan, View(picture), used);
}

void TmnSkinnedFramePainter::Clear() {
    for (TBand* band : {&top_, &bottom_}) {
        band->Image.SetSize(0, 0);
        band->Width = 0;
    }
    for (TSide* side : {&left_, &right_}) *side = TSide{};
}

void TmnSkinnedFramePainter::Paint(HDC dc, const TmnSkinData& skin, const TmnFrameGeometry& g, int w, int h,
                                   bool active, TmnSkinObjectList& objects, TmnSkinPictures& pictures) {
    sidesDrawn_ = 0;
    const TBitmapData& source =
        active || skin.InactivePicture().Empty() ? skin.Picture() : skin.InactivePicture();
    if (source.Empty()) return;
    TBitmap& picture = pictures.Get(source);
    const TSkinRect whole{0, 0, skin.Picture().Width, skin.Picture().Height};
    const TBorderPlans plans =
        BorderImagePlans(SkinFrame(skin), ResizedFrame(g), whole, w, h,
                         {skin.LeftStretch, skin.TopStretch, skin.RightStretch, skin.BottomStretch}, top_.Height(),
                         bottom_.Height());
    UpdateBand(top_, plans.Top, picture);
    UpdateBand(bottom_, plans.Bottom, picture);
    const int effect = !active && skin.AutoRenderingInactiveImage ? static_cast<int>(skin.InactiveEffect) : -1;
    TmnSkinCache* cache = skin.SharedCache();
    sidesDrawn_ = int(UpdateSide(left_, plans.Left, picture, source, effect, cache)) +
                  int(UpdateSide(right_, plans.Right, picture, source, effect, cache));

    // The objects go into the top image, or into the bottom one when they sit below the client's
    // top edge (moved up by the client's bottom edge for the drawing).
    for (int i = 0; i < objects.Count(); ++i) {
        TmnActiveSkinObject& o = objects[i];
        if (!o.Visible || o.ObjectRect.IsEmpty()) continue;
        const bool below = o.ObjectRect.Bottom > g.NewClientRect.Top;
        TBitmap& image = (below ? bottom_ : top_).Image;
        if (image.Empty()) continue;
        const TSkinRect kept = o.ObjectRect;
        if (below) o.ObjectRect.Top -= g.NewClientRect.Bottom, o.ObjectRect.Bottom -= g.NewClientRect.Bottom;
        {
            TmnGdiObjectPainter painter(image, pictures);
            o.Draw(painter, false);
        }
        o.ObjectRect = kept;
    }

    if (effect >= 0) {
        for (TBand* band : {&top_, &bottom_}) ApplyEffect(band->Image, effect);
    }
    TSavedClip clip(dc);
    ExcludeClipRect(dc, g.NewClientRect.Left, g.NewClientRect.Top, g.NewClientRect.Right, g.NewClientRect.Bottom);
    for (auto [band, y] : {std::pair{&top_, 0}, std::pair{&bottom_, h - bottom_.Height()}})
        if (!band->Image.Empty()) BitBlt(dc, 0, y, band->Width, band->Height(), band->Image.Canvas().Handle(), 0, 0, SRCCOPY);
    if (!left_.Empty()) Blit(dc, 0, top_.Height(), *left_.Image);
    if (!right_.Empty()) Blit(dc, w - right_.Width(), top_.Height(), *right_.Image);
}

void PaintBuiltInFrame(HDC dc, const TmnBuiltInFrame& f, int w, int h, const TmnBuiltInCaption& caption,
                       TmnSkinObjectList& objects, TmnSkinPictures& pictures) {
    const int b = TmnBuiltInFrame::Border, ch = f.CaptionHeight;
    if (w - 2 * b <= 0 || ch <= 0) return;
    TBitmap bar(w - 2 * b, ch);
    TCanvas& c = bar.Canvas();
    c.Brush().SetColor(clBtnFace);
    c.FillRect({0, 0, bar.Width(), ch});
    // Grip lines across the caption area, alternating light and shadow.
    if (ch - 4 > 1) {
        const int x0 = f.CaptionArea.Left - 1, x1 = f.CaptionArea.Right - 6;
        for (int i = 0; i < ch - 5; ++i) {
            c.Pen().SetColor(i % 2 == 0 ? clBtnHighlight : clBtnShadow);
            c.MoveTo(x0, 2 + i);
            c.LineTo(x1, 2 + i);
        }
    }
    const RECT area{f.CaptionArea.Left - b, f.CaptionArea.Top - b, f.CaptionArea.Right - b, f.CaptionArea.Bottom - b};
    if (caption.Paint) {
        caption.Paint(c, area, caption.Active);
    } else if (!caption.Text.empty()) {
        if (caption.Font) c.Font().Assign(*caption.Font);
        const SIZE size = c.TextExtent(caption.Text);
        const int left = (f.CaptionArea.Left - b) + (f.CaptionArea.Width() + b) / 2 - (size.cx + 5) / 2;
        const int top = ch / 2 - size.cy / 2;
        RECT text{left, top, left, top};
        const UINT flags = DT_SINGLELINE | DT_NOPREFIX | (caption.RightToLeft ? DT_RTLREADING : 0);
        c.PrepareText();
        DrawTextW(c.Handle(), caption.Text.c_str(), -1, &text, flags | DT_CALCRECT);
        c.Brush().SetColor(clBtnFace);
        c.FillRect({text.left - 2, text.top - 2, text.right + 2, text.bottom + 2});
        SetBkMode(c.Handle(), TRANSPARENT);
        c.PrepareText();
        DrawTextW(c.Handle(), caption.Text.c_str(), -1, &text, flags);
    }
    for (int i = 0; i < objects.Count(); ++i) {
        TmnActiveSkinObject& o = objects[i];
        if (!o.Visible || o.ObjectRect.IsEmpty()) continue;
        const TSkinRect kept = o.ObjectRect;
        o.ObjectRect = {kept.Left - b, kept.Top - b, kept.Right - b, kept.Bottom - b};
        {
            TmnGdiObjectPainter painter(c, pictures);
            o.Draw(painter, false);
        }
        o.ObjectRect = kept;
    }

    TSavedClip clip(dc);
    ExcludeClipRect(dc, f.Client.Left, f.Client.Top, f.Client.Right, f.Client.Bottom);
    BitBlt(dc, b, b, bar.Width(), ch, c.Handle(), 0, 0, SRCCOPY);
    // The rest of the border band below the caption strip.
    TBrushHandle face(CreateSolidBrush(ColorToColorRef(clBtnFace)));
    const RECT band{b, b + ch, w - b, h - b};
    FillRect(dc, &band, face.Get());
    // Three one-pixel 3-D frames around the window.
    const TColor frames[3][2] = {{cl3DLight, cl3DDkShadow}, {clBtnHighlight, clBtnShadow}, {clBtnFace, clBtnFace}};
    RECT r{0, 0, w, h};
    for (const auto& pair : frames) {
        TBrushHandle light(CreateSolidBrush(ColorToColorRef(pair[0])));
        TBrushHandle dark(CreateSolidBrush(ColorToColorRef(pair[1])));
        const RECT topEdge{r.left, r.top, r.right - 1, r.top + 1}, leftEdge{r.left, r.top, r.left + 1, r.bottom - 1};
        const RECT rightEdge{r.right - 1, r.top, r.right, r.bottom}, bottomEdge{r.left, r.bottom - 1, r.right, r.bottom};
        FillRect(dc, &topEdge, light.Get());
        FillRect(dc, &leftEdge, light.Get());
        FillRect(dc, &rightEdge, dark.Get());
        FillRect(dc, &bottomEdge, dark.Get());
        InflateRect(&r, -1, -1);
    }
}

HBRUSH TmnTileBrush::Get(TBitmap& picture, const TSkinRect& src, int w, int h) {
    if (brush_ && picture_ == &picture && src_ == src && width_ == w && height_ == h) return brush_.Get();
    TBitmap tile(w, h);
    SetStretchBltMode(tile.Canvas().Handle(), COLORONCOLOR);
    StretchBlt(tile.Canvas().Handle(), 0, 0, w, h, picture.Canvas().Handle(), src.Left, src.Top, src.Width(),
               src.Height(), SRCCOPY);
    brush_.Reset(CreatePatternBrush(tile.Handle()));  // the brush keeps its own copy of the pixels
    picture_ = &picture, src_ = src, width_ = w, height_ = h;
    return brush_.Get();
}

void PaintBackgroundPlan(HDC dc, const TmnBackgroundPlan& plan, TBitmap& picture, const TSkinRect& src,
                         TmnTileBrush& brushes) {
    if (plan.Empty() || src.IsEmpty()) return;
    if (plan.SingleCopy()) {
        const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, plan.Fill.Left, plan.Fill.Top, plan.TileWidth, plan.TileHeight, picture.Canvas().Handle(),
                   src.Left, src.Top, src.Width(), src.Height(), SRCCOPY);
        SetStretchBltMode(dc, oldMode);
        return;
    }
    // The scaled tile once, then the platform repeats it as a pattern brush.
    HBRUSH brush = brushes.Get(picture, src, plan.TileWidth, plan.TileHeight);
    if (!brush) return;
    POINT old;
    SetBrushOrgEx(dc, plan.Fill.Left, plan.Fill.Top, &old);
    const RECT fill{plan.Fill.Left, plan.Fill.Top, plan.Fill.Right, plan.Fill.Bottom};
    FillRect(dc, &fill, brush);
    SetBrushOrgEx(dc, old.x, old.y, nullptr);
}

bool TmnFrameRegion::TStrip::Update(const TImagePlan& plan, const std::function<TPixelView()>& mask,
                                    TmnSkinCache* cache) {
    if (!plan.Built || plan.Width <= 0 || plan.Height <= 0) {
        *this = TStrip{};
        return false;
    }
    if (Image && Plan == plan) return false;
    auto draw = [&] {
        auto strip = std::make_shared<TmnMaskStripImage>();
        strip->Width = plan.Width, strip->Height = plan.Height;
        strip->Bytes.resize(static_cast<size_t>(strip->Stride()) * static_cast<size_t>(plan.Height));
        const TPixelView view{strip->Bytes.data(), strip->Width, strip->Height, strip->Stride()};
        // White where no piece lands: outside the window.
        FillWhite(view);
        PaintPlan(plan.Plan, mask(), view);
        strip->Region = MaskToRegionData(view, 0, 0);
        return std::shared_ptr<const TmnMaskStripImage>(std::move(strip));
    };
    Image = cache ? cache->Get<const TmnMaskStripImage>(plan, kSharedStrips, draw) : draw();
    Plan = plan;
    return true;
}

TRegionHandle TmnFrameRegion::Build(const TmnSkinData& skin, const TmnFrameGeometry& g, int w, int h,
                           TmnSkinPictures& pictures) {
    (void)h;
    stripsDrawn_ = 0;
    const TFrameGeometry from = SkinFrame(skin, true), to = ResizedFrame(g, true);
    if (skin.Mask().Empty() || g.NewMaskRect.IsEmpty() || to.RT.X < to.LT.X || to.LB.Y < to.LT.Y) {
        Clear();
        return {};
    }
    const TBorderPlans plans = MaskStripPlans(from, to, skin.Mask().Width, skin.Mask().Height, w);
    const std::function<TPixelView()> mask = [&] { return View(pictures.Get(skin.Mask())); };
    TmnSkinCache* cache = skin.SharedCache();
    const TSkinRect& m = g.NewMaskRect;
    TRegionHandle result(CreateRectRgn(m.Left, m.Top, m.Right, m.Bottom));
    const std::tuple<TStrip*, const TImagePlan*, POINT> strips[] = {{&top_, &plans.Top, {0, 0}},
                                                                    {&bottom_, &plans.Bottom, {0, m.Bottom}},
                                                                    {&left_, &plans.Left, {0, m.Top}},
                                                                    {&right_, &plans.Right, {m.Right, m.Top}}};
    for (auto [strip, plan, at] : strips) {
        if (strip->Update(*plan, mask, cache)) ++stripsDrawn_;
        if (strip->Empty()) continue;
        // The strip's own region is deleted here once combined; only the result leaves.
        TRegionHandle part = RegionFromData(strip->Image->Region);
        if (!part) continue;
        OffsetRgn(part.Get(), at.x, at.y);
        CombineRgn(result.Get(), result.Get(), part.Get(), RGN_OR);
    }
    return result;
}

void TmnFrameRegion::Clear() {
    for (TStrip* s : {&top_, &bottom_, &left_, &right_}) *s = TStrip{};
}

bool TmnFrameRegion::Black(TmnMaskStrip strip, int x, int y) const {
    const TStrip& s = strip == msTop ? top_ : strip == msBottom ? bottom_ : strip == msLeft ? left_ : right_;
    if (s.Empty() || x < 0 || y < 0 || x >= s.Image->Width || y >= s.Image->Height) return false;
    const uint8_t* p = s.Image->Pixel(x, y);
    return p[0] == 0 && p[1] == 0 && p[2] == 0;
}

}  // namespace fn
