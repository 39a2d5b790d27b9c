#include "skin/form/menu_bar_layout.h"

#include <algorithm>

#include "skin/menus/menu_navigation.h"

namespace fn {

TSkinRect MenuBarItemsArea(const TMenuBarGeometry& g, int width, int height) {
    if (!g.Skinned) return {2, 2, width - 2, height - 2};
    // The item strip keeps its distance to the bar picture's right end at any width.
    return {g.ItemsRect.Left, g.ItemsRect.Top, width - (g.SkinRect.Width() - g.ItemsRect.Right), g.ItemsRect.Bottom};
}

std::vector<TSkinRect> PlaceMenuBarButtons(TSkinRect& area, const std::vector<TMenuBarSize>& sizes) {
    std::vector<TSkinRect> rects;
    rects.reserve(sizes.size());
    for (size_t i = 0; i < sizes.size(); ++i) {
        const int w = sizes[i].Width, h = sizes[i].Height;
        const int top = area.Top + area.Height() / 2 - h / 2;
        if (i == 0) {
            rects.push_back({area.Left, top, area.Left + w, top + h});
            area.Left += w + 2;
        } else {
            rects.push_back({area.Right - w, top, area.Right, top + h});
            area.Right -= w + 2;
        }
    }
    return rects;
}

TMenuBarItemsPlan LayoutMenuBarItems(const TSkinRect& area, const TMenuBarItemMetrics& m,
                                     const std::vector<int>& textWidths, bool scrollMenu) {
    TMenuBarItemsPlan plan;
    plan.Marker = {area.Right - MenuBarMarkerWidth, area.Top, area.Right, area.Bottom};
    const int limit = area.Right - (scrollMenu ? MenuBarMarkerWidth : 0);
    int x = area.Left;
    for (size_t i = 0; i < textWidths.size(); ++i) {
        const int text = std::max(0, textWidths[i]);
        TSkinRect r;
        if (m.Skinned) r = {x, area.Top, x + m.SkinWidth - m.TextRectWidth + text + 2, area.Top + m.SkinHeight};
        else r = {x, area.Top, x + text + 12, area.Bottom};
        const bool fits = r.Right <= limit;
        if (!fits) {
            plan.Overflow = true;
            if (plan.FirstHidden < 0) plan.FirstHidden = static_cast<int>(i);
        }
        plan.Rects.push_back(r);
        plan.Fits.push_back(fits);
        x = r.Right;
    }
    return plan;
}

bool MenuBarRectContains(const TSkinRect& r, int x, int y) {
    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}

int MenuBarHitTest(const std::vector<TMenuBarHitObject>& objects, int x, int y) {
    for (size_t i = 0; i < objects.size(); ++i)
        if (objects[i].Enabled && objects[i].Visible && MenuBarRectContains(objects[i].Rect, x, y))
            return static_cast<int>(i);
    return -1;
}

int MenuBarTrackHot(int found, int previousHot, bool previousIsItem, bool menuMode, int pressed) {
    int hot = found;
    if (found < 0 && previousHot >= 0 && previousIsItem && menuMode) hot = previousHot;
    if (pressed >= 0 && pressed != hot) hot = -1;
    return hot;
}

TMenuBarMove MenuBarStep(const std::vector<TMenuBarNavItem>& items, bool forward) {
    const int n = static_cast<int>(items.size());
    TMenuBarMove move;
    for (int i = 0; i < n; ++i)
        if (MenuBarReachable(items[static_cast<size_t>(i)]) &&
            (items[static_cast<size_t>(i)].Active || items[static_cast<size_t>(i)].Down)) {
            move.Leave = i;
            break;
        }
    // From the highlighted item on, or from just outside the end the search starts at.
    const int from = move.Leave >= 0 ? move.Leave : (forward ? -1 : n);
    for (int step = 1; step <= n; ++step) {
        const int i = ((from + (forward ? step : -step)) % n + n) % n;
        if (MenuBarReachable(items[static_cast<size_t>(i)])) {
            move.Enter = i;
            break;
        }
    }
    if (move.Enter < 0) move.Leave = -1;
    return move;
}

int MenuBarEntryItem(const std::vector<TMenuBarNavItem>& items) {
    for (size_t i = 0; i < items.size(); ++i)
        if (MenuBarReachable(items[i]) && items[i].Active) return static_cast<int>(i);
    for (size_t i = 0; i < items.size(); ++i)
        if (MenuBarReachable(items[i])) return static_cast<int>(i);
    return -1;
}

int MenuBarAccelItem(const std::vector<TMenuBarNavItem>& items, wchar_t ch) {
    if (ch == 0) return -1;
    const wchar_t key = FoldCase(ch);
    for (size_t i = 0; i < items.size(); ++i)
        if (MenuBarReachable(items[i]) && items[i].Accel != 0 && FoldCase(items[i].Accel) == key)
            return static_cast<int>(i);
    return -1;
}

std::vector<TMenuBarMergeEntry> MergeMenuBarItems(const std::vector<int>& barGroups,
                                                  const std::vector<int>& childGroups) {
    std::vector<TMenuBarMergeEntry> merged;
    for (size_t i = 0; i < barGroups.size(); ++i)
        if (std::find(childGroups.begin(), childGroups.end(), barGroups[i]) == childGroups.end())
            merged.push_back({false, static_cast<int>(i), barGroups[i]});
    for (size_t i = 0; i < childGroups.size(); ++i) merged.push_back({true, static_cast<int>(i), childGroups[i]});
    std::stable_sort(merged.begin(), merged.end(),
                     [](const TMenuBarMergeEntry& a, const TMenuBarMergeEntry& b) { return a.GroupIndex < b.GroupIndex; });
    return merged;
}

}  // namespace fn
