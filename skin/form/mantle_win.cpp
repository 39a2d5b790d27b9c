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
#include "skin/form/mantle_parts_win.h"
#include "skin/menus/skin_hint_win.h"
#include "skin/menus/skin_menu_win.h"
#include "skin/paint/regions_win.h"
#include "skin/paint/system_win.h"
#include "skin/tray/tray_icon_win.h"

namespace fn {

using namespace mantle;

namespace {

TForm& FormOf(TComponent* owner) {
    auto* form = dynamic_cast<TForm*>(owner);
    if (!form) throw EInvalidCast(L"TmnMantle braucht ein Formular als Besitzer");
    return *form;
}

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
    // The built-in frame shows them at once; a skinned frame draws its caption from the skin.
    for (TFont* f : {&defCaptionFont_, &defInactiveCaptionFont_})
        f->OnChange = [this] {
            if (!skinned_) NcPaint();
        };

    // The platform's caption buttons go; the form's shortcuts come here first.
    form_.SetBorderIcons(0);
    shortCutHook_.Install(form_.ShortCutFilters(), [this](WORD key, TShiftState shift, const auto& next) {
        return FormShortCut(key, shift, next);
    });

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
    shortCutHook_.Remove();
    if (!form_.IsDestroying()) {
        if (form_.HandleAllocated()) {
            HWND window = form_.Handle();
            if (::IsWindow(window)) {
                SetWindowRegion(window, {}, true);  // the system frees the region it owned
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

void TmnMantle::SetHideCaptionButtons(bool hide) { hideCaptionButtons_ = hide; ShowButtonsAnew(); }
void TmnMantle::SetBorderIcons(TmnBorderIcons icons) { borderIcons_ = icons; ShowButtonsAnew(); }

void TmnMantle::ShowButtonsAnew() {
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
    const bool skinGone = ReleaseReference(skinData_, component);
    ReleaseReference(menusSkinData_, component);
    ReleaseReference(mainMenuBar_, component);
    ReleaseReference(mdiTabsBar_, component);
    ReleaseReference(skinHint_, component);
    ReleaseReference(trayIcon_, component);
    ReleaseReference(statusBar_, component);
    ReleaseReference(systemMenu_, component);
    ReleaseReference(takenMenu_, component);
    // Losing the manager leaves the built-in frame, never a frame that stops painting.
    if (skinGone && !IsDestroying()) ChangeSkinData();
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
    // Nothing hot or held: no object waits for the pointer to leave.
    const auto idle = [this] { return objects_.ActiveObject == -1 && objects_.CaptureObject == -1; };
    if (!IsFormActive()) {
        if (idle()) StopTimer(TmnObjectTimer::Mouse);
        return;
    }
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
    // Off the frame with nothing hot or held, there is nothing to follow: the hit test starts the
    // timer again when the mouse comes onto an object, so an idle window does not poll.
    if ((inClient || !inWindow) && idle()) StopTimer(TmnObjectTimer::Mouse);
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
    const TKeyMenuKey kind = key == 0 ? TKeyMenuKey::Tap : key == VK_SPACE ? TKeyMenuKey::Space : TKeyMenuKey::Letter;
    const TKeyMenuPlan plan = PlanKeyMenu(kind, {kind == TKeyMenuKey::Tap && altTap_.TakeUsed(), inMainMenu_,
                                                 skinMenu_->Visible, inSkinMenu_, mainMenuBar_ != nullptr});
    if (plan.LeaveMenuMode) MainMenuExit();
    if (plan.CloseChain) skinMenu_->CloseAll();
    if (plan.EndPopupMode) MenuClosed();
    if (plan.SystemMenu && form_.HandleAllocated()) {
        RECT r{};
        ::GetWindowRect(form_.Handle(), &r);
        ShowSystemMenu({r.left, r.top, r.left + 1, r.top + ClientRectInWindow().top});
    }
    if (plan.EnterMenuMode) mainMenuBar_->EnterMenuMode();
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
    // The message families, each handled in a unit of its own; the one that knows the message
    // answers it, any other goes to the form's own procedure.
    using Family = std::optional<LRESULT> (TmnMantle::*)(HWND, UINT, WPARAM, LPARAM, const TWndProcNext&);
    static constexpr Family kFamilies[] = {
        &TmnMantle::ShowingMessages,   // showing, activation, timers, destruction (mantle_win)
        &TmnMantle::FrameMessages,  // the non-client area: size, paint, hit test, caption text (mantle_frame_win)
        &TmnMantle::SizingMessages,   // sizing, moving and the window commands (mantle_size_win)
        &TmnMantle::MDIMessages,    // a document window's state told to its frame (mantle_mdi_win)
        &TmnMantle::SkinMessages,   // skin changes and system settings (mantle_skin_win)
        &TmnMantle::MouseMessages,  // the mouse on the frame's objects (mantle_win)
    };
    for (Family family : kFamilies)
        if (const std::optional<LRESULT> r = (this->*family)(window, msg, wParam, lParam, next)) return *r;
    return next(msg, wParam, lParam);
}

std::optional<LRESULT> TmnMantle::ShowingMessages(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next) {
    switch (msg) {
    case WM_DESTROY:
        fadeTimer_.Stop();
        if (timers_) timers_->StopAll();
        timers_.reset();
        if (IsMDIChild()) {
            const bool wasMaximized = state_.State == swsMaximized;
            state_.State = swsNormal;
            if (TmnMantle* frame = FrameMantle()) {
                if (wasMaximized && frame->form_.HandleAllocated())
                    ::SendMessageW(frame->form_.Handle(), MSG_MDI_CHILD_RESTORED, 0, 0);
                if (frame->mdiTabsBar_) frame->mdiTabsBar_->RemoveTab(&form_);
                if (frame->mdiTabsBar_) frame->mdiTabsBar_->UpdateActiveTabs();
            }
            RemoveWindowListItem();
        }
        return next(msg, wParam, lParam);

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

    case WM_NCACTIVATE: {
        if (skinMenu_->Visible) skinMenu_->CloseAll();
        formActive_ = wParam != 0;
        LRESULT r = 1;
        // The default would paint the platform's caption; only MDI children need it (it keeps
        // the MDI activation in step).
        if (IsMDIChild()) r = next(msg, wParam, -1);
        if (!DrawsFrame()) objects_.SetCaptionState(false);
        else SetCaptionState(true);
        // The active document's caption follows its frame's activation.
        if (IsMDIFrame())
            if (TmnMantle* child = Of(form_.ActiveMDIChild()); child && child != this) child->FollowActivation();
        if (IsMDIChild()) {
            if (TmnMantle* frame = FrameMantle()) {
                if (state_.State == swsMaximized) frame->NcPaint();
                if (frame->mainMenuBar_) frame->mainMenuBar_->RebuildItems();
                if (frame->mdiTabsBar_) frame->mdiTabsBar_->UpdateActiveTabs();
            }
            CheckWindowListItems(wParam != 0);
            if (IsOSVersion6OrLater()) ::InvalidateRect(window, nullptr, FALSE);
        }
        return r;
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

    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != window && objects_.CaptureObject != -1) objects_.CaptureLost();
        return next(msg, wParam, lParam);

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

    case MSG_SKIN_MENU_CLOSED:
        MenuClosed();
        return next(msg, wParam, lParam);
    default:
        return std::nullopt;
    }
}

std::optional<LRESULT> TmnMantle::MouseMessages(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next) {
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
        return std::nullopt;
    }
}

// The steps of a window's showing. They also run for a window that was already visible when the
// seam first saw it (an MDI child is shown while it is created).
void TmnMantle::Shown(HWND window) {
    shownWindow_ = window;
    // A window shown in another state is placed at its first restore.
    if (state_.FirstShow && (PositionInMonitor == mnpDefault || state_.State == swsNormal)) {
        state_.FirstShow = false;
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
            switch (CaptionDoubleClick(Resizable(), state_.State, state_.RolledUp, state_.RolledUpInMaximized, borderIcons_)) {
            case TmnCaptionAction::Restore: PostWindowAction(TmnWindowAction::Restore); break;
            case TmnCaptionAction::Maximize: PostWindowAction(TmnWindowAction::Maximize); break;
            case TmnCaptionAction::ToggleRollUp:
                if (borderIcons_ & BorderIconBit(biRollUp))
                    PostWindowAction(state_.RolledUp ? TmnWindowAction::RollDown : TmnWindowAction::RollUp);
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

// ---- form data ----

bool TmnMantle::ReadProperty(const String& name, const FormValue& v, TReader& reader) {
    auto font = [&](TFont& f, const String& sub) {
        if (sub == L"Name") f.SetName(v.AsString());
        else if (sub == L"Height") f.SetHeight(reader.Scaled(v));
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
    else if (name == L"ClientWidth") ClientWidth = reader.Scaled(v);
    else if (name == L"ClientHeight") ClientHeight = reader.Scaled(v);
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
    else if (name == L"DefMenuItemHeight") SetDefMenuItemHeight(reader.Scaled(v));
    else if (name.rfind(L"DefMenuItemFont.", 0) == 0) {
        TFontDesc d = skinMenu_->DefaultMenuItemFont;
        if (!d.ReadProperty(name.substr(16), v, reader)) return false;
        SetDefMenuItemFont(d);
    } else if (name == L"UseDefaultSysMenu") UseDefaultSysMenu = v.AsBool();
    else if (name == L"MinHeight") MinHeight = reader.Scaled(v);
    else if (name == L"MinWidth") MinWidth = reader.Scaled(v);
    else if (name == L"MaxHeight") MaxHeight = reader.Scaled(v);
    else if (name == L"MaxWidth") MaxWidth = reader.Scaled(v);
    else if (name == L"Magnetic") Magnetic = v.AsBool();
    else if (name == L"MagneticSize") MagneticSize = static_cast<BYTE>(std::clamp(reader.Scaled(v), 0, 255));
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

// The form moved to a screen of other dots per inch: the form data's lengths follow.
void TmnMantle::ChangeScale(int dpi, int fromDpi) {
    auto scaled = [&](int v) { return ScaledForDpi(v, dpi, fromDpi); };
    for (TFont* f : {&defCaptionFont_, &defInactiveCaptionFont_}) f->SetHeight(scaled(f->Height()));
    skinMenu_->DefaultMenuItemHeight = scaled(skinMenu_->DefaultMenuItemHeight);
    skinMenu_->DefaultMenuItemFont.height = scaled(skinMenu_->DefaultMenuItemFont.height);
    for (int* length : {&ClientWidth, &ClientHeight, &MinHeight, &MinWidth, &MaxHeight, &MaxWidth}) *length = scaled(*length);
    MagneticSize = static_cast<BYTE>(std::clamp(scaled(MagneticSize), 0, 255));
}

void TmnMantle::Loaded() {
    TComponent::Loaded();
    ApplyButtonVisibility();
}

void TmnMantle::Register() {
    RegisterComponentClass(L"TmnMantle", [](TComponent* owner) { return new TmnMantle(owner); });
}

}  // namespace fn
