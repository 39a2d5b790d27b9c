#include "skin/form/caption_object.h"

#include "skin/data/skin_data.h"
#include "skin/paint/text_fit.h"

namespace fn {

TmnSkinCaptionObject::TmnSkinCaptionObject(TmnSkinObjectOwner& owner, const TmnDataSkinCaption* c)
    : TmnActiveSkinObject(owner, c) {
    if (!c) return;
    TextFont = {c->FontName, c->FontHeight, c->FontStyle};
    TextColor = {c->FontColor, c->ActiveFontColor};
    Alignment = c->Alignment;
    TextRect = BoundedRect(c->TextRect);
    Shadow = c->Shadow;
    ShadowColor = {c->ShadowColor, c->ActiveShadowColor};
    Light = c->Light;
    LightColor = {c->LightColor, c->ActiveLightColor};
    FrameRect = FromActive(c->FrameRect);
    ActiveFrameRect = FromActive(c->ActiveFrameRect);
    FrameTextRect = BoundedRect(c->FrameTextRect);
    FrameEnds = {c->FrameLeftOffset, c->FrameRightOffset};
    FullFrame = c->FullFrame;
    StretchEffect = c->StretchEffect;
    AnimateInterval = FloorInterval(c->AnimateInterval);
    InActiveAnimation = c->InactiveAnimation;
    if (ActivePicture) {
        strip_ = CaptionFrameStrip(c->AnimateSkinRect, c->SkinRect, c->FrameCount, ActivePicture->Width,
                                   ActivePicture->Height);
        if (strip_.Count > 0) {
            AnimateSkinRect = c->AnimateSkinRect;
            FrameCount = strip_.Count;
        }
    }
}

bool TmnSkinCaptionObject::AnimationEnabled() const {
    return SkinData && SkinData->EnableSkinEffects() && !SkinData->Empty() && !AnimateSkinRect.IsEmpty() &&
           FrameCount > 0;
}

void TmnSkinCaptionObject::MouseDown(int x, int y, int button) {
    Parent->MouseDownEvent(IDName, x, y, ObjectRect, button);
}

void TmnSkinCaptionObject::MouseUp(int x, int y, int button) {
    Parent->MouseUpEvent(IDName, x, y, ObjectRect, button);
}

void TmnSkinCaptionObject::SetActive(bool active, bool redraw) {
    Active = active;
    if (!redraw) {
        if (MorphEnabled()) MorphFactor = active ? 1 : 0;
        return;
    }
    const bool animate = Parent->ClientAreaAnimation();
    if (AnimationEnabled()) {
        Elapsed = AnimationTick;
        CurrentFrame = active ? 1 : InActiveAnimation ? FrameCount : 0;
        // Without the desktop's animations the frames are skipped: straight to the end state.
        if (!animate) CurrentFrame = active ? FrameCount + 1 : 0;
        else Parent->StartTimer(TmnObjectTimer::Animate);
    }
    if (MorphEnabled()) {
        if (!animate) MorphFactor = active ? 1 : 0;
        else Parent->StartTimer(TmnObjectTimer::Morph);
    }
    Parent->RedrawObject(*this);
}

bool TmnSkinCaptionObject::AnimateStep() {
    if (!AnimationEnabled()) return false;
    if (Elapsed < AnimateInterval) {
        Elapsed += AnimationTick;
        return true;
    }
    if (!StepFrame(CurrentFrame, FrameCount, Active)) return false;
    Parent->RedrawObject(*this);
    Elapsed = AnimationTick;
    return true;
}

String TmnSkinCaptionObject::CaptionText() const {
    String text = Parent->CaptionText();
    const String child = Parent->MaximizedChildCaption();
    if (!child.empty()) text += L" - [" + child + L"]";
    return text;
}

TmnObjectFont TmnSkinCaptionObject::Font() const {
    TmnObjectFont f = TextFont;
    f.CharSet = SkinLibraryCharSet(SkinData, Parent->DefCaptionCharSet());
    return f;
}

TmnSkinCaptionObject::TextLayout TmnSkinCaptionObject::LayoutText(TmnObjectPainter& p, const String& text) {
    TextLayout l;
    l.Area = CaptionTextArea(TextRect, ObjectRect.Width(), SkinRect.Width(), FrameRect, FrameTextRect);
    if (text.empty() || l.Area.IsEmpty()) return l;
    const TmnObjectFont font = Font();
    l.Text = FitTextWithEllipsis(text, l.Area.Width(),
                                 [&](std::wstring_view s) { return p.MeasureText(font, String(s)).Width; });
    const TmnTextSize size = p.MeasureText(font, l.Text);
    l.Width = size.Width;
    l.Height = size.Height;
    l.Pos = CaptionTextPosition(l.Area, Alignment, l.Width, l.Height);
    return l;
}

void TmnSkinCaptionObject::DrawCaptionText(TmnObjectPainter& p, int target, int dx, int dy, bool active) {
    if (Parent->HasCaptionPaint()) {
        Parent->CaptionPaint(p, target, ObjectRect, active);
        return;
    }
    const TextLayout l = LayoutText(p, CaptionText());
    if (l.Text.empty()) return;
    const int x = ClampToInt(int64_t(l.Pos.X) + dx), y = ClampToInt(int64_t(l.Pos.Y) + dy);
    if (!FrameRect.IsEmpty()) {
        // The frame picture lies inside the active picture, so its sizes are small; the skin's
        // offsets are not, and are summed in 64 bits.
        const TSkinRect frame = active && !ActiveFrameRect.IsEmpty() ? ActiveFrameRect : FrameRect;
        const int64_t top = int64_t(y) - FrameTextRect.Top;
        int64_t left = 0, w = 0;
        if (FullFrame) {
            const int64_t o = SkinData ? SkinData->ButtonsOffset : 0;
            left = dx + o;
            w = int64_t(ObjectRect.Right) - ObjectRect.Left - 2 * o;
        } else {
            left = int64_t(x) - FrameTextRect.Left;
            w = int64_t(frame.Width()) + l.Width - (int64_t(FrameTextRect.Right) - FrameTextRect.Left);
        }
        if (w > 0 && left >= INT32_MIN && left + w <= INT32_MAX && top >= INT32_MIN && top + frame.Height() <= INT32_MAX)
            p.Strip(target, *ActivePicture, frame, FrameEnds.Left, FrameEnds.Right, false,
                    {int(left), int(top), int(left + w), int(top + frame.Height())});
    }
    const TmnObjectFont font = Font();
    if (Light) p.Text(target, font, LightColor.For(active), x - 1, y - 1, l.Text);
    if (Shadow) p.Text(target, font, ShadowColor.For(active), x + 1, y + 1, l.Text);
    p.Text(target, font, TextColor.For(active), x, y, l.Text);
}

int TmnSkinCaptionObject::CaptionImage(TmnObjectPainter& p, const TBitmapData* picture, const TSkinRect& r,
                                       bool textActive) {
    const int w = ObjectRect.Width(), h = ObjectRect.Height();
    if (w <= 0 || h <= 0) return 0;
    const int image = p.NewImage(w, h);
    if (CanCut(picture, r)) {
        const TmnStripEnds ends =
            SkinData ? CaptionStripEnds(SkinRect, SkinData->LeftTopPoint, SkinData->RightTopPoint) : TmnStripEnds{};
        if (ends.Left != 0 || ends.Right != 0) p.Strip(image, *picture, r, ends.Left, ends.Right, StretchEffect, {0, 0, w, h});
        else p.Copy(image, *picture, r, {0, 0, w, h});
    }
    DrawCaptionText(p, image, 0, 0, textActive);
    return image;
}

void TmnSkinCaptionObject::ApplyInactiveLook(TmnObjectPainter& p, int image) {
    if (SkinData && SkinData->AutoRenderingInactiveImage && !Active) p.InactiveEffect(image, SkinData->InactiveEffect);
}

void TmnSkinCaptionObject::Draw(TmnObjectPainter& p, bool directRedraw) {
    const bool animating = AnimationEnabled();
    if (animating && CurrentFrame >= 1 && CurrentFrame <= FrameCount) {
        // The frames keep the text of the state being left.
        if (const int image = CaptionImage(p, ActivePicture, FrameOfStrip(strip_, CurrentFrame), !Active)) {
            p.DrawImage(image, ObjectRect.Left, ObjectRect.Top);
            p.ReleaseImages();
        }
        return;
    }
    if (MorphEnabled() && MorphInProgress()) {
        const int normal = CaptionImage(p, NormalPicture(), SkinRect, false);
        const int hover = CaptionImage(p, ActivePicture, ActiveSkinRect, true);
        if (normal) {
            p.Morph(normal, hover, MorphKind, MorphFactor);
            ApplyInactiveLook(p, normal);
            p.DrawImage(normal, ObjectRect.Left, ObjectRect.Top);
            p.ReleaseImages();
        }
        return;
    }
    if (ActiveSkinRect.IsEmpty() || (!Active && !MorphEnabled() && !StretchEffect && !animating)) {
        DrawCaptionText(p, TmnObjectPainter::CanvasTarget, ObjectRect.Left, ObjectRect.Top, Active);
        return;
    }
    const int image = Active ? CaptionImage(p, ActivePicture, ActiveSkinRect, true)
                             : CaptionImage(p, NormalPicture(), SkinRect, false);
    if (!image) return;
    if (!Active) ApplyInactiveLook(p, image);
    p.DrawImage(image, ObjectRect.Left, ObjectRect.Top);
    p.ReleaseImages();
}

}  // namespace fn
