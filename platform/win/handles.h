#pragma once
// RAII owners for the window-side Win32 handles (GDI objects live in gdi.h).
#include <windows.h>

#include "platform/win/owned_handle.h"

namespace fn {

// A menu not attached to a window (attached menus die with their window).
using TMenuHandle = TOwnedHandle<HMENU, TClosedBy<::DestroyMenu, TLiveKind::Menu>>;

// A kernel object (mutex, event, file, process, thread), closed with CloseHandle.
using TKernelHandle = TOwnedHandle<HANDLE, TClosedBy<::CloseHandle, TLiveKind::Kernel>>;

// A loaded module (LoadLibrary), freed with FreeLibrary.
using TModuleHandle = TOwnedHandle<HMODULE, TClosedBy<::FreeLibrary, TLiveKind::Module>>;

// A windows hook (SetWindowsHookEx), removed with UnhookWindowsHookEx.
using THookHandle = TOwnedHandle<HHOOK, TClosedBy<::UnhookWindowsHookEx, TLiveKind::Hook>>;

// An icon made for this program (CopyIcon, CopyImage, CreateIcon...), destroyed with
// DestroyIcon. Shared icons (LoadIcon, LR_SHARED) are the system's and never go in here.
using TIconHandle = TOwnedHandle<HICON, TClosedBy<::DestroyIcon, TLiveKind::Icon>>;

}  // namespace fn
