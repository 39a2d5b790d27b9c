#pragma once
// What assistive technology is told about a window the program draws itself: its role, name,
// value and state, and those of the parts it shows as children (the items of a menu). The
// window answers WM_GETOBJECT with an accessible object that takes these from its source while
// the window lives and otherwise keeps the system's standard answers for a window.
#include <windows.h>

#include "platform/core/classes.h"

namespace fn {

struct TAccessibleInfo {
    long Role = 0;       // ROLE_SYSTEM_*; 0: the standard object's role
    String Name;         // empty: the standard object's name
    String Value;
    long State = 0;      // STATE_SYSTEM_* added to the standard state
    RECT Bounds{0, 0, 0, 0};  // a child's place in screen coordinates; empty: unknown
};

// The window's side: asked each time a client reads the object.
class TAccessibleSource {
public:
    virtual ~TAccessibleSource() = default;
    virtual TAccessibleInfo AccessibleInfo() = 0;
    // Children answered as simple elements with ids 1..AccessibleChildCount(); none by default,
    // which leaves the standard object's children.
    virtual int AccessibleChildCount() { return 0; }
    // The child with id index + 1 (index checked by the caller).
    virtual TAccessibleInfo AccessibleChild(int index) { (void)index; return {}; }
};

// Finds the source of a window, or null once it has gone.
using TAccessibleSourceOf = TAccessibleSource* (*)(HWND window);

// The answer to WM_GETOBJECT for the client object of window; 0 for every other object id.
// The object finds its source through window with sourceOf each time it is read.
LRESULT AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam, TAccessibleSourceOf sourceOf);
// The same for a TWinControl that is its own source.
LRESULT AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam);

}  // namespace fn
