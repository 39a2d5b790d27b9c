#pragma once
// The geometry of a skinned popup window, without a window: its height and scrolling, the item
// rectangles of the scrolled range, and where it opens against the monitor's work area. Portable.
#include <vector>

#include "skin/skin_geometry.h"

namespace fn {

// Each scroll marker strip, at 96 dpi; the functions below take the strip's height at the
// window's scale (markerHeight).
inline constexpr int PopupMarkerHeight = 10;

// An item height from the skin; anything below 1 falls back to the default height.
inline int ValidItemHeight(int skinHeight, int defaultHeight) {
    return skinHeight >= 1 ? skinHeight : (defaultHeight >= 1 ? defaultHeight : 20);
}

struct TPopupHeight {
    int Height = 0;
    bool Scroll = false;
    bool LimitedByMax = false;
};

// heights: the items; frame: window height minus the items area; rowHeight: the height a
// limited window reserves per item; maxItems 0 = unlimited; workHeight: the work area's height.
TPopupHeight PopupWindowHeight(const std::vector<int>& heights, int frame, int rowHeight, int maxItems,
                               int workHeight, int markerHeight = PopupMarkerHeight);

struct TItemPlace {
    TSkinRect Rect;
    bool Visible = false;
};

// Places the items from start on inside itemsRect (the marker strips left free when scrolling);
// returns how many are placed (VisibleCount).
int LayoutPopupItems(const std::vector<int>& heights, const TSkinRect& itemsRect, int start, bool scroll,
                     std::vector<TItemPlace>& out, int markerHeight = PopupMarkerHeight);
// How many items LayoutPopupItems would place from start on (at least 1 while items remain, so a
// window lower than one item still moves through its items).
int VisibleItemsFrom(const std::vector<int>& heights, const TSkinRect& itemsRect, int start, bool scroll,
                     int markerHeight = PopupMarkerHeight);
// The start at which the last items fill the window.
int LastPageStart(const std::vector<int>& heights, const TSkinRect& itemsRect, bool scroll,
                  int markerHeight = PopupMarkerHeight);

// Frame number frame (1 to frames) of an item's animation strip: the frames lie one below the
// other when the strip is higher than one item (itemHeight), else side by side.
TSkinRect AnimationFrameRect(const TSkinRect& strip, int itemHeight, int frames, int frame);

// A scroll marker strip of a scrolling window.
enum class TScrollMarker { None, Up, Down };
// The marker strip at client height y inside itemsRect, while there is something to scroll that
// way: items above the first shown one (start) for the top strip, items below the last shown one
// for the bottom strip; else None.
TScrollMarker ScrollMarkerAt(int y, const TSkinRect& itemsRect, int start, int visibleCount, int count,
                             int markerHeight = PopupMarkerHeight);

struct TPopupPlaceInput {
    TSkinRect Anchor;     // screen rectangle the window opens at
    TSkinRect WorkArea;   // of the monitor the menu opens on
    int Width = 0, Height = 0;
    int ItemsTop = 0;     // the items area's top inside the window
    bool SubMenu = false;
    bool PopupUp = false;
    bool ClampedToWork = false;  // scrolls because the work area was lower than the items
};

struct TPopupPlace {
    int X = 0, Y = 0;
    bool Overlap = false;
};

// The window's top-left. The result always lies inside the work area on both axes (as far as
// the window fits).
TPopupPlace PlacePopup(const TPopupPlaceInput& in);

}  // namespace fn
