#include "skin/form/mdi_tabs_bar_win.h"

#include <algorithm>

#include "platform/win/application.h"
#include "skin/controls/control_geometry.h"
#include "skin/form/skin_object_owner.h"
#include "skin/paint/effects.h"
#include "skin/paint/images_win.h"
#include "skin/paint/parent_background_win.h"
#include "skin/paint/text_win.h"

namespace fn {

namespace {

// Unskinned tab fills: mouse over and active.
constexpr TColor kPlainMouseInColor = 13811126;  // RGB(182, 189, 210)
constexpr TColor kPlainActiveColor = 11899781;   // RGB(133, 147, 181)
constexpr int kPlainTextInset = 2;

// The form skinning component of a form: the component it owns that the skin objects answer to.
TmnSkinObjectOwner* SkinningComponentOf(const TForm* form) {
    for (int i = 0; form && i < form->ComponentCount(); ++i)
        if (auto* owner = dynamic_cast<TmnSkinObjectOwner*>(form->Components(i))) return owner;
    return nullptr;
}

void Upend(TBitmap& image) {
    if (image.Empty()) return;
    const TmnEffectBmp source = TmnEffectBmp::CreateFromBitmap(image.Handle());
    TmnEffectBmp flipped(source.Width, source.Height);
    source.FlipVertical(flipped);
    flipped.Draw(image.Canvas().Handle(), 0, 0);
}

}  // namespace

TmnSkinMDITabsBar::TmnSkinMDITabsBar(TComponent* owner) : TmnSkinControl(owner) {
    skinDataName_ = L"tab";
    defaultFont_.SetName(L"Arial");
    defaultFont_.SetHeight(14);
    defaultFont_.OnChange = [this] { Invalidate(); };
    SetBounds(0, 0, 150, 21);
    model_.SetSize(150, 21);
}

TmnSkinMDITabsBar::~TmnSkinMDITabsBar() {
    // The tabs (and their watches on the children) go before anything they could call into.
    tabs_.clear();
}

void TmnSkinMDITabsBar::Register() {
    RegisterComponentClass(L"TmnSkinMDITabsBar", [](TComponent* owner) { return new TmnSkinMDITabsBar(owner); });
}

// ---- properties ----

void TmnSkinMDITabsBar::SetTabKind(TmnSkinMDITabKind kind) {
    tabKind_ = kind;
    if (HasSkin()) Invalidate();
}

void TmnSkinMDITabsBar::SetMantle(TmnMDITabsOwner* mantle) {
    SetReference(mantle_, mantle);
}

void TmnSkinMDITabsBar::SetUseSkinSize(bool on) {
    useSkinSize_ = on;
    ApplySkinHeight();
    Invalidate();
}

void TmnSkinMDITabsBar::SetUseSkinFont(bool on) {
    useSkinFont_ = on;
    Invalidate();
}

void TmnSkinMDITabsBar::SetMoveTabs(bool on) {
    moveTabs_ = on;
    if (!on) model_.Cancel();
}

void TmnSkinMDITabsBar::SetDefaultHeight(int height) {
    defaultHeight_ = height;
    if (HasSkin() || height <= 0) return;
    SetBounds(bounds_.left, bounds_.top, Width(), height);
    if (Parent()) Parent()->AlignControls();
}

void TmnSkinMDITabsBar::SetDefaultTabWidth(int width) {
    model_.SetDefaultTabWidth(width);
    Invalidate();
}

void TmnSkinMDITabsBar::Notification(TComponent* component, Operation operation) {
    TmnSkinControl::Notification(component, operation);
    if (operation == Operation::Remove) ReleaseReference(mantle_, component);
}

void TmnSkinMDITabsBar::ChangeScale(int dpi, int fromDpi) {
    TmnSkinControl::ChangeScale(dpi, fromDpi);
    defaultFont_.SetHeight(ScaledForDpi(defaultFont_.Height(), dpi, fromDpi));
    SetDefaultHeight(ScaledForDpi(defaultHeight_, dpi, fromDpi));
    SetDefaultTabWidth(ScaledForDpi(DefaultTabWidth(), dpi, fromDpi));
    ApplySkinHeight();  // a skin's tab picture gives the height, not the scaled bounds
}

bool TmnSkinMDITabsBar::ReadProperty(const String& name, const FormValue& value, TReader& reader) {
    if (name == L"TabKind") SetTabKind(value.AsIdent() == L"mntkButton" ? mntkButton : mntkTab);
    else if (name == L"Mantle") {
        reader.FixupReference<TmnMDITabsOwner>(name, value, L"ist keine Formular-Skin-Komponente",
                                               [this](TmnMDITabsOwner* owner) { SetMantle(owner); });
    } else if (name == L"SupportChildMenus") supportChildMenus_ = value.AsBool();
    else if (name == L"UseSkinSize") useSkinSize_ = value.AsBool();
    else if (name == L"UseSkinFont") useSkinFont_ = value.AsBool();
    else if (name == L"MoveTabs") moveTabs_ = value.AsBool();
    else if (name == L"DefaultHeight") SetDefaultHeight(reader.Scaled(value));
    else if (name == L"DefaultTabWidth") SetDefaultTabWidth(reader.Scaled(value));
    else if (name.rfind(L"DefaultFont.", 0) == 0) {
        if (!ReadFontProperty(defaultFont_, name.substr(12), value, reader)) return false;
    } else return TmnSkinControl::ReadProperty(name, value, reader);
    return true;
}

// ---- the skin ----

void TmnSkinMDITabsBar::GetSkinData() {
    TmnSkinControl::GetSkinData();
    const auto* rec = dynamic_cast<const TmnDataSkinTabControl*>(Record());
    if (!rec) {
        // A record of another kind is no tab record: the bar draws its unskinned look.
        skinIndex_ = -1;
        skin_ = {};
        return;
    }
    TakePicture(rec->PictureIndex, picture_, pictureSource_);
    skin_.TabImage = rec->TabRect;
    skin_.ActiveTabImage = rec->ActiveTabRect.IsEmpty() ? rec->TabRect : rec->ActiveTabRect;
    skin_.MouseInTabImage = rec->MouseInTabRect.IsEmpty() ? rec->TabRect : rec->MouseInTabRect;
    skin_.TabsBGImage = rec->TabsBgRect;
    skin_.TabLeftOffset = rec->TabLeftOffset;
    skin_.TabRightOffset = rec->TabRightOffset;
    skin_.FontName = rec->FontName;
    skin_.FontHeight = rec->FontHeight;
    skin_.FontStyle = rec->FontStyle;
    skin_.FontColor = rec->FontColor;
    skin_.ActiveFontColor = rec->FocusFontColor;
    skin_.MouseInFontColor = rec->MouseInFontColor;
    skin_.TabStretch = rec->TabStretchEffect;
}

void TmnSkinMDITabsBar::BeforeChangeSkinData() {
    TmnSkinControl::BeforeChangeSkinData();
    // The old skin's pictures are about to be freed: no copy or pointer of them survives.
    skin_ = {};
    pictureSource_ = buttonPictureSource_ = nullptr;
    picture_.SetSize(0, 0);
    buttonPicture_.SetSize(0, 0);
}

void TmnSkinMDITabsBar::ChangeSkinData() {
    pictureSource_ = buttonPictureSource_ = nullptr;
    GetSkinData();
    ApplySkinHeight();
    Invalidate();
}

void TmnSkinMDITabsBar::ApplySkinHeight() {
    GetSkinData();
    int h = Height();
    if (HasSkin() && useSkinSize_ && skin_.TabImage.Height() > 0) h = skin_.TabImage.Height();
    else if (defaultHeight_ > 0) h = defaultHeight_;
    if (h == Height()) return;
    SetBounds(bounds_.left, bounds_.top, Width(), h);
    if (Parent()) Parent()->AlignControls();  // an aligned bar hands the rest of the frame on
}

bool TmnSkinMDITabsBar::SkinTransparent() const { return HasSkin() && skinData_ && skinData_->MDITabsTransparent; }

void TmnSkinMDITabsBar::ParentBackgroundChanged() {
    if (SkinTransparent()) Invalidate();
}

// ---- the tabs ----

int TmnSkinMDITabsBar::IndexOfChild(const TForm* child) const {
    for (size_t i = 0; i < tabs_.size(); ++i)
        if (tabs_[i]->Child == child) return static_cast<int>(i);
    return -1;
}

void TmnSkinMDITabsBar::AddTab(TForm* child) {
    if (!child || IndexOfChild(child) >= 0) return;
    auto tab = std::make_unique<TmnMDITab>(this, child);
    // A window destroyed while shown sends no hide: its tab goes with the window.
    tab->destroyWatch_.Install(child->WindowProc(),
                               [this, child](HWND, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next) {
                                   if (msg == WM_DESTROY) RemoveTab(child);
                                   return next(msg, wParam, lParam);
                               });
    tabs_.push_back(std::move(tab));
    model_.TabAdded();
    Invalidate();
    // The window may have become the active one before its tab was there.
    UpdateActiveTabs();
}

void TmnSkinMDITabsBar::RemoveTab(TForm* child) {
    if (IndexOfChild(child) < 0) return;
    model_.TabRemoving();
    // The leave handler may have taken tabs away itself: the child is looked up again.
    const int index = IndexOfChild(child);
    if (index < 0) return;
    tabs_.erase(tabs_.begin() + index);
    model_.TabRemoved();
    Invalidate();
}

void TmnSkinMDITabsBar::UpdateActiveTabs() {
    TForm* frame = Frame();
    TForm* active = frame ? frame->ActiveMDIChild() : nullptr;
    if (!active) return;
    for (auto& tab : tabs_) tab->Active = tab->Child == active;
    Invalidate();
}

TForm* TmnSkinMDITabsBar::Frame() const {
    for (TWinControl* p = Parent(); p; p = p->Parent())
        if (auto* form = dynamic_cast<TForm*>(p)) return form;
    return nullptr;
}

void TmnSkinMDITabsBar::MoveTab(int from, int to) {
    const int count = TabCount();
    if (from < 0 || from >= count || to < 0 || to >= count || from == to) return;
    auto tab = std::move(tabs_[static_cast<size_t>(from)]);
    tabs_.erase(tabs_.begin() + from);
    tabs_.insert(tabs_.begin() + to, std::move(tab));
}

void TmnSkinMDITabsBar::TabMouseEnter(int index) { SetTabMouseIn(index, true); }
void TmnSkinMDITabsBar::TabMouseLeave(int index) { SetTabMouseIn(index, false); }

void TmnSkinMDITabsBar::SetTabMouseIn(int index, bool in) {
    if (index < 0 || index >= TabCount()) return;
    TmnMDITab& tab = Tabs(index);
    tab.MouseIn = in;
    DrawTab(tab);
    const TmnMDITabEvent& event = in ? OnTabMouseEnter : OnTabMouseLeave;
    if (event) event(this, &tab);
}

bool TmnSkinMDITabsBar::HasCapture() const { return handle_ && ::GetCapture() == handle_; }

void TmnSkinMDITabsBar::CaptureMouse() {
    if (handle_) ::SetCapture(handle_);
}

void TmnSkinMDITabsBar::ReleaseMouse() {
    if (HasCapture()) ::ReleaseCapture();
}

// ---- painting ----

void TmnSkinMDITabsBar::LayoutTabs() {
    model_.SetSize(Width(), Height());
    const std::vector<TSkinRect> rects = model_.Layout();
    for (size_t i = 0; i < tabs_.size() && i < rects.size(); ++i) tabs_[i]->ObjectRect = rects[i];
}

void TmnSkinMDITabsBar::CreateControlDefaultImage(TBitmap& bitmap) {
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect({0, 0, bitmap.Width(), bitmap.Height()});
    PaintTabs(canvas);
}

void TmnSkinMDITabsBar::CreateControlSkinImage(TBitmap& bitmap) {
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect({0, 0, bitmap.Width(), bitmap.Height()});
    if (SkinTransparent()) {
        DrawParentBackground(this, canvas);
    } else if (InsidePicture(skin_.TabsBGImage, picture_.Width(), picture_.Height())) {
        const TSkinRect& s = skin_.TabsBGImage;
        for (const TTabsBackgroundCopy& c : BackgroundCopies(Width(), Height(), s.Width(), s.Height()))
            ::BitBlt(canvas.Handle(), c.X, 0, c.Width, c.Height, picture_.Canvas().Handle(), s.Left, s.Top, SRCCOPY);
    }
    PaintTabs(canvas);
}

void TmnSkinMDITabsBar::PaintTabs(TCanvas& canvas) {
    LayoutTabs();
    const int dragTab = model_.Dragging() ? model_.DragTab() : -1;
    for (int i = 0; i < TabCount(); ++i)
        if (i != dragTab) PaintTab(canvas, Tabs(i));
    if (dragTab < 0 || dragTab >= TabCount()) return;
    PaintTab(canvas, Tabs(dragTab));
    const int drop = model_.DropIndex();
    if (drop >= 0 && drop < TabCount()) DrawDropMarker(canvas, DropMarkerX(Tabs(drop).ObjectRect, model_.DragOffset()));
}

void TmnSkinMDITabsBar::DrawDropMarker(TCanvas& canvas, int x) {
    const int h = Height(), m = h / 2;
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.Pen().SetColor(clBlack);
    TSavedDC saved(canvas.Handle());
    ::SetROP2(canvas.Handle(), R2_NOT);
    for (int dx = -1; dx <= 1; ++dx) {
        canvas.MoveTo(x + dx, 0);
        canvas.LineTo(x + dx, h);
    }
    const POINT right[] = {{x + 2, m}, {x + 5, m - 3}, {x + 5, m + 3}};
    const POINT left[] = {{x - 2, m}, {x - 5, m - 3}, {x - 5, m + 3}};
    canvas.Polygon(right, 3);
    canvas.Polygon(left, 3);
}

void TmnSkinMDITabsBar::DrawTab(TForm* child) {
    const int index = IndexOfChild(child);
    if (index >= 0) DrawTab(Tabs(index));
}

void TmnSkinMDITabsBar::DrawTab(TmnMDITab& tab) {
    if (!handle_ || !::IsWindowVisible(handle_)) return;
    LayoutTabs();
    const TSkinRect& r = tab.ObjectRect;
    if (r.Width() <= 0 || r.Height() <= 0) return;
    // The tab is drawn over the bar's background piece, then copied in one step.
    TBitmap buffer(Width(), Height());
    GetSkinData();
    if (HasSkin()) CreateControlSkinImage(buffer);
    else CreateControlDefaultImage(buffer);
    TWindowDC dc(handle_);
    if (dc) ::BitBlt(dc.Get(), r.Left, r.Top, r.Width(), r.Height(), buffer.Canvas().Handle(), r.Left, r.Top, SRCCOPY);
}

void TmnSkinMDITabsBar::PaintTab(TCanvas& canvas, TmnMDITab& tab) {
    if (tab.ObjectRect.Width() <= 0 || tab.ObjectRect.Height() <= 0) return;
    const TabState state = tab.Active ? TabState::Active : tab.MouseIn ? TabState::MouseIn : TabState::Normal;
    if (!HasSkin()) PaintPlainTab(canvas, tab, state);
    else if (tabKind_ == mntkButton) PaintButtonTab(canvas, tab, state);
    else PaintSkinnedTab(canvas, tab, state);
}

void TmnSkinMDITabsBar::PaintPlainTab(TCanvas& canvas, TmnMDITab& tab, TabState state) {
    const TSkinRect& r = tab.ObjectRect;
    canvas.Brush().SetColor(state == TabState::MouseIn  ? kPlainMouseInColor
                            : state == TabState::Active ? kPlainActiveColor
                                                        : clBtnFace);
    canvas.FillRect({r.Left, r.Top, r.Right, r.Bottom});
    canvas.Font().Assign(defaultFont_);
    DrawTabText(canvas, tab, {r.Left + kPlainTextInset, r.Top, r.Right - kPlainTextInset, r.Bottom});
}

void TmnSkinMDITabsBar::PaintSkinnedTab(TCanvas& canvas, TmnMDITab& tab, TabState state) {
    const TSkinRect& r = tab.ObjectRect;
    const TSkinRect& source = state == TabState::MouseIn  ? skin_.MouseInTabImage
                              : state == TabState::Active ? skin_.ActiveTabImage
                                                          : skin_.TabImage;
    if (InsidePicture(source, picture_.Width(), picture_.Height())) {
        TBitmap image;
        // Built at the tab's size, or at the picture's height and then stretched to the tab.
        BuildHStripImage(skin_.TabLeftOffset, skin_.TabRightOffset, image, picture_, source, r.Width(),
                         skin_.TabStretch);
        if (Align() == TAlign::alBottom) Upend(image);
        if (useSkinSize_ && image.Height() == r.Height()) canvas.Draw(r.Left, r.Top, image);
        else canvas.StretchDraw({r.Left, r.Top, r.Right, r.Bottom}, image);
    }
    SetSkinFont(canvas);
    canvas.Font().SetColor(state == TabState::MouseIn  ? skin_.MouseInFontColor
                           : state == TabState::Active ? skin_.ActiveFontColor
                                                       : skin_.FontColor);
    DrawTabText(canvas, tab, {r.Left + skin_.TabLeftOffset, r.Top, r.Right - skin_.TabRightOffset, r.Bottom});
}

void TmnSkinMDITabsBar::PaintButtonTab(TCanvas& canvas, TmnMDITab& tab, TabState state) {
    const int index = skinData_ ? skinData_->GetControlIndex(L"resizebutton") : -1;
    if (index < 0) return;
    const auto* rec = dynamic_cast<const TmnDataSkinButtonControl*>(skinData_->SkinControls()[static_cast<size_t>(index)].get());
    if (!rec) return;
    TakePicture(rec->PictureIndex, buttonPicture_, buttonPictureSource_);
    TSkinRect source = rec->SkinRect;
    TColor color = rec->FontColor;
    if (state == TabState::Active) {
        source = !rec->DownSkinRect.IsEmpty() ? rec->DownSkinRect : !rec->ActiveSkinRect.IsEmpty() ? rec->ActiveSkinRect : rec->SkinRect;
        color = rec->DownFontColor;
    } else if (state == TabState::MouseIn) {
        source = !rec->ActiveSkinRect.IsEmpty() ? rec->ActiveSkinRect : rec->SkinRect;
        color = rec->ActiveFontColor;
    }
    const TSkinRect& r = tab.ObjectRect;
    if (InsidePicture(source, buttonPicture_.Width(), buttonPicture_.Height())) {
        const TFrameGeometry g{rec->LeftTopPoint, rec->RightTopPoint, rec->LeftBottomPoint, rec->RightBottomPoint,
                               rec->ClientRect};
        const TFrameGeometry n = ResizeGeometry(g, r.Width() - rec->SkinRect.Width(), r.Height() - rec->SkinRect.Height());
        TBitmap image;
        BuildNinePartImage(g, n, image, buttonPicture_, source, r.Width(), r.Height(), true,
                           {rec->LeftStretch, rec->TopStretch, rec->RightStretch, rec->BottomStretch},
                           rec->StretchEffect, rec->StretchType);
        canvas.Draw(r.Left, r.Top, image);
    }
    SetSkinFont(canvas);
    canvas.Font().SetColor(color);
    const TSkinRect area = ButtonTextArea(rec->ClientRect, rec->SkinRect, r.Width(), r.Height(),
                                          MeasureTextHeight(canvas, tab.Child->Caption()));
    DrawTabText(canvas, tab, MovedRect(area, r.Left, r.Top));
}

void TmnSkinMDITabsBar::SetSkinFont(TCanvas& canvas) {
    TFont& font = canvas.Font();
    if (useSkinFont_ && !skin_.FontName.empty()) {
        font.SetName(skin_.FontName);
        font.SetHeight(skin_.FontHeight);
        font.SetStyle(skin_.FontStyle);
    } else {
        font.Assign(defaultFont_);
    }
    font.SetCharSet(SkinLibraryCharSet(skinData_, static_cast<uint8_t>(defaultFont_.CharSet())));
}

void TmnSkinMDITabsBar::DrawTabText(TCanvas& canvas, const TmnMDITab& tab, TSkinRect area) {
    String text = tab.Child->Caption();
    FitTextWithEllipsis(canvas, text, std::max(0, area.Width()));
    RECT box{area.Left, area.Top, area.Right, area.Bottom};
    canvas.Brush().SetStyle(TBrushStyle::bsClear);  // the text lies on the tab's image
    DrawTextWide(canvas, text, box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// ---- the mouse ----

void TmnSkinMDITabsBar::RaiseMouse(const TmnMDITabMouseEvent& event, TMouseButton button, int index) {
    if (event && index >= 0 && index < TabCount()) event(this, button, KeyboardShiftState(), &Tabs(index));
}

void TmnSkinMDITabsBar::ClickTab(int index) {
    TForm* child = Tabs(index).Child;
    child->Show();
    // A minimised child comes back: the skinned state through its form skinning component,
    // the platform's own through the MDI client.
    if (TmnSkinObjectOwner* skinning = SkinningComponentOf(child); skinning && skinning->SkinWindowState() == swsMinimized)
        skinning->PostWindowAction(TmnWindowAction::Restore);
    else if (child->HandleAllocated() && ::IsIconic(child->Handle()))
        ::SendMessageW(::GetParent(child->Handle()), WM_MDIRESTORE, reinterpret_cast<WPARAM>(child->Handle()), 0);
}

void TmnSkinMDITabsBar::ChildMenu(int index, int x, int y) {
    TForm* child = Tabs(index).Child;
    if (!supportChildMenus_ || !mantle_ || !SkinningComponentOf(child)) return;
    POINT screen{x, y};
    ::ClientToScreen(handle_, &screen);
    mantle_->ShowChildSystemMenu(child, screen);
}

LRESULT TmnSkinMDITabsBar::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            model_.SetSize(Width(), Height());
            const int index = model_.MouseDown(x, y, moveTabs_);
            if (index < 0) break;
            TForm* child = Tabs(index).Child;
            ClickTab(index);
            // Showing the child may have changed the list: the event names its tab if it is left.
            RaiseMouse(OnTabMouseDown, TMouseButton::mbLeft, IndexOfChild(child));
            return 0;
        }
        case WM_RBUTTONDOWN: {
            model_.SetSize(Width(), Height());
            const int index = model_.TabAt(x, y);
            if (index < 0) break;
            TForm* child = Tabs(index).Child;
            ChildMenu(index, x, y);
            RaiseMouse(OnTabMouseDown, TMouseButton::mbRight, IndexOfChild(child));
            return 0;
        }
        case WM_MOUSEMOVE: model_.MouseMove(x, y); break;  // the base tracks enter and leave
        case WM_MOUSELEAVE: model_.MouseLeave(); break;
        case WM_LBUTTONUP: RaiseMouse(OnTabMouseUp, TMouseButton::mbLeft, model_.MouseUp(x, y)); return 0;
        case WM_RBUTTONUP: RaiseMouse(OnTabMouseUp, TMouseButton::mbRight, model_.TabAt(x, y)); return 0;
        // A press or drag ends without moving a tab whenever the bar loses the mouse.
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != handle_) model_.Cancel();
            break;
        case WM_CANCELMODE:
        case WM_DESTROY: model_.Cancel(); break;
        case WM_SIZE: {
            const LRESULT r = TmnSkinControl::WndProc(msg, wParam, lParam);
            model_.SetSize(Width(), Height());
            Invalidate();
            return r;
        }
        case WM_MOVE:
            if (Align() == TAlign::alNone && SkinTransparent()) Invalidate();
            break;
        default: break;
    }
    return TmnSkinControl::WndProc(msg, wParam, lParam);
}

}  // namespace fn
