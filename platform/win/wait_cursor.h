#pragma once
// The wait cursor for the life of this object, for work that keeps the message loop waiting;
// the cursor before it comes back at the end.
#include <windows.h>

namespace fn {

class TWaitCursor {
public:
    TWaitCursor() : previous_(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    ~TWaitCursor() { ::SetCursor(previous_); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;

private:
    HCURSOR previous_;
};

}  // namespace fn
