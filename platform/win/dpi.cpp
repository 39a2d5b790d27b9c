#include "platform/win/dpi.h"

#include "platform/win/gdi.h"

namespace fn {

namespace {

template <class Fn>
Fn User32Function(const char* name) {
    static HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(user32, name))) : nullptr;
}

}  // namespace

int SystemDpi() {
    using Fn = UINT(WINAPI*)();
    static const Fn getDpiForSystem = User32Function<Fn>("GetDpiForSystem");
    if (getDpiForSystem) {
        if (const UINT dpi = getDpiForSystem(); dpi > 0) return static_cast<int>(dpi);
    }
    TWindowDC screen(nullptr);
    const int dpi = screen.Get() ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : 96;
}

int WindowDpi(HWND window) {
    if (!window || !::IsWindow(window)) return 96;
    using Fn = UINT(WINAPI*)(HWND);
    static const Fn getDpiForWindow = User32Function<Fn>("GetDpiForWindow");
    if (getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(window); dpi > 0) return static_cast<int>(dpi);
    }
    return SystemDpi();
}

}  // namespace fn
