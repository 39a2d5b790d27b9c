#pragma once
// RAII owners for the window-side Win32 handles (GDI objects live in gdi.h).
#include <windows.h>

#include <utility>

namespace fn {

// A window timer: started with an id on a window, killed when the owner goes.
class WindowTimer {
public:
    WindowTimer() = default;
    ~WindowTimer() { Stop(); }
    WindowTimer(const WindowTimer&) = delete;
    WindowTimer& operator=(const WindowTimer&) = delete;

    void Start(HWND window, UINT_PTR id, UINT milliseconds) {
        Stop();
        if (window && ::SetTimer(window, id, milliseconds, nullptr)) { window_ = window; id_ = id; }
    }
    void Stop() {
        if (window_) ::KillTimer(window_, id_);
        window_ = nullptr;
    }
    bool Active() const { return window_ != nullptr; }

private:
    HWND window_ = nullptr;
    UINT_PTR id_ = 0;
};

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

// A kernel object handle (mutex, event, process, thread) closed on destruction.
class KernelHandle {
public:
    KernelHandle() = default;
    explicit KernelHandle(HANDLE h) : handle_(h) {}
    ~KernelHandle() { reset(); }
    KernelHandle(KernelHandle&& o) noexcept : handle_(std::exchange(o.handle_, nullptr)) {}
    KernelHandle& operator=(KernelHandle&& o) noexcept { if (this != &o) { reset(); handle_ = std::exchange(o.handle_, nullptr); } return *this; }
    HANDLE get() const { return handle_; }
    void reset(HANDLE h = nullptr) { if (handle_) ::CloseHandle(handle_); handle_ = h; }

private:
    HANDLE handle_ = nullptr;
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
