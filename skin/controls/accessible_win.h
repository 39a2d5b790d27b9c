#pragma once
// What assistive technology is told about a skinned control: its role, name, value and state.
// The control answers WM_GETOBJECT with an accessible object that takes these from it while it
// lives and otherwise keeps the system's standard answers for a window.
#include <windows.h>

#include "platform/core/classes.h"

namespace fn {

struct TAccessibleInfo {
    long Role = 0;       // ROLE_SYSTEM_*; 0: the standard object's role
    String Name;         // empty: the standard object's name
    String Value;
    long State = 0;      // STATE_SYSTEM_* added to the standard state
};

// The control's side: asked each time a client reads the object.
class TAccessibleSource {
public:
    virtual ~TAccessibleSource() = default;
    virtual TAccessibleInfo AccessibleInfo() = 0;
};

// The answer to WM_GETOBJECT for the client object of window; 0 for every other object id.
// The object finds its source through window (none once the window is gone).
LRESULT AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam);

}  // namespace fn
