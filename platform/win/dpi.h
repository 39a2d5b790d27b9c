#pragma once
// Dots per inch of the screen and of a window. The per-window calls exist from Windows 10
// (1607) on and are looked up at run time, so the program also starts where they are missing;
// there every window has the system's dots per inch.
#include <windows.h>

namespace fn {

// The system's dots per inch (96 at 100 %).
int SystemDpi();
// The dots per inch of the monitor the window is on (as the system last told the window),
// the system's for a window the system does not scale per monitor, 96 for no window.
int WindowDpi(HWND window);

}  // namespace fn
