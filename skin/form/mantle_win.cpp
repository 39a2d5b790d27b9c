#include "skin/form/mantle_win.h"

#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "platform/win/application.h"
#include "platform/win/gdi.h"
#include "skin/controls/skin_control_win.h"
#include "skin/controls/skin_status_bar_win.h"
#include "skin/data/resource_strings.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_messages.h"
#include "skin/form/frame_painter_win.h"
#include "skin/form/mdi_tiling.h"
#include "skin/menus/skin_hint_win.h"
#include "skin/menus/skin_menu_win.h"
#include "skin/paint/regions_win.h"
#include "skin/paint/system_win.h"
#include "skin/tray/tray_icon_win.h"

namespace fn {

namespace {

// The library's timers on a dressed form live in a private id range (0x4D01..): the form's own
// program may use any small id, such as 1, for its own timers.
constexpr UINT_PTR FadeTimerId = 0x4D04;
// The MDI client recomputes its scroll bars from its windows' places (an undocumented message
// every MDI client answers).
constexpr UINT WM_MDICALCCHILDSCROLL_ = 0x003F;
constexpr UINT WM_MANTLE_ACTION = WM_APP + 0x4D0;       // wParam: TmnWindowAction, posted
constexpr UINT WM_MANTLE_SYNC_ACTIVE = WM_APP + 0x4D1;  // re-reads the activation after the first show
constexpr UINT WM_MANTLE_SHOWN_CHECK = WM_APP + 0x4D3;  // the seam saw a new window: was it shown already?
constexpr UINT WM_MANTLE_CHANGE_CHECK = WM_APP + 0x4D2; // a skin load has ended, with or without its change

TForm& FormOf(TComponent* owner) {
    auto* form = dynamic_cast<TForm*>(owner);
    if (!form) throw EInvalidCast(L"TmnMantle braucht ein Formular als Besitzer");
    return *form;
}

bool HighContrastOn() {
    HIGHCONTRASTW hc{};
    hc.cbSize = sizeof hc;
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON);
}

TSkinRect ToSkinRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

// ---- construction ----

TmnMantle::TmnMantle(TComponent* owner) : TComponent(owner), form_(FormOf(owner)) {
    for (TFont* f : {&defCaptionFont_, &defInactiveCaptionFont_}) {
        f->SetName(L"Arial");
        f->SetHeight(14);
        f->SetStyle(fsBold);
    }
    defCaptionFont_.SetColor(clBtnText);
    defInactiveCaptionFont_.SetColor(clBtnShadow);

    // The platform's caption buttons go; the form's shortcuts come here first.
    form_.SetBorderIcons(0);
    savedFormShortCut_ = form_.OnShortCut;
    form_.OnShortCut = [this](WORD key, TShiftState shift) { return FormShortCut(key, shift); };

    defaultSysMenu_ = new TPopupMenu(this);
    BuildTrayMenu();
    skinMenu_ = new TmnSkinMenu(this, this);

    formHook_.Install(form_.WindowProc(), [this](HWND w, UINT m, WPARAM wp, LPARAM lp, const TWndProcNext& next) {
        return FormProc(w, m, wp, lp, next);
    });
    if (form_.HandleAllocated()) form_.RecreateWnd();
}

TmnMantle::~TmnMantle() {
    if (inMainMenu_ || inSkinMenu_) {
        inMainMenu_ = inSkinMenu_ = false;
        if (skinMenu_) skinMenu_->CloseAll();
    }
    UnhookMessages();
    HideObjectHint();
    objects_.Clear();
    fadeTimer_.Stop();
    formHook_.Remove();
    clientHook_.Remove();
    if (!form_.IsDestroying()) {
        form_.OnShortCut = savedFormShortCut_;
        if (form_.HandleAllocated()) {
            HWND window = form_.Handle();
            if (::IsWindow(window)) {
                ::SetWindowRgn(window, nullptr, TRUE);  // the system frees the region it owned
                ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
        }
    }
    if (trayIcon_ && !trayIcon_->IsDestroying()) {
        trayIcon_->OnDblClick = nullptr;
        if (trayIcon_->PopupMenu() == trayPopupMenu_) trayIcon_->SetPopupMenu(nullptr);
    }
}

TmnMantle* TmnMantle::Of(const TForm* form) {
    if (!form) return nullptr;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* m = dynamic_cast<TmnMantle*>(form->Components(i))) return m;
    return nullptr;
}

TForm* TmnMantle::FrameForm() const {
    // An MDI child's frame is the form whose MDI client holds the child's window; it need not be
    // the main form.
    TForm* frame = form_.ParentFrame();
    return frame && !frame->IsDestroying() ? frame : nullptr;
}

TmnMantle* TmnMantle::FrameMantle() const {
    if (TForm* frame = FrameForm()) return Of(frame);
    if (!IsMDIChild()) {
        TForm* main = Application()->MainForm();
        return main && main != &form_ ? Of(main) : nullptr;
    }
    return nullptr;
}

// ---- properties ----

void TmnMantle::SetHideCaptionButtons(bool hide) {
    hideCaptionButtons_ = hide;
    ApplyButtonVisibility();
    NcPaint();
}

void TmnMantle::SetBorderIcons(TmnBorderIcons icons) {
    borderIcons_ = icons;
    ApplyButtonVisibility();
    NcPaint();
}

void TmnMantle::SetShowIcon(bool show) {
    showIcon_ = show;
    if (!IsLoading() && !IsDesigning()) NcPaint();
}

void TmnMantle::SetAlphaBlend(bool value) {
    alphaBlend_ = value;
    if (IsDesigning() || !LayeredWindowsAvailable() || !form_.HandleAllocated()) return;
    if (value) AddLayered(alphaBlendValue_);
    else RemoveLayered();
}

void TmnMantle::SetAlphaBlendValue(BYTE value) {
    alphaBlendValue_ = value;
    if (alphaBlend_ && !IsDesigning() && LayeredWindowsAvailable() && form_.HandleAllocated()) AddLayered(value);
}

int TmnMantle::MaxMenuItemsInWindow() const { return skinMenu_->MaxMenuItemsInWindow; }
void TmnMantle::SetMaxMenuItemsInWindow(int count) {
    if (count >= 0) skinMenu_->MaxMenuItemsInWindow = count;
}
bool TmnMantle::UseSkinFontInMenu() const { return skinMenu_->UseSkinFont; }
void TmnMantle::SetUseSkinFontInMenu(bool use) { skinMenu_->UseSkinFont = use; }
int TmnMantle::DefMenuItemHeight() const { return skinMenu_->DefaultMenuItemHeight; }
void TmnMantle::SetDefMenuItemHeight(int height) {
    if (height > 0) skinMenu_->DefaultMenuItemHeight = height;
}
void TmnMantle::SetDefMenuItemFont(const TFontDesc& font) { skinMenu_->DefaultMenuItemFont = font; }
void TmnMantle::SetMenusAlphaBlend(bool value) { skinMenu_->AlphaBlend = value; }
void TmnMantle::SetMenusAlphaBlendAnimation(bool value) { skinMenu_->AlphaBlendAnimation = value; }
void TmnMantle::SetMenusAlphaBlendValue(BYTE value) { skinMenu_->AlphaBlendValue = value; }

void TmnMantle::SetSkinData(TmnSkinData* skinData) {
    SetReference(skinData_, skinData);
    if (!IsDesigning()) ChangeSkinData();
}

void TmnMantle::SetMenusSkinData(TmnSkinData* skinData) { SetReference(menusSkinData_, skinData); }
void TmnMantle::SetMainMenuBar(TmnMenuBarPartner* bar) { SetReference(mainMenuBar_, bar); }
void TmnMantle::SetMDITabsBar(TmnMDITabsPartner* bar) { SetReference(mdiTabsBar_, bar); }
void TmnMantle::SetSkinHint(TmnSkinHint* hint) { SetReference(skinHint_, hint); }
void TmnMantle::SetStatusBar(TmnSkinStatusBar* bar) { SetReference(statusBar_, bar); }
void TmnMantle::SetSystemMenu(TPopupMenu* menu) { SetReference(systemMenu_, menu); }

void TmnMantle::SetTrayIcon(TmnTrayIcon* icon) {
    if (trayIcon_ && trayIcon_ != icon && !trayIcon_->IsDestroying()) {
        trayIcon_->OnDblClick = nullptr;
        if (trayIcon_->PopupMenu() == trayPopupMenu_) trayIcon_->SetPopupMenu(nullptr);
    }
    SetReference(trayIcon_, icon);
    if (!trayIcon_) return;
    if (!AlwaysShowInTray) trayIcon_->SetIconVisible(false);
    trayIcon_->MinimizeToTray = false;
    if (IsDesigning()) return;
    if (!trayIcon_->PopupMenu()) trayIcon_->SetPopupMenu(trayPopupMenu_);
    if (!trayIcon_->OnDblClick)
        trayIcon_->OnDblClick = [this](TComponent*) { PostWindowAction(TmnWindowAction::RestoreFromTray); };
}

void TmnMantle::Notification(TComponent* component, Operation operation) {
    TComponent::Notification(component, operation);
    if (operation != Operation::Remove) return;
    auto clear = [component](auto*& slot) {
        if (slot && dynamic_cast<TComponent*>(slot) == component) slot = nullptr;
    };
    const bool skinGone = skinData_ && component == skinData_;
    clear(skinData_);
    clear(menusSkinData_);
    clear(mainMenuBar_);
    clear(mdiTabsBar_);
    clear(skinHint_);
    clear(trayIcon_);
    clear(statusBar_);
    clear(systemMenu_);
    clear(takenMenu_);
    // Losing the manager leaves the built-in frame, never a frame that stops painting.
    if (skinGone && !IsDestroying()) ChangeSkinData();
}

// ---- geometry, layout, region ----

TmnSizeLimits TmnMantle::SizeLimits(bool withMaximum) const {
    TmnSizeLimitInput in;
    in.Skinned = skinned_;
    if (skinned_) {
        in.PictureWidth = skinData_->Picture().Width;
        in.PictureHeight = skinData_->Picture().Height;
        in.ClientHeight = skinData_->ClientRect.Height();
        in.SkinMinWidth = skinData_->FormMinWidth;
    }
    in.MinWidth = MinWidth, in.MinHeight = MinHeight, in.MaxWidth = MaxWidth, in.MaxHeight = MaxHeight;
    in.Minimized = windowState_ == swsMinimized;
    in.RolledUp = rolledUp_;
    // The maximum asks the platform for the monitor; the minimum is the skin's alone.
    RECT area{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    if (withMaximum && form_.HandleAllocated()) GetWindowMonitorRect(const_cast<TForm&>(form_).Handle(), !MaximizeOnFullScreen, area);
    in.Area = ToSkinRect(area);
    return ComputeSizeLimits(in);
}

void TmnMantle::LayoutObjects() {
    if (!skinned_) return;
    const TmnSkinFormInfo& info = *skinData_;
    const TmnCornerFrame corners{info.LeftTopPoint, info.RightTopPoint, info.LeftBottomPoint, info.RightBottomPoint,
                                 skinData_->Picture().Width, skinData_->Picture().Height};
    objects_.Layout(corners, formWidth_, formHeight_);
    int iw = 0, ih = 0;
    if (showIcon_) {
        iw = ::GetSystemMetrics(SM_CXSMICON), ih = ::GetSystemMetrics(SM_CYSMICON);
        if (iw == 0 || ih == 0) iw = ::GetSystemMetrics(SM_CXSIZE), ih = ::GetSystemMetrics(SM_CYSIZE);
    }
    objects_.LayoutStrip(geometry_, iw, ih);
}

void TmnMantle::Relayout(int w, int h, TRegionRedraw redraw) {
    formWidth_ = w, formHeight_ = h;
    if (!skinned_) return;
    geometry_ = ComputeFrameGeometry(*skinData_, skinData_->Picture().Width, skinData_->Picture().Height, w, h);
    LayoutObjects();
    UpdateRegion(true, redraw);
}

void TmnMantle::UpdateRegion(bool rebuild, TRegionRedraw redraw) {
    if (!form_.HandleAllocated()) return;
    HWND window = form_.Handle();
    // A hidden window gets its region when it is shown: Shown lays it out again.
    if (shownWindow_ != window && !::IsWindowVisible(window)) return;
    if (!region_) region_ = std::make_unique<TmnFrameRegion>();
    const bool hasMask = skinned_ && !skinData_->Mask().Empty();
    HRGN next = nullptr;
    if (hasMask && !MaximizedMDIChild()) {
        next = rebuild ? BuildFrameRegion()
                       : RegionFromData(MaskToRegionData(pictures_.Get(skinData_->Mask()), 0, 0)).Release();
    } else {
        region_->Clear();
        if (skinned_ && IsOSVersion6OrLater() && !MaximizedMDIChild()) next = ::CreateRectRgn(0, 0, formWidth_, formHeight_);
    }
    // The system owns a region once SetWindowRgn took it; it is deleted here only when refused.
    if (next) {
        // A hidden window is painted when it is shown. Otherwise the region only moves the
        // frame's edges: unless the caller repaints everything itself, the frame alone is
        // painted again (not the whole window twice).
        const bool shown = ::IsWindowVisible(window) != FALSE;
        if (!shown || redraw == rrWhole) {
            if (!::SetWindowRgn(window, next, shown)) ::DeleteObject(next);
        } else if (SetWindowRegionRepainting(window, next) && redraw == rrFrame) {
            ::RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
        }
    } else {
        ::SetWindowRgn(window, nullptr, TRUE);
        NcPaint();
    }
    if (skinned_ && (skinData_->StretchEffect || skinData_->MDIBgStretchEffect) && rebuild) {
        if (!IsMDIFrame()) ::InvalidateRect(window, nullptr, TRUE);
        for (int i = 0; i < form_.ControlCount(); ++i)
            if (form_.Controls(i)->HandleAllocated()) ::SendMessageW(form_.Controls(i)->Handle(), MSG_PARENT_BG_CHANGED, 0, 0);
    }
}

HRGN TmnMantle::BuildFrameRegion() {
    const int pw = skinData_->Picture().Width, ph = skinData_->Picture().Height;
    const TmnFitSize fit = FrameFitSize(*skinData_, pw, ph), ends = FoldFarParts(*skinData_, pw, ph);
    const int w = formWidth_, h = formHeight_;
    if (w >= fit.Width && h >= fit.Height) return region_->Build(*skinData_, geometry_, w, h, pictures_);
    // Smaller than the frame's parts: the outline of the smallest frame that holds them, folded
    // at its middle like the frame's picture.
    const int W = std::max(w, fit.Width), H = std::max(h, fit.Height);
    const TRegionHandle full(region_->Build(*skinData_, ComputeFrameGeometry(*skinData_, pw, ph, W, H), W, H, pictures_));
    if (!full) return nullptr;
    TRegionHandle folded(::CreateRectRgn(0, 0, 0, 0));
    for (const TmnFoldPart& part : FoldParts(w, h, fit.Width, fit.Height, ends.Width, ends.Height)) {
        const TSkinRect& r = part.Source;
        TRegionHandle piece(::CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom));
        ::CombineRgn(piece.Get(), piece.Get(), full.Get(), RGN_AND);
        ::OffsetRgn(piece.Get(), part.Dx, part.Dy);
        ::CombineRgn(folded.Get(), folded.Get(), piece.Get(), RGN_OR);
    }
    return folded.Release();
}

RECT TmnMantle::ClientRectInWindow() const {
    if (skinned_) return {geometry_.NewCl.Left, geometry_.NewCl.Top, geometry_.NewCl.Right, geometry_.NewCl.Bottom};
    const int caption = 19;
    return {3, caption + 3, formWidth_ - 3, formHeight_ - 3};
}

// ---- skin change ----

void TmnMantle::ApplyButtonVisibility() {
    objects_.ApplyBorderIcons(borderIcons_, hideCaptionButtons_, [this](const String& id) {
        bool visible = false;
        if (OnActivateCustomObject) OnActivateCustomObject(id, visible);
        return visible;
    });
    if (UseDefaultObjectHint && skinData_) objects_.ApplyDefaultHints();
}

void TmnMantle::SkinBeforeChange() {
    skinChanging_ = true;
    skinned_ = false;
    if (::GetCapture() == (form_.HandleAllocated() ? form_.Handle() : nullptr)) ::ReleaseCapture();
    objects_.Clear();
    tileBrush_.Clear();
    mdiTileBrush_.Clear();
    pictures_.Clear();
    if (region_) region_->Clear();
    if (framePainter_) framePainter_->Clear();
    NotifyControls(skinData_, true);
    // Loads run to their end before the next message: if this one ends without the change
    // message (a broken skin), the check finds the change still pending and draws the built-in
    // frame instead of leaving the window without one.
    if (form_.HandleAllocated()) ::PostMessageW(form_.Handle(), WM_MANTLE_CHANGE_CHECK, 0, 0);
    if (OnBeforeChangeSkinData) OnBeforeChangeSkinData(this);
}

void TmnMantle::NotifyControls(TmnSkinData* manager, bool beforeChange) {
    NotifySkinControls(&form_, beforeChange ? MSG_SKIN_BEFORE_CHANGE : MSG_SKIN_CHANGE, manager);
}

void TmnMantle::ChangeSkinData() {
    // Old objects always go first, whatever started the change.
    objects_.Clear();
    tileBrush_.Clear();
    mdiTileBrush_.Clear();
    pictures_.Clear();
    // In the desktop's high-contrast mode the built-in frame in system colours stands in.
    skinned_ = skinData_ && !skinData_->Empty() && !skinData_->Picture().Empty() && !HighContrastOn();
    if (skinned_) {
        objects_.Rebuild();
        ApplyButtonVisibility();
    }
    // A window not made yet, or still hidden while its form data is read, is laid out once
    // when it is first shown: its controls and size are not final before.
    if (!form_.HandleAllocated() || (form_.IsLoading() && !::IsWindowVisible(form_.Handle()))) {
        pendingChange_ = true;
        return;
    }
    pendingChange_ = false;
    HWND window = form_.Handle();
    if (!skinned_) UpdateRegion(false);
    EnforceMinimumSize();
    RECT wr;
    ::GetWindowRect(window, &wr);
    formWidth_ = wr.right - wr.left, formHeight_ = wr.bottom - wr.top;
    // The whole window is drawn again below.
    if (skinned_) Relayout(formWidth_, formHeight_, rrNone);
    ::SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (IsMDIFrame() && form_.ClientHandle())
        ::RedrawWindow(form_.ClientHandle(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
    else
        ::RedrawWindow(window, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    SetCaptionState(!MaximizedMDIChild());
    StartTimer(TmnObjectTimer::Mouse);
    if (OnChangeSkinData) OnChangeSkinData(this);
    if (!rolledUp_ && (ClientWidth > 0 || ClientHeight > 0)) {
        RECT cr;
        ::GetClientRect(window, &cr);
        form_.SetClientSize(ClientWidth > 0 ? ClientWidth : cr.right, ClientHeight > 0 ? ClientHeight : cr.bottom);
    }
}

void TmnMantle::EnforceMinimumSize() {
    HWND window = form_.Handle();
    RECT wr;
    ::GetWindowRect(window, &wr);
    int w = wr.right - wr.left, h = wr.bottom - wr.top;
    const TmnSizeLimits l = SizeLimits(false);
    if (rolledUp_ || windowState_ == swsMinimized) h = l.MinHeight;
    if (windowState_ == swsMinimized) w = l.MinWidth;
    if (w < l.MinWidth) w = l.MinWidth;
    if (h < l.MinHeight) h = l.MinHeight;
    if (w != wr.right - wr.left || h != wr.bottom - wr.top)
        ::SetWindowPos(window, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- painting ----

void TmnMantle::NcPaint() {
    // A hidden window's frame is painted when it is shown.
    if (!form_.HandleAllocated() || IsLoading() || !::IsWindowVisible(form_.Handle())) return;
    ::SendMessageW(form_.Handle(), WM_NCPAINT, 1, 0);
}

bool TmnMantle::PaintFrame(HDC dc) {
    if (!DrawsFrame() || !dc) return false;
    if (skinned_) {
        if (!framePainter_) framePainter_ = std::make_unique<TmnSkinnedFramePainter>();
        const int pw = skinData_->Picture().Width, ph = skinData_->Picture().Height;
        const TmnFitSize fit = FrameFitSize(*skinData_, pw, ph), ends = FoldFarParts(*skinData_, pw, ph);
        const int w = formWidth_, h = formHeight_;
        if (w < fit.Width || h < fit.Height) {
            // Smaller than the frame's parts: the frame of the smallest size that holds them,
            // folded at its middle, so every edge and corner is still drawn.
            const int W = std::max(w, fit.Width), H = std::max(h, fit.Height);
            TBitmap full(W, H);
            formWidth_ = W, formHeight_ = H;
            geometry_ = ComputeFrameGeometry(*skinData_, pw, ph, W, H);
            LayoutObjects();
            framePainter_->Paint(full.Canvas().Handle(), *skinData_, geometry_, W, H, IsFormActive(), objects_, pictures_);
            for (const TmnFoldPart& part : FoldParts(w, h, fit.Width, fit.Height, ends.Width, ends.Height)) {
                const TSkinRect& r = part.Source;
                ::BitBlt(dc, r.Left + part.Dx, r.Top + part.Dy, r.Width(), r.Height(), full.Canvas().Handle(), r.Left,
                         r.Top, SRCCOPY);
            }
            formWidth_ = w, formHeight_ = h;
        }
        geometry_ = ComputeFrameGeometry(*skinData_, pw, ph, w, h);
        LayoutObjects();
        if (w >= fit.Width && h >= fit.Height)
            framePainter_->Paint(dc, *skinData_, geometry_, w, h, IsFormActive(), objects_, pictures_);
        return true;
    }
    if (skinChanging_) return false;
    if (objects_.Count() == 0) {
        objects_.CreateUnskinned();
        ApplyButtonVisibility();
    }
    int iw = 0, ih = 0;
    if (showIcon_) iw = ::GetSystemMetrics(SM_CXSMICON), ih = ::GetSystemMetrics(SM_CYSMICON);
    const TmnBuiltInFrame f = objects_.LayoutBuiltIn(formWidth_, formHeight_, false, iw, ih);
    TmnBuiltInCaption caption;
    caption.Text = CaptionText();
    if (String child = MaximizedChildCaption(); !child.empty()) caption.Text += L" - [" + child + L"]";
    caption.Active = IsFormActive();
    caption.Font = caption.Active ? &defCaptionFont_ : &defInactiveCaptionFont_;
    if (OnCaptionPaint) caption.Paint = OnCaptionPaint;
    PaintBuiltInFrame(dc, f, formWidth_, formHeight_, caption, objects_, pictures_);
    return true;
}

void TmnMantle::PaintBackground(HDC dc, bool mdiClient) {
    HWND window = mdiClient ? form_.ClientHandle() : form_.Handle();
    RECT cr;
    ::GetClientRect(window, &cr);
    TCanvas canvas(dc);
    auto plain = [&](TColor colour) {
        canvas.Brush().SetColor(colour);
        canvas.FillRect(cr);
    };
    bool drawn = false;
    if (skinned_) {
        const TmnSkinFormInfo& info = *skinData_;
        const TBitmapData* picture = nullptr;
        TSkinRect src;
        bool stretch = info.StretchEffect;
        TStretchType type = info.StretchType;
        if (mdiClient && info.MDIBgPictureIndex != -1) {
            picture = skinData_->ActivePicture(info.MDIBgPictureIndex);
            stretch = info.MDIBgStretchEffect, type = info.MDIBgStretchType;
        } else if (info.BgPictureIndex != -1) {
            picture = skinData_->ActivePicture(info.BgPictureIndex);
        } else {
            picture = &skinData_->Picture();
            src = info.ClientRect;
        }
        if (picture && !picture->Empty()) {
            if (src.IsEmpty() && !(picture == &skinData_->Picture())) src = {0, 0, picture->Width, picture->Height};
            src = ImageInPicture(src, picture->Width, picture->Height);
        }
        if (picture && !src.IsEmpty()) {
            const TmnBackgroundPlan plan = BackgroundPlan({src.Width(), src.Height(), formWidth_, formHeight_,
                                                           cr.right - cr.left, cr.bottom - cr.top, stretch, type});
            if (!plan.Empty()) {
                PaintBackgroundPlan(dc, plan, pictures_.Get(*picture), src, mdiClient ? mdiTileBrush_ : tileBrush_);
                drawn = true;
            }
        }
    }
    if (!drawn) plain(mdiClient ? clAppWorkSpace : clBtnFace);
    if (!logo_.Empty()) {
        const TSkinPoint at = LogoPosition(cr.right - cr.left, cr.bottom - cr.top, logo_.Width(), logo_.Height());
        logo_.SetTransparent(LogoBitMapTransparent);
        canvas.Draw(at.X, at.Y, logo_);
    }
}

void TmnMantle::RedrawObject(TmnActiveSkinObject& object) {
    if (!form_.HandleAllocated() || !DrawsFrame()) return;
    if (!skinned_) {
        NcPaint();
        return;
    }
    if (object.ObjectRect.IsEmpty()) return;
    TWindowDC dc(form_.Handle(), true);
    if (!dc) return;
    TCanvas canvas(dc.Get());
    TmnGdiObjectPainter painter(canvas, pictures_);
    object.Draw(painter, true);
}

void TmnMantle::DrawFormIcon(TmnObjectPainter& painter, int x, int y) {
    TCanvas* canvas = painter.Canvas(0);
    if (!canvas) return;
    int w = ::GetSystemMetrics(SM_CXSMICON), h = ::GetSystemMetrics(SM_CYSMICON);
    if (w == 0 || h == 0) w = ::GetSystemMetrics(SM_CXSIZE), h = ::GetSystemMetrics(SM_CYSIZE);
    if (!iconCopy_) {
        HICON icon = form_.HandleAllocated()
                         ? reinterpret_cast<HICON>(::SendMessageW(form_.Handle(), WM_GETICON, ICON_SMALL, 0))
                         : nullptr;
        if (!icon) icon = reinterpret_cast<HICON>(::GetClassLongPtrW(form_.Handle(), GCLP_HICONSM));
        if (!icon) icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
        if (!icon) icon = ::LoadIconW(nullptr, IDI_APPLICATION);
        iconCopy_.Reset(static_cast<HICON>(::CopyImage(icon, IMAGE_ICON, w, h, 0)));
    }
    if (iconCopy_) ::DrawIconEx(canvas->Handle(), x, y, iconCopy_.Get(), w, h, 0, nullptr, DI_NORMAL);
}

void TmnMantle::CaptionPaint(TmnObjectPainter& painter, int target, const TSkinRect& r, bool active) {
    TCanvas* canvas = painter.Canvas(target);
    if (OnCaptionPaint && canvas) OnCaptionPaint(*canvas, RECT{r.Left, r.Top, r.Right, r.Bottom}, active);
}

void TmnMantle::PaintEvent(const String& idName, TmnObjectPainter& painter, const TSkinRect& r) {
    TCanvas* canvas = painter.Canvas(0);
    if (OnPaintEvent && canvas) OnPaintEvent(idName, *canvas, r);
}

// ---- owner services for the objects ----

// The activation the platform last reported (WM_NCACTIVATE, WM_ACTIVATE): it is known before
// the platform's own bookkeeping catches up, so the frame paints the new state at once.
bool TmnMantle::IsFormActive() const {
    if (!formActive_ || !IsMDIChild()) return formActive_;
    // The active document looks active only while its frame is: a modal dialog or another
    // program takes the activation from both.
    if (const TmnMantle* frame = FrameMantle()) return frame->formActive_;
    const TForm* frame = FrameForm();
    return frame && frame->HandleAllocated() && ::GetActiveWindow() == const_cast<TForm*>(frame)->Handle();
}

bool TmnMantle::ClientAreaAnimation() const { return ClientAreaAnimationEnabled(); }
String TmnMantle::CaptionText() const { return form_.Caption(); }

String TmnMantle::MaximizedChildCaption() const {
    if (!IsMDIFrame() || !childMaximized_) return {};
    TForm* child = MaximizedChild();
    return child ? child->Caption() : String();
}

uint8_t TmnMantle::DefCaptionCharSet() const {
    if (skinData_ && skinData_->ResourceStrData()) return skinData_->ResourceStrData()->CharSet();
    return static_cast<uint8_t>(defCaptionFont_.CharSet());
}

void TmnMantle::MouseDownEvent(const String& id, int x, int y, const TSkinRect& r, int b) {
    if (OnMouseDownEvent) OnMouseDownEvent(id, x, y, r, b);
}
void TmnMantle::MouseUpEvent(const String& id, int x, int y, const TSkinRect& r, int b) {
    if (OnMouseUpEvent) OnMouseUpEvent(id, x, y, r, b);
}
void TmnMantle::MouseMoveEvent(const String& id, int x, int y, const TSkinRect& r) {
    if (OnMouseMoveEvent) OnMouseMoveEvent(id, x, y, r);
}
void TmnMantle::MouseEnterEvent(const String& id) {
    if (OnMouseEnterEvent) OnMouseEnterEvent(id);
}
void TmnMantle::MouseLeaveEvent(const String& id) {
    if (OnMouseLeaveEvent) OnMouseLeaveEvent(id);
}

void TmnMantle::PostWindowAction(TmnWindowAction action) {
    if (form_.HandleAllocated())
        ::PostMessageW(form_.Handle(), WM_MANTLE_ACTION, static_cast<WPARAM>(action), 0);
}

void TmnMantle::StartTimer(TmnObjectTimer timer) {
    if (!form_.HandleAllocated()) return;
    if (!timers_) timers_ = std::make_unique<TmnObjectTimers>(form_.Handle());
    timers_->Start(timer);
}

void TmnMantle::StopTimer(TmnObjectTimer timer) {
    if (timers_) timers_->Stop(timer);
}

// ---- hover tracking, activation ----

TSkinPoint TmnMantle::ToWindow(POINT screen) const {
    RECT wr{};
    if (form_.HandleAllocated()) ::GetWindowRect(const_cast<TForm&>(form_).Handle(), &wr);
    return {screen.x - wr.left, screen.y - wr.top};
}

void TmnMantle::TrackMouse(int x, int y, bool inside) {
    if (!objects_.TrackMouse(x, y, inside)) return;
    HideObjectHint();
    if (objects_.ActiveObject != -1) ShowObjectHintFor(objects_.ActiveObject);
}

void TmnMantle::MouseTimerTick() {
    if (!IsFormActive()) return;
    if (inSizeMove_) {
        StopTimer(TmnObjectTimer::Mouse);
        return;
    }
    POINT p;
    if (!::GetCursorPos(&p)) return;
    const TSkinPoint w = ToWindow(p);
    const RECT cl = ClientRectInWindow();
    const bool inClient = w.X >= cl.left && w.X < cl.right && w.Y >= cl.top && w.Y < cl.bottom;
    // Over the client area, or outside the window, nothing of the frame is under the mouse.
    const bool inWindow = w.X >= 0 && w.Y >= 0 && w.X < formWidth_ && w.Y < formHeight_;
    if (!inClient && (inWindow || objects_.CaptureObject != -1)) TrackMouse(w.X, w.Y, true);
    else if (objects_.ActiveObject != -1) TrackMouse(-1, -1, false);
}

void TmnMantle::SetCaptionState(bool redraw) {
    objects_.SetCaptionState(redraw);
    if (redraw) NcPaint();
    if (IsFormActive()) {
        if (OnActivate) OnActivate(this);
    } else if (OnDeActivate) {
        OnDeActivate(this);
    }
}

namespace {

// A bar that shows on the screen (a bar hidden by its program takes no menu mode).
bool BarShown(TmnMenuBarPartner* bar) {
    if (!bar) return false;
    auto* control = dynamic_cast<TWinControl*>(bar);
    return !control || (control->HandleAllocated() && ::IsWindowVisible(control->Handle()));
}

}  // namespace

void TmnMantle::KeyMenu(LPARAM key) {
    // Alt or F10 let go in a document reaches its frame: the platform sends the key menu to the
    // top-level window. The bar to enter is the active document's when the frame shows none.
    if (IsMDIFrame() && key != VK_SPACE && !BarShown(mainMenuBar_)) {
        if (TmnMantle* child = Of(form_.ActiveMDIChild()); child && child != this && BarShown(child->mainMenuBar_)) {
            child->KeyMenu(key);
            return;
        }
    }
    // Alt let go after Alt+letter opened a menu: that press is spent.
    if (key == 0 && std::exchange(altKeyUsed_, false)) return;
    if (inMainMenu_) {
        MainMenuExit();
        return;
    }
    if (skinMenu_->Visible) skinMenu_->CloseAll();
    else if (inSkinMenu_) MenuClosed();
    if (key == VK_SPACE) {
        if (!form_.HandleAllocated()) return;
        RECT r{};
        ::GetWindowRect(form_.Handle(), &r);
        ShowSystemMenu({r.left, r.top, r.left + 1, r.top + ClientRectInWindow().top});
    } else if (mainMenuBar_) {
        mainMenuBar_->EnterMenuMode();
    }
}

void TmnMantle::FollowActivation() {
    if (MaximizedMDIChild()) objects_.SetCaptionState(false);
    else SetCaptionState(true);
}

void TmnMantle::HideObjectHint() {
    if (ShowObjectHint && skinHint_ && !skinHint_->IsDestroying()) skinHint_->HideHint();
}

void TmnMantle::ShowObjectHintFor(int index) {
    if (!ShowObjectHint || !skinHint_) return;
    TmnActiveSkinObject* o = objects_.Object(index);
    if (o && !o->Hint.empty()) skinHint_->ShowHintText(o->Hint);
}

int TmnMantle::HitTest(int x, int y) {
    TmnHitState s;
    s.Width = formWidth_, s.Height = formHeight_;
    s.RolledUp = rolledUp_;
    s.Minimized = windowState_ == swsMinimized;
    s.Maximized = windowState_ == swsMaximized;
    s.Resizable = true;
    s.InSizeMove = inSizeMove_;
    const int under = objects_.ObjectAt(x, y);
    s.ObjectActive = under != -1 && !dynamic_cast<TmnSkinCaptionObject*>(objects_.Object(under));
    if (!skinned_) {
        int iw = 0, ih = 0;
        if (showIcon_) iw = ::GetSystemMetrics(SM_CXSMICON), ih = ::GetSystemMetrics(SM_CYSMICON);
        const TmnBuiltInFrame f = objects_.LayoutBuiltIn(formWidth_, formHeight_, false, iw, ih);
        return BuiltInHitTest(f, s, x, y);
    }
    s.BorderWidth = skinData_->BorderWidth;
    auto onCaption = [this](int px, int py) {
        const int i = objects_.ObjectAt(px, py);
        return i != -1 && dynamic_cast<TmnSkinCaptionObject*>(objects_.Object(i)) != nullptr;
    };
    TmnMaskPixel black;
    if (!skinData_->Mask().Empty() && region_ && !region_->Empty())
        black = [this](TmnMaskStrip strip, int px, int py) { return region_->Black(strip, px, py); };
    return SkinnedHitTest(geometry_, s, x, y, onCaption, black);
}

// ---- the form's window procedure ----

void TmnMantle::MenuClosingCheck(UINT msg) {
    if (!IsMenuClosingMessage(msg)) return;
    HideObjectHint();
    if (inMainMenu_ && !inSkinMenu_) {
        MainMenuExit();
    } else if (skinMenu_->Visible) {
        skinMenu_->CloseAll();
    } else if (inSkinMenu_) {
        MenuClosed();
    } else if (IsMDIFrame() && form_.Visible()) {
        if (TmnMantle* child = Of(form_.ActiveMDIChild()); child && child != this) child->MenuClosingCheck(msg);
    }
}

LRESULT TmnMantle::FormProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next) {
    if (window != seenWindow_) {
        seenWindow_ = window;
        ::PostMessageW(window, WM_MANTLE_SHOWN_CHECK, 0, 0);
    }
    MenuClosingCheck(msg);
    switch (msg) {
    case WM_DESTROY:
        fadeTimer_.Stop();
        if (timers_) timers_->StopAll();
        timers_.reset();
        if (IsMDIChild()) {
            const bool wasMaximized = windowState_ == swsMaximized;
            windowState_ = swsNormal;
            if (TmnMantle* frame = FrameMantle()) {
                if (wasMaximized && frame->form_.HandleAllocated())
                    ::SendMessageW(frame->form_.Handle(), MSG_MDI_CHILD_RESTORED, 0, 0);
                if (frame->mdiTabsBar_) frame->mdiTabsBar_->RemoveTab(&form_);
                if (frame->mdiTabsBar_) frame->mdiTabsBar_->UpdateActiveTabs();
            }
            RemoveWindowListItem();
        }
        return next(msg, wParam, lParam);

    case WM_SIZE: {
        if (inSizeMove_ && fullDrag_) {
            if (!logo_.Empty() && !IsMDIFrame()) ::InvalidateRect(window, nullptr, TRUE);
            return next(msg, wParam, lParam);
        }
        const LRESULT r = next(msg, wParam, lParam);
        magnet_.Clear();
        RECT wr;
        ::GetWindowRect(window, &wr);
        const int w = wr.right - wr.left, h = wr.bottom - wr.top;
        if (!skinned_) {
            formWidth_ = w, formHeight_ = h;
            NcPaint();
        } else {
            // Any size the system gives the window gets its frame (folded below the frame's parts).
            Relayout(w, h, rrFrame);
        }
        if (alphaBlend_ && alphaBlendValue_ != 255 && LayeredWindowsAvailable()) {
            NcPaint();
            ::InvalidateRect(window, nullptr, TRUE);
        }
        if (!logo_.Empty() && !IsMDIFrame()) ::InvalidateRect(window, nullptr, TRUE);
        return r;
    }

    case WM_ACTIVATE: {
        const LRESULT r = next(msg, wParam, lParam);
        if (!IsMDIChild()) formActive_ = LOWORD(wParam) != WA_INACTIVE;
        NcPaint();
        if (MaximizedMDIChild()) {
            objects_.SetCaptionState(false);
        } else {
            objects_.ResetHoverStates();
            SetCaptionState(true);
        }
        if (IsMDIFrame() && mainMenuBar_) mainMenuBar_->RebuildItems();
        return r;
    }

    case WM_SETTEXT: {
        const LRESULT r = next(msg, wParam, lParam);
        if (!MaximizedMDIChild()) NcPaint();
        if (IsMDIChild()) {
            if (TmnMantle* frame = FrameMantle()) {
                if (frame->mdiTabsBar_) frame->mdiTabsBar_->DrawTab(&form_);
                if (windowState_ == swsMaximized) frame->NcPaint();
            }
            UpdateWindowListCaption();
        }
        return r;
    }

    case WM_ERASEBKGND:
        if (IsMDIFrame()) return next(msg, wParam, lParam);
        PaintBackground(reinterpret_cast<HDC>(wParam), false);
        return 1;

    case WM_SHOWWINDOW: {
        if (!wParam) {
            if (IsMDIChild()) {
                if (TmnMantle* frame = FrameMantle(); frame && frame->mdiTabsBar_) frame->mdiTabsBar_->RemoveTab(&form_);
                RemoveWindowListItem();
            }
            if (LayeredWindowsAvailable() && alphaBlend_) RemoveLayered();
            shownWindow_ = nullptr;
            return next(msg, wParam, lParam);
        }
        Shown(window);
        return next(msg, wParam, lParam);
    }

    case WM_CONTEXTMENU:
        if (ShowContextMenu(reinterpret_cast<HWND>(wParam), lParam)) return 0;
        return next(msg, wParam, lParam);

    case WM_SETCURSOR:
        if (UseFormCursorInNCArea) {
            WORD code = LOWORD(lParam);
            if (code != HTCLIENT && !(code >= HTLEFT && code <= HTBOTTOMRIGHT)) code = HTCLIENT;
            lParam = MAKELPARAM(code, HIWORD(lParam));
        }
        return next(msg, wParam, lParam);

    case WM_MOUSEACTIVATE:
        if (IsMDIChild() && !formActive_) {
            TForm* frame = FrameForm();
            if (frame && frame->ActiveMDIChild() == &form_) {
                formActive_ = true;
                if (MaximizedMDIChild()) objects_.SetCaptionState(false);
                else SetCaptionState(true);
            }
        }
        return next(msg, wParam, lParam);

    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        const TmnSizeLimits l = SizeLimits();
        info->ptMinTrackSize = {l.MinWidth, l.MinHeight};
        info->ptMaxTrackSize = {l.MaxWidth, l.MaxHeight};
        return next(msg, wParam, lParam);
    }

    case WM_NCCALCSIZE: {
        if (MaximizedMDIChild()) return 0;
        RECT& r = wParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : *reinterpret_cast<RECT*>(lParam);
        if (!skinned_) {
            r.left += 3, r.top += 19 + 3, r.right -= 3, r.bottom -= 3;
        } else {
            const TSkinRect& cl = skinData_->ClientRect;
            r.left += cl.Left, r.top += cl.Top;
            r.right += cl.Right - skinData_->Picture().Width;
            r.bottom += cl.Bottom - skinData_->Picture().Height;
        }
        if (r.right < r.left) r.right = r.left;
        if (r.bottom < r.top) r.bottom = r.top;
        return 0;
    }

    case WM_NCHITTEST: {
        const TSkinPoint p = ToWindow({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        const int code = HitTest(p.X, p.Y);
        if (code == htObject && !(timers_ && timers_->Running(TmnObjectTimer::Mouse))) {
            TrackMouse(p.X, p.Y, true);
            StartTimer(TmnObjectTimer::Mouse);
        }
        return code;
    }

    case WM_NCPAINT: {
        if (!DrawsFrame()) return 0;
        TWindowDC dc(window, true);
        PaintFrame(dc.Get());
        return 0;
    }

    case WM_NCACTIVATE: {
        if (skinMenu_->Visible) skinMenu_->CloseAll();
        formActive_ = wParam != 0;
        LRESULT r = 1;
        // The default would paint the platform's caption; only MDI children need it (it keeps
        // the MDI activation in step).
        if (IsMDIChild()) r = next(msg, wParam, -1);
        if (MaximizedMDIChild()) objects_.SetCaptionState(false);
        else SetCaptionState(true);
        // The active document's caption follows its frame's activation.
        if (IsMDIFrame())
            if (TmnMantle* child = Of(form_.ActiveMDIChild()); child && child != this) child->FollowActivation();
        if (IsMDIChild()) {
            if (TmnMantle* frame = FrameMantle()) {
                if (windowState_ == swsMaximized) frame->NcPaint();
                if (frame->mainMenuBar_) frame->mainMenuBar_->RebuildItems();
                if (frame->mdiTabsBar_) frame->mdiTabsBar_->UpdateActiveTabs();
            }
            CheckWindowListItems(wParam != 0);
            if (IsOSVersion6OrLater()) ::InvalidateRect(window, nullptr, FALSE);
        }
        return r;
    }

    case WM_SYNCPAINT:
        if (rolledUp_) {
            NcPaint();
            return 0;
        }
        return next(msg, wParam, lParam);

    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_RESTORE:
            if (windowState_ != swsNormal || rolledUp_) {
                RunWindowAction(TmnWindowAction::Restore);
                return 0;
            }
            if (OnRestore) OnRestore(this);
            return next(msg, wParam, lParam);
        case SC_MAXIMIZE:
            RunWindowAction(TmnWindowAction::Maximize);
            return 0;
        case SC_KEYMENU:
            KeyMenu(lParam);
            return 0;
        default:
            return next(msg, wParam, lParam);
        }

    case WM_TIMER:
        if (wParam == FadeTimerId) {
            FadeStep();
            return 0;
        }
        if (auto t = TmnObjectTimers::FromId(wParam)) {
            switch (*t) {
            case TmnObjectTimer::Mouse: MouseTimerTick(); break;
            case TmnObjectTimer::Morph: objects_.MorphTick(); break;
            case TmnObjectTimer::Animate: objects_.AnimateTick(); break;
            }
            return 0;
        }
        return next(msg, wParam, lParam);

    case WM_SIZING: {
        if (!(inSizeMove_ && fullDrag_)) return next(msg, wParam, lParam);
        magnet_.Clear();
        const LRESULT r = next(msg, wParam, lParam);
        const RECT& s = *reinterpret_cast<RECT*>(lParam);
        const int w = s.right - s.left, h = s.bottom - s.top;
        if (skinned_ && w > 0 && h > 0 && (w != formWidth_ || h != formHeight_)) Relayout(w, h, rrFrame);
        return r;
    }

    case WM_MOVING: {
        auto& r = *reinterpret_cast<RECT*>(lParam);
        if (windowState_ == swsMaximized && !IsMDIChild()) {
            ::GetWindowRect(window, &r);
            return TRUE;
        }
        if (Magnetic) {
            // A document window snaps to its frame's client area, any other to the work area.
            RECT area = PlacementArea();
            if (IsMDIChild()) ::MapWindowPoints(::GetParent(window), nullptr, reinterpret_cast<POINT*>(&area), 2);
            POINT c;
            ::GetCursorPos(&c);
            const TSkinRect m = MagneticMove(ToSkinRect(r), ToSkinRect(area), MagneticSize, {c.x, c.y}, magnet_);
            r = {m.Left, m.Top, m.Right, m.Bottom};
        }
        return next(msg, wParam, lParam);
    }

    case WM_ENTERSIZEMOVE: {
        POINT c;
        ::GetCursorPos(&c);
        magnet_.AnchorX = c.x, magnet_.AnchorY = c.y;
        objects_.ResetHoverStates();
        StopTimer(TmnObjectTimer::Mouse);
        objects_.ActiveObject = objects_.CaptureObject = -1;
        inSizeMove_ = true;
        sizeMoveInPress_ = true;
        BOOL full = FALSE;
        ::SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &full, 0);
        fullDrag_ = full != FALSE;
        return next(msg, wParam, lParam);
    }

    case WM_EXITSIZEMOVE:
        StopTimer(TmnObjectTimer::Mouse);
        objects_.ActiveObject = objects_.OldActiveObject = objects_.CaptureObject = -1;
        inSizeMove_ = false;
        if (skinned_) NcPaint();
        return next(msg, wParam, lParam);

    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != window && objects_.CaptureObject != -1) objects_.CaptureLost();
        return next(msg, wParam, lParam);

    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
    case WM_DISPLAYCHANGE: {
        // High contrast switched on or off: the frame follows.
        const LRESULT r = next(msg, wParam, lParam);
        const bool wanted = skinData_ && !skinData_->Empty() && !HighContrastOn();
        if (wanted != skinned_ && !skinChanging_) ChangeSkinData();
        // A maximised window follows its work area (a task bar moved or resized, another display).
        const bool areaChanged = msg == WM_DISPLAYCHANGE || (msg == WM_SETTINGCHANGE && wParam == SPI_SETWORKAREA);
        if (areaChanged && windowState_ == swsMaximized && !IsMDIChild()) {
            const RECT area = MaximizedBounds();
            ::SetWindowPos(window, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                           SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        }
        return r;
    }

    case WM_MANTLE_SYNC_ACTIVE: {
        const bool active = IsMDIChild()
                                ? reinterpret_cast<HWND>(::SendMessageW(::GetParent(window), WM_MDIGETACTIVE, 0, 0)) == window
                                : ::GetActiveWindow() == window;
        if (active != formActive_) {
            formActive_ = active;
            if (MaximizedMDIChild()) objects_.SetCaptionState(false);
            else SetCaptionState(true);
        }
        return 0;
    }

    case WM_MANTLE_SHOWN_CHECK:
        if (::IsWindowVisible(window) && shownWindow_ != window) Shown(window);
        return 0;

    case WM_MANTLE_CHANGE_CHECK:
        if (skinChanging_) {
            skinChanging_ = false;
            ChangeSkinData();
        }
        return 0;

    case WM_MANTLE_ACTION:
        RunWindowAction(static_cast<TmnWindowAction>(wParam));
        return 0;

    case MSG_PAINT_FRAME:
        if (lParam != MSG_PAINT_FRAME_MAGIC) return next(msg, wParam, lParam);
        if (!wParam) return 0;
        {
            HDC dc = reinterpret_cast<HDC>(wParam);
            const int saved = ::SaveDC(dc);
            const bool painted = PaintFrame(dc);
            ::RestoreDC(dc, saved);
            return painted ? MSG_PAINT_FRAME_MAGIC : 0;
        }

    case MSG_SKIN_MENU_CLOSED:
        MenuClosed();
        return next(msg, wParam, lParam);

    case MSG_MDI_CHILD_MAXIMIZED:
        childMaximized_ = true;
        NcPaint();
        if (mainMenuBar_) mainMenuBar_->ShowChildButtons();
        return next(msg, wParam, lParam);

    case MSG_MDI_CHILD_RESTORED:
        childMaximized_ = MaximizedChild() != nullptr;
        NcPaint();
        if (mainMenuBar_) mainMenuBar_->UpdateChildButtons();
        return next(msg, wParam, lParam);

    case MSG_MDI_CHILD_REALIGN:
        if (MaximizedMDIChild()) {
            RECT cr;
            ::GetClientRect(::GetParent(window), &cr);
            ::SetWindowPos(window, nullptr, 0, 0, cr.right, cr.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return next(msg, wParam, lParam);

    case MSG_STRINGS_CHANGED:
        ApplyButtonVisibility();
        return next(msg, wParam, lParam);

    default:
        break;
    }

    if (msg == MSG_SKIN_BEFORE_CHANGE || msg == MSG_SKIN_CHANGE || msg == MSG_SKIN_AFTER_CHANGE) {
        auto* manager = reinterpret_cast<TmnSkinData*>(wParam);
        const bool mine = manager && manager == skinData_;
        if (msg == MSG_SKIN_BEFORE_CHANGE) {
            if (mine) SkinBeforeChange();
        } else if (msg == MSG_SKIN_CHANGE) {
            skinChanging_ = false;
            if (mine) ChangeSkinData();
            NotifySkinControls(&form_, MSG_SKIN_CHANGE, manager);
        } else if (mine) {
            RefitChildren();
            if (OnAfterChangeSkinData) OnAfterChangeSkinData(this);
        }
        return next(msg, wParam, lParam);
    }

    switch (msg) {
    case WM_NCMOUSEMOVE: case WM_NCLBUTTONDOWN: case WM_NCLBUTTONUP: case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN: case WM_NCRBUTTONUP: case WM_NCRBUTTONDBLCLK: case WM_LBUTTONUP: case WM_RBUTTONUP:
    case WM_MOUSEMOVE: {
        // The platform handles the message first (a caption press runs its move loop here).
        const bool caption = wParam == HTCAPTION;
        if (msg == WM_NCLBUTTONDOWN) sizeMoveInPress_ = false;
        LRESULT r = 0;
        if (msg == WM_NCLBUTTONDBLCLK && caption) r = 0;  // our own double-click rule replaces the platform's
        // No platform system menu: its right-button loop on the caption would take the button's
        // release and open the platform's menu beside the skinned one.
        else if ((msg == WM_NCRBUTTONDOWN || msg == WM_NCRBUTTONUP) && caption) r = 0;
        else r = next(msg, wParam, lParam);
        DispatchMouse(window, msg, wParam, lParam);
        return msg == WM_MOUSEMOVE ? r : 0;
    }
    default:
        return next(msg, wParam, lParam);
    }
}

// The steps of a window's showing. They also run for a window that was already visible when the
// seam first saw it (an MDI child is shown while it is created).
void TmnMantle::Shown(HWND window) {
    shownWindow_ = window;
    // A window shown in another state is placed at its first restore.
    if (firstShow_ && (PositionInMonitor == mnpDefault || windowState_ == swsNormal)) {
        firstShow_ = false;
        if (PositionInMonitor != mnpDefault) {
            RECT area, wr;
            GetWindowMonitorRect(window, PositionInMonitor == mnpDesktopCenter, area);
            ::GetWindowRect(window, &wr);
            const TSkinRect c = CenteredRect(ToSkinRect(area), wr.right - wr.left, wr.bottom - wr.top);
            ::SetWindowPos(window, nullptr, c.Left, c.Top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (LayeredWindowsAvailable() && (alphaBlend_ || AlphaBlendAnimation)) {
        AddLayered(0);
        fadeTimer_.Start(window, FadeTimerId, 1);
    }
    if (IsMDIFrame()) SubclassMDIClient();
    // Activation may have happened while the window was being created, before the seam saw
    // its messages.
    ::PostMessageW(window, WM_MANTLE_SYNC_ACTIVE, 0, 0);
    if (IsMDIChild()) {
        if (TmnMantle* frame = FrameMantle(); frame && frame->mdiTabsBar_) frame->mdiTabsBar_->AddTab(&form_);
        AddWindowListItem();
    }
    // The frame is recomputed now that the window exists and the hooks see its messages: by
    // the skin change held back until now, or else here.
    if (pendingChange_) {
        ChangeSkinData();
    } else {
        RECT wr;
        ::GetWindowRect(window, &wr);
        if (skinned_) Relayout(wr.right - wr.left, wr.bottom - wr.top, rrFrame);
        else formWidth_ = wr.right - wr.left, formHeight_ = wr.bottom - wr.top, UpdateRegion(false);
        ::SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (TMainMenu* menu = form_.Menu()) {
        SetReference(takenMenu_, menu);
        form_.SetMenu(nullptr);
    }
}

void TmnMantle::DispatchMouse(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    const bool caption = wParam == HTCAPTION;
    POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (msg == WM_MOUSEMOVE) {
        // Only while an object holds the capture: the press follows the mouse.
        if (objects_.CaptureObject == -1 || ::GetCapture() != window) return;
        ::ClientToScreen(window, &screen);
        const TSkinPoint p = ToWindow(screen);
        TrackMouse(p.X, p.Y, true);
        objects_.MouseMove(p.X, p.Y);
        return;
    }
    if (msg == WM_LBUTTONUP || msg == WM_RBUTTONUP) {
        if (objects_.CaptureObject == -1) return;
        const bool captured = ::GetCapture() == window;
        const int capture = objects_.CaptureObject;
        // Release first without ending the press through WM_CAPTURECHANGED.
        objects_.CaptureObject = -1;
        if (captured) ::ReleaseCapture();
        objects_.CaptureObject = capture;
        objects_.MouseUp(-1, -1, msg == WM_LBUTTONUP ? 0 : 1);
        return;
    }
    const TSkinPoint p = ToWindow(screen);
    switch (msg) {
    case WM_NCMOUSEMOVE:
        objects_.MouseMove(p.X, p.Y);
        break;
    case WM_NCLBUTTONDOWN:
        // The press sized or moved the window (the platform's loop has ended by now): it is spent,
        // and never becomes a press on a caption object, whatever lies under the point now.
        if (std::exchange(sizeMoveInPress_, false)) {
            inSizeMove_ = false;
            break;
        }
        TrackMouse(p.X, p.Y, true);
        if (objects_.MouseDown(p.X, p.Y, 0)) ::SetCapture(window);
        if (caption) objects_.CaptureObject = -1;
        break;
    case WM_NCLBUTTONUP: {
        const bool captured = objects_.CaptureObject != -1 && ::GetCapture() == window;
        const int capture = objects_.CaptureObject;
        objects_.CaptureObject = -1;
        if (captured) ::ReleaseCapture();
        objects_.CaptureObject = capture;
        objects_.MouseUp(p.X, p.Y, 0);
        break;
    }
    case WM_NCLBUTTONDBLCLK:
        TrackMouse(p.X, p.Y, true);
        objects_.MouseDown(p.X, p.Y, 0);
        objects_.DblClick();
        if (caption) {
            objects_.CaptureObject = -1;
            switch (CaptionDoubleClick(true, windowState_, rolledUp_, rolledUpInMaximized_, borderIcons_)) {
            case TmnCaptionAction::Restore: PostWindowAction(TmnWindowAction::Restore); break;
            case TmnCaptionAction::Maximize: PostWindowAction(TmnWindowAction::Maximize); break;
            case TmnCaptionAction::ToggleRollUp:
                if (borderIcons_ & BorderIconBit(biRollUp))
                    PostWindowAction(rolledUp_ ? TmnWindowAction::RollDown : TmnWindowAction::RollUp);
                break;
            }
        }
        break;
    case WM_NCRBUTTONDOWN:
        TrackMouse(p.X, p.Y, true);
        if (objects_.MouseDown(p.X, p.Y, 1)) ::SetCapture(window);
        if (caption) {
            objects_.CaptureObject = -1;
            ShowSystemMenu({screen.x, screen.y, screen.x, screen.y});
        }
        break;
    case WM_NCRBUTTONUP:
        objects_.MouseUp(p.X, p.Y, 1);
        break;
    case WM_NCRBUTTONDBLCLK:
        objects_.MouseDown(p.X, p.Y, 1);
        if (caption) objects_.CaptureObject = -1;
        break;
    default:
        break;
    }
}

// ---- translucency ----

void TmnMantle::AddLayered(BYTE alpha) {
    HWND window = form_.Handle();
    const LONG_PTR ex = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
    if (!(ex & WS_EX_LAYERED)) ::SetWindowLongPtrW(window, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    SetWindowAlpha(window, alpha);
}

void TmnMantle::RemoveLayered() {
    HWND window = form_.Handle();
    const LONG_PTR ex = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
    if (ex & WS_EX_LAYERED) ::SetWindowLongPtrW(window, GWL_EXSTYLE, ex & ~WS_EX_LAYERED);
    ::RedrawWindow(window, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

// The fade-in runs in timer steps; each step raises the opacity by 10 until the target, and an
// opacity of 255 drops the layered style. No message loop runs inside.
void TmnMantle::FadeStep() {
    HWND window = form_.HandleAllocated() ? form_.Handle() : nullptr;
    if (!window || !::IsWindow(window)) {
        fadeTimer_.Stop();
        return;
    }
    // A tick still queued when the fade ended starts nothing new.
    if (!fadeTimer_.Active()) return;
    if (!fadeAnimating_) {
        fadeTarget_ = alphaBlend_ || !AlphaBlendAnimation ? alphaBlendValue_ : 255;
        if (!alphaBlend_ && !AlphaBlendAnimation) fadeTarget_ = 255;
        if (!AlphaBlendAnimation) {
            fadeTimer_.Stop();
            if (fadeTarget_ == 255) RemoveLayered();
            else AddLayered(fadeTarget_);
            return;
        }
        fadeAnimating_ = true;
        fadeAlpha_ = 0;
        fadeTimer_.Start(window, FadeTimerId, 10);
    }
    fadeAlpha_ = static_cast<BYTE>(fadeTarget_ - fadeAlpha_ <= 10 ? fadeTarget_ : fadeAlpha_ + 10);
    if (fadeAlpha_ >= fadeTarget_) {
        fadeTimer_.Stop();
        fadeAnimating_ = false;
        if (fadeTarget_ == 255) RemoveLayered();
        else AddLayered(fadeTarget_);
        return;
    }
    AddLayered(fadeAlpha_);
}

// ---- the MDI client ----

void TmnMantle::SubclassMDIClient() {
    if (clientHook_.Installed()) return;
    clientHook_.Install(form_.ClientWindowProc(), [this](HWND w, UINT m, WPARAM wp, LPARAM lp, const TWndProcNext& next) {
        return ClientProc(w, m, wp, lp, next);
    });
}

LRESULT TmnMantle::ClientProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next) {
    switch (msg) {
    case WM_SIZE: {
        const LRESULT r = next(msg, wParam, lParam);
        RefitChildren();
        const bool stretched = skinned_ && (skinData_->MDIBgPictureIndex == -1 ? skinData_->StretchEffect
                                                                              : skinData_->MDIBgStretchEffect);
        if (!logo_.Empty() || stretched) ::InvalidateRect(window, nullptr, TRUE);
        return r;
    }
    case WM_ERASEBKGND:
        PaintBackground(reinterpret_cast<HDC>(wParam), true);
        return 1;
    case WM_NCACTIVATE:
        return 1;
    case WM_MDITILE:
        TileChildren((wParam & MDITILE_HORIZONTAL) == 0);
        return TRUE;
    default:
        // The client keeps its own border handling, so its scroll bars stay and a document
        // window dragged outside remains reachable.
        return next(msg, wParam, lParam);
    }
}

// The platform's tiling gives skinned documents less than their frame's minimum size (and the
// system then makes each wider, over its neighbour): documents are tiled by a plan that keeps
// every window at least at its minimum size.
void TmnMantle::TileChildren(bool sideBySide) {
    HWND client = form_.ClientHandle();
    if (!client) return;
    std::vector<TForm*> documents;
    TmnTileRequest request;
    for (int i = 0; i < form_.MDIChildCount(); ++i) {
        TForm* child = form_.MDIChildren(i);
        if (!child->HandleAllocated() || !::IsWindowVisible(child->Handle())) continue;
        TmnMantle* m = Of(child);
        if (m && m->windowState_ == swsMinimized) continue;  // they keep their row at the bottom
        if (m && m->windowState_ == swsMaximized) m->RunWindowAction(TmnWindowAction::Restore);
        const TmnSizeLimits l = m ? m->SizeLimits(false)
                                  : TmnSizeLimits{::GetSystemMetrics(SM_CXMINTRACK), ::GetSystemMetrics(SM_CYMINTRACK)};
        request.MinWidth = std::max(request.MinWidth, l.MinWidth);
        request.MinHeight = std::max(request.MinHeight, l.MinHeight);
        documents.push_back(child);
    }
    if (documents.empty()) return;
    RECT area;
    ::GetClientRect(client, &area);
    request.AreaWidth = area.right, request.AreaHeight = area.bottom;
    request.Count = static_cast<int>(documents.size());
    request.SideBySide = sideBySide;
    const std::vector<TSkinRect> tiles = TileDocuments(request);
    HDWP batch = ::BeginDeferWindowPos(request.Count);
    for (size_t i = 0; i < documents.size() && batch; ++i) {
        const TSkinRect& t = tiles[i];
        batch = ::DeferWindowPos(batch, documents[i]->Handle(), nullptr, t.Left, t.Top, t.Width(), t.Height(),
                                 SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (batch) ::EndDeferWindowPos(batch);
    // The client's scroll bars follow windows that run past it.
    ::PostMessageW(client, WM_MDICALCCHILDSCROLL_, 0, 0);
}

// ---- window commands ----

TForm* TmnMantle::MaximizedChild() const {
    if (!IsMDIFrame()) return nullptr;
    TForm* active = form_.ActiveMDIChild();
    if (TmnMantle* m = Of(active); m && m->windowState_ == swsMaximized) return active;
    for (int i = 0; i < form_.MDIChildCount(); ++i)
        if (TmnMantle* m = Of(form_.MDIChildren(i)); m && m->windowState_ == swsMaximized) return form_.MDIChildren(i);
    return nullptr;
}

RECT TmnMantle::PlacementArea() const {
    HWND window = const_cast<TForm&>(form_).Handle();
    RECT area{};
    if (IsMDIChild()) ::GetClientRect(::GetParent(window), &area);
    else GetWindowMonitorRect(window, true, area);
    return area;
}

RECT TmnMantle::MaximizedBounds() const {
    RECT area = PlacementArea();
    if (IsMDIChild()) return area;
    HWND window = const_cast<TForm&>(form_).Handle();
    RECT monitor, primary;
    GetWindowMonitorRect(window, false, monitor);
    GetPrimaryScreenRect(false, primary);
    const TSkinRect m = MaximizedRect(ToSkinRect(area), ToSkinRect(monitor), ToSkinRect(primary), MaximizeOnFullScreen);
    return {m.Left, m.Top, m.Right, m.Bottom};
}

void TmnMantle::MoveToMinimizedPosition() {
    if (!form_.HandleAllocated()) return;
    HWND window = form_.Handle();
    const TmnSizeLimits l = SizeLimits(false);
    HWND parent = IsMDIChild() ? ::GetParent(window) : nullptr;
    const RECT area = PlacementArea();
    // Another minimised window of the same kind standing exactly there: a document window of
    // the same frame, or any other form but the main form.
    TForm* main = Application()->MainForm();
    auto taken = [&](int x, int y) {
        for (int i = 0; i < Screen()->FormCount(); ++i) {
            TForm* f = Screen()->Forms(i);
            if (f == &form_ || !f->HandleAllocated() || !::IsWindowVisible(f->Handle())) continue;
            if (parent ? ::GetParent(f->Handle()) != parent : (f == main || f->FormStyle() == TFormStyle::fsMDIChild))
                continue;
            const TmnMantle* m = Of(f);
            if (!m || m->windowState_ != swsMinimized) continue;
            RECT r;
            ::GetWindowRect(f->Handle(), &r);
            if (parent) ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
            if (r.left == x && r.top == y) return true;
        }
        return false;
    };
    const TSkinPoint p = MinimizedPosition(ToSkinRect(area), l.MinWidth, l.MinHeight, taken);
    ::SetWindowPos(window, nullptr, p.X, p.Y, l.MinWidth, l.MinHeight, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TmnMantle::RefitChildren() {
    if (!IsMDIFrame()) return;
    std::vector<TForm*> children;  // taken first: the refit runs the children's handlers
    for (int i = 0; i < form_.MDIChildCount(); ++i) children.push_back(form_.MDIChildren(i));
    for (TForm* f : children) ::SendMessageW(f->Handle(), MSG_MDI_CHILD_REALIGN, 0, 0);
    for (TForm* f : children)
        if (TmnMantle* m = Of(f); m && m->windowState_ == swsMinimized) m->MoveToMinimizedPosition();
}

void TmnMantle::RunWindowAction(TmnWindowAction action) {
    if (!form_.HandleAllocated()) return;
    HWND window = form_.Handle();
    RECT wr;
    ::GetWindowRect(window, &wr);
    if (IsMDIChild()) ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&wr), 2);
    auto saveBounds = [&] {
        if (!hasRestoreBounds_) restoreBounds_ = wr, hasRestoreBounds_ = true;
    };
    auto tellFrame = [this](UINT message) {
        if (!IsMDIChild()) return;
        if (TmnMantle* frame = FrameMantle(); frame && frame->form_.HandleAllocated())
            ::SendMessageW(frame->form_.Handle(), message, 0, 0);
    };
    switch (action) {
    case TmnWindowAction::Close:
        form_.Close();
        return;
    case TmnWindowAction::Maximize: {
        if (windowState_ == swsMaximized || !(borderIcons_ & BorderIconBit(biMaximize))) return;
        maxFromRollUp_ = rolledUp_;
        saveBounds();
        windowState_ = swsMaximized;
        if (IsMDIChild()) {
            StopTimer(TmnObjectTimer::Mouse);
            objects_.ResetHoverStates();
        }
        const RECT area = MaximizedBounds();
        ::SetWindowPos(window, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                       SWP_NOZORDER | SWP_FRAMECHANGED);
        if (statusBar_) statusBar_->SetSizeGrip(false);
        tellFrame(MSG_MDI_CHILD_MAXIMIZED);
        if (OnMaximize) OnMaximize(this);
        return;
    }
    case TmnWindowAction::Restore: {
        // Rolled up on its own (or while maximised): the restore unrolls it.
        if (rolledUp_ && (windowState_ == swsNormal || rolledUpInMaximized_)) {
            RunWindowAction(TmnWindowAction::RollDown);
            return;
        }
        if (windowState_ == swsNormal) return;
        const TmnSkinWindowState old = windowState_;
        if (old == swsMinimized && Application()->MainForm() == &form_) ::ShowWindow(window, SW_RESTORE);
        if (old == swsMaximized && rolledUp_ && !maxFromRollUp_) RunWindowAction(TmnWindowAction::RollDown);
        maxFromRollUp_ = false;
        rolledUpInMaximized_ = false;
        windowState_ = swsNormal;
        if (hasRestoreBounds_) {
            RECT b = restoreBounds_;
            if (firstShow_) {
                // Shown while not normal: the placement of the first show happens now.
                firstShow_ = false;
                if (PositionInMonitor != mnpDefault && !IsMDIChild()) {
                    RECT area;
                    GetWindowMonitorRect(window, PositionInMonitor == mnpDesktopCenter, area);
                    const TSkinRect c = CenteredRect(ToSkinRect(area), b.right - b.left, b.bottom - b.top);
                    b = {c.Left, c.Top, c.Right, c.Bottom};
                }
            }
            ::SetWindowPos(window, nullptr, b.left, b.top, b.right - b.left, b.bottom - b.top, SWP_NOZORDER | SWP_FRAMECHANGED);
        }
        hasRestoreBounds_ = false;
        StartTimer(TmnObjectTimer::Mouse);
        ::RedrawWindow(window, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
        tellFrame(MSG_MDI_CHILD_RESTORED);
        if (statusBar_) statusBar_->SetSizeGrip(true);
        if (OnRestore) OnRestore(this);
        return;
    }
    case TmnWindowAction::Minimize: {
        if (!(borderIcons_ & BorderIconBit(biMinimize))) return;
        if (alwaysMinimizeToTray_ && trayIcon_) {
            RunWindowAction(TmnWindowAction::MinimizeToTray);
            return;
        }
        if (Application()->MainForm() == &form_) {
            ::ShowWindow(window, SW_MINIMIZE);
        } else {
            if (windowState_ == swsMinimized) return;
            saveBounds();
            windowState_ = swsMinimized;
            MoveToMinimizedPosition();
            tellFrame(MSG_MDI_CHILD_RESTORED);
        }
        if (OnMinimize) OnMinimize(this);
        return;
    }
    case TmnWindowAction::MinimizeToTray:
        if (!trayIcon_) return;
        trayIcon_->MinimizeToTray = true;
        trayIcon_->MinimizeToTrayNow();
        if (!trayIcon_->IconAdded()) return;  // no notification area: the window stays
        if (OnMinimizeToTray) OnMinimizeToTray(this);
        return;
    case TmnWindowAction::RestoreFromTray:
        if (!trayIcon_) return;
        // The window comes back as it was hidden: bounds and skin state are untouched.
        trayIcon_->MinimizeToTray = false;
        trayIcon_->RestoreMainForm();
        if (!AlwaysShowInTray) trayIcon_->SetIconVisible(false);
        if (OnRestoreFromTray) OnRestoreFromTray(this);
        return;
    case TmnWindowAction::RollUp:
    case TmnWindowAction::RollDown: {
        const bool up = action == TmnWindowAction::RollUp;
        if (up == rolledUp_ || !(borderIcons_ & BorderIconBit(biRollUp)) || windowState_ == swsMinimized) return;
        // A window maximised from the rolled-up state keeps that state.
        if (windowState_ == swsMaximized && rolledUp_ && !rolledUpInMaximized_) return;
        if (windowState_ == swsMaximized) rolledUpInMaximized_ = up;
        rolledUp_ = up;
        if (up) {
            rollUpHeight_ = wr.bottom - wr.top;
            ::SetWindowPos(window, nullptr, 0, 0, wr.right - wr.left, SizeLimits(false).MinHeight,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
        } else if (ClientHeight > 0) {
            RECT cr;
            ::GetClientRect(window, &cr);
            form_.SetClientSize(cr.right, ClientHeight);
        } else {
            ::SetWindowPos(window, nullptr, 0, 0, wr.right - wr.left, rollUpHeight_, SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
        }
        if (OnChangeRollUpState) OnChangeRollUpState(this);
        return;
    }
    }
}

// ---- form data ----

bool TmnMantle::ReadProperty(const String& name, const FormValue& v, TReader& reader) {
    auto font = [&](TFont& f, const String& sub) {
        if (sub == L"Name") f.SetName(v.AsString());
        else if (sub == L"Height") f.SetHeight(v.AsInt());
        else if (sub == L"Color") f.SetColor(v.kind == FormValue::Kind::Ident ? ColorFromIdent(v.AsIdent()) : v.AsInt());
        else if (sub == L"Charset") f.SetCharSet(v.kind == FormValue::Kind::Ident ? DEFAULT_CHARSET : v.AsInt());
        else if (sub == L"Style") {
            TFontStyles s = 0;
            for (const auto& i : v.items)
                s |= i == L"fsBold" ? fsBold : i == L"fsItalic" ? fsItalic : i == L"fsUnderline" ? fsUnderline : i == L"fsStrikeOut" ? fsStrikeOut : 0;
            f.SetStyle(s);
        } else return false;
        return true;
    };
    auto ref = [&](auto setter) {
        reader.FixupReference(v, [this, setter](TComponent* c) { setter(c); });
    };
    if (name == L"PositionInMonitor") {
        const String id = v.AsIdent();
        if (id == L"mnpDefault") PositionInMonitor = mnpDefault;
        else if (id == L"mnpScreenCenter") PositionInMonitor = mnpScreenCenter;
        else if (id == L"mnpDesktopCenter") PositionInMonitor = mnpDesktopCenter;
        else throw EReadError(L"PositionInMonitor: unbekannter Wert " + id);
    } else if (name == L"UseFormCursorInNCArea") UseFormCursorInNCArea = v.AsBool();
    else if (name == L"MaxMenuItemsInWindow") SetMaxMenuItemsInWindow(v.AsInt());
    else if (name == L"ClientWidth") ClientWidth = v.AsInt();
    else if (name == L"ClientHeight") ClientHeight = v.AsInt();
    else if (name == L"HideCaptionButtons") hideCaptionButtons_ = v.AsBool();
    else if (name == L"AlwaysShowInTray") AlwaysShowInTray = v.AsBool();
    else if (name == L"LogoBitMapTransparent") LogoBitMapTransparent = v.AsBool();
    else if (name == L"AlwaysMinimizeToTray") alwaysMinimizeToTray_ = v.AsBool();
    else if (name == L"UseSkinFontInMenu") SetUseSkinFontInMenu(v.AsBool());
    else if (name == L"ShowIcon") showIcon_ = v.AsBool();
    else if (name == L"MaximizeOnFullScreen") MaximizeOnFullScreen = v.AsBool();
    else if (name == L"AlphaBlend") alphaBlend_ = v.AsBool();
    else if (name == L"AlphaBlendAnimation") AlphaBlendAnimation = v.AsBool();
    else if (name == L"AlphaBlendValue") alphaBlendValue_ = static_cast<BYTE>(std::clamp(v.AsInt(), 0, 255));
    else if (name == L"ShowObjectHint") ShowObjectHint = v.AsBool();
    else if (name == L"UseDefaultObjectHint") UseDefaultObjectHint = v.AsBool();
    else if (name == L"MenusAlphaBlend") SetMenusAlphaBlend(v.AsBool());
    else if (name == L"MenusAlphaBlendAnimation") SetMenusAlphaBlendAnimation(v.AsBool());
    else if (name == L"MenusAlphaBlendValue") SetMenusAlphaBlendValue(static_cast<BYTE>(std::clamp(v.AsInt(), 0, 255)));
    else if (name.rfind(L"DefCaptionFont.", 0) == 0) return font(defCaptionFont_, name.substr(15));
    else if (name.rfind(L"DefInActiveCaptionFont.", 0) == 0) return font(defInactiveCaptionFont_, name.substr(23));
    else if (name == L"DefMenuItemHeight") SetDefMenuItemHeight(v.AsInt());
    else if (name.rfind(L"DefMenuItemFont.", 0) == 0) {
        TFontDesc d = skinMenu_->DefaultMenuItemFont;
        if (!d.ReadProperty(name.substr(16), v)) return false;
        SetDefMenuItemFont(d);
    } else if (name == L"UseDefaultSysMenu") UseDefaultSysMenu = v.AsBool();
    else if (name == L"MinHeight") MinHeight = v.AsInt();
    else if (name == L"MinWidth") MinWidth = v.AsInt();
    else if (name == L"MaxHeight") MaxHeight = v.AsInt();
    else if (name == L"MaxWidth") MaxWidth = v.AsInt();
    else if (name == L"Magnetic") Magnetic = v.AsBool();
    else if (name == L"MagneticSize") MagneticSize = static_cast<BYTE>(std::clamp(v.AsInt(), 0, 255));
    else if (name == L"BorderIcons") {
        if (v.kind != FormValue::Kind::Set) throw EReadError(L"BorderIcons erwartet eine Menge");
        TmnBorderIcons icons = 0;
        for (const auto& i : v.items) {
            if (i == L"biSystemMenu") icons |= BorderIconBit(biSystemMenu);
            else if (i == L"biMinimize") icons |= BorderIconBit(biMinimize);
            else if (i == L"biMaximize") icons |= BorderIconBit(biMaximize);
            else if (i == L"biRollUp") icons |= BorderIconBit(biRollUp);
            else if (i == L"biMinimizeToTray") icons |= BorderIconBit(biMinimizeToTray);
            else throw EReadError(L"BorderIcons: unbekannter Wert " + i);
        }
        borderIcons_ = icons;
    } else if (name == L"SkinData") ref([this](TComponent* c) { SetSkinData(dynamic_cast<TmnSkinData*>(c)); });
    else if (name == L"MenusSkinData") ref([this](TComponent* c) { SetMenusSkinData(dynamic_cast<TmnSkinData*>(c)); });
    else if (name == L"MainMenuBar") ref([this](TComponent* c) { SetMainMenuBar(dynamic_cast<TmnMenuBarPartner*>(c)); });
    else if (name == L"MDITabsBar") ref([this](TComponent* c) { SetMDITabsBar(dynamic_cast<TmnMDITabsPartner*>(c)); });
    else if (name == L"SkinHint") ref([this](TComponent* c) { SetSkinHint(dynamic_cast<TmnSkinHint*>(c)); });
    else if (name == L"TrayIcon") ref([this](TComponent* c) { SetTrayIcon(dynamic_cast<TmnTrayIcon*>(c)); });
    else if (name == L"StatusBar") ref([this](TComponent* c) { SetStatusBar(dynamic_cast<TmnSkinStatusBar*>(c)); });
    else if (name == L"SystemMenu") ref([this](TComponent* c) { SetSystemMenu(dynamic_cast<TPopupMenu*>(c)); });
    else return TComponent::ReadProperty(name, v, reader);
    return true;
}

void TmnMantle::Loaded() {
    TComponent::Loaded();
    ApplyButtonVisibility();
}

void TmnMantle::Register() {
    RegisterComponentClass(L"TmnMantle", [](TComponent* owner) { return new TmnMantle(owner); });
}

}  // namespace fn
