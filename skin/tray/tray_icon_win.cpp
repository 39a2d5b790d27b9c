#include "skin/tray/tray_icon_win.h"

#include <algorithm>

#include "platform/core/form_data.h"
#include "platform/core/seam.h"
#include "platform/win/application.h"
#include "platform/win/dialogs.h"
#include "platform/win/forms.h"
#include "platform/win/object_window.h"
#include "skin/menus/skin_popup_menu_win.h"

namespace fn {

namespace {

constexpr UINT_PTR AnimateTimerId = 1, ClickTimerId = 2;
constexpr UINT WM_TRAY_MINIMIZE = WM_APP + 1;
constexpr UINT NIN_BALLOONUSERCLICK_ = WM_USER + 5;  // 1029
const wchar_t* const NoTrayText =
    L"Der Infobereich der Taskleiste ist nicht verfügbar. Das Fenster bleibt deshalb sichtbar.";

class TShellNotify : public TmnShellNotify {
public:
    BOOL Notify(DWORD message, NOTIFYICONDATAW& data) override { return ::Shell_NotifyIconW(message, &data); }
};
TShellNotify shellNotify;
TSeamSlot<TmnShellNotify> shell(shellNotify);

}  // namespace

TmnShellNotify* SetShellNotifySeam(TmnShellNotify* seam) { return shell.Install(seam); }

TmnTrayIcon::TmnTrayIcon(TComponent* owner) : TComponent(owner) {
    taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
    static const ATOM atom = RegisterObjectWindowClass(
        L"TmnTrayIconWindow", &ObjectWindowProc<TmnTrayIcon, &TmnTrayIcon::window_, &TmnTrayIcon::WndProc>);
    // A hidden top-level window (not message-only): the shell's "TaskbarCreated" broadcast and
    // the session-end messages reach it.
    window_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, WindowClassOf(atom), L"",
                                WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, ::GetModuleHandleW(nullptr), this);
    data_.cbSize = sizeof(NOTIFYICONDATAW);
    data_.hWnd = window_;
    data_.uID = TrayIconId;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = TrayCallbackMessage;
    if (!IsDesigning()) {
        if (!icon_.Get() && UseApplicationIcon()) {
            HICON application = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
            if (!application) application = ::LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
            SetIcon(application);
        }
        // The owner's messages, through its window chain (for every window it will have).
        if (auto* control = dynamic_cast<TWinControl*>(owner)) {
            ownerHook_.Install(control->WindowProc(),
                               [this](HWND window, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next) {
                                   return OwnerMessage(window, msg, wParam, lParam, next);
                               });
        }
    }
}

TmnTrayIcon::~TmnTrayIcon() {
    // The icon leaves the notification area with its component.
    SetIconVisible(false);
    designPreview_ = false;
    animateTimer_.Stop();
    clickTimer_.Stop();
    ownerHook_.Remove();
    if (window_) {
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        ::DestroyWindow(window_);
    }
}

BOOL TmnTrayIcon::Shell(DWORD message) { return shell.Current().Notify(message, data_); }

bool TmnTrayIcon::PrepareIconData() {
    if (IsDesigning() && !settingPreview_ && !designPreview_) return false;
    data_.hIcon = icon_.Get();
    const auto tip = TrayTip(hint_, showHint_);
    std::copy(tip.begin(), tip.end(), data_.szTip);
    return true;
}

void TmnTrayIcon::ShowIcon() {
    if (!settingPreview_) iconVisible_ = true;
    if ((!IsDesigning() || settingPreview_) && PrepareIconData()) added_ = Shell(NIM_ADD) != FALSE;
}

void TmnTrayIcon::HideIcon() {
    if (!settingPreview_) iconVisible_ = false;
    if ((!IsDesigning() || settingPreview_) && PrepareIconData()) {
        Shell(NIM_DELETE);
        added_ = false;
    }
}

void TmnTrayIcon::ModifyIcon() {
    if (PrepareIconData()) Shell(NIM_MODIFY);
}

void TmnTrayIcon::SetIconVisible(bool visible) {
    if (visible) ShowIcon();
    else HideIcon();
}

void TmnTrayIcon::SetDesignPreview(bool preview) {
    designPreview_ = preview;
    settingPreview_ = true;
    if (preview) ShowIcon();
    else HideIcon();
    settingPreview_ = false;
}

void TmnTrayIcon::SetIcon(HICON icon) {
    // A copy of its own: the previous handle is destroyed, so an animation leaks nothing.
    icon_.Reset(icon ? ::CopyIcon(icon) : nullptr);
    ModifyIcon();
}

void TmnTrayIcon::SetIconList(std::vector<HICON> icons) {
    iconList_ = std::move(icons);
    SetIconIndex(0);
}

void TmnTrayIcon::SetIconIndex(int index) {
    if (iconList_.empty()) {
        iconIndex_ = 0;
    } else {
        iconIndex_ = ClampIconIndex(index, static_cast<int>(iconList_.size()));
        icon_.Reset(::CopyIcon(iconList_[static_cast<size_t>(iconIndex_)]));
    }
    ModifyIcon();
}

void TmnTrayIcon::SetCycleIcons(bool cycle) {
    cycleIcons_ = cycle;
    if (cycle) {
        SetIconIndex(0);
        animateTimer_.Start(window_, AnimateTimerId, ClampAnimateInterval(animateInterval_));
    } else {
        animateTimer_.Stop();
    }
}

void TmnTrayIcon::SetAnimateTimerInterval(unsigned ms) {
    animateInterval_ = ms;
    if (animateTimer_.Active()) animateTimer_.Start(window_, AnimateTimerId, ClampAnimateInterval(ms));
}

void TmnTrayIcon::SetHint(const String& hint) {
    hint_ = hint;
    ModifyIcon();
}

void TmnTrayIcon::SetShowHint(bool show) {
    showHint_ = show;
    ModifyIcon();
}

void TmnTrayIcon::SetPopupMenu(TmnSkinPopupMenu* menu) {
    SetReference(popupMenu_, menu);
}

void TmnTrayIcon::Notification(TComponent* component, Operation operation) {
    TComponent::Notification(component, operation);
    if (operation == Operation::Remove && component == popupMenu_) popupMenu_ = nullptr;
}

bool TmnTrayIcon::ReadProperty(const String& name, const FormValue& v, TReader& reader) {
    if (name == L"Hint") hint_ = v.AsString();
    else if (name == L"ShowHint") showHint_ = v.AsBool();
    else if (name == L"IconVisible") iconVisible_ = v.AsBool();
    else if (name == L"Enabled") Enabled = v.AsBool();
    else if (name == L"PopupByLeftButton") PopupByLeftButton = v.AsBool();
    else if (name == L"MinimizedOnStart") MinimizedOnStart = v.AsBool();
    else if (name == L"MinimizeToTray") MinimizeToTray = v.AsBool();
    else if (name == L"CycleIcons") cycleIcons_ = v.AsBool();
    else if (name == L"AnimateTimerInterval") animateInterval_ = static_cast<unsigned>(std::max(0, v.AsInt()));
    else if (name == L"IconIndex") iconIndex_ = v.AsInt();
    else return TComponent::ReadProperty(name, v, reader);
    return true;
}

HWND TmnTrayIcon::OwnerWindow() const {
    auto* control = dynamic_cast<TWinControl*>(Owner());
    return control && control->HandleAllocated() ? const_cast<TWinControl*>(control)->Handle() : nullptr;
}

HWND TmnTrayIcon::MainFormWindow() const {
    if (!dynamic_cast<TWinControl*>(Owner())) return nullptr;
    if (TForm* main = Application()->MainForm(); main && main->HandleAllocated()) return main->Handle();
    return OwnerWindow();
}

void TmnTrayIcon::Loaded() {
    TComponent::Loaded();
    if (cycleIcons_) SetCycleIcons(true);
    if (OwnerWindow() && MinimizedOnStart && !IsDesigning()) {
        MinimizeToTray = true;
        MinimizeToTrayNow();
        // Started in the notification area: the message loop does not show the main form;
        // restoring from the icon shows it the first time.
        if (added_) Application()->SetShowMainForm(false);
        return;
    }
    ModifyIcon();
    SetIconVisible(iconVisible_);
}

void TmnTrayIcon::MinimizeToTrayNow() {
    // The icon first: hiding the window without it would leave the program unreachable.
    ShowIcon();
    if (!added_) {
        ShowMessage(NoTrayText);
        return;
    }
    HideMainForm();
}

void TmnTrayIcon::HideMainForm() {
    if (HWND main = MainFormWindow()) ::ShowWindow(main, SW_HIDE);
}

void TmnTrayIcon::RestoreMainForm() {
    HWND main = MainFormWindow();
    if (!main) return;
    // A main form never shown yet (the program started in the notification area) is shown as
    // a form, so it gets its first placement and focus.
    if (TForm* form = Application()->MainForm(); form && form->Handle() == main && !::IsWindowVisible(main)) form->Show();
    ::ShowWindow(main, ::IsIconic(main) ? SW_RESTORE : SW_SHOW);
    ::SetForegroundWindow(main);
}

void TmnTrayIcon::PopupAtCursor() {
    POINT pt;
    if (!popupMenu_ || !popupMenu_->AutoPopup || !::GetCursorPos(&pt)) return;
    // The menu's chain closes when the program loses the foreground, so it must have it first.
    ::SetForegroundWindow(window_);
    if (HWND owner = OwnerWindow()) ::SetForegroundWindow(owner);
    popupMenu_->PopupComponent = window_;
    popupMenu_->Popup(pt.x, pt.y);
    if (HWND owner = OwnerWindow()) ::PostMessageW(owner, WM_NULL, 0, 0);
}

void TmnTrayIcon::AnimateTick() {
    if (iconList_.empty()) return;
    const int count = static_cast<int>(iconList_.size());
    iconIndex_ = ClampIconIndex(iconIndex_, count);
    icon_.Reset(::CopyIcon(iconList_[static_cast<size_t>(iconIndex_)]));
    const int next = NextIconIndex(iconIndex_, count);
    Cycle(next);
    ModifyIcon();
    iconIndex_ = next;
}

void TmnTrayIcon::ClickTimerFired() {
    clickTimer_.Stop();
    if (clicks_.TimerFired()) Click();
}

void TmnTrayIcon::IconMessage(UINT mouse) {
    POINT pt{0, 0};
    ::GetCursorPos(&pt);
    const TShiftState shift = KeyboardShiftState();
    switch (mouse) {
    case WM_MOUSEMOVE:
        MouseMove(shift, pt.x, pt.y);
        break;
    case WM_LBUTTONDOWN:
        clickTimer_.Start(window_, ClickTimerId, ::GetDoubleClickTime());
        clicks_.ButtonDown();
        MouseDown(TMouseButton::mbLeft, shift, pt.x, pt.y);
        if (PopupByLeftButton) PopupAtCursor();
        break;
    case WM_LBUTTONUP:
        if (clicks_.ButtonUp()) Click();
        MouseUp(TMouseButton::mbLeft, shift, pt.x, pt.y);
        break;
    case WM_LBUTTONDBLCLK:
        clicks_.DoubleClick();
        DblClick();
        if (popupMenu_ && popupMenu_->AutoPopup && !PopupByLeftButton) {
            TMenuItem* root = popupMenu_->Items();
            for (int i = 0; i < root->Count(); ++i) {
                if (root->Items(i)->Default()) {
                    root->Items(i)->Click();
                    break;
                }
            }
        }
        break;
    case WM_RBUTTONDOWN:
        MouseDown(TMouseButton::mbRight, shift, pt.x, pt.y);
        PopupAtCursor();
        break;
    case WM_RBUTTONUP:
        MouseUp(TMouseButton::mbRight, shift, pt.x, pt.y);
        break;
    case WM_MBUTTONDOWN:
        MouseDown(TMouseButton::mbMiddle, shift, pt.x, pt.y);
        break;
    case WM_MBUTTONUP:
        MouseUp(TMouseButton::mbMiddle, shift, pt.x, pt.y);
        break;
    case NIN_BALLOONUSERCLICK_:
        if (OnBalloonHintClick) OnBalloonHintClick(this);
        break;
    default:
        break;
    }
}

LRESULT TmnTrayIcon::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == taskbarCreated_) {
        // The shell restarted: a visible icon comes back.
        if (iconVisible_) ShowIcon();
        return 0;
    }
    switch (msg) {
    case TrayCallbackMessage:
        if (Enabled) IconMessage(static_cast<UINT>(lParam));
        return 0;
    case WM_TIMER:
        if (wParam == AnimateTimerId) AnimateTick();
        else if (wParam == ClickTimerId) ClickTimerFired();
        return 0;
    case WM_TRAY_MINIMIZE:
        MinimizeToTrayNow();
        return 0;
    case WM_ENDSESSION:
        // The session ends: no icon is left behind in the notification area.
        if (wParam && added_) {
            Shell(NIM_DELETE);
            added_ = false;
        }
        return 0;
    case WM_DESTROY: case WM_CLOSE: case WM_QUERYENDSESSION: case WM_QUIT: case WM_USERCHANGED: case WM_NCDESTROY:
        return 1;
    default:
        return ::DefWindowProcW(window_, msg, wParam, lParam);
    }
}

LRESULT TmnTrayIcon::OwnerMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next) {
    switch (msg) {
    case WM_SIZE:
        // Hidden after the minimise has been handled, not in the middle of it.
        if (wParam == SIZE_MINIMIZED && MinimizeToTray) ::PostMessageW(window_, WM_TRAY_MINIMIZE, 0, 0);
        break;
    case WM_SHOWWINDOW:
        if (wParam == TRUE && lParam == 0) ::SetForegroundWindow(window);
        break;
    case WM_ACTIVATE: {
        // The owner handles its activation first (which moves the focus to the window and on to
        // its first control); then the control that had the focus before gets it back, unless
        // its own parent is the window losing the activation.
        // The control is kept by its window: one destroyed meanwhile is not found again.
        TWinControl* before = Screen()->ActiveControl();
        const HWND control = before && before->HandleAllocated() ? before->Handle() : nullptr;
        const LRESULT result = next(msg, wParam, lParam);
        TWinControl* active = control && ::IsWindow(control) ? TWinControl::FromHandle(control) : nullptr;
        if (active && (LOWORD(wParam) == WA_ACTIVE || LOWORD(wParam) == WA_CLICKACTIVE))
            RestoreFocus(window, *active, reinterpret_cast<HWND>(lParam));
        return result;
    }
    default:
        break;
    }
    return next(msg, wParam, lParam);
}

void TmnTrayIcon::RestoreFocus(HWND owner, TWinControl& active, HWND deactivated) {
    if (!active.HandleAllocated()) return;
    const HWND control = active.Handle();
    const HWND parent = active.Parent() && active.Parent()->HandleAllocated() ? active.Parent()->Handle() : control;
    // Only a control on the owner: focusing one elsewhere would activate another window.
    if (deactivated == parent || !::IsChild(owner, control) || !::IsWindowVisible(control) || !::IsWindowEnabled(control))
        return;
    if (::GetFocus() != control) ::SetFocus(control);
}

}  // namespace fn
