#include "skin/form/frame_states.h"

#include <algorithm>

namespace fn {

TmnSizeLimits ComputeSizeLimits(const TmnSizeLimitInput& in) {
    TmnSizeLimits l;
    const bool free = !in.Minimized && !in.RolledUp;  // the properties apply
    if (!in.Skinned) {
        l.MinWidth = in.MinWidth > 0 ? in.MinWidth : 120;
        l.MinHeight = in.CaptionHeight + 6;
    } else {
        if (in.MinWidth > in.PictureWidth && !in.Minimized) l.MinWidth = in.MinWidth;
        else if (in.SkinMinWidth > 0) l.MinWidth = in.SkinMinWidth;
        else l.MinWidth = in.PictureWidth;
        l.MinHeight = in.PictureHeight - in.ClientHeight;
    }
    if (free && in.MinHeight > l.MinHeight) l.MinHeight = in.MinHeight;
    l.MaxWidth = in.Area.Width();
    l.MaxHeight = in.Area.Height();
    if (in.MaxWidth > 0 && in.MaxWidth < l.MaxWidth) l.MaxWidth = in.MaxWidth;
    if (in.MaxHeight > 0 && in.MaxHeight < l.MaxHeight) l.MaxHeight = in.MaxHeight;
    return l;
}

TSkinRect MaximizedRect(const TSkinRect& workArea, const TSkinRect& monitor, const TSkinRect& primaryScreen,
                        bool fullScreen) {
    if (fullScreen) return monitor;
    TSkinRect r = workArea;
    const bool wholeMonitor = workArea.Width() == monitor.Width() && workArea.Height() == monitor.Height();
    if (wholeMonitor && monitor == primaryScreen) r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    return r;
}

TSkinRect CenteredRect(const TSkinRect& area, int width, int height) {
    const int left = area.Left + area.Width() / 2 - width / 2;
    const int top = area.Top + area.Height() / 2 - height / 2;
    return {left, top, left + width, top + height};
}

TSkinPoint MinimizedPosition(const TSkinRect& area, int w, int h, const std::function<bool(int x, int y)>& taken) {
    // A degenerate size still moves on, and the search gives up after more places than there can
    // be minimised windows, so it always ends quickly.
    constexpr int kMaxTries = 4096;
    w = std::max(w, 1);
    h = std::max(h, 1);
    const TSkinPoint start{area.Left, area.Bottom - h};
    TSkinPoint p = start;
    for (int tries = 0; taken(p.X, p.Y); ++tries) {
        if (tries == kMaxTries) return start;
        p.X += w;
        if (p.X + w > area.Right) {
            p.X = start.X;
            p.Y -= h;
            if (p.Y < area.Top) return start;  // every row is full: share the first place
        }
    }
    return p;
}

TSkinRect MagneticMove(const TSkinRect& proposed, const TSkinRect& area, int m, TSkinPoint cursor, TmnMagnet& g) {
    const int width = proposed.Width(), height = proposed.Height();
    int left = proposed.Left, top = proposed.Top;
    // One edge: near when value lies within m of target; snapping puts it there, and once snapped
    // the window follows the cursor again when it moved more than m from the anchor.
    auto edge = [m](int& value, int target, int offset, bool& flag, int& anchor, int cursorPos) {
        const bool near = target - m < value + offset && value + offset < target + m;
        if (flag) {
            value = (cursorPos - anchor > m || anchor - cursorPos > m) ? cursorPos + target - offset - anchor
                                                                       : target - offset;
        } else if (near) {
            value = target - offset;
            anchor = cursorPos;
        }
        flag = near;
    };
    edge(left, area.Left, 0, g.Left, g.AnchorX, cursor.X);
    edge(top, area.Top, 0, g.Top, g.AnchorY, cursor.Y);
    edge(left, area.Right, width, g.Right, g.AnchorX, cursor.X);
    edge(top, area.Bottom, height, g.Bottom, g.AnchorY, cursor.Y);
    return {left, top, left + width, top + height};
}

TmnCaptionAction CaptionDoubleClick(bool resizable, TmnSkinWindowState state, bool rolledUp,
                                    bool rolledUpInMaximized, TmnBorderIcons icons) {
    if (resizable && state == swsMinimized) return TmnCaptionAction::Restore;
    if (resizable && state != swsMaximized && !rolledUp && (icons & BorderIconBit(biMaximize))) return TmnCaptionAction::Maximize;
    if (resizable && state == swsMaximized && !rolledUpInMaximized) return TmnCaptionAction::Restore;
    return TmnCaptionAction::ToggleRollUp;
}

std::vector<std::wstring_view> StandardSystemMenuItems(TmnSkinWindowState state, bool rolledUp, bool mdiChild,
                                                        TmnBorderIcons icons) {
    std::vector<std::wstring_view> items;
    if (state != swsMinimized && (icons & BorderIconBit(biMinimize))) items.push_back(L"MTL_MINITEM");
    if (state != swsMaximized && (icons & BorderIconBit(biMaximize))) items.push_back(L"MTL_MAXITEM");
    if (state != swsNormal || rolledUp) items.push_back(L"MTL_RESTORE");
    if (!(mdiChild && state == swsMaximized) && !rolledUp && state != swsMinimized && (icons & BorderIconBit(biRollUp)))
        items.push_back(L"MTL_ROLLUP");
    if (icons & BorderIconBit(biMinimizeToTray)) items.push_back(L"MTL_MINTOTRAY");
    return items;
}

}  // namespace fn
