// The form skinning component's skin changes: dropping the old skin's objects, building
// the new ones, telling the form's skinned controls, and following the system's settings.
#include "skin/form/mantle_win.h"

#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "platform/win/application.h"
#include "platform/win/gdi.h"
#include "skin/controls/skin_control_win.h"
#include "skin/controls/skin_status_bar_win.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_messages.h"
#include "skin/form/mantle_parts_win.h"
#include "skin/paint/system_win.h"

namespace fn {

using namespace mantle;

namespace {

bool HighContrastOn() {
    HIGHCONTRASTW hc{};
    hc.cbSize = sizeof hc;
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON);
}

}  // namespace

void TmnMantle::TakeSkinMessage(TmnSkinData* manager, unsigned message) {
    const bool mine = manager && manager == skinData_;
    if (message == MSG_SKIN_BEFORE_CHANGE) {
        if (mine) SkinBeforeChange();
    } else if (message == MSG_SKIN_CHANGE) {
        skinChanging_ = false;
        if (mine) ChangeSkinData();
        NotifySkinControls(&form_, MSG_SKIN_CHANGE, manager);
    } else if (message == MSG_SKIN_AFTER_CHANGE && mine) {
        RefitChildren();
        if (OnAfterChangeSkinData) OnAfterChangeSkinData(this);
    }
}

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
    // Only a capture the window holds is let go; with nothing captured, a release would still
    // make the system send a mouse move to whatever window is under the pointer.
    if (form_.HandleAllocated() && ::GetCapture() == form_.Handle()) ::ReleaseCapture();
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
    if (skinData_) pictures_.Share(skinData_->DecodedSkin());
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
    if (!state_.RolledUp && (ClientWidth > 0 || ClientHeight > 0)) {
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
    if (state_.RolledUp || state_.State == swsMinimized) h = l.MinHeight;
    if (state_.State == swsMinimized) w = l.MinWidth;
    if (w < l.MinWidth) w = l.MinWidth;
    if (h < l.MinHeight) h = l.MinHeight;
    if (w != wr.right - wr.left || h != wr.bottom - wr.top)
        ::SetWindowPos(window, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::optional<LRESULT> TmnMantle::SkinMessages(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next) {
    if (msg == MSG_SKIN_BEFORE_CHANGE || msg == MSG_SKIN_CHANGE || msg == MSG_SKIN_AFTER_CHANGE) {
        TakeSkinMessage(reinterpret_cast<TmnSkinData*>(wParam), msg);
        return next(msg, wParam, lParam);
    }
    switch (msg) {
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
    case WM_DISPLAYCHANGE: {
        // High contrast switched on or off: the frame follows.
        const LRESULT r = next(msg, wParam, lParam);
        const bool wanted = skinData_ && !skinData_->Empty() && !HighContrastOn();
        if (wanted != skinned_ && !skinChanging_) ChangeSkinData();
        // A maximised window follows its work area (a task bar moved or resized, another display).
        const bool areaChanged = msg == WM_DISPLAYCHANGE || (msg == WM_SETTINGCHANGE && wParam == SPI_SETWORKAREA);
        if (areaChanged && state_.State == swsMaximized && !IsMDIChild()) {
            const RECT area = MaximizedBounds();
            ::SetWindowPos(window, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                           SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        }
        return r;
    }

    case WM_MANTLE_CHANGE_CHECK:
        if (skinChanging_) {
            skinChanging_ = false;
            ChangeSkinData();
        }
        return 0;

    case MSG_STRINGS_CHANGED:
        ApplyButtonVisibility();
        return next(msg, wParam, lParam);
    default:
        return std::nullopt;
    }
}

}  // namespace fn
