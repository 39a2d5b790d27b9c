#pragma once
// Platform checks used by the skinned windows: system version, window alpha, monitor
// rectangles and scroll-bar information, with entry points looked up at run time.
#include <windows.h>

namespace fn {

struct TOSVersion {
    int Major = 0;
    int Minor = 0;
};

TOSVersion GetOSVersion();
bool IsOSVersion6OrLater();
bool DropShadowAvailable();      // callers then give popup and hint windows the shadow style
bool LayeredWindowsAvailable();  // callers then use window alpha
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
