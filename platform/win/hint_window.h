#pragma once
// The window the application shows its hints in, and the class of it the application makes:
// a component can put its own kind of hint window in place (HintWindowClass) and hand the old
// one back. Windows that are not controls of this layer can still offer a hint (a hint source).
#include <windows.h>

#include <memory>

#include "platform/core/strings.h"

namespace fn {

class TWinControl;

class THintWindow {
public:
    THintWindow() : THintWindow(false) {}
    virtual ~THintWindow();
    THintWindow(const THintWindow&) = delete;
    THintWindow& operator=(const THintWindow&) = delete;

    // Shows text with its top-left at rect's top-left (moved to stay on the screen), without
    // taking the focus.
    virtual void ActivateHint(const RECT& rect, const String& text);
    virtual void Hide();
    virtual bool Visible() const { return handle_ && ::IsWindowVisible(handle_); }
    HWND Handle() const { return handle_; }
    const String& Text() const { return text_; }

protected:
    // dropShadow: the window class with the system's drop shadow.
    explicit THintWindow(bool dropShadow);
    // Paints the hint into dc (the client area, w x h).
    virtual void Paint(HDC dc, int w, int h);
    // Every message of the window; derived windows answer their own and pass on the rest.
    virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    HWND handle_ = nullptr;
    String text_;
};

// Makes the application's hint window.
using THintWindowClass = std::unique_ptr<THintWindow> (*)();
std::unique_ptr<THintWindow> MakePlatformHintWindow();

// What the application is about to show, for its OnShowHint event to change.
struct THintInfo {
    TWinControl* HintControl = nullptr;  // null for a window that is a hint source
    HWND HintWindow = nullptr;           // the window under the mouse that has the hint
    POINT CursorPos{0, 0};               // screen
    POINT HintPos{0, 0};                 // screen: the hint's top-left
    unsigned HideTimeout = 0;            // milliseconds the hint stays
};

// A window that is not a control of this layer answers with its current hint text.
class THintSource {
public:
    virtual ~THintSource() = default;
    virtual String HintText() = 0;
};
// Registers source for window (null removes it); the window's owner removes it before the
// source goes.
void SetWindowHintSource(HWND window, THintSource* source);
THintSource* WindowHintSource(HWND window);

}  // namespace fn
