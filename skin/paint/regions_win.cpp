#include "skin/paint/regions_win.h"

#include <cstring>

#include "skin/paint/images_win.h"

namespace fn {

namespace {

// The bitmap's rows already have the scan's layout: a row copy makes the snapshot.
TmnFBitmap Snapshot(const TBitmap& bitmap) {
    TmnFBitmap pixels(bitmap.Width(), bitmap.Height());
    for (int y = 0; y < pixels.Height; ++y)
        std::memcpy(pixels.Rows[static_cast<size_t>(y)], bitmap.ScanLine(y), static_cast<size_t>(pixels.RowStride));
    return pixels;
}

}  // namespace

TRegionData MaskToRegionData(const TBitmap& mask, int dx, int dy) {
    if (mask.Empty()) return {};
    return MaskToRegionData(Snapshot(mask), dx, dy);
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
        strip->SetSize(plan->Width, plan->Height);
        DrawPlan(*strip, mask, plan->Plan);
    }
}

TRegionHandle BuildFrameRegion(const TFrameGeometry& g, const TFrameGeometry& n, TBitmap& mask,
                               int aw, int ah) {
    if (n.RT.X < n.LT.X || n.LB.Y < n.LT.Y) return {};
    if (RectIsEmpty(n.Cl)) return {};
    // The strips are made in memory (white where no piece lands: outside) and scanned there.
    const TBorderPlans plans = MaskStripPlans(g, n, mask.Width(), mask.Height(), aw);
    const TmnFBitmap pixels = Snapshot(mask);
    TRegionHandle result(CreateRectRgn(n.Cl.Left, n.Cl.Top, n.Cl.Right, n.Cl.Bottom));
    const std::pair<const TImagePlan*, POINT> strips[] = {{&plans.Top, {0, 0}},
                                                         {&plans.Bottom, {0, n.Cl.Bottom}},
                                                         {&plans.Left, {0, n.Cl.Top}},
                                                         {&plans.Right, {n.Cl.Right, n.Cl.Top}}};
    for (auto [plan, at] : strips) {
        if (!plan->Built || plan->Width <= 0 || plan->Height <= 0) continue;
        TmnFBitmap strip(plan->Width, plan->Height);
        FillWhite(View(strip));
        PaintPlan(plan->Plan, View(pixels), View(strip));
        TRegionHandle part = RegionFromData(MaskToRegionData(strip, at.x, at.y));
        if (part) CombineRgn(result.Get(), result.Get(), part.Get(), RGN_OR);
    }
    return result;
}

}  // namespace fn
