#include "skin/controls/skin_status_bar_win.h"

#include <algorithm>

#include <oleacc.h>

namespace fn {

TmnSkinStatusBar::TmnSkinStatusBar(TComponent* owner) : TmnSkinPanel(owner) {
    skinDataName_ = L"statusbar";
    SetBorderStyle(TmnSkinBorderStyle::bvNone);
    forceBackground_ = false;
    SetBounds(0, 0, Width(), 21);
    SetAlign(TAlign::alBottom);
}

void TmnSkinStatusBar::SetSizeGrip(bool on) {
    sizeGrip_ = on;
    Invalidate();
    Realign();
}

void TmnSkinStatusBar::SetGripAllowed(bool on) {
    if (on == gripAllowed_) return;
    gripAllowed_ = on;
    Invalidate();
    Realign();
}

void TmnSkinStatusBar::SetSkinData(TmnSkinData* skinData) {
    TmnSkinPanel::SetSkinData(skinData);
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* c = dynamic_cast<TmnSkinControl*>(Controls(i))) c->SetSkinData(skinData);
}

TSkinRect TmnSkinStatusBar::GripImage() const {
    const TmnDataSkinPanelControl* rec = PanelRecord();
    if (!rec || !InsidePicture(rec->GripperRect, picture_.Width(), picture_.Height())) return {};
    return rec->GripperRect;
}

TSkinRect TmnSkinStatusBar::GripRect() const {
    if (!GripShown()) return {};
    const TSkinRect img = GripImage();
    return GripArea(PanelClient(), img.Width(), img.Height());
}

void TmnSkinStatusBar::AdjustClientRect(RECT& rect) {
    TmnSkinPanel::AdjustClientRect(rect);
    if (!GripShown()) return;
    const TSkinRect client{rect.left, rect.top, rect.right, rect.bottom};
    rect.right = std::max(rect.left, rect.right - GripWidth(client, GripImage().Width()));
}

void TmnSkinStatusBar::DrawGrip(TCanvas& canvas, TColor highlight, TColor shadow) {
    for (const TGripLine& l : GripLines(GripRect())) {
        canvas.Pen().SetColor(l.Highlight ? highlight : shadow);
        canvas.MoveTo(l.X1, l.Y1);
        canvas.LineTo(l.X2, l.Y2);
    }
}

void TmnSkinStatusBar::CreateControlDefaultImage(TBitmap& bitmap) {
    TmnSkinPanel::CreateControlDefaultImage(bitmap);
    if (GripShown()) DrawGrip(bitmap.Canvas(), clBtnHighlight, clBtnShadow);
}

void TmnSkinStatusBar::CreateControlSkinImage(TBitmap& bitmap) {
    TmnSkinPanel::CreateControlSkinImage(bitmap);
    if (!GripShown()) return;
    const TSkinRect img = GripImage();
    if (img.IsEmpty()) {
        const TmnSkinColors& colors = skinData_->SkinColors();
        DrawGrip(bitmap.Canvas(), colors.cBtnHighLight, colors.cBtnShadow);
        return;
    }
    const TSkinRect at = GripRect();
    const TmnDataSkinPanelControl* rec = PanelRecord();
    HDC dc = bitmap.Canvas().Handle();
    if (rec && rec->GripperTransparent)
        ::TransparentBlt(dc, at.Left, at.Top, img.Width(), img.Height(), picture_.Canvas().Handle(), img.Left,
                         img.Top, img.Width(), img.Height(), ColorToColorRef(rec->GripperTransparentColor));
    else
        ::BitBlt(dc, at.Left, at.Top, img.Width(), img.Height(), picture_.Canvas().Handle(), img.Left, img.Top,
                 SRCCOPY);
}

TAccessibleInfo TmnSkinStatusBar::AccessibleInfo() {
    TAccessibleInfo info;
    info.Role = ROLE_SYSTEM_STATUSBAR;
    info.Name = Caption();
    return info;
}

bool TmnSkinStatusBar::ReadProperty(const String& name, const FormValue& value, TReader& reader) {
    if (name == L"SizeGrip") SetSizeGrip(value.AsBool());
    else return TmnSkinPanel::ReadProperty(name, value, reader);
    return true;
}

LRESULT TmnSkinStatusBar::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_NCHITTEST: {
            if (!GripShown()) break;
            POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            ::ScreenToClient(handle_, &p);
            return StatusBarHitTest(p.x, p.y, true, GripRect());
        }
        case WM_NCLBUTTONDOWN:
            // The grip sizes the form: its top-level window runs the sizing, not this bar.
            if (wParam == HTBOTTOMRIGHT && GripShown()) {
                HWND top = ::GetAncestor(handle_, GA_ROOT);
                if (top && top != handle_ && !::IsZoomed(top))
                    ::SendMessageW(top, WM_SYSCOMMAND, SC_SIZE | WMSZ_BOTTOMRIGHT, lParam);
                return 0;
            }
            break;
        default: break;
    }
    return TmnSkinPanel::WndProc(msg, wParam, lParam);
}

}  // namespace fn
