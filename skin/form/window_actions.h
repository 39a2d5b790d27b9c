#pragma once
// The window commands of a skinned window (maximise, restore, minimise, roll up and down, the
// tray) decided without a window: from what the window is now, a plan of steps in order and
// the state it is in afterwards. The form skinning component gathers the facts, executes the
// steps with the platform and keeps the new state.
#include <vector>

#include "skin/skin_geometry.h"
#include "skin/form/border_icons.h"
#include "skin/form/skin_object_owner.h"

namespace fn {

// The state a window command reads and changes.
struct TmnWindowState {
    TmnSkinWindowState State = swsNormal;
    bool RolledUp = false;
    bool RolledUpInMaximized = false;  // rolled up while maximised
    bool MaxFromRollUp = false;        // maximised while rolled up (it keeps that state)
    bool FirstShow = true;             // shown while not normal: placed at the first restore
    bool HasRestoreBounds = false;
    TSkinRect RestoreBounds;
    int RollUpHeight = 0;              // the height before rolling up
};

// What a window command needs to know of the window and its surroundings.
struct TmnWindowFacts {
    TmnWindowState Now;
    TmnBorderIcons Icons = DefaultBorderIcons;
    bool MDIChild = false;
    bool MainForm = false;              // the application's main form
    bool HasTrayIcon = false;
    bool AlwaysMinimizeToTray = false;
    TSkinRect Bounds;                   // the window now (an MDI child's in its frame's client)
    TSkinRect MaximizedBounds;          // where it goes when maximised
    bool CenterOnFirstRestore = false;  // placed in the middle of CenterArea at its first restore
    TSkinRect CenterArea;
    int MinHeight = 0;                  // the frame rows: the rolled-up height
    int ClientHeight = 0;               // the component's ClientHeight: restored on rolling down
};

enum class TmnWindowStepKind {
    Close,                    // the form's close protocol
    Place,                    // take Rect (position and size)
    Resize,                   // take Rect's size where it is
    SetClientHeight,          // Value: the client height to take
    ShowMinimized,            // the platform's own minimise (the main form minimises the program)
    ShowRestored,             // the platform's own restore
    MoveToMinimizedPosition,  // a free place at the bottom of the area, at the minimum size
    StopHoverTracking,        // the mouse timer stops and every hover state resets
    StartHoverTracking,
    RedrawAll,
    TellFrameMaximized,       // a document window tells its frame
    TellFrameRestored,
    AllowSizeGrip,            // the status bar's grip may show again
    ForbidSizeGrip,
    MinimizeToTray,           // the tray icon hides the program (when it can, with its event)
    RestoreFromTray,          // the tray icon shows the program again
    HideTrayIcon,             // unless it is always shown
    RaiseMaximize,
    RaiseRestore,
    RaiseMinimize,
    RaiseRestoreFromTray,
    RaiseRollUpChanged,
};

struct TmnWindowStep {
    TmnWindowStepKind Kind;
    TSkinRect Rect = {};
    int Value = 0;
    bool operator==(const TmnWindowStep&) const = default;
};

struct TmnWindowPlan {
    std::vector<TmnWindowStep> Steps;  // empty when the command does nothing
    TmnWindowState After;
};

TmnWindowPlan PlanWindowAction(const TmnWindowFacts& facts, TmnWindowAction action);

}  // namespace fn
