#pragma once
// RAII owners for the window-side Win32 handles (GDI objects live in gdi.h).
#include <windows.h>

#include <utility>

namespace fn {

// A menu handle not attached to a window (attached menus die with their window).
class MenuHandle {
public:
    MenuHandle() = default;
    explicit MenuHandle(HMENU menu) : menu_(menu) {}
    ~MenuHandle() { reset(); }
    MenuHandle(MenuHandle&& o) noexcept : menu_(std::exchange(o.menu_, nullptr)) {}
    MenuHandle& operator=(MenuHandle&& o) noexcept { if (this != &o) { reset(); menu_ = std::exchange(o.menu_, nullptr); } return *this; }
    HMENU get() const { return menu_; }
    HMENU release() { return std::exchange(menu_, nullptr); }
    void reset(HMENU menu = nullptr) { if (menu_) ::DestroyMenu(menu_); menu_ = menu; }

private:
    HMENU menu_ = nullptr;
};

// A loaded module (LoadLibrary) freed on destruction.
class ModuleHandle {
public:
    ModuleHandle() = default;
    explicit ModuleHandle(HMODULE m) : module_(m) {}
    ~ModuleHandle() { reset(); }
    ModuleHandle(ModuleHandle&& o) noexcept : module_(std::exchange(o.module_, nullptr)) {}
    ModuleHandle& operator=(ModuleHandle&& o) noexcept { if (this != &o) { reset(); module_ = std::exchange(o.module_, nullptr); } return *this; }
    HMODULE get() const { return module_; }
    void reset(HMODULE m = nullptr) { if (module_) ::FreeLibrary(module_); module_ = m; }

private:
    HMODULE module_ = nullptr;
};

// A windows hook (SetWindowsHookEx) removed on destruction.
class HookHandle {
public:
    explicit HookHandle(HHOOK h) : hook_(h) {}
    ~HookHandle() { if (hook_) ::UnhookWindowsHookEx(hook_); }
    HookHandle(const HookHandle&) = delete;
    HookHandle& operator=(const HookHandle&) = delete;
    HHOOK get() const { return hook_; }

private:
    HHOOK hook_;
};

}  // namespace fn
