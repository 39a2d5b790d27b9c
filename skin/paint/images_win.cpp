#include "skin/paint/images_win.h"

namespace fn {

namespace {

void BuildImage(const TImagePlan& plan, TBitmap& target, TBitmap& picture) {
    if (!plan.Built) return;
    target.SetSize(plan.Width, plan.Height);
    DrawPlan(target, picture, plan.Plan);
}

}  // namespace

TPixelView View(TBitmap& bitmap) {
    if (bitmap.Empty()) return {};
    return {bitmap.ScanLine(0), bitmap.Width(), bitmap.Height(), bitmap.RowStride()};
}

// The bitmaps are device-independent sections, so the copies are done on their rows directly.
void DrawPlan(TBitmap& target, TBitmap& source, const TBlitPlan& plan) {
    if (&target == &source) return;
    PaintPlan(plan, View(source), View(target));
}

void BuildNinePartImage(const TFrameGeometry& g, const TFrameGeometry& n, TBitmap& target,
                        TBitmap& picture, const TSkinRect& r, int aw, int ah, bool drawClient,
                        TStretchFlags stretch, bool clientStretch, int stretchType) {
    target.SetSize(aw, ah);
    DrawPlan(target, picture,
             NinePartPlan(g, n, r, aw, ah, drawClient, stretch, clientStretch, stretchType));
}

void BuildBorderImages(const TFrameGeometry& g, const TFrameGeometry& n, TBitmap& left,
                       TBitmap& top, TBitmap& right, TBitmap& bottom, TBitmap& picture,
                       const TSkinRect& r, int aw, int ah, TStretchFlags stretch) {
    const TBorderPlans plans = BorderImagePlans(g, n, r, aw, ah, stretch, top.Height(), bottom.Height());
    BuildImage(plans.Top, top, picture);
    BuildImage(plans.Bottom, bottom, picture);
    BuildImage(plans.Left, left, picture);
    BuildImage(plans.Right, right, picture);
}

void BuildHStripImage(int lo, int ro, TBitmap& target, TBitmap& picture, const TSkinRect& r, int aw,
                      bool stretch) {
    target.SetSize(aw, r.Height());
    DrawPlan(target, picture, HStripPlan(lo, ro, r, aw, stretch));
}

void BuildVStripImage(int to, int bo, TBitmap& target, TBitmap& picture, const TSkinRect& r, int ah,
                      bool stretch) {
    target.SetSize(r.Width(), ah);
    DrawPlan(target, picture, VStripPlan(to, bo, r, ah, stretch));
}

}  // namespace fn
