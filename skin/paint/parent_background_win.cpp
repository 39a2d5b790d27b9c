#include "skin/paint/parent_background_win.h"

#include <algorithm>
#include <vector>

#include "platform/win/forms.h"
#include "platform/win/gdi.h"

namespace fn {

namespace {

std::vector<const TWinControl*>& PaintingCopies() {
    static std::vector<const TWinControl*> controls;
    return controls;
}

// Marks a control as painted into a copy for the guard's lifetime.
class TPaintCopyMark {
public:
    explicit TPaintCopyMark(const TWinControl* control) : control_(control) { PaintingCopies().push_back(control); }
    ~TPaintCopyMark() {
        auto& list = PaintingCopies();
        list.erase(std::find(list.begin(), list.end(), control_));
    }
    TPaintCopyMark(const TPaintCopyMark&) = delete;
    TPaintCopyMark& operator=(const TPaintCopyMark&) = delete;

private:
    const TWinControl* control_;
};

}  // namespace

bool IsPaintingCopy(const TWinControl* control) {
    const auto& list = PaintingCopies();
    return std::find(list.begin(), list.end(), control) != list.end();
}

void DrawParentBackground(TWinControl* control, HDC dc) {
    TWinControl* parent = control ? control->Parent() : nullptr;
    if (!parent) return;
    TPaintCopyMark mark(parent);
    const RECT bounds = control->BoundsRect();
    RECT client{};
    GetClientRect(parent->Handle(), &client);
    {
        TSavedDC state(dc);
        OffsetWindowOrgEx(dc, bounds.left, bounds.top, nullptr);
        IntersectClipRect(dc, 0, 0, client.right, client.bottom);
        auto* form = dynamic_cast<TForm*>(parent);
        const WPARAM context = reinterpret_cast<WPARAM>(dc);
        if (form && form->FormStyle() == TFormStyle::fsMDIForm && form->ClientHandle()) {
            SendMessageW(form->ClientHandle(), WM_ERASEBKGND, context, 0);
        } else {
            SendMessageW(parent->Handle(), WM_ERASEBKGND, context, 0);
            // A control paints its client area into a given context on WM_PRINTCLIENT.
            if (!form) SendMessageW(parent->Handle(), WM_PRINTCLIENT, context, PRF_CLIENT);
        }
    }
    // Every control of this layer is windowed and paints itself, so no sibling is drawn here.
}

}  // namespace fn
