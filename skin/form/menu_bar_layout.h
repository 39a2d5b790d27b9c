#pragma once
// The skinned main menu bar without a window: where its items and the buttons of a maximised MDI
// child stand, which items fit and where the overflow marker goes, which object lies under a
// point, which item the keyboard moves to, and the order of a merged child menu. Portable; the
// bar's window (main_menu_bar_win.h) measures the captions and carries the plan out.
#include <vector>

#include "skin/skin_geometry.h"

namespace fn {

// Width of the overflow marker at the right end of the items area.
inline constexpr int MenuBarMarkerWidth = 5;

// The bar's look as the layout needs it. Unskinned: 2-pixel margins, items as text.
struct TMenuBarGeometry {
    bool Skinned = false;
    TSkinRect SkinRect;   // the bar record's "skinrect"
    TSkinRect ItemsRect;  // its "itemsrect" (skin coordinates)
};

// The rectangle left for items (and child buttons) in a bar of width x height.
TSkinRect MenuBarItemsArea(const TMenuBarGeometry& g, int width, int height);

struct TMenuBarSize {
    int Width = 0, Height = 0;
};

// Places the child buttons (in list order: system menu, close, restore, minimise) in area and
// shrinks area by them: the first goes to the left end, the others from the right end inwards,
// each centred vertically and followed by a 2-pixel gap. sizes holds each button's size (a
// skinned button's picture; an unskinned one is a square of the area's height).
std::vector<TSkinRect> PlaceMenuBarButtons(TSkinRect& area, const std::vector<TMenuBarSize>& sizes);

// The item record's measures (skinned items are the "skinrect" widened by the caption).
struct TMenuBarItemMetrics {
    bool Skinned = false;
    int SkinWidth = 0, SkinHeight = 0;  // the item record's "skinrect"
    int TextRectWidth = 0;              // its "textrect"
};

struct TMenuBarItemsPlan {
    std::vector<TSkinRect> Rects;  // one per item, in bar order
    std::vector<bool> Fits;
    bool Overflow = false;
    int FirstHidden = -1;   // the first item that does not fit, or -1
    TSkinRect Marker;       // the overflow marker (the last pixels of the area)
};

// Lines the items up from the area's left edge; textWidths are the captions' widths. With
// scrollMenu the marker's width is kept free at the right end.
TMenuBarItemsPlan LayoutMenuBarItems(const TSkinRect& area, const TMenuBarItemMetrics& m,
                                     const std::vector<int>& textWidths, bool scrollMenu);

// The platform's point-in-rectangle rule: left and top edges inside, right and bottom outside.
bool MenuBarRectContains(const TSkinRect& r, int x, int y);

struct TMenuBarHitObject {
    TSkinRect Rect;
    bool Enabled = true;
    bool Visible = true;
};
// The first enabled, visible object whose rectangle holds (x, y), or -1.
int MenuBarHitTest(const std::vector<TMenuBarHitObject>& objects, int x, int y);

// The hot object after tracking: found is the object under the mouse (-1 none). Over no object,
// a hot item stays hot while the bar is in menu mode; while a press is held on another object
// nothing is hot.
int MenuBarTrackHot(int found, int previousHot, bool previousIsItem, bool menuMode, int pressed);

// An item as the keyboard sees it.
struct TMenuBarNavItem {
    bool Enabled = true;
    bool Fits = true;
    bool Active = false;
    bool Down = false;
    wchar_t Accel = 0;  // the caption's "&" character, 0 for none
};
inline bool MenuBarReachable(const TMenuBarNavItem& i) { return i.Enabled && i.Fits; }

struct TMenuBarMove {
    int Leave = -1;  // the highlighted item that loses the highlight, or -1
    int Enter = -1;  // the item that gets it, or -1 (nothing reachable: nothing changes)
};
// Right / Left in menu mode: from the highlighted reachable item to the next (previous) one,
// wrapping at the ends; without a highlighted one, the first (last) reachable item.
TMenuBarMove MenuBarStep(const std::vector<TMenuBarNavItem>& items, bool forward);
// The item menu mode starts on: the first reachable active item, else the first reachable one,
// else -1 (no menu mode).
int MenuBarEntryItem(const std::vector<TMenuBarNavItem>& items);
// The first reachable item whose accelerator is ch (any case, umlauts included), or -1.
int MenuBarAccelItem(const std::vector<TMenuBarNavItem>& items, wchar_t ch);

// A top-level item of a merged bar: which menu it comes from and its group.
struct TMenuBarMergeEntry {
    bool FromChild = false;
    int Index = 0;  // position among that menu's top-level items
    int GroupIndex = 0;
};
// The merged order: the bar menu's items whose group the child menu has none of, then all the
// child's, sorted by group (ascending; equal groups keep that order).
std::vector<TMenuBarMergeEntry> MergeMenuBarItems(const std::vector<int>& barGroups,
                                                  const std::vector<int>& childGroups);

}  // namespace fn
