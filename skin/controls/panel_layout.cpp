#include "skin/controls/panel_layout.h"

#include <algorithm>

namespace fn {

void TSizeConstraints::Apply(int& width, int& height) const {
    if (MinWidth > 0) width = std::max(width, MinWidth);
    if (MaxWidth > 0) width = std::min(width, MaxWidth);
    if (MinHeight > 0) height = std::max(height, MinHeight);
    if (MaxHeight > 0) height = std::min(height, MaxHeight);
}

TSkinRect PanelClientRect(const TPanelClientInput& in) {
    const TSkinRect whole{0, 0, in.Width, in.Height};
    if (!in.Skinned) {
        TSkinRect r = whole;
        if (in.BorderStyle != TmnSkinBorderStyle::bvNone) r = {1, 1, in.Width - 1, in.Height - 1};
        if (in.CaptionMode) r.Top += in.DefaultCaptionHeight;
        return r;
    }
    if (in.HasBgPicture || (in.BorderStyle == TmnSkinBorderStyle::bvNone && !in.CaptionMode && in.NinePart))
        return whole;
    return in.NewClientRect;
}

int CaptionStartX(TAlignment alignment, int left, int right, int contentWidth, bool skinned) {
    const int pad = skinned ? 0 : 2;
    switch (alignment) {
        case taRightJustify: return right - contentWidth;
        case taCenter: return left + pad + (right - left) / 2 - contentWidth / 2;
        default: return left + pad;
    }
}

TRollUpPlan TPanelRollUp::Set(bool v, bool mode, int height, int collapsedHeight, TSizeConstraints& c) {
    if (!mode) {
        state_ = false;
        return Unroll(c);
    }
    if (v == state_) return {};
    state_ = v;
    if (!v) return Unroll(c);
    if (RolledUp()) return {};
    saved_ = c;
    c = {};
    realHeight_ = height;
    return {true, collapsedHeight, true, false};
}

TRollUpPlan TPanelRollUp::Unroll(TSizeConstraints& c) {
    if (!RolledUp()) return {};
    TRollUpPlan plan{true, realHeight_, false, true};
    realHeight_ = -1;
    c = saved_;
    saved_ = {};
    return plan;
}

TRollUpPlan TPanelRollUp::Refold(int collapsedHeight) const {
    if (!RolledUp()) return {};
    return {true, collapsedHeight, false, false};
}

int GripWidth(const TSkinRect& client, int gripImageWidth) {
    return gripImageWidth > 0 ? gripImageWidth : std::max(0, client.Height());
}

TSkinRect GripArea(const TSkinRect& client, int gripImageWidth, int gripImageHeight) {
    if (gripImageWidth > 0 && gripImageHeight > 0)
        return {client.Right - gripImageWidth, client.Bottom - gripImageHeight, client.Right, client.Bottom};
    const int side = GripWidth(client, 0);
    return {client.Right - side + 2, client.Top, client.Right, client.Bottom - 2};
}

std::vector<TGripLine> GripLines(const TSkinRect& a) {
    std::vector<TGripLine> lines;
    for (int k = 3; a.Left + k + 2 <= a.Right && a.Top + k < a.Bottom; k += 3) {
        lines.push_back({a.Left + k, a.Bottom, a.Right, a.Top + k, false});
        lines.push_back({a.Left + k + 1, a.Bottom, a.Right, a.Top + k + 1, true});
    }
    return lines;
}

int StatusBarHitTest(int x, int y, bool gripShown, const TSkinRect& g) {
    const bool inGrip = g.Left <= x && x < g.Right && g.Top <= y && y < g.Bottom;
    return gripShown && inGrip ? kHitBottomRight : kHitClient;
}

}  // namespace fn
