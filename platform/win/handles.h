#pragma once
// RAII owners for the window-side Win32 handles (GDI objects live in gdi.h).
#include <windows.h>

#include "platform/win/owned_handle.h"

namespace fn {

// A menu not attached to a window (attached menus die with their window).
struct TMenuTraits {
    static void Close(HMENU menu) { ::DestroyMenu(menu); }
    static constexpr TLiveKind Kind = TLiveKind::Menu;
};
using TMenuHandle = TOwnedHandle<HMENU, TMenuTraits>;

// A kernel object (mutex, event, file, process, thread), closed with CloseHandle.
struct TKernelTraits {
    static void Close(HANDLE handle) { ::CloseHandle(handle); }
    static constexpr TLiveKind Kind = TLiveKind::Kernel;
};
using TKernelHandle = TOwnedHandle<HANDLE, TKernelTraits>;

// A loaded module (LoadLibrary), freed with FreeLibrary.
struct TModuleTraits {
    static void Close(HMODULE module) { ::FreeLibrary(module); }
    static constexpr TLiveKind Kind = TLiveKind::Module;
};
using TModuleHandle = TOwnedHandle<HMODULE, TModuleTraits>;

// A windows hook (SetWindowsHookEx), removed with UnhookWindowsHookEx.
struct THookTraits {
    static void Close(HHOOK hook) { ::UnhookWindowsHookEx(hook); }
    static constexpr TLiveKind Kind = TLiveKind::Hook;
};
using THookHandle = TOwnedHandle<HHOOK, THookTraits>;

// An icon made for this program (CopyIcon, CopyImage, CreateIcon...), destroyed with
// DestroyIcon. Shared icons (LoadIcon, LR_SHARED) are the system's and never go in here.
struct TIconTraits {
    static void Close(HICON icon) { ::DestroyIcon(icon); }
    static constexpr TLiveKind Kind = TLiveKind::Icon;
};
using TIconHandle = TOwnedHandle<HICON, TIconTraits>;

}  // namespace fn
