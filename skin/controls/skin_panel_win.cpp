#include "skin/controls/skin_panel_win.h"

#include <algorithm>

#include <oleacc.h>

#include "skin/paint/glyphs_win.h"
#include "skin/paint/images_win.h"
#include "skin/paint/parent_background_win.h"
#include "skin/paint/text_win.h"

namespace fn {

namespace {

RECT ToRect(const TSkinRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

// A one-pixel frame in two colours (top and left, bottom and right); r shrinks by one.
void Frame3D(TCanvas& canvas, TSkinRect& r, TColor topLeft, TColor bottomRight) {
    if (r.IsEmpty()) return;
    TPen& pen = canvas.Pen();
    pen.SetWidth(1);
    pen.SetColor(topLeft);
    canvas.MoveTo(r.Left, r.Bottom - 1);
    canvas.LineTo(r.Left, r.Top);
    canvas.LineTo(r.Right - 1, r.Top);
    pen.SetColor(bottomRight);
    canvas.LineTo(r.Right - 1, r.Bottom - 1);
    canvas.LineTo(r.Left - 1, r.Bottom - 1);
    r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
}

// Part r of picture drawn at (x, y), leaving out the colour of the part's bottom-left pixel.
void DrawTransparentPart(TCanvas& canvas, int x, int y, TBitmap& picture, const TSkinRect& r) {
    if (picture.Empty() || r.Left < 0 || r.Top < 0 || r.Right > picture.Width() || r.Bottom > picture.Height() ||
        r.IsEmpty())
        return;
    const COLORREF key = ::GetPixel(picture.Canvas().Handle(), r.Left, r.Bottom - 1);
    ::TransparentBlt(canvas.Handle(), x, y, r.Width(), r.Height(), picture.Canvas().Handle(), r.Left, r.Top,
                     r.Width(), r.Height(), key);
}

}  // namespace

TmnSkinPanel::TmnSkinPanel(TComponent* owner) : TmnSkinCustomControl(owner) {
    skinDataName_ = L"panel";
    forceBackground_ = true;
    SetBounds(0, 0, 150, 150);
}

TmnSkinPanel::~TmnSkinPanel() = default;

void TmnSkinPanel::GetCreateParams(CreateParams& params) {
    TmnSkinCustomControl::GetCreateParams(params);
    if (Focusable()) params.style |= WS_TABSTOP;
}

void TmnSkinPanel::UpdateTabStop() {
    if (!handle_) return;
    LONG_PTR style = ::GetWindowLongPtrW(handle_, GWL_STYLE);
    style = Focusable() ? style | WS_TABSTOP : style & ~WS_TABSTOP;
    ::SetWindowLongPtrW(handle_, GWL_STYLE, style);
}

TmnDataSkinPanelControl* TmnSkinPanel::PanelRecord() const {
    return HasSkin() ? dynamic_cast<TmnDataSkinPanelControl*>(Record()) : nullptr;
}

void TmnSkinPanel::GetSkinData() {
    TmnSkinCustomControl::GetSkinData();
    const TmnDataSkinPanelControl* rec = PanelRecord();
    TakePicture(rec ? rec->BgPictureIndex : -1, bgPicture_, bgSource_);
}

void TmnSkinPanel::ChangeSkinData() {
    bgSource_ = nullptr;
    bgPicture_.SetSize(0, 0);
    TmnSkinCustomControl::ChangeSkinData();
    if (rollUp_.RolledUp()) ApplyRollUp(rollUp_.Refold(CollapsedHeight()));
    else Realign();
}

TSkinRect TmnSkinPanel::PanelClient() const {
    TPanelClientInput in;
    in.Skinned = HasSkin() && !IsDesigning();
    in.Width = Width();
    in.Height = Height();
    in.BorderStyle = borderStyle_;
    in.CaptionMode = captionMode_;
    in.DefaultCaptionHeight = defaultCaptionHeight_;
    in.NewClientRect = new_.Cl;
    in.HasBgPicture = !bgPicture_.Empty();
    in.NinePart = resizeMode_ == rmBoth;
    return PanelClientRect(in);
}

void TmnSkinPanel::AdjustClientRect(RECT& rect) {
    int w = Width(), h = Height();
    CalcSize(w, h);  // the resized client rectangle for the current size
    const TSkinRect r = PanelClient();
    rect = {r.Left, r.Top, std::max(r.Left, r.Right), std::max(r.Top, r.Bottom)};
}

void TmnSkinPanel::Realign() {
    if (!rollUp_.RolledUp()) AlignControls();
}

void TmnSkinPanel::ConstrainSize(int& width, int& height) { constraints_.Apply(width, height); }

void TmnSkinPanel::SetConstraints(const TSizeConstraints& c) {
    constraints_ = c;
    SetBounds(bounds_.left, bounds_.top, Width(), Height());
}

void TmnSkinPanel::SetCaption(const String& caption) {
    caption_ = caption;
    if (captionMode_ || HasSkin()) Invalidate();
}

void TmnSkinPanel::SetTransparentMode(bool on) {
    if (on == transparentMode_) return;
    transparentMode_ = on;
    Invalidate();
    if (!IsDesigning() && !IsLoading()) NotifyChildrenBackground();
}

void TmnSkinPanel::ParentBackgroundChanged() {
    if (!transparentMode_) return;
    Invalidate();
    NotifyChildrenBackground();
}

void TmnSkinPanel::SetCheckedMode(bool on) {
    checkedMode_ = on;
    UpdateTabStop();
    Invalidate();
}

void TmnSkinPanel::SetChecked(bool checked) {
    checked_ = checked;
    if (checkedMode_) Invalidate();
    if (autoEnabledControls_ && checkedMode_)
        for (int i = 0; i < ControlCount(); ++i) ::EnableWindow(Controls(i)->Handle(), checked);
    if (OnChecked) OnChecked(this);
}

void TmnSkinPanel::SetDefaultAlignment(TAlignment alignment) {
    defaultAlignment_ = alignment;
    if (!HasSkin() && captionMode_) Invalidate();
}

void TmnSkinPanel::SetDefaultCaptionHeight(int height) {
    defaultCaptionHeight_ = std::max(0, height);
    if (!HasSkin() && captionMode_) {
        Invalidate();
        Realign();
    }
}

void TmnSkinPanel::SetBorderStyle(TmnSkinBorderStyle style) {
    borderStyle_ = style;
    if (!HasSkin()) {
        Invalidate();
        Realign();
    }
}

void TmnSkinPanel::SetCaptionMode(bool on) {
    captionMode_ = on;
    UpdateTabStop();
    Invalidate();
    Realign();
}

void TmnSkinPanel::SetRollUpMode(bool on) {
    rollUpMode_ = on;
    UpdateTabStop();
    // Switching the mode off unfolds a folded panel: its children must not stay hidden.
    if (!on) {
        const bool was = rollUp_.State();
        ApplyRollUp(rollUp_.ModeOff(constraints_));
        if (was && OnChangeRollUpState) OnChangeRollUpState(this);
    }
    if (!HasSkin() && captionMode_) Invalidate();
}

int TmnSkinPanel::CollapsedHeight() {
    if (!HasSkin()) return defaultCaptionHeight_ + 1;
    int w = Width(), h = Height();
    CalcSize(w, h);
    int folded = Height() - new_.Cl.Height();  // the frame without the client
    // A skin whose caption lies inside the client keeps the caption and the frame below it.
    if (const TmnDataSkinPanelControl* rec = PanelRecord(); rec && !rec->CaptionRect.IsEmpty())
        folded = std::max(folded, rec->CaptionRect.Bottom + skinRect_.Height() - g_.Cl.Bottom);
    return folded;
}

void TmnSkinPanel::SetRollUpState(bool rolledUp) {
    if (rolledUp == rollUp_.State()) return;
    const bool was = rollUp_.State();
    ApplyRollUp(rollUp_.Set(rolledUp, rollUpMode_, Height(), CollapsedHeight(), constraints_));
    if (rollUp_.State() != was && OnChangeRollUpState) OnChangeRollUpState(this);
}

void TmnSkinPanel::ApplyRollUp(const TRollUpPlan& plan) {
    if (plan.HideChildren) {
        foldedChildren_.clear();
        for (int i = 0; i < ControlCount(); ++i) {
            TWinControl* c = Controls(i);
            if (!c->Visible()) continue;
            foldedChildren_.push_back(c);
            c->SetVisible(false);
        }
    }
    if (plan.Resize) SetBounds(bounds_.left, bounds_.top, Width(), plan.Height);
    if (plan.ShowChildren) {
        // Only the children folded away, and only those still here.
        for (int i = 0; i < ControlCount(); ++i) {
            TWinControl* c = Controls(i);
            if (std::find(foldedChildren_.begin(), foldedChildren_.end(), c) != foldedChildren_.end())
                c->SetVisible(true);
        }
        foldedChildren_.clear();
        AlignControls();
    }
    Invalidate();
}

void TmnSkinPanel::SetGlyph(const TBitmap& glyph) {
    glyph_.Assign(glyph);
    Invalidate();
}

void TmnSkinPanel::SetNumGlyphs(int count) {
    numGlyphs_ = std::clamp(count, 1, 2);
    Invalidate();
}

void TmnSkinPanel::SetSpacing(int spacing) {
    spacing_ = spacing;
    Invalidate();
}

TSkinRect TmnSkinPanel::CaptionClickArea() const {
    if (HasSkin() && !IsDesigning()) {
        const TmnDataSkinPanelControl* rec = PanelRecord();
        if (transparentMode_ || !rec) return captionArea_;  // the transparent look sets it when painted
        return resizeMode_ == rmFixed ? rec->CaptionRect : MapSkinRect(rec->CaptionRect);
    }
    return DefaultCaptionClickArea(Width(), defaultCaptionHeight_);
}

void TmnSkinPanel::ToggleFromCaption() {
    if (checkedMode_) SetChecked(!checked_);
    if (rollUpMode_) SetRollUpState(!rollUp_.State());
}

void TmnSkinPanel::SetCaptionImageList(TImageList* images) {
    if (images_ == images) return;
    SetReference(images_, images);
    Invalidate();
}

void TmnSkinPanel::SetCaptionImageIndex(int index) {
    if (index == imageIndex_) return;
    imageIndex_ = index;
    Invalidate();
}

void TmnSkinPanel::Notification(TComponent* component, Operation operation) {
    TmnSkinCustomControl::Notification(component, operation);
    if (operation == Operation::Remove && ReleaseReference(images_, component)) Invalidate();
}

int TmnSkinPanel::ImageWidth() const {
    if (ShowsListImage()) return images_->Width();
    return glyph_.Empty() ? 0 : glyph_.Width() / numGlyphs_;
}

void TmnSkinPanel::DrawImage(TCanvas& canvas, int x, const TSkinRect& area) {
    if (ShowsListImage()) {
        images_->Draw(canvas, x, area.Top + area.Height() / 2 - images_->Height() / 2, imageIndex_);
        return;
    }
    if (glyph_.Empty()) return;
    const int frame = !Enabled() && numGlyphs_ == 2 ? 2 : 1;
    const int y = area.Top + area.Height() / 2 - glyph_.Height() / 2;
    DrawGlyphFrame(canvas, x, y, glyph_, numGlyphs_, frame);
}

void TmnSkinPanel::SelectCaptionFont(TCanvas& canvas, bool skinned) {
    TFont& font = canvas.Font();
    const TmnDataSkinPanelControl* rec = skinned ? PanelRecord() : nullptr;
    if (rec && useSkinFont_) {
        font.SetName(rec->FontName);
        font.SetHeight(rec->FontHeight);
        font.SetStyle(rec->FontStyle);
    } else {
        font.Assign(defaultFont_);
    }
    font.SetCharSet(SkinLibraryCharSet(skinData_, static_cast<uint8_t>(defaultFont_.CharSet())));
}

// ---- painting ----

void TmnSkinPanel::Paint(HDC dc) {
    // The transparent look replaces the frame: one buffered image, no border images.
    if (transparentMode_ && Width() > 0 && Height() > 0) {
        GetSkinData();
        int w = Width(), h = Height();
        CalcSize(w, h);
    }
    if (transparentMode_ && HasSkin()) TmnSkinControl::Paint(dc);
    else TmnSkinCustomControl::Paint(dc);
    // The focus rectangle marks the caption that Space toggles.
    if (Focused() && Focusable() && !IsPaintingCopy(this)) {
        const TSkinRect a = CaptionClickArea();
        RECT r{a.Left + 1, a.Top + 1, a.Right - 1, a.Bottom - 1};
        if (r.right > r.left && r.bottom > r.top) ::DrawFocusRect(dc, &r);
    }
}

void TmnSkinPanel::CreateControlDefaultImage(TBitmap& bitmap) {
    TmnSkinCustomControl::CreateControlDefaultImage(bitmap);
    TCanvas& canvas = bitmap.Canvas();
    const int w = bitmap.Width(), h = bitmap.Height();
    TSkinRect r{0, 0, w, h};
    switch (borderStyle_) {
        case TmnSkinBorderStyle::bvFrame: Frame3D(canvas, r, clBtnShadow, clBtnShadow); break;
        case TmnSkinBorderStyle::bvRaised: Frame3D(canvas, r, clBtnHighlight, clBtnShadow); break;
        case TmnSkinBorderStyle::bvLowered: Frame3D(canvas, r, clBtnShadow, clBtnHighlight); break;
        case TmnSkinBorderStyle::bvNone: break;
    }
    if (!captionMode_) return;
    TSkinRect cap;
    if (borderStyle_ == TmnSkinBorderStyle::bvFrame) {
        cap = {0, 0, w, defaultCaptionHeight_};
        Frame3D(canvas, cap, clBtnShadow, clBtnShadow);
        Frame3D(canvas, cap, clBtnHighlight, clBtnFace);
    } else {
        cap = {1, 1, w - 1, defaultCaptionHeight_};
        Frame3D(canvas, cap, clBtnShadow, clBtnHighlight);
        Frame3D(canvas, cap, clBtnHighlight, clBtnShadow);
    }
    TSkinRect text = cap;
    if (checkedMode_) text.Left += 20;
    if (rollUpMode_) text.Right -= 10;

    SelectCaptionFont(canvas, false);
    canvas.Font().SetColor(Enabled() ? clBtnText : clGrayText);
    const int tw = caption_.empty() ? 0 : canvas.TextWidth(caption_);
    const int th = canvas.TextHeight(L"Wg");
    const int iw = ImageWidth();
    const int content = tw + (iw > 0 ? iw + spacing_ : 0);
    int x = CaptionStartX(defaultAlignment_, text.Left, text.Right, content, false);

    if (checkedMode_) {
        const int top = cap.Top + cap.Height() / 2 - 7;
        canvas.Brush().SetColor(clWindow);
        canvas.FillRect({5, top, 19, top + 14});
        canvas.Brush().SetColor(clBtnShadow);
        canvas.FrameRect({5, top, 19, top + 14});
        if (checked_) DrawCheckGlyph(canvas, 5 + 3, top + 2, clBtnText);
    }
    const int imageX = x;
    if (iw > 0) x += iw + spacing_;
    {
        TCanvasState state(canvas);
        canvas.IntersectClip(ToRect(text));
        canvas.Brush().SetStyle(TBrushStyle::bsClear);
        canvas.TextOut(x, text.Top + text.Height() / 2 - th / 2, caption_);
    }
    DrawImage(canvas, imageX, text);
    if (rollUpMode_) {
        const int dpi = ShownDpi();
        DrawArrowGlyph(canvas, {text.Right, cap.Top, text.Right + ScaledForDpi(10, dpi), cap.Bottom}, clBtnText,
                       rollUp_.State() ? 4 : 3, dpi);
    }
}

void TmnSkinPanel::DrawClientBackground(TCanvas& canvas, const TSkinRect& fill) {
    if (bgPicture_.Empty()) {
        TmnSkinCustomControl::DrawClientBackground(canvas, fill);
        return;
    }
    // A background picture: stretched into the client when the skin stretches, else tiled.
    if (fill.IsEmpty()) return;
    if (stretchEffect_) {
        ::SetStretchBltMode(canvas.Handle(), COLORONCOLOR);
        ::StretchBlt(canvas.Handle(), fill.Left, fill.Top, fill.Width(), fill.Height(), bgPicture_.Canvas().Handle(),
                     0, 0, bgPicture_.Width(), bgPicture_.Height(), SRCCOPY);
        return;
    }
    TBrushHandle brush(::CreatePatternBrush(bgPicture_.Handle()));
    if (!brush) return;
    POINT old;
    ::SetBrushOrgEx(canvas.Handle(), fill.Left, fill.Top, &old);
    RECT r = ToRect(fill);
    ::FillRect(canvas.Handle(), &r, brush.Get());
    ::SetBrushOrgEx(canvas.Handle(), old.x, old.y, nullptr);
}

void TmnSkinPanel::CreateControlSkinImage(TBitmap& bitmap) {
    TmnDataSkinPanelControl* rec = PanelRecord();
    if (transparentMode_) {
        DrawTransparentLook(bitmap);
        return;
    }
    if (borderStyle_ == TmnSkinBorderStyle::bvNone && resizeMode_ == rmBoth && !captionMode_ && !stretchEffect_) {
        DrawClientPiece(bitmap.Canvas(), {0, 0, bitmap.Width(), bitmap.Height()}, false);
        return;
    }
    if (!forceBackground_ || resizeMode_ != rmBoth) {
        TmnSkinCustomControl::CreateControlSkinImage(bitmap);
        // Without border mode the client background of a background picture goes on top.
        if (!bgPicture_.Empty() && resizeMode_ == rmBoth) DrawClientBackground(bitmap.Canvas(), new_.Cl);
    }
    if (!rec) return;
    captionArea_ = resizeMode_ == rmFixed ? rec->CaptionRect : MapSkinRect(rec->CaptionRect);
    if (!caption_.empty() && !captionArea_.IsEmpty()) DrawSkinCaption(bitmap.Canvas(), *rec);
}

void TmnSkinPanel::DrawSkinCaption(TCanvas& canvas, TmnDataSkinPanelControl& rec) {
    TSkinRect text = captionArea_;
    if (rollUpMode_) text.Right -= 12;
    if (checkedMode_) {
        const TSkinRect& img = checked_ ? rec.CheckImageRect : rec.UnCheckImageRect;
        if (!img.IsEmpty()) {
            DrawTransparentPart(canvas, text.Left, text.Top + text.Height() / 2 - img.Height() / 2, picture_, img);
            text.Left += img.Width() + 2;
        }
    }
    SelectCaptionFont(canvas, true);
    canvas.Font().SetColor(rec.FontColor);
    const int tw = canvas.TextWidth(caption_);
    const int th = canvas.TextHeight(L"Wg");
    const int iw = ImageWidth();
    const int content = tw + (iw > 0 ? iw + spacing_ : 0);
    int x = CaptionStartX(rec.Alignment, text.Left, text.Right, content, true);
    int imageX = x;

    if (!rec.FrameRect.IsEmpty() && InsidePicture(rec.FrameRect, picture_.Width(), picture_.Height())) {
        const int extra = rec.FrameRect.Width() - rec.FrameTextRect.Width();
        TBitmap frame;
        BuildHStripImage(rec.FrameLeftOffset, rec.FrameRightOffset, frame, picture_, rec.FrameRect, tw + extra, false);
        int fx = x;
        switch (rec.Alignment) {
            case taRightJustify:
                fx = x - extra;
                imageX -= extra;
                x -= extra;
                break;
            case taCenter:
                fx = x - rec.FrameTextRect.Left - 2;
                imageX -= rec.FrameTextRect.Left;
                x -= 2;
                break;
            default: x += rec.FrameTextRect.Left; break;
        }
        canvas.Draw(fx, captionArea_.Top, frame);
    }
    if (rollUpMode_) {
        const TSkinRect mark{text.Right, captionArea_.Top, text.Right + 10, captionArea_.Bottom};
        if (InsidePicture(rec.MarkFrameRect, picture_.Width(), picture_.Height()))
            ::BitBlt(canvas.Handle(), mark.Left, mark.Top, rec.MarkFrameRect.Width(), rec.MarkFrameRect.Height(),
                     picture_.Canvas().Handle(), rec.MarkFrameRect.Left, rec.MarkFrameRect.Top, SRCCOPY);
        DrawArrowGlyph(canvas, ToRect(mark), rec.FontColor, rollUp_.State() ? 4 : 3, ShownDpi());
    }
    if (iw > 0) x += iw + spacing_;
    {
        TCanvasState state(canvas);
        canvas.IntersectClip(ToRect(text));
        canvas.Brush().SetStyle(TBrushStyle::bsClear);
        canvas.TextOut(x, text.Top + text.Height() / 2 - th / 2, caption_);
    }
    DrawImage(canvas, imageX, text);
}

void TmnSkinPanel::DrawTransparentLook(TBitmap& bitmap) {
    TCanvas& canvas = bitmap.Canvas();
    const int w = bitmap.Width(), h = bitmap.Height();
    DrawParentBackground(this, canvas);
    // The line colour is the picture's pixel at the bottom middle of the skin rectangle.
    const int px = skinRect_.Left + skinRect_.Width() / 2, py = skinRect_.Bottom - 1;
    TColor line = clBtnShadow;
    if (px >= 0 && py >= 0 && px < picture_.Width() && py < picture_.Height()) {
        const COLORREF c = ::GetPixel(picture_.Canvas().Handle(), px, py);
        line = static_cast<TColor>(c);
    }
    canvas.Pen().SetColor(line);
    canvas.Pen().SetWidth(1);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    if (!captionMode_) {
        if (borderStyle_ != TmnSkinBorderStyle::bvNone) canvas.Rectangle(0, 0, w, h);
        DrawTransparentExtras(canvas);
        return;
    }
    TmnDataSkinPanelControl* rec = PanelRecord();
    SelectCaptionFont(canvas, true);
    const int th = canvas.TextHeight(L"Wg");
    captionArea_ = {5, 0, w, th + 5};
    int x = 5;
    if (checkedMode_ && rec) {
        const TSkinRect& img = checked_ ? rec->CheckImageRect : rec->UnCheckImageRect;
        if (!img.IsEmpty()) {
            DrawTransparentPart(canvas, x, captionArea_.Height() / 2 - img.Height() / 2, picture_, img);
            x += img.Width() + 5;
        }
    }
    const int imageX = x;
    if (ImageWidth() > 0) x += ImageWidth() + 2;
    TColor textColor = skinData_ ? skinData_->SkinColors().cBtnText : clBtnText;
    if (skinData_) {
        const int label = skinData_->GetControlIndex(L"stdlabel");
        if (label >= 0)
            if (auto* l = dynamic_cast<TmnDataSkinStdLabelControl*>(skinData_->SkinControls()[static_cast<size_t>(label)].get()))
                textColor = l->FontColor;
    }
    canvas.Font().SetColor(textColor);
    DrawTextLine(canvas, caption_, {x, 0, w, th + 5});
    const int tw = caption_.empty() ? 0 : canvas.TextWidth(caption_);
    DrawImage(canvas, imageX, captionArea_);
    const int m = captionArea_.Height() / 2;
    canvas.Pen().SetColor(line);
    const int dpi = ShownDpi();
    if (rollUpMode_) {
        DrawArrowGlyph(canvas, {x + tw + ScaledForDpi(3, dpi), 0, x + tw + ScaledForDpi(10, dpi), th + 5}, textColor,
                       rollUp_.State() ? 4 : 3, dpi);
        canvas.MoveTo(x + tw + ScaledForDpi(12, dpi), m);
    } else {
        canvas.MoveTo(x + tw + ScaledForDpi(3, dpi), m);
    }
    canvas.LineTo(w, m);
    canvas.MoveTo(0, m);
    canvas.LineTo(4, m);
    canvas.MoveTo(w - 1, m);
    canvas.LineTo(w - 1, h - 1);
    canvas.LineTo(0, h - 1);
    canvas.LineTo(0, m);
    DrawTransparentExtras(canvas);
}

// ---- messages and form data ----

TAccessibleInfo TmnSkinPanel::AccessibleInfo() {
    TAccessibleInfo info;
    info.Name = caption_;
    if (captionMode_ && checkedMode_) {
        info.Role = ROLE_SYSTEM_CHECKBUTTON;
        if (checked_) info.State = STATE_SYSTEM_CHECKED;
    } else {
        info.Role = ROLE_SYSTEM_GROUPING;
    }
    if (captionMode_ && rollUpMode_) info.State |= rollUp_.State() ? STATE_SYSTEM_COLLAPSED : STATE_SYSTEM_EXPANDED;
    return info;
}

bool TmnSkinPanel::ReadProperty(const String& name, const FormValue& value, TReader& reader) {
    if (name == L"Caption") SetCaption(value.AsString());
    else if (name == L"TransparentMode") SetTransparentMode(value.AsBool());
    else if (name == L"AutoEnabledControls") autoEnabledControls_ = value.AsBool();
    else if (name == L"CheckedMode") SetCheckedMode(value.AsBool());
    else if (name == L"Checked") SetChecked(value.AsBool());
    else if (name == L"DefaultCaptionHeight") SetDefaultCaptionHeight(value.AsInt());
    else if (name == L"CaptionMode") SetCaptionMode(value.AsBool());
    else if (name == L"RollUpMode") SetRollUpMode(value.AsBool());
    else if (name == L"RollUpState") SetRollUpState(value.AsBool());
    else if (name == L"NumGlyphs") SetNumGlyphs(value.AsInt());
    else if (name == L"CaptionImageIndex") SetCaptionImageIndex(value.AsInt());
    else if (name == L"CaptionImageList") {
        reader.FixupReference<TImageList>(name, value, L"ist keine Bildliste",
                                          [this](TImageList* images) { SetCaptionImageList(images); });
    }
    else if (name == L"Spacing") SetSpacing(value.AsInt());
    else if (name == L"DefaultAlignment") {
        const String& a = value.AsIdent();
        SetDefaultAlignment(a == L"taRightJustify" ? taRightJustify : a == L"taCenter" ? taCenter : taLeftJustify);
    } else if (name == L"BorderStyle") {
        const String& b = value.AsIdent();
        SetBorderStyle(b == L"bvNone"      ? TmnSkinBorderStyle::bvNone
                       : b == L"bvRaised"  ? TmnSkinBorderStyle::bvRaised
                       : b == L"bvLowered" ? TmnSkinBorderStyle::bvLowered
                                           : TmnSkinBorderStyle::bvFrame);
    } else return TmnSkinCustomControl::ReadProperty(name, value, reader);
    return true;
}

LRESULT TmnSkinPanel::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_LBUTTONDOWN:
            if (Focusable()) ::SetFocus(handle_);
            break;
        case WM_LBUTTONUP:
            if ((rollUpMode_ || checkedMode_) && captionMode_) {
                const TSkinPoint p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
                if (PointInsideRect(p, CaptionClickArea())) ToggleFromCaption();
            }
            break;
        case WM_KEYDOWN:
            if (wParam == VK_SPACE && Focusable()) {
                ToggleFromCaption();
                return 0;
            }
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_ENABLE: Invalidate(); break;
        case WM_MOVE:
            if (transparentMode_) {
                Invalidate();
                NotifyChildrenBackground();
            }
            break;
        case WM_SIZE: {
            LRESULT r = TmnSkinCustomControl::WndProc(msg, wParam, lParam);
            if (!HasSkin()) Invalidate();
            return r;
        }
        default: break;
    }
    return TmnSkinCustomControl::WndProc(msg, wParam, lParam);
}

}  // namespace fn
