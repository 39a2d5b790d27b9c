#pragma once
// RAII owners for the window-side Win32 handles (GDI objects live in gdi.h).
#include <windows.h>

#include <utility>

#include "platform/core/live_counts.h"

namespace fn {

// A menu handle not attached to a window (attached menus die with their window).
class MenuHandle {
public:
    MenuHandle() = default;
    explicit MenuHandle(HMENU menu) : menu_(menu) { if (menu_) CountLive(TLiveKind::Menu); }
    ~MenuHandle() { reset(); }
    MenuHandle(MenuHandle&& o) noexcept : menu_(std::exchange(o.menu_, nullptr)) {}
    MenuHandle& operator=(MenuHandle&& o) noexcept { if (this != &o) { reset(); menu_ = std::exchange(o.menu_, nullptr); } return *this; }
    HMENU get() const { return menu_; }
    // Hands the menu over (attached to a window, it dies with that window): no longer counted.
    HMENU release() {
        if (menu_) CountGone(TLiveKind::Menu);
        return std::exchange(menu_, nullptr);
    }
    void reset(HMENU menu = nullptr) {
        if (menu == menu_) return;
        if (menu_) {
            ::DestroyMenu(menu_);
            CountGone(TLiveKind::Menu);
        }
        menu_ = menu;
        if (menu_) CountLive(TLiveKind::Menu);
    }

private:
    HMENU menu_ = nullptr;
};

// A kernel object handle (mutex, event, process, thread) closed on destruction.
class KernelHandle {
public:
    KernelHandle() = default;
    explicit KernelHandle(HANDLE h) : handle_(h) { if (handle_) CountLive(TLiveKind::Kernel); }
    ~KernelHandle() { reset(); }
    KernelHandle(KernelHandle&& o) noexcept : handle_(std::exchange(o.handle_, nullptr)) {}
    KernelHandle& operator=(KernelHandle&& o) noexcept { if (this != &o) { reset(); handle_ = std::exchange(o.handle_, nullptr); } return *this; }
    HANDLE get() const { return handle_; }
    void reset(HANDLE h = nullptr) {
        if (h == handle_) return;
        if (handle_) {
            ::CloseHandle(handle_);
            CountGone(TLiveKind::Kernel);
        }
        handle_ = h;
        if (handle_) CountLive(TLiveKind::Kernel);
    }

private:
    HANDLE handle_ = nullptr;
};

// A loaded module (LoadLibrary) freed on destruction.
class ModuleHandle {
public:
    ModuleHandle() = default;
    explicit ModuleHandle(HMODULE m) : module_(m) { if (module_) CountLive(TLiveKind::Module); }
    ~ModuleHandle() { reset(); }
    ModuleHandle(ModuleHandle&& o) noexcept : module_(std::exchange(o.module_, nullptr)) {}
    ModuleHandle& operator=(ModuleHandle&& o) noexcept { if (this != &o) { reset(); module_ = std::exchange(o.module_, nullptr); } return *this; }
    HMODULE get() const { return module_; }
    void reset(HMODULE m = nullptr) {
        if (m == module_) return;
        if (module_) {
            ::FreeLibrary(module_);
            CountGone(TLiveKind::Module);
        }
        module_ = m;
        if (module_) CountLive(TLiveKind::Module);
    }

private:
    HMODULE module_ = nullptr;
};

// A windows hook (SetWindowsHookEx) removed on destruction.
class HookHandle {
public:
    explicit HookHandle(HHOOK h) : hook_(h) { if (hook_) CountLive(TLiveKind::Hook); }
    ~HookHandle() {
        if (!hook_) return;
        ::UnhookWindowsHookEx(hook_);
        CountGone(TLiveKind::Hook);
    }
    HookHandle(const HookHandle&) = delete;
    HookHandle& operator=(const HookHandle&) = delete;
    HHOOK get() const { return hook_; }

private:
    HHOOK hook_;
};

// An icon made for this program (CopyIcon, CopyImage, CreateIcon...), destroyed with DestroyIcon.
// Shared icons (LoadIcon, LR_SHARED) are the system's and never go in here.
class TIconHandle {
public:
    TIconHandle() = default;
    explicit TIconHandle(HICON icon) { Reset(icon); }
    ~TIconHandle() { Reset(); }
    TIconHandle(const TIconHandle&) = delete;
    TIconHandle& operator=(const TIconHandle&) = delete;
    HICON Get() const { return icon_; }
    explicit operator bool() const { return icon_ != nullptr; }
    void Reset(HICON icon = nullptr) {
        if (icon == icon_) return;
        if (icon_) {
            ::DestroyIcon(icon_);
            CountGone(TLiveKind::Icon);
        }
        icon_ = icon;
        if (icon_) CountLive(TLiveKind::Icon);
    }

private:
    HICON icon_ = nullptr;
};

}  // namespace fn
