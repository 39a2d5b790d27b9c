#include "skin/controls/skin_updown_win.h"

#include <oleacc.h>

#include "skin/paint/glyphs_win.h"
#include "skin/paint/images_win.h"

namespace fn {

namespace {
enum { kNormal, kActive, kPressed };
constexpr int kPageSteps = 10;
}  // namespace

TmnSkinUpDown::TmnSkinUpDown(TComponent* owner) : TmnSkinCustomControl(owner) {
    skinDataName_ = L"hupdown";
    SetBounds(0, 0, 50, 25);
}

void TmnSkinUpDown::GetCreateParams(CreateParams& params) {
    TmnSkinCustomControl::GetCreateParams(params);
    params.style |= WS_TABSTOP;
}

TmnDataSkinUpDownControl* TmnSkinUpDown::UpDownRecord() const {
    return HasSkin() ? dynamic_cast<TmnDataSkinUpDownControl*>(Record()) : nullptr;
}

void TmnSkinUpDown::GetSkinData() {
    TmnSkinCustomControl::GetSkinData();
    for (auto& button : images_)
        for (auto& image : button) image = {};
    if (const TmnDataSkinUpDownControl* rec = UpDownRecord()) {
        images_[TUpDownModel::kUp][kNormal] = rec->UpButtonRect;
        images_[TUpDownModel::kUp][kActive] = rec->ActiveUpButtonRect;
        images_[TUpDownModel::kUp][kPressed] = rec->DownUpButtonRect.IsEmpty() ? rec->ActiveUpButtonRect : rec->DownUpButtonRect;
        images_[TUpDownModel::kDown][kNormal] = rec->DownButtonRect;
        images_[TUpDownModel::kDown][kActive] = rec->ActiveDownButtonRect;
        images_[TUpDownModel::kDown][kPressed] =
            rec->DownDownButtonRect.IsEmpty() ? rec->ActiveDownButtonRect : rec->DownDownButtonRect;
    }
    // An up-down picture is never nine-part: the whole picture is the control.
    if (HasSkin()) {
        g_ = {};
        resizeMode_ = rmFixed;
    }
    Layout();
}

void TmnSkinUpDown::BeforeChangeSkinData() {
    model_.Cancel();
    TmnSkinCustomControl::BeforeChangeSkinData();
    for (auto& button : images_)
        for (auto& image : button) image = {};
}

void TmnSkinUpDown::CalcSize(int& width, int& height) {
    if (useSkinSize_) TmnSkinCustomControl::CalcSize(width, height);
}

void TmnSkinUpDown::SetControlRegion() {
    if (useSkinSize_) TmnSkinCustomControl::SetControlRegion();
}

void TmnSkinUpDown::Layout() {
    if (HasSkin() && useSkinSize_) {
        const int dx = -skinRect_.Left, dy = -skinRect_.Top;
        model_.SetAreas(MovedRect(images_[TUpDownModel::kUp][kNormal], dx, dy),
                        MovedRect(images_[TUpDownModel::kDown][kNormal], dx, dy));
    } else {
        model_.LayoutHalves(Width(), Height(), Vertical());
    }
}

void TmnSkinUpDown::SetUseSkinSize(bool on) {
    useSkinSize_ = on;
    ChangeSkinData();
}

void TmnSkinUpDown::SetOrientation(TUDOrientation orientation) {
    orientation_ = orientation;
    if (IsDesigning() && !IsLoading()) skinDataName_ = Vertical() ? L"vupdown" : L"hupdown";
    Layout();
    Invalidate();
}

// ---- the host of the model ----

void TmnSkinUpDown::StartRepeat(unsigned milliseconds) {
    repeatPeriod_ = milliseconds;
    timer_.Start(handle_, kRepeatTimer, milliseconds);
}

void TmnSkinUpDown::StopRepeat() {
    repeatPeriod_ = 0;
    timer_.Stop();
}

void TmnSkinUpDown::PositionChanged() {
    Invalidate();
    if (OnChange && !IsDesigning()) OnChange(this);
}

void TmnSkinUpDown::ButtonClicked(int button) {
    const TNotifyEvent& event = button == TUpDownModel::kUp ? OnUpButtonClick : OnDownButtonClick;
    if (event) event(this);
}

// ---- painting ----

void TmnSkinUpDown::Paint(HDC dc) {
    TmnSkinCustomControl::Paint(dc);
    if (Focused()) {
        RECT r{1, 1, Width() - 1, Height() - 1};
        if (r.right > r.left && r.bottom > r.top) ::DrawFocusRect(dc, &r);
    }
}

void TmnSkinUpDown::CreateControlDefaultImage(TBitmap& bitmap) {
    Layout();
    TCanvas& canvas = bitmap.Canvas();
    for (int i = 0; i < 2; ++i) {
        const TUpDownModel::Button& b = model_.Buttons(i);
        const TUpDownButtonLook look = DefaultButtonLook(i, b.Active, b.Down, Vertical());
        const RECT r{b.Area.Left, b.Area.Top, b.Area.Right, b.Area.Bottom};
        canvas.Brush().SetColor(look.FillColor);
        canvas.FillRect(r);
        canvas.Brush().SetColor(look.FrameColor);
        canvas.FrameRect(r);
        DrawArrowGlyph(canvas, r, Enabled() ? clBlack : clGrayText, look.Arrow, ShownDpi());
    }
}

void TmnSkinUpDown::CreateControlSkinImage(TBitmap& bitmap) {
    Layout();
    if (!useSkinSize_) {
        DrawResizeButtons(bitmap);
        return;
    }
    TmnSkinCustomControl::CreateControlSkinImage(bitmap);
    for (int i = 0; i < 2; ++i) {
        const TUpDownModel::Button& b = model_.Buttons(i);
        if (!b.Active) continue;  // the base image shows the normal state
        const TSkinRect& src = images_[i][b.Down ? kPressed : kActive];
        if (!InsidePicture(src, picture_.Width(), picture_.Height())) continue;
        ::BitBlt(bitmap.Canvas().Handle(), b.Area.Left, b.Area.Top, src.Width(), src.Height(),
                 picture_.Canvas().Handle(), src.Left, src.Top, SRCCOPY);
    }
}

void TmnSkinUpDown::DrawResizeButtons(TBitmap& bitmap) {
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect({0, 0, bitmap.Width(), bitmap.Height()});
    const int index = skinData_->GetControlIndex(L"resizebutton");
    if (index < 0) return;
    auto* rec = dynamic_cast<TmnDataSkinButtonControl*>(skinData_->SkinControls()[static_cast<size_t>(index)].get());
    const TBitmapData* data = rec ? skinData_->ActivePicture(rec->PictureIndex) : nullptr;
    if (!data || data->Empty()) return;
    TBitmap picture;
    picture.Assign(*data);
    const TFrameGeometry g{rec->LeftTopPoint, rec->RightTopPoint, rec->LeftBottomPoint, rec->RightBottomPoint,
                           rec->ClientRect};
    for (int i = 0; i < 2; ++i) {
        const TUpDownModel::Button& b = model_.Buttons(i);
        const int aw = b.Area.Width(), ah = b.Area.Height();
        if (aw < 1 || ah < 1) continue;
        TSkinRect src = rec->SkinRect;
        TColor color = rec->FontColor;
        if (b.Active && b.Down) {
            src = !rec->DownSkinRect.IsEmpty() ? rec->DownSkinRect : !rec->ActiveSkinRect.IsEmpty() ? rec->ActiveSkinRect : rec->SkinRect;
            color = rec->DownFontColor;
        } else if (b.Active) {
            src = !rec->ActiveSkinRect.IsEmpty() ? rec->ActiveSkinRect : rec->SkinRect;
            color = rec->ActiveFontColor;
        }
        if (!InsidePicture(src, picture.Width(), picture.Height())) continue;
        const TFrameGeometry n = ResizeGeometry(g, aw - rec->SkinRect.Width(), ah - rec->SkinRect.Height());
        TBitmap image;
        BuildNinePartImage(g, n, image, picture, src, aw, ah, true,
                           {rec->LeftStretch, rec->TopStretch, rec->RightStretch, rec->BottomStretch},
                           rec->StretchEffect, rec->StretchType);
        canvas.Draw(b.Area.Left, b.Area.Top, image);
        const int shift = b.Active && b.Down ? 2 : 0;
        const TUpDownButtonLook look = DefaultButtonLook(i, false, false, Vertical());
        const RECT r{b.Area.Left + shift, b.Area.Top + shift, b.Area.Right + shift, b.Area.Bottom + shift};
        DrawArrowGlyph(canvas, r, Enabled() ? color : rec->DisabledFontColor, look.Arrow, ShownDpi());
    }
}

TAccessibleInfo TmnSkinUpDown::AccessibleInfo() {
    TAccessibleInfo info;
    info.Role = ROLE_SYSTEM_SPINBUTTON;
    info.Value = std::to_wstring(model_.Position());
    return info;
}

// ---- input ----

bool TmnSkinUpDown::KeyDown(WPARAM key) {
    switch (key) {
        case VK_UP:
        case VK_RIGHT: model_.Step(+1, 1, true); return true;
        case VK_DOWN:
        case VK_LEFT: model_.Step(-1, 1, true); return true;
        case VK_PRIOR: model_.Step(+1, kPageSteps, true); return true;
        case VK_NEXT: model_.Step(-1, kPageSteps, true); return true;
        case VK_HOME: if (!model_.InChange()) model_.MoveTo(model_.Min()); return true;
        case VK_END: if (!model_.InChange()) model_.MoveTo(model_.Max()); return true;
        default: return false;
    }
}

bool TmnSkinUpDown::ReadProperty(const String& name, const FormValue& value, TReader& reader) {
    if (name == L"UseSkinSize") useSkinSize_ = value.AsBool();
    else if (name == L"Orientation") SetOrientation(value.AsIdent() == L"udVertical" ? TUDOrientation::udVertical : TUDOrientation::udHorizontal);
    else if (name == L"Increment") SetIncrement(value.AsInt());
    else if (name == L"Min") SetMin(value.AsInt());
    else if (name == L"Max") SetMax(value.AsInt());
    else if (name == L"Position") SetPosition(value.AsInt());
    else return TmnSkinCustomControl::ReadProperty(name, value, reader);
    return true;
}

LRESULT TmnSkinUpDown::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            ::SetFocus(handle_);
            ::SetCapture(handle_);
            model_.MouseDown(x, y);
            return 0;
        case WM_MOUSEMOVE:
            model_.MouseMove(x, y);
            break;  // the base tracks enter and leave
        case WM_LBUTTONUP:
            model_.MouseUp(x, y);
            if (::GetCapture() == handle_) ::ReleaseCapture();
            return 0;
        case WM_MOUSELEAVE: model_.MouseLeave(); break;
        case WM_TIMER:
            if (wParam == kRepeatTimer) {
                RepeatTick();
                return 0;
            }
            break;
        // A press ends without a click whenever the control loses the mouse or can no longer
        // take it: the repeat timer never runs on behind it.
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != handle_) model_.Cancel();
            break;
        case WM_CANCELMODE: model_.Cancel(); break;
        case WM_ENABLE:
            if (!wParam) model_.Cancel();
            Invalidate();
            break;
        case WM_SHOWWINDOW:
            if (!wParam) model_.Cancel();
            break;
        case WM_DESTROY: model_.Cancel(); break;
        case WM_GETDLGCODE: return DLGC_WANTARROWS;
        case WM_KEYDOWN:
            if (KeyDown(wParam)) return 0;
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: Invalidate(); break;
        case WM_SIZE: {
            LRESULT r = TmnSkinCustomControl::WndProc(msg, wParam, lParam);
            Layout();
            return r;
        }
        default: break;
    }
    return TmnSkinCustomControl::WndProc(msg, wParam, lParam);
}

}  // namespace fn
