#include "platform/win/hint_window.h"

#include <algorithm>

#include "platform/win/gdi.h"
#include "platform/win/object_window.h"

namespace fn {

namespace {

const wchar_t kHintSourceProp[] = L"FnHintSource";

}  // namespace

THintWindow::THintWindow(bool dropShadow) {
    constexpr WNDPROC proc = &ObjectWindowProc<THintWindow, &THintWindow::handle_, &THintWindow::WndProc>;
    static const ATOM plain = RegisterObjectWindowClass(L"FnHintWindow", proc, CS_SAVEBITS);
    static const ATOM shadow = RegisterObjectWindowClass(L"FnHintWindowShadow", proc, CS_SAVEBITS | CS_DROPSHADOW);
    handle_ = ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE,
                                WindowClassOf(dropShadow ? shadow : plain), L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                nullptr, ::GetModuleHandleW(nullptr), this);
}

THintWindow::~THintWindow() {
    if (handle_) {
        ::SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
        ::DestroyWindow(handle_);
    }
}

void THintWindow::ActivateHint(const RECT& rect, const String& text) {
    if (!handle_) return;
    text_ = text;
    ::SetWindowTextW(handle_, text.c_str());
    RECT measured{0, 0, 0, 0};
    {
        TMemoryDC dc;
        TSelectObject font(dc.Get(), ::GetStockObject(DEFAULT_GUI_FONT));
        ::DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &measured, DT_CALCRECT | DT_NOPREFIX);
    }
    const int w = measured.right + 6, h = measured.bottom + 4;
    MONITORINFO info{};
    info.cbSize = sizeof info;
    RECT work{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    if (::GetMonitorInfoW(::MonitorFromPoint({rect.left, rect.top}, MONITOR_DEFAULTTONEAREST), &info)) work = info.rcWork;
    const int x = std::max<int>(work.left, std::min<int>(rect.left, work.right - w));
    const int y = std::max<int>(work.top, std::min<int>(rect.top, work.bottom - h));
    ::SetWindowPos(handle_, HWND_TOPMOST, x, y, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::InvalidateRect(handle_, nullptr, FALSE);
}

void THintWindow::Hide() {
    if (Visible()) ::ShowWindow(handle_, SW_HIDE);
}

void THintWindow::Paint(HDC dc, int w, int h) {
    TBrushHandle back(::CreateSolidBrush(::GetSysColor(COLOR_INFOBK)));
    RECT all{0, 0, w, h};
    ::FillRect(dc, &all, back.Get());
    ::FrameRect(dc, &all, ::GetSysColorBrush(COLOR_WINDOWFRAME));
    TSelectObject font(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_INFOTEXT));
    RECT r{3, 2, w - 3, h - 2};
    ::DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &r, DT_NOPREFIX);
}

LRESULT THintWindow::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    const HWND window = handle_;
    switch (msg) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_NCHITTEST:
        return HTTRANSPARENT;  // the mouse goes to the window below
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        TPaintDC paint(window);
        RECT client;
        ::GetClientRect(window, &client);
        Paint(paint.Get(), client.right, client.bottom);
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT client;
        ::GetClientRect(window, &client);
        Paint(reinterpret_cast<HDC>(wParam), client.right, client.bottom);
        return 0;
    }
    default:
        return ::DefWindowProcW(window, msg, wParam, lParam);
    }
}

std::unique_ptr<THintWindow> MakePlatformHintWindow() { return std::make_unique<THintWindow>(); }

void SetWindowHintSource(HWND window, THintSource* source) {
    if (!window) return;
    if (source) ::SetPropW(window, kHintSourceProp, source);
    else ::RemovePropW(window, kHintSourceProp);
}

THintSource* WindowHintSource(HWND window) {
    return window ? static_cast<THintSource*>(::GetPropW(window, kHintSourceProp)) : nullptr;
}

}  // namespace fn
