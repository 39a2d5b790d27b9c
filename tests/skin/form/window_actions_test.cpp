// Window commands planned without a window: each round trip comes back exactly, commands
// without their border icon do nothing, and document windows keep their frame told.
#include <gtest/gtest.h>

#include "skin/form/window_actions.h"

using namespace fn;

namespace {

using enum TmnWindowStepKind;

std::vector<TmnWindowStepKind> Kinds(const TmnWindowPlan& p) {
    std::vector<TmnWindowStepKind> k;
    for (const TmnWindowStep& s : p.Steps) k.push_back(s.Kind);
    return k;
}

// Runs action on facts and moves the facts on as the window would: the new state, and the
// bounds of the last placing step.
TmnWindowPlan Apply(TmnWindowFacts& f, TmnWindowAction action) {
    TmnWindowPlan p = PlanWindowAction(f, action);
    f.Now = p.After;
    for (const TmnWindowStep& s : p.Steps) {
        if (s.Kind == Place || s.Kind == Resize) f.Bounds = s.Rect;
        if (s.Kind == MoveToMinimizedPosition) f.Bounds = {0, 700, 160, 734};
    }
    return p;
}

TmnWindowFacts Window() {
    TmnWindowFacts f;
    f.Bounds = {100, 80, 520, 380};
    f.MaximizedBounds = {0, 0, 1280, 770};
    f.MinHeight = 34;
    f.Now.FirstShow = false;
    return f;
}

}  // namespace

TEST(WindowActions, EveryWayOutComesBackToTheSameBounds) {
    TmnWindowFacts f = Window();
    const TSkinRect before = f.Bounds;
    EXPECT_EQ(Kinds(Apply(f, TmnWindowAction::Maximize)), (std::vector{Place, ForbidSizeGrip, RaiseMaximize}));
    EXPECT_EQ(f.Bounds, f.MaximizedBounds);
    EXPECT_TRUE(PlanWindowAction(f, TmnWindowAction::Maximize).Steps.empty());
    // Minimised from maximised, restored: the bounds before maximising, not the maximised ones.
    EXPECT_EQ(Kinds(Apply(f, TmnWindowAction::Minimize)), (std::vector{MoveToMinimizedPosition, RaiseMinimize}));
    EXPECT_EQ(f.Now.State, swsMinimized);
    EXPECT_EQ(Kinds(Apply(f, TmnWindowAction::Restore)),
              (std::vector{Place, StartHoverTracking, RedrawAll, AllowSizeGrip, RaiseRestore}));
    EXPECT_EQ(f.Bounds, before);
    EXPECT_EQ(f.Now.State, swsNormal);
    EXPECT_FALSE(f.Now.HasRestoreBounds);
    EXPECT_TRUE(PlanWindowAction(f, TmnWindowAction::Restore).Steps.empty());

    // Rolled up and down: the exact height, or the component's client height when it has one.
    Apply(f, TmnWindowAction::RollUp);
    EXPECT_EQ(f.Bounds.Height(), 34);
    EXPECT_EQ(Kinds(Apply(f, TmnWindowAction::Restore)), (std::vector{Resize, RaiseRollUpChanged}));
    EXPECT_EQ(f.Bounds, before);
    f.ClientHeight = 120;
    Apply(f, TmnWindowAction::RollUp);
    EXPECT_EQ(PlanWindowAction(f, TmnWindowAction::RollDown).Steps.front(), (TmnWindowStep{SetClientHeight, {}, 120}));

    // Maximised from the rolled-up state it stays rolled up, and a roll-down then does nothing.
    Apply(f, TmnWindowAction::Maximize);
    EXPECT_TRUE(f.Now.MaxFromRollUp);
    EXPECT_TRUE(PlanWindowAction(f, TmnWindowAction::RollDown).Steps.empty());
}

TEST(WindowActions, BorderIconsTheMainFormTheTrayAndDocumentWindows) {
    TmnWindowFacts f = Window();
    f.Icons = BorderIconBit(biSystemMenu);
    for (TmnWindowAction a : {TmnWindowAction::Maximize, TmnWindowAction::Minimize, TmnWindowAction::RollUp})
        EXPECT_TRUE(PlanWindowAction(f, a).Steps.empty());

    // The main form minimises the program and keeps its skin state; the tray takes over when asked.
    f = Window();
    f.MainForm = true;
    TmnWindowPlan p = PlanWindowAction(f, TmnWindowAction::Minimize);
    EXPECT_EQ(Kinds(p), (std::vector{ShowMinimized, RaiseMinimize}));
    EXPECT_EQ(p.After.State, swsNormal);
    f.AlwaysMinimizeToTray = true;
    EXPECT_EQ(Kinds(PlanWindowAction(f, TmnWindowAction::Minimize)), (std::vector{ShowMinimized, RaiseMinimize}));
    f.HasTrayIcon = true;
    EXPECT_EQ(Kinds(PlanWindowAction(f, TmnWindowAction::Minimize)), (std::vector{MinimizeToTray}));
    EXPECT_EQ(Kinds(PlanWindowAction(f, TmnWindowAction::RestoreFromTray)),
              (std::vector{RestoreFromTray, HideTrayIcon, RaiseRestoreFromTray}));

    // A document window tells its frame; the first restore of a window shown maximised centres it.
    f = Window();
    f.MDIChild = true;
    f.Now.FirstShow = true;
    f.CenterOnFirstRestore = true;
    f.CenterArea = {0, 0, 1000, 800};
    EXPECT_EQ(Kinds(Apply(f, TmnWindowAction::Maximize)),
              (std::vector{StopHoverTracking, Place, ForbidSizeGrip, TellFrameMaximized, RaiseMaximize}));
    p = Apply(f, TmnWindowAction::Restore);
    EXPECT_EQ(p.Steps.front(), (TmnWindowStep{Place, {290, 250, 710, 550}}));
    EXPECT_NE(std::find(p.Steps.begin(), p.Steps.end(), TmnWindowStep{TellFrameRestored}), p.Steps.end());
    EXPECT_FALSE(f.Now.FirstShow);
}
