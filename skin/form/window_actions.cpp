#include "skin/form/window_actions.h"

#include "skin/form/frame_states.h"

namespace fn {

namespace {

using enum TmnWindowStepKind;

class Planner {
public:
    explicit Planner(const TmnWindowFacts& facts) : f_(facts), s_(facts.Now) {}

    TmnWindowPlan Run(TmnWindowAction action) {
        Plan(action);
        return {std::move(steps_), s_};
    }

private:
    bool Has(TmnBorderIcon icon) const { return (f_.Icons & BorderIconBit(icon)) != 0; }
    void Add(TmnWindowStepKind kind, TSkinRect rect = {}, int value = 0) { steps_.push_back({kind, rect, value}); }
    void SaveBounds() {
        if (!s_.HasRestoreBounds) s_.RestoreBounds = f_.Bounds, s_.HasRestoreBounds = true;
    }
    void TellFrame(TmnWindowStepKind kind) {
        if (f_.MDIChild) Add(kind);
    }

    void Plan(TmnWindowAction action) {
        switch (action) {
        case TmnWindowAction::Close: Add(Close); return;
        case TmnWindowAction::Maximize: Maximize(); return;
        case TmnWindowAction::Restore: Restore(); return;
        case TmnWindowAction::Minimize: Minimize(); return;
        case TmnWindowAction::MinimizeToTray:
            if (f_.HasTrayIcon) Add(MinimizeToTray);
            return;
        case TmnWindowAction::RestoreFromTray:
            // The window comes back as it was hidden: bounds and skin state are untouched.
            if (!f_.HasTrayIcon) return;
            Add(RestoreFromTray);
            Add(HideTrayIcon);
            Add(RaiseRestoreFromTray);
            return;
        case TmnWindowAction::RollUp: Roll(true); return;
        case TmnWindowAction::RollDown: Roll(false); return;
        }
    }

    void Maximize() {
        if (s_.State == swsMaximized || !Has(biMaximize)) return;
        s_.MaxFromRollUp = s_.RolledUp;
        SaveBounds();
        s_.State = swsMaximized;
        if (f_.MDIChild) Add(StopHoverTracking);
        Add(Place, f_.MaximizedBounds);
        Add(ForbidSizeGrip);
        TellFrame(TellFrameMaximized);
        Add(RaiseMaximize);
    }

    void Restore() {
        // Rolled up on its own (or while maximised): the restore unrolls it.
        if (s_.RolledUp && (s_.State == swsNormal || s_.RolledUpInMaximized)) {
            Roll(false);
            return;
        }
        if (s_.State == swsNormal) return;
        const TmnSkinWindowState old = s_.State;
        if (old == swsMinimized && f_.MainForm) Add(ShowRestored);
        if (old == swsMaximized && s_.RolledUp && !s_.MaxFromRollUp) Roll(false);
        s_.MaxFromRollUp = false;
        s_.RolledUpInMaximized = false;
        s_.State = swsNormal;
        if (s_.HasRestoreBounds) {
            TSkinRect b = s_.RestoreBounds;
            if (s_.FirstShow) {
                // Shown while not normal: the placement of the first show happens now.
                s_.FirstShow = false;
                if (f_.CenterOnFirstRestore) b = CenteredRect(f_.CenterArea, b.Width(), b.Height());
            }
            Add(Place, b);
        }
        s_.HasRestoreBounds = false;
        s_.RestoreBounds = {};
        Add(StartHoverTracking);
        Add(RedrawAll);
        TellFrame(TellFrameRestored);
        Add(AllowSizeGrip);
        Add(RaiseRestore);
    }

    void Minimize() {
        if (!Has(biMinimize)) return;
        if (f_.AlwaysMinimizeToTray && f_.HasTrayIcon) {
            Add(MinimizeToTray);
            return;
        }
        if (f_.MainForm) {
            // The program minimises; the main form's skin state stays as it is.
            Add(ShowMinimized);
        } else {
            if (s_.State == swsMinimized) return;
            SaveBounds();
            s_.State = swsMinimized;
            Add(MoveToMinimizedPosition);
            TellFrame(TellFrameRestored);
        }
        Add(RaiseMinimize);
    }

    void Roll(bool up) {
        if (up == s_.RolledUp || !Has(biRollUp) || s_.State == swsMinimized) return;
        // A window maximised from the rolled-up state keeps that state.
        if (s_.State == swsMaximized && s_.RolledUp && !s_.RolledUpInMaximized) return;
        if (s_.State == swsMaximized) s_.RolledUpInMaximized = up;
        s_.RolledUp = up;
        const TSkinRect& b = f_.Bounds;
        if (up) {
            s_.RollUpHeight = b.Height();
            Add(Resize, {b.Left, b.Top, b.Right, b.Top + f_.MinHeight});
        } else if (f_.ClientHeight > 0) {
            Add(SetClientHeight, {}, f_.ClientHeight);
        } else {
            Add(Resize, {b.Left, b.Top, b.Right, b.Top + s_.RollUpHeight});
        }
        Add(RaiseRollUpChanged);
    }

    const TmnWindowFacts& f_;
    TmnWindowState s_;
    std::vector<TmnWindowStep> steps_;
};

}  // namespace

TmnWindowPlan PlanWindowAction(const TmnWindowFacts& facts, TmnWindowAction action) { return Planner(facts).Run(action); }

}  // namespace fn
