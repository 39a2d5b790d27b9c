#pragma once
// Platform checks used by the skinned windows: system version, window alpha, monitor
// rectangles and scroll-bar information, with entry points looked up at run time.
#include <windows.h>

#include "skin/paint/system_version.h"

namespace fn {

// The running system's version and its thresholds (see system_version.h).
TOSVersion GetOSVersion();
inline bool IsOSVersion6OrLater() { return IsOSVersion6OrLater(GetOSVersion()); }
inline bool DropShadowAvailable() { return DropShadowAvailable(GetOSVersion()); }
inline bool LayeredWindowsAvailable() { return LayeredWindowsAvailable(GetOSVersion()); }
bool IsNTPlatform();

// Whole-window alpha through SetLayeredWindowAttributes; the window already has WS_EX_LAYERED.
void SetWindowAlpha(HWND window, BYTE alpha);

bool MultiMonitorAvailable();
// The primary screen, or its work area.
void GetPrimaryScreenRect(bool workArea, RECT& r);
// The screen or work area of the monitor nearest to the window.
void GetWindowMonitorRect(HWND window, bool workArea, RECT& r);

// GetScrollBarInfo when the platform has it; otherwise the bar is reported invisible and 0
// returned. object is OBJID_VSCROLL (-5) or OBJID_HSCROLL (-6).
BOOL GetScrollBarInfoSafe(HWND window, LONG object, SCROLLBARINFO& info);

}  // namespace fn
