#include "skin/paint/regions_win.h"

#include "skin/paint/images_win.h"

namespace fn {

TRegionData MaskToRegionData(const TBitmap& mask, int dx, int dy) {
    if (mask.Empty()) return {};
    // The bitmap is a device-independent section: its rows are scanned where they are.
    return MaskToRegionData(TPixelView{const_cast<uint8_t*>(mask.ScanLine(0)), mask.Width(), mask.Height(), mask.RowStride()},
                            dx, dy);
}

TRegionHandle RegionFromData(const TRegionData& data) {
    if (data.Bytes.empty()) return {};
    return TRegionHandle(ExtCreateRegion(nullptr, static_cast<DWORD>(data.Bytes.size()),
                                         reinterpret_cast<const RGNDATA*>(data.Bytes.data())));
}

TRegionHandle BuildMaskRegion(const TBitmap& mask) { return RegionFromData(MaskToRegionData(mask, 0, 0)); }

void BuildMaskStrips(const TFrameGeometry& g, const TFrameGeometry& n, TBitmap& mask, int aw,
                     TBitmap& bottom, TBitmap& right, TBitmap& left, TBitmap& top) {
    const TBorderPlans plans = MaskStripPlans(g, n, mask.Width(), mask.Height(), aw);
    const std::pair<const TImagePlan*, TBitmap*> strips[] = {
        {&plans.Left, &left}, {&plans.Right, &right}, {&plans.Top, &top}, {&plans.Bottom, &bottom}};
    for (auto [plan, strip] : strips) {
        if (!plan->Built) continue;
        // White where no piece lands (outside), also in a bitmap kept from an earlier call.
        strip->SetSize(plan->Width, plan->Height);
        if (strip->Empty()) continue;
        FillWhite(View(*strip));
        DrawPlan(*strip, mask, plan->Plan);
    }
}

TRegionHandle BuildFrameRegion(const TFrameGeometry& g, const TFrameGeometry& n, TBitmap& mask,
                               int aw, int ah) {
    if (n.RT.X < n.LT.X || n.LB.Y < n.LT.Y) return {};
    if (n.Cl.IsEmpty()) return {};
    TBitmap bottom, right, left, top;
    BuildMaskStrips(g, n, mask, aw, bottom, right, left, top);
    TRegionHandle result(CreateRectRgn(n.Cl.Left, n.Cl.Top, n.Cl.Right, n.Cl.Bottom));
    const std::pair<const TBitmap*, POINT> strips[] = {{&top, {0, 0}},
                                                      {&bottom, {0, n.Cl.Bottom}},
                                                      {&left, {0, n.Cl.Top}},
                                                      {&right, {n.Cl.Right, n.Cl.Top}}};
    for (auto [strip, at] : strips) {
        TRegionHandle part = RegionFromData(MaskToRegionData(*strip, at.x, at.y));
        if (part) CombineRgn(result.Get(), result.Get(), part.Get(), RGN_OR);
    }
    return result;
}

namespace {

// The part of the window that shows now: its region, or its whole rectangle without one.
TRegionHandle ShownPart(HWND window, int w, int h) {
    TRegionHandle shown(::CreateRectRgn(0, 0, 0, 0));
    if (::GetWindowRgn(window, shown.Get()) == ERROR) ::SetRectRgn(shown.Get(), 0, 0, w, h);
    return shown;
}

}  // namespace

bool SetWindowRegion(HWND window, TRegionHandle region, bool redraw) {
    if (!::SetWindowRgn(window, region.Get(), redraw)) return false;
    region.Release();  // the system's now
    return true;
}

bool SetWindowRegionRepainting(HWND window, TRegionHandle region) {
    RECT wr{};
    ::GetWindowRect(window, &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    const TRegionHandle before = ShownPart(window, w, h);
    TRegionHandle after(::CreateRectRgn(0, 0, w, h));
    if (region) ::CombineRgn(after.Get(), region.Get(), nullptr, RGN_COPY);
    if (!SetWindowRegion(window, std::move(region), false)) return false;
    TRegionHandle change(::CreateRectRgn(0, 0, 0, 0));
    // Gained: painted by the window itself. RedrawWindow takes client coordinates.
    if (::CombineRgn(change.Get(), after.Get(), before.Get(), RGN_DIFF) > NULLREGION) {
        POINT client{0, 0};
        ::ClientToScreen(window, &client);
        ::OffsetRgn(change.Get(), wr.left - client.x, wr.top - client.y);
        ::RedrawWindow(window, nullptr, change.Get(), RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    // Lost: painted by the parent and the siblings below, in the parent's client coordinates. For
    // a top-level window the display system exposes what lay behind the old shape itself.
    HWND parent = (::GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) ? ::GetParent(window) : nullptr;
    if (parent && ::CombineRgn(change.Get(), before.Get(), after.Get(), RGN_DIFF) > NULLREGION) {
        POINT origin{wr.left, wr.top};
        ::ScreenToClient(parent, &origin);
        ::OffsetRgn(change.Get(), origin.x, origin.y);
        ::RedrawWindow(parent, nullptr, change.Get(), RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    return true;
}

}  // namespace fn
