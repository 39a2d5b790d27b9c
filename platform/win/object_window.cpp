#include "platform/win/object_window.h"

namespace fn {

ATOM RegisterObjectWindowClass(const wchar_t* name, WNDPROC proc, UINT style) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = name;
    return ::RegisterClassExW(&wc);
}

}  // namespace fn
