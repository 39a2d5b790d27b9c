#pragma once
// TmnTrayIcon: an icon in the shell's notification area with mouse events, a skinned popup menu,
// icon animation from a list, and minimising the program into the notification area. The
// click detection, icon order and tooltip are the portable tray_logic unit. Every call to the
// shell goes through a seam, so tests record them (a test machine has no notification area).
#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/win/controls.h"
#include "platform/win/handles.h"
#include "platform/win/menus.h"
#include "platform/win/wndproc_hook.h"
#include "platform/win/window_timer.h"
#include "skin/tray/tray_logic.h"

namespace fn {

// Shell_NotifyIconW, or a test's recorder.
class TmnShellNotify {
public:
    virtual ~TmnShellNotify() = default;
    virtual BOOL Notify(DWORD message, NOTIFYICONDATAW& data) = 0;
};
// Installs a seam (null: the shell) and returns the one it replaces.
TmnShellNotify* SetShellNotifySeam(TmnShellNotify* seam);

inline constexpr UINT TrayCallbackMessage = 0x800;
inline constexpr UINT TrayIconId = 1;

class TmnSkinPopupMenu;
class TmnTrayIcon;
using TmnCycleEvent = std::function<void(TmnTrayIcon* sender, int nextIndex)>;
using TTrayMouseEvent = std::function<void(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TTrayMouseMoveEvent = std::function<void(TComponent* sender, TShiftState shift, int x, int y)>;

class TmnTrayIcon : public TComponent {
public:
    explicit TmnTrayIcon(TComponent* owner);
    ~TmnTrayIcon() override;
    const wchar_t* ClassName() const override { return L"TmnTrayIcon"; }

    bool DesignPreview() const { return designPreview_; }
    void SetDesignPreview(bool preview);
    // The icons of the animation and of IconIndex; the caller keeps them alive.
    const std::vector<HICON>& IconList() const { return iconList_; }
    void SetIconList(std::vector<HICON> icons);
    bool CycleIcons() const { return cycleIcons_; }
    void SetCycleIcons(bool cycle);
    unsigned AnimateTimerInterval() const { return animateInterval_; }
    void SetAnimateTimerInterval(unsigned ms);
    bool Enabled = true;
    const String& Hint() const { return hint_; }
    void SetHint(const String& hint);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show);
    // The icon shown (a copy is kept; the previous one is destroyed).
    HICON Icon() const { return icon_.Get(); }
    void SetIcon(HICON icon);
    bool IconVisible() const { return iconVisible_; }
    void SetIconVisible(bool visible);
    int IconIndex() const { return iconIndex_; }
    void SetIconIndex(int index);
    TmnSkinPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TmnSkinPopupMenu* menu);
    bool PopupByLeftButton = false;
    bool MinimizedOnStart = false;
    // True after construction; stored in form data only when false.
    bool MinimizeToTray = true;

    TNotifyEvent OnClick, OnDblClick, OnBalloonHintClick;
    TTrayMouseEvent OnMouseDown, OnMouseUp;
    TTrayMouseMoveEvent OnMouseMove;
    TmnCycleEvent OnCycle;

    virtual void ShowIcon();
    virtual void HideIcon();
    virtual void ModifyIcon();
    bool PrepareIconData();
    virtual bool UseApplicationIcon() { return true; }
    void PopupAtCursor();
    // Adds the icon, then hides the main form, but only when the icon is there: without a
    // notification area the program stays on screen and says why.
    void MinimizeToTrayNow();
    void HideMainForm();
    void RestoreMainForm();
    // True when the last add reached the notification area.
    bool IconAdded() const { return added_; }

    HWND Handle() const { return window_; }
    const NOTIFYICONDATAW& IconData() const { return data_; }
    UINT TaskbarCreatedMessage() const { return taskbarCreated_; }
    bool AnimateTimerActive() const { return animateTimer_.Active(); }

    void Loaded() override;
    bool ReadProperty(const String& name, const FormValue& value, TReader& reader) override;
    void Notification(TComponent* component, Operation operation) override;

protected:
    virtual void Click() { if (OnClick) OnClick(this); }
    virtual void DblClick() { if (OnDblClick) OnDblClick(this); }
    virtual void MouseDown(TMouseButton b, TShiftState s, int x, int y) { if (OnMouseDown) OnMouseDown(this, b, s, x, y); }
    virtual void MouseUp(TMouseButton b, TShiftState s, int x, int y) { if (OnMouseUp) OnMouseUp(this, b, s, x, y); }
    virtual void MouseMove(TShiftState s, int x, int y) { if (OnMouseMove) OnMouseMove(this, s, x, y); }
    virtual void Cycle(int next) { if (OnCycle) OnCycle(this, next); }

private:
    // The owner window's messages: minimise to the tray, come to the front when shown, give the
    // focus back to the active control on activation.
    LRESULT OwnerMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next);
    void RestoreFocus(HWND owner, TWinControl& active, HWND deactivated);
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    void IconMessage(UINT mouseMessage);
    void AnimateTick();
    void ClickTimerFired();
    HWND OwnerWindow() const;
    HWND MainFormWindow() const;
    BOOL Shell(DWORD message);

    HWND window_ = nullptr;
    NOTIFYICONDATAW data_{};
    UINT taskbarCreated_ = 0;
    TIconHandle icon_;
    std::vector<HICON> iconList_;
    int iconIndex_ = 0;
    bool cycleIcons_ = false;
    unsigned animateInterval_ = 0;
    String hint_;
    bool showHint_ = true;
    bool iconVisible_ = true;
    bool designPreview_ = false;
    bool settingPreview_ = false;
    bool added_ = false;
    TmnSkinPopupMenu* popupMenu_ = nullptr;
    TTrayClickDetector clicks_;
    TWindowTimer animateTimer_, clickTimer_;
    TWndProcHook ownerHook_;
};

}  // namespace fn
