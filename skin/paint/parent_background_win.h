#pragma once
// Painting what lies behind a control, for controls that show their parent through.
#include "platform/win/graphics.h"

namespace fn {

class TWinControl;

// Draws the parent's background under control into the context at the control's origin.
// Nothing when the control has no parent.
void DrawParentBackground(TWinControl* control, HDC dc);
inline void DrawParentBackground(TWinControl* control, TCanvas& canvas) {
    DrawParentBackground(control, canvas.Handle());
}

// True while control is being painted into a copy by DrawParentBackground (its paint code can
// then skip things that belong on the screen only).
bool IsPaintingCopy(const TWinControl* control);

}  // namespace fn
