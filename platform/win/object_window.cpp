#include "platform/win/object_window.h"

namespace fn {

WNDCLASSEXW ModuleWindowClass(const wchar_t* name, WNDPROC proc, UINT style) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = name;
    return wc;
}

ATOM RegisterObjectWindowClass(const wchar_t* name, WNDPROC proc, UINT style) {
    const WNDCLASSEXW wc = ModuleWindowClass(name, proc, style);
    return ::RegisterClassExW(&wc);
}

}  // namespace fn
