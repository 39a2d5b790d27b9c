#pragma once
// Windows that each belong to one object of the program: their class, and the window procedure
// that hands every message to the object.
#include <windows.h>

#include <cstdint>

namespace fn {

// A window class of this module with the arrow cursor and the given class styles, for the caller
// to complete and register.
WNDCLASSEXW ModuleWindowClass(const wchar_t* name, WNDPROC proc, UINT style = 0);
// Registers ModuleWindowClass(name, proc, style); the atom, 0 when the system refuses.
ATOM RegisterObjectWindowClass(const wchar_t* name, WNDPROC proc, UINT style = 0);

// The class argument of CreateWindowEx for a registered atom.
inline LPCWSTR WindowClassOf(ATOM atom) { return reinterpret_cast<LPCWSTR>(static_cast<uintptr_t>(atom)); }

// The window procedure of a class whose windows are created with their object as the creation
// parameter: at WM_NCCREATE the window's user data points to the object and its Handle member
// holds the window; from then on Proc gets every message. Without an object (before, or after
// the object cleared the user data on its way out) the system's default procedure answers.
template <class T, HWND T::*Handle, LRESULT (T::*Proc)(UINT, WPARAM, LPARAM)>
LRESULT CALLBACK ObjectWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* created = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
        if (created) created->*Handle = window;
    }
    auto* self = reinterpret_cast<T*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(window, msg, wParam, lParam);
    return (self->*Proc)(msg, wParam, lParam);
}

}  // namespace fn
