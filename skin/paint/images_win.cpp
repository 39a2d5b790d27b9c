#include "skin/paint/images_win.h"

namespace fn {

namespace {

RECT ToRECT(const TSkinRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

void BuildImage(const TImagePlan& plan, TBitmap& target, TBitmap& picture) {
    if (!plan.Built) return;
    target.SetSize(plan.Width, plan.Height);
    if (!picture.Empty()) DrawPlan(target.Canvas(), picture.Canvas(), plan.Plan);
}

}  // namespace

void DrawPlan(TCanvas& target, TCanvas& source, const TBlitPlan& plan) {
    // Copies that share a clip rectangle are drawn inside one saved state.
    TSkinRect clip{};
    int saved = 0;
    for (const TBlit& b : plan) {
        if (b.Clip != clip) {
            if (saved) target.RestoreState(saved);
            saved = 0;
            clip = b.Clip;
            if (!RectIsEmpty(clip)) {
                saved = target.SaveState();
                target.IntersectClip(ToRECT(clip));
            }
        }
        target.CopyRect(ToRECT(b.Dst), source, ToRECT(b.Src));
    }
    if (saved) target.RestoreState(saved);
}

void BuildNinePartImage(const TFrameGeometry& g, const TFrameGeometry& n, TBitmap& target,
                        TBitmap& picture, const TSkinRect& r, int aw, int ah, bool drawClient,
                        TStretchFlags stretch, bool clientStretch, int stretchType) {
    target.SetSize(aw, ah);
    if (picture.Empty()) return;
    DrawPlan(target.Canvas(), picture.Canvas(),
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
    target.SetSize(aw, RectHeight(r));
    if (!picture.Empty()) DrawPlan(target.Canvas(), picture.Canvas(), HStripPlan(lo, ro, r, aw, stretch));
}

void BuildVStripImage(int to, int bo, TBitmap& target, TBitmap& picture, const TSkinRect& r, int ah,
                      bool stretch) {
    target.SetSize(RectWidth(r), ah);
    if (!picture.Empty()) DrawPlan(target.Canvas(), picture.Canvas(), VStripPlan(to, bo, r, ah, stretch));
}

}  // namespace fn
