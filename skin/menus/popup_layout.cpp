#include "skin/menus/popup_layout.h"

#include <algorithm>

namespace fn {

TPopupHeight PopupWindowHeight(const std::vector<int>& heights, int frame, int rowHeight, int maxItems,
                               int workHeight, int markerHeight) {
    TPopupHeight r;
    const int n = static_cast<int>(heights.size());
    if (maxItems > 0 && n > maxItems) {
        r.Height = rowHeight * maxItems + frame + 2 * markerHeight;
        r.Scroll = r.LimitedByMax = true;
    } else {
        long long sum = frame;
        for (int h : heights) sum += h;
        r.Height = static_cast<int>(std::min<long long>(sum, 1 << 24));
    }
    if (workHeight > 0 && workHeight < r.Height) {
        r.Height = workHeight;
        r.Scroll = true;
    }
    return r;
}

int LayoutPopupItems(const std::vector<int>& heights, const TSkinRect& itemsRect, int start, bool scroll,
                     std::vector<TItemPlace>& out, int markerHeight) {
    const int n = static_cast<int>(heights.size());
    out.assign(static_cast<size_t>(n), TItemPlace{});
    start = std::clamp(start, 0, std::max(0, n));
    const int bottom = itemsRect.Bottom - (scroll ? markerHeight : 0);
    int y = itemsRect.Top + (scroll ? markerHeight : 0);
    int placed = 0;
    for (int i = scroll ? start : 0; i < n; ++i) {
        const int h = heights[static_cast<size_t>(i)];
        // The first item always gets a place, so a very low window still shows what is selected.
        if (y + h > bottom && placed > 0) break;
        out[static_cast<size_t>(i)] = {{itemsRect.Left, y, itemsRect.Right, y + h}, true};
        y += h;
        ++placed;
    }
    return placed;
}

int VisibleItemsFrom(const std::vector<int>& heights, const TSkinRect& itemsRect, int start, bool scroll,
                     int markerHeight) {
    std::vector<TItemPlace> places;
    return LayoutPopupItems(heights, itemsRect, start, scroll, places, markerHeight);
}

int LastPageStart(const std::vector<int>& heights, const TSkinRect& itemsRect, bool scroll, int markerHeight) {
    const int n = static_cast<int>(heights.size());
    int start = n > 0 ? n - 1 : 0;
    while (start > 0 && start - 1 + VisibleItemsFrom(heights, itemsRect, start - 1, scroll, markerHeight) >= n)
        --start;
    return start;
}

TSkinRect AnimationFrameRect(const TSkinRect& strip, int itemHeight, int frames, int frame) {
    TSkinRect f = strip;
    if (strip.Height() > itemHeight) {
        const int fh = strip.Height() / frames;
        f.Top = strip.Top + (frame - 1) * fh;
        f.Bottom = f.Top + fh;
    } else {
        const int fw = strip.Width() / frames;
        f.Left = strip.Left + (frame - 1) * fw;
        f.Right = f.Left + fw;
    }
    return f;
}

TScrollMarker ScrollMarkerAt(int y, const TSkinRect& itemsRect, int start, int visibleCount, int count,
                             int markerHeight) {
    const bool inTop = y >= itemsRect.Top && y < itemsRect.Top + markerHeight;
    const bool inBottom = y >= itemsRect.Bottom - markerHeight && y < itemsRect.Bottom;
    const bool canUp = start > 0;
    const bool canDown = start + visibleCount < count;
    return (inTop && canUp) ? TScrollMarker::Up : (inBottom && canDown) ? TScrollMarker::Down : TScrollMarker::None;
}

TPopupPlace PlacePopup(const TPopupPlaceInput& in) {
    const TSkinRect& a = in.Anchor;
    const TSkinRect& w = in.WorkArea;
    const int h = in.Height, wd = in.Width;
    const bool upperHalf = a.Top < w.Top + (w.Bottom - w.Top) / 2;
    TPopupPlace p;
    if (in.ClampedToWork) {
        p.Y = w.Top;
    } else if (in.SubMenu) {
        if (a.Top + h - in.ItemsTop <= w.Bottom) p.Y = a.Top - in.ItemsTop;
        else if (upperHalf) p.Y = w.Bottom - h;
        else p.Y = std::max(w.Top, a.Bottom + in.ItemsTop - h);
    } else if (in.PopupUp) {
        if (a.Top - h >= w.Top) p.Y = a.Top - h;
        else if (upperHalf) {
            if (a.Bottom + h <= w.Bottom) p.Y = a.Bottom;
            else { p.Y = w.Bottom - h; p.Overlap = true; }
        } else { p.Y = w.Top; p.Overlap = true; }
    } else {
        if (a.Bottom + h <= w.Bottom) p.Y = a.Bottom;
        else if (upperHalf) { p.Y = w.Bottom - h; p.Overlap = true; }
        else if (a.Top - h >= w.Top) p.Y = a.Top - h;
        else { p.Y = w.Top; p.Overlap = true; }
    }
    if (!in.SubMenu && !p.Overlap && !in.ClampedToWork) {
        p.X = a.Left;
        if (a.Left + wd > w.Right) p.X = w.Right - wd;
        else if (a.Left < w.Left) p.X = w.Left;
    } else {
        p.X = (a.Right + wd + 1 <= w.Right) ? a.Right + 1 : a.Left - wd - 1;
    }
    // Whatever the anchor, the window stays on the monitor it opens on.
    p.X = std::max(w.Left, std::min(p.X, w.Right - wd));
    p.Y = std::max(w.Top, std::min(p.Y, w.Bottom - h));
    return p;
}

}  // namespace fn
