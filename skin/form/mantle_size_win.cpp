// The form skinning component's sizes and window commands: the size limits, sizing and
// moving (magnetic edges, a maximised window held in place), and the plan of maximise,
// restore, minimise and roll-up executed on the window.
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
#include "skin/tray/tray_icon_win.h"

namespace fn {

using namespace mantle;

TmnSizeLimits TmnMantle::SizeLimits(bool withMaximum, bool asRolledUp) const {
    TmnSizeLimitInput in;
    in.Skinned = skinned_;
    if (skinned_) {
        in.PictureWidth = skinData_->Picture().Width;
        in.PictureHeight = skinData_->Picture().Height;
        in.ClientHeight = skinData_->ClientRect.Height();
        in.SkinMinWidth = skinData_->FormMinWidth;
    }
    in.MinWidth = MinWidth, in.MinHeight = MinHeight, in.MaxWidth = MaxWidth, in.MaxHeight = MaxHeight;
    in.CaptionHeight = BuiltInCaptionHeight();
    in.Minimized = state_.State == swsMinimized;
    in.RolledUp = state_.RolledUp || asRolledUp;
    // The maximum asks the platform for the monitor; the minimum is the skin's alone.
    RECT area{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    if (withMaximum && form_.HandleAllocated()) GetWindowMonitorRect(const_cast<TForm&>(form_).Handle(), !MaximizeOnFullScreen, area);
    in.Area = ToSkinRect(area);
    return ComputeSizeLimits(in);
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
            if (!m || m->state_.State != swsMinimized) continue;
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

TmnWindowFacts TmnMantle::WindowFacts() const {
    TmnWindowFacts f;
    f.Now = state_;
    f.Icons = borderIcons_;
    f.MDIChild = IsMDIChild();
    f.MainForm = Application()->MainForm() == &form_;
    f.HasTrayIcon = trayIcon_ != nullptr;
    f.AlwaysMinimizeToTray = alwaysMinimizeToTray_;
    HWND window = const_cast<TForm&>(form_).Handle();
    RECT wr;
    ::GetWindowRect(window, &wr);
    if (f.MDIChild) ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&wr), 2);
    f.Bounds = ToSkinRect(wr);
    f.MaximizedBounds = ToSkinRect(MaximizedBounds());
    f.CenterOnFirstRestore = PositionInMonitor != mnpDefault && !f.MDIChild;
    if (f.CenterOnFirstRestore) {
        RECT area;
        GetWindowMonitorRect(window, PositionInMonitor == mnpDesktopCenter, area);
        f.CenterArea = ToSkinRect(area);
    }
    f.MinHeight = SizeLimits(false, true).MinHeight;
    f.ClientHeight = ClientHeight;
    return f;
}

void TmnMantle::KeepWindowState(const TmnWindowState& s) { state_ = s; }

void TmnMantle::RunWindowAction(TmnWindowAction action) {
    if (!form_.HandleAllocated()) return;
    if (action == TmnWindowAction::Close) {
        form_.Close();  // may free the form and this component: nothing after it
        return;
    }
    const TmnWindowPlan plan = PlanWindowAction(WindowFacts(), action);
    // The new state holds before the first step: the steps' own messages (sizes, the frame's
    // repaint, the frame told of a document's state) read it.
    KeepWindowState(plan.After);
    HWND window = form_.Handle();
    auto tellFrame = [this](UINT message) {
        if (TmnMantle* frame = FrameMantle(); frame && frame->form_.HandleAllocated())
            ::SendMessageW(frame->form_.Handle(), message, 0, 0);
    };
    for (const TmnWindowStep& step : plan.Steps) {
        const TSkinRect& r = step.Rect;
        using enum TmnWindowStepKind;
        switch (step.Kind) {
        case Close: break;  // handled above
        case Place:
            ::SetWindowPos(window, nullptr, r.Left, r.Top, r.Width(), r.Height(), SWP_NOZORDER | SWP_FRAMECHANGED);
            break;
        case Resize:
            ::SetWindowPos(window, nullptr, 0, 0, r.Width(), r.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
            break;
        case SetClientHeight: {
            RECT cr;
            ::GetClientRect(window, &cr);
            form_.SetClientSize(cr.right, step.Value);
            break;
        }
        case ShowMinimized: ::ShowWindow(window, SW_MINIMIZE); break;
        case ShowRestored: ::ShowWindow(window, SW_RESTORE); break;
        case MoveToMinimizedPosition: this->MoveToMinimizedPosition(); break;
        case StopHoverTracking:
            StopTimer(TmnObjectTimer::Mouse);
            objects_.ResetHoverStates();
            break;
        case StartHoverTracking: StartTimer(TmnObjectTimer::Mouse); break;
        case RedrawAll: ::RedrawWindow(window, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN); break;
        case TellFrameMaximized: tellFrame(MSG_MDI_CHILD_MAXIMIZED); break;
        case TellFrameRestored: tellFrame(MSG_MDI_CHILD_RESTORED); break;
        case AllowSizeGrip:
            if (statusBar_) statusBar_->SetGripAllowed(true);
            break;
        case ForbidSizeGrip:
            if (statusBar_) statusBar_->SetGripAllowed(false);
            break;
        case MinimizeToTray:
            if (!trayIcon_) break;
            trayIcon_->MinimizeToTray = true;
            trayIcon_->MinimizeToTrayNow();
            // Without a notification area the window stays, and nothing was minimised.
            if (trayIcon_->IconAdded() && OnMinimizeToTray) OnMinimizeToTray(this);
            break;
        case RestoreFromTray:
            if (!trayIcon_) break;
            trayIcon_->MinimizeToTray = false;
            trayIcon_->RestoreMainForm();
            break;
        case HideTrayIcon:
            if (trayIcon_ && !AlwaysShowInTray) trayIcon_->SetIconVisible(false);
            break;
        case RaiseMaximize: if (OnMaximize) OnMaximize(this); break;
        case RaiseRestore: if (OnRestore) OnRestore(this); break;
        case RaiseMinimize: if (OnMinimize) OnMinimize(this); break;
        case RaiseRestoreFromTray: if (OnRestoreFromTray) OnRestoreFromTray(this); break;
        case RaiseRollUpChanged: if (OnChangeRollUpState) OnChangeRollUpState(this); break;
        }
    }
}

std::optional<LRESULT> TmnMantle::SizingMessages(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next) {
    switch (msg) {
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

    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        const TmnSizeLimits l = SizeLimits();
        info->ptMinTrackSize = {l.MinWidth, l.MinHeight};
        info->ptMaxTrackSize = {l.MaxWidth, l.MaxHeight};
        return next(msg, wParam, lParam);
    }

    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_RESTORE:
            if (state_.State != swsNormal || state_.RolledUp) {
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
        if (state_.State == swsMaximized && !IsMDIChild()) {
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

    case WM_MANTLE_ACTION:
        RunWindowAction(static_cast<TmnWindowAction>(wParam));
        return 0;
    default:
        return std::nullopt;
    }
}

}  // namespace fn
