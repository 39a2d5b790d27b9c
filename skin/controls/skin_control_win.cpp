#include "skin/controls/skin_control_win.h"

#include "platform/win/forms.h"
#include "platform/win/gdi.h"
#include "skin/paint/images_win.h"
#include "skin/paint/regions_win.h"

namespace fn {

// ---- TmnSkinControl ----

TmnSkinControl::TmnSkinControl(TComponent* owner) : TWinControl(owner) {}

TmnSkinControl::~TmnSkinControl() = default;

void TmnSkinControl::HandleDestroyed() {
    controlRegion_ = nullptr;
    TWinControl::HandleDestroyed();
}

bool TmnSkinControl::Enabled() const { return !handle_ || ::IsWindowEnabled(handle_); }

void TmnSkinControl::Invalidate() {
    if (handle_) ::InvalidateRect(handle_, nullptr, FALSE);
}

void TmnSkinControl::SetSkinData(TmnSkinData* skinData) {
    if (skinData_ == skinData) return;
    BeforeChangeSkinData();
    SetReference(skinData_, skinData);
    // Without a skin the control goes back to its default look and size at once.
    if (!IsDesigning() && (!skinData_ || !skinData_->Empty())) ChangeSkinData();
}

void TmnSkinControl::Notification(TComponent* component, Operation operation) {
    TWinControl::Notification(component, operation);
    if (operation == Operation::Remove && component == skinData_) {
        BeforeChangeSkinData();
        ReleaseReference(skinData_, component);
        if (!IsDestroying()) ChangeSkinData();
    }
}

void TmnSkinControl::GetSkinData() {
    skinIndex_ = skinData_ && !skinData_->Empty() ? skinData_->GetControlIndex(skinDataName_) : -1;
}

TmnDataSkinControl* TmnSkinControl::Record() const {
    if (skinIndex_ < 0 || !skinData_) return nullptr;
    const auto& list = skinData_->SkinControls();
    return static_cast<size_t>(skinIndex_) < list.size() ? list[static_cast<size_t>(skinIndex_)].get() : nullptr;
}

void TmnSkinControl::ChangeSkinData() {
    GetSkinData();
    Invalidate();
}

void TmnSkinControl::BeforeChangeSkinData() { skinIndex_ = -1; }

void TmnSkinControl::Paint(HDC dc) {
    const int w = Width(), h = Height();
    if (w < 1 || h < 1) return;
    GetSkinData();
    TBitmap buffer(w, h);
    if (HasSkin()) CreateControlSkinImage(buffer);
    else CreateControlDefaultImage(buffer);
    ::BitBlt(dc, 0, 0, w, h, buffer.Canvas().Handle(), 0, 0, SRCCOPY);
}

void TmnSkinControl::TakePicture(int index, TBitmap& target, const TBitmapData*& source) {
    const TBitmapData* picture = skinData_ ? skinData_->ActivePicture(index) : nullptr;
    if (picture && picture->Empty()) picture = nullptr;
    if (picture == source && (picture == nullptr) == target.Empty()) return;
    source = picture;
    if (picture) target.Assign(*picture);
    else target.SetSize(0, 0);
}

void TmnSkinControl::MouseEnter() {
    if (OnMouseEnter && !IsDesigning()) OnMouseEnter(this);
}

void TmnSkinControl::MouseLeave() {
    if (OnMouseLeave && !IsDesigning()) OnMouseLeave(this);
}

void TmnSkinControl::NotifyChildrenBackground() {
    if (!handle_) return;
    for (HWND child = ::GetWindow(handle_, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        ::SendMessageW(child, MSG_PARENT_BG_CHANGED, 0, 0);
}

bool TmnSkinControl::ReadProperty(const String& name, const FormValue& value, TReader& reader) {
    if (name == L"SkinDataName") SetSkinDataName(value.AsString());
    else if (name == L"SkinData") {
        reader.FixupReference<TmnSkinData>(name, value, L"ist keine Skin-Datenkomponente",
                                           [this](TmnSkinData* data) { SetSkinData(data); });
    } else return TWinControl::ReadProperty(name, value, reader);
    return true;
}

LRESULT TmnSkinControl::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: {
            TPaintDC paint(handle_);
            inWMPaint_ = true;
            struct Done {
                bool& inWMPaint;
                ~Done() { inWMPaint = false; }
            } done{inWMPaint_};
            Paint(paint.Get());
            return 0;
        }
        case WM_PRINTCLIENT: Paint(reinterpret_cast<HDC>(wParam)); return 0;
        case WM_MOUSEMOVE:
            if (!mouseInside_) {
                mouseInside_ = true;
                TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, handle_, 0};
                ::TrackMouseEvent(&track);
                MouseEnter();
            }
            break;
        case WM_MOUSELEAVE:
            mouseInside_ = false;
            MouseLeave();
            return 0;
        case MSG_PARENT_BG_CHANGED: ParentBackgroundChanged(); return 0;
        case WM_GETOBJECT:
            if (LRESULT r = AnswerGetObject(handle_, wParam, lParam)) return r;
            break;
        case MSG_SKIN_BEFORE_CHANGE:
        case MSG_SKIN_CHANGE:
        case MSG_SKIN_AFTER_CHANGE:
            if (reinterpret_cast<TmnSkinData*>(wParam) == skinData_ && skinData_) {
                if (msg == MSG_SKIN_BEFORE_CHANGE) BeforeChangeSkinData();
                else if (msg == MSG_SKIN_CHANGE) ChangeSkinData();
                else AfterChangeSkinData();
            }
            return 0;
        default: break;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}

void NotifySkinControls(TWinControl* root, unsigned message, TmnSkinData* manager) {
    if (!root) return;
    // A change without a sender (manager null) re-reads every control, whatever skin it uses.
    const auto concerned = [&](TmnSkinControl& c) { return manager ? c.SkinData() == manager : message == MSG_SKIN_CHANGE; };
    if (auto* c = dynamic_cast<TmnSkinControl*>(root); c && concerned(*c)) {
        if (message == MSG_SKIN_BEFORE_CHANGE) c->BeforeChangeSkinData();
        else if (message == MSG_SKIN_CHANGE) c->ChangeSkinData();
        else if (message == MSG_SKIN_AFTER_CHANGE) c->AfterChangeSkinData();
    }
    // A handler may add or remove children: walk by index, asking the count each time.
    for (int i = 0; i < root->ControlCount(); ++i) NotifySkinControls(root->Controls(i), message, manager);
}

// ---- TmnSkinCustomControl ----

TmnSkinCustomControl::TmnSkinCustomControl(TComponent* owner) : TmnSkinControl(owner) {
    defaultFont_.SetName(L"Arial");
    defaultFont_.SetHeight(14);
    defaultFont_.OnChange = [this] {
        DefaultFontChanged();
        if (!HasSkin()) Invalidate();
    };
}

void TmnSkinCustomControl::SetDefaultWidth(int width) {
    defaultWidth_ = width;
    if (!HasSkin() && width > 0) SetBounds(bounds_.left, bounds_.top, width, Height());
}

void TmnSkinCustomControl::SetDefaultHeight(int height) {
    defaultHeight_ = height;
    if (!HasSkin() && height > 0) SetBounds(bounds_.left, bounds_.top, Width(), height);
}

void TmnSkinCustomControl::SetDefaultFont(const TFont& font) {
    defaultFont_.Assign(font);
    DefaultFontChanged();
}

TmnDataSkinCustomControl* TmnSkinCustomControl::CustomRecord() const {
    return dynamic_cast<TmnDataSkinCustomControl*>(Record());
}

void TmnSkinCustomControl::GetSkinData() {
    TmnSkinControl::GetSkinData();
    TmnDataSkinCustomControl* r = CustomRecord();
    if (r) {
        TakePicture(r->PictureIndex, picture_, pictureSource_);
        TakePicture(r->MaskPictureIndex, mask_, maskSource_);
    }
    // A record of another kind, or one without its picture, gives the default look: nothing is
    // ever copied from a picture that is not there.
    if (!r || picture_.Empty() || r->SkinRect.IsEmpty()) {
        skinIndex_ = -1;
        resizeMode_ = rmNone;
        return;
    }
    g_ = {r->LeftTopPoint, r->RightTopPoint, r->LeftBottomPoint, r->RightBottomPoint, r->ClientRect};
    skinRect_ = r->SkinRect;
    stretch_ = {r->LeftStretch, r->TopStretch, r->RightStretch, r->BottomStretch};
    stretchEffect_ = r->StretchEffect;
    stretchType_ = r->StretchType;
    resizeMode_ = ResizeModeOf(skinRect_, g_);
}

void TmnSkinCustomControl::BeforeChangeSkinData() {
    TmnSkinControl::BeforeChangeSkinData();
    // The old skin's pictures are about to be freed: no copy or pointer of them survives.
    pictureSource_ = maskSource_ = nullptr;
    picture_.SetSize(0, 0);
    mask_.SetSize(0, 0);
    resizeMode_ = rmNone;
}

void TmnSkinCustomControl::CalcSize(int& width, int& height) {
    if (!HasSkin() || resizeMode_ == rmNone) return;
    const TSkinSize s = CalcSkinSize(resizeMode_, g_, skinRect_, width, height);
    width = s.Width;
    height = s.Height;
    new_ = s.New;
}

TSkinRect TmnSkinCustomControl::MapSkinRect(const TSkinRect& r) const {
    return fn::MapSkinRect(resizeMode_, g_, skinRect_, Width(), Height(), r);
}

void TmnSkinCustomControl::ChangeSkinData() {
    // Whatever the manager held before, the pictures are read afresh.
    pictureSource_ = maskSource_ = nullptr;
    GetSkinData();
    int w = Width(), h = Height();
    if (!HasSkin()) {
        if (defaultWidth_ > 0) w = defaultWidth_;
        if (defaultHeight_ > 0) h = defaultHeight_;
    } else {
        CalcSize(w, h);
    }
    ConstrainSize(w, h);
    if (w != Width() || h != Height()) {
        SetBounds(bounds_.left, bounds_.top, w, h);  // WM_SIZE sets the region and repaints
        if (!HasSkin() || !handle_) SetControlRegion();
    } else {
        SetControlRegion();
    }
    Invalidate();
}

void TmnSkinCustomControl::SetControlRegion() {
    if (!handle_) return;
    if (!HasSkin() || mask_.Empty()) {
        // The window deletes its region when it is replaced; the handle is only forgotten.
        if (controlRegion_ && SetWindowRegion(handle_, {}, true)) controlRegion_ = nullptr;
        return;
    }
    int w = Width(), h = Height();
    CalcSize(w, h);
    TRegionHandle region;
    if (resizeMode_ == rmFixed) {
        region = BuildMaskRegion(mask_);
    } else {
        const TRegionGeometry rg = RegionGeometry(resizeMode_, g_, skinRect_, Width(), Height());
        region = BuildFrameRegion(rg.Old, rg.New, mask_, Width(), Height());
    }
    const HRGN given = region.Get();
    if ((given || controlRegion_) && SetWindowRegion(handle_, std::move(region), true)) controlRegion_ = given;
}

void TmnSkinCustomControl::HandleCreated() {
    TmnSkinControl::HandleCreated();
    // The window was made at the size asked for; the skin may want another.
    SetBounds(bounds_.left, bounds_.top, Width(), Height());
    shownWidth_ = Width();
    shownHeight_ = Height();
    SetControlRegion();
}

void TmnSkinCustomControl::CreateControlDefaultImage(TBitmap& bitmap) {
    bitmap.Canvas().Brush().SetColor(clBtnFace);
    bitmap.Canvas().FillRect({0, 0, bitmap.Width(), bitmap.Height()});
}

void TmnSkinCustomControl::CreateControlSkinImage(TBitmap& bitmap) { DrawSkinImage(bitmap, picture_, skinRect_); }

void TmnSkinCustomControl::DrawSkinImage(TBitmap& bitmap, TBitmap& picture, const TSkinRect& r) {
    if (picture.Empty() || !InsidePicture(r, picture.Width(), picture.Height())) return;
    const int w = Width(), h = Height();
    switch (resizeMode_) {
        case rmFixed:
            bitmap.SetSize(r.Width(), r.Height());
            ::BitBlt(bitmap.Canvas().Handle(), 0, 0, r.Width(), r.Height(), picture.Canvas().Handle(), r.Left,
                     r.Top, SRCCOPY);
            break;
        case rmBoth:
            if (!forceBackground_)
                BuildNinePartImage(g_, new_, bitmap, picture, r, w, h, true, stretch_, stretchEffect_, stretchType_);
            break;
        case rmHorizontal:
            BuildHStripImage(g_.LT.X, skinRect_.Width() - g_.RT.X, bitmap, picture, r, w, stretchEffect_);
            break;
        case rmVertical:
            BuildVStripImage(g_.LT.Y, skinRect_.Height() - g_.LB.Y, bitmap, picture, r, h, stretchEffect_);
            break;
        default: break;
    }
}

void TmnSkinCustomControl::DrawClientPiece(TCanvas& canvas, const TSkinRect& fill, bool stretch) {
    const TBackgroundPlan plan = BackgroundPlan(skinRect_, g_.Cl, fill, stretch, stretchType_,
                                                picture_.Width(), picture_.Height());
    if (!plan.Draw) return;
    // One tile (scaled when the skin stretches), then one pattern fill: a 1-pixel tile costs
    // no more than a large one.
    TBitmap tile(plan.TileWidth, plan.TileHeight);
    const TSkinRect& s = plan.Source;
    ::SetStretchBltMode(tile.Canvas().Handle(), COLORONCOLOR);
    ::StretchBlt(tile.Canvas().Handle(), 0, 0, plan.TileWidth, plan.TileHeight, picture_.Canvas().Handle(), s.Left,
                 s.Top, s.Width(), s.Height(), SRCCOPY);
    const TSkinRect& f = plan.Fill;
    if (plan.TileWidth >= f.Width() && plan.TileHeight >= f.Height()) {
        ::BitBlt(canvas.Handle(), f.Left, f.Top, f.Width(), f.Height(), tile.Canvas().Handle(), 0, 0, SRCCOPY);
        return;
    }
    TBrushHandle brush(::CreatePatternBrush(tile.Handle()));
    if (!brush) return;
    POINT old;
    ::SetBrushOrgEx(canvas.Handle(), f.Left, f.Top, &old);
    RECT r{f.Left, f.Top, f.Right, f.Bottom};
    ::FillRect(canvas.Handle(), &r, brush.Get());
    ::SetBrushOrgEx(canvas.Handle(), old.x, old.y, nullptr);
}

void TmnSkinCustomControl::Paint(HDC dc) {
    const int w = Width(), h = Height();
    if (w < 1 || h < 1) return;
    GetSkinData();
    int cw = w, ch = h;
    CalcSize(cw, ch);
    if (!HasSkin() || !forceBackground_ || resizeMode_ != rmBoth) {
        TmnSkinControl::Paint(dc);
        return;
    }
    // Border mode: the frame as four border images, the client background between them; then
    // the skin image hook draws what descendants put on top (a caption) over the whole.
    TBitmap left, top, right, bottom;
    BuildBorderImages(g_, new_, left, top, right, bottom, picture_, skinRect_, w, h, stretch_);
    TBitmap buffer(w, h);
    TCanvas& canvas = buffer.Canvas();
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect({0, 0, w, h});
    if (drawBackground_) DrawClientBackground(canvas, new_.Cl);
    canvas.Draw(0, top.Height(), left);
    canvas.Draw(w - right.Width(), top.Height(), right);
    canvas.Draw(0, h - bottom.Height(), bottom);
    canvas.Draw(0, 0, top);
    CreateControlSkinImage(buffer);
    ::BitBlt(dc, 0, 0, w, h, canvas.Handle(), 0, 0, SRCCOPY);
}

void TmnSkinCustomControl::ChangeScale(int dpi, int fromDpi) {
    TmnSkinControl::ChangeScale(dpi, fromDpi);
    defaultFont_.SetHeight(ScaledForDpi(defaultFont_.Height(), dpi, fromDpi));
    SetDefaultWidth(ScaledForDpi(defaultWidth_, dpi, fromDpi));
    SetDefaultHeight(ScaledForDpi(defaultHeight_, dpi, fromDpi));
}

bool TmnSkinCustomControl::ReadProperty(const String& name, const FormValue& value, TReader& reader) {
    if (name == L"DefaultWidth") SetDefaultWidth(reader.Scaled(value));
    else if (name == L"DefaultHeight") SetDefaultHeight(reader.Scaled(value));
    else if (name == L"UseSkinFont") useSkinFont_ = value.AsBool();
    else if (name.rfind(L"DefaultFont.", 0) == 0) {
        if (!ReadFontProperty(defaultFont_, name.substr(12), value, reader)) return false;
    } else return TmnSkinControl::ReadProperty(name, value, reader);
    return true;
}

LRESULT TmnSkinCustomControl::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_WINDOWPOSCHANGING: {
            // Every way of sizing the window (the program, alignment, the user) passes here: a
            // fixed-size picture keeps its size, a strip its thickness.
            auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
            if (!(pos->flags & SWP_NOSIZE)) {
                GetSkinData();
                int w = pos->cx, h = pos->cy;
                if (HasSkin()) CalcSize(w, h);
                ConstrainSize(w, h);
                pos->cx = w;
                pos->cy = h;
            }
            break;
        }
        case WM_WINDOWPOSCHANGED: {
            // The size kept may differ from the one asked for: the bounds follow the window.
            LRESULT r = TmnSkinControl::WndProc(msg, wParam, lParam);
            if (handle_) {
                RECT wr;
                ::GetWindowRect(handle_, &wr);
                if (HWND parent = ::GetParent(handle_)) ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&wr), 2);
                bounds_ = wr;
            }
            return r;
        }
        case WM_SIZE: {
            LRESULT r = TmnSkinControl::WndProc(msg, wParam, lParam);
            if (Width() != shownWidth_ || Height() != shownHeight_) {
                shownWidth_ = Width();
                shownHeight_ = Height();
                SetControlRegion();
                Invalidate();
                // The children's background was rescaled with the client.
                if (HasSkin() && stretchEffect_) NotifyChildrenBackground();
            }
            return r;
        }
        default: break;
    }
    return TmnSkinControl::WndProc(msg, wParam, lParam);
}

int TmnSkinControl::ShownDpi() const {
    if (skinData_) return skinData_->Dpi();
    const TForm* form = handle_ ? GetParentForm(handle_) : nullptr;
    return form ? form->Dpi() : 96;
}

}  // namespace fn
