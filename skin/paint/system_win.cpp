#include "skin/paint/system_win.h"

namespace fn {

namespace {

using MonitorFromWindowProc = HMONITOR(WINAPI*)(HWND, DWORD);
using GetMonitorInfoProc = BOOL(WINAPI*)(HMONITOR, LPMONITORINFO);
using GetScrollBarInfoProc = BOOL(WINAPI*)(HWND, LONG, PSCROLLBARINFO);
using SetLayeredWindowAttributesProc = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

// Entry points of the already loaded user32.dll, any of which may be missing.
struct TUser32Entries {
    MonitorFromWindowProc MonitorFromWindow = nullptr;
    GetMonitorInfoProc GetMonitorInfoA = nullptr;
    GetScrollBarInfoProc GetScrollBarInfo = nullptr;

    TUser32Entries() {
        if (HMODULE user32 = GetModuleHandleW(L"user32.dll")) {
            MonitorFromWindow = reinterpret_cast<MonitorFromWindowProc>(
                reinterpret_cast<void*>(GetProcAddress(user32, "MonitorFromWindow")));
            GetMonitorInfoA = reinterpret_cast<GetMonitorInfoProc>(
                reinterpret_cast<void*>(GetProcAddress(user32, "GetMonitorInfoA")));
            GetScrollBarInfo = reinterpret_cast<GetScrollBarInfoProc>(
                reinterpret_cast<void*>(GetProcAddress(user32, "GetScrollBarInfo")));
        }
    }
};

const TUser32Entries& User32() {
    static const TUser32Entries entries;
    return entries;
}

}  // namespace

TOSVersion GetOSVersion() { return OSVersionFromNumber(GetVersion()); }

bool IsNTPlatform() { return (GetVersion() & 0x80000000u) == 0; }

void SetWindowAlpha(HWND window, BYTE alpha) {
    HMODULE user32 = LoadLibraryW(L"USER32");
    if (!user32) return;
    if (auto set = reinterpret_cast<SetLayeredWindowAttributesProc>(
            reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes"))))
        set(window, 0, alpha, LWA_ALPHA);
    FreeLibrary(user32);
}

bool MultiMonitorAvailable() {
    return User32().MonitorFromWindow && User32().GetMonitorInfoA && GetSystemMetrics(SM_CMONITORS) > 1;
}

void GetPrimaryScreenRect(bool workArea, RECT& r) {
    if (workArea)
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    else
        r = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

void GetWindowMonitorRect(HWND window, bool workArea, RECT& r) {
    if (!MultiMonitorAvailable()) {
        GetPrimaryScreenRect(workArea, r);
        return;
    }
    MONITORINFO info{};
    info.cbSize = sizeof info;
    HMONITOR monitor = User32().MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    if (User32().GetMonitorInfoA(monitor, &info)) r = workArea ? info.rcWork : info.rcMonitor;
}

BOOL GetScrollBarInfoSafe(HWND window, LONG object, SCROLLBARINFO& info) {
    if (User32().GetScrollBarInfo) return User32().GetScrollBarInfo(window, object, &info);
    info.rgstate[0] = STATE_SYSTEM_INVISIBLE;
    return 0;
}

}  // namespace fn
