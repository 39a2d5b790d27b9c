#pragma once
// The MDI tabs bar without a window: where each tab goes for a bar size, which tab lies under a
// point, the hover / press / drag machine and where a dragged tab lands. The bar window feeds it
// the mouse and carries out what it asks of its host. Portable.
#include <vector>

#include "skin/skin_geometry.h"

namespace fn {

// Tab i of count takes (i·w, 0, (i + 1)·w, height) with w = width / count capped at
// defaultTabWidth; when w is below the cap the last tab ends at the bar's right edge. No tabs
// (or no room) give an empty list or empty rectangles, never a division by zero.
std::vector<TSkinRect> TabRects(int count, int width, int height, int defaultTabWidth);

// A dragged tab moved right by offset, then back inside 0..width.
TSkinRect DraggedTabRect(const TSkinRect& r, int offset, int width);

// The first tab whose rectangle holds the point, edges included; -1 for none.
int TabAt(const std::vector<TSkinRect>& rects, int x, int y);

// Where a dragged tab lands (rects hold the dragged tab at its moved place): dragged right, the
// last later tab whose middle lies left of the dragged tab's right edge; dragged left, the first
// earlier tab whose middle lies right of its left edge; -1 when none or not moved.
int DropIndex(const std::vector<TSkinRect>& rects, int dragTab, int dragOffset);

// The x of the drop marker: the drop tab's left edge when dragged left, else its right edge.
int DropMarkerX(const TSkinRect& dropTab, int dragOffset);

// The background picture repeated from x = 0: (width / imageWidth) + 1 copies, each cut at the
// bar's right edge and its height. An empty picture gives no copies.
struct TTabsBackgroundCopy {
    int X, Width, Height;
};
std::vector<TTabsBackgroundCopy> BackgroundCopies(int width, int height, int imageWidth, int imageHeight);

// The text area of a tab drawn as a skinned button: the record's client rectangle grown by the
// tab's size less the record's picture size; a text taller than that area gets an area as tall
// as the text, centred vertically in the tab.
TSkinRect ButtonTextArea(const TSkinRect& clientRect, const TSkinRect& skinRect, int tabWidth, int tabHeight,
                         int textHeight);

// What the machine asks of the bar that holds it.
class TmnMDITabsHost {
public:
    virtual ~TmnMDITabsHost() = default;
    // The mouse entered or left a tab (its MouseIn, its redraw, the events).
    virtual void TabMouseEnter(int index) = 0;
    virtual void TabMouseLeave(int index) = 0;
    // The list order changes: the tab at from moves to index to.
    virtual void MoveTab(int from, int to) = 0;
    // The mouse is taken while a press on a tab lasts, and given back when it ends.
    virtual void CaptureMouse() = 0;
    virtual void ReleaseMouse() = 0;
    virtual void Repaint() = 0;
};

class TmnMDITabsModel {
public:
    explicit TmnMDITabsModel(TmnMDITabsHost& host) : host_(host) {}

    void SetSize(int width, int height) { width_ = width; height_ = height; }
    int DefaultTabWidth() const { return defaultTabWidth_; }
    void SetDefaultTabWidth(int width) { defaultTabWidth_ = width; }
    int Count() const { return count_; }

    // Layout of the tabs now, the dragged one at its moved place while a drag runs.
    std::vector<TSkinRect> Layout() const;
    int TabAt(int x, int y) const { return fn::TabAt(Layout(), x, y); }
    // The drop index of the running drag, -1 when none.
    int DropIndex() const;

    int HotTab() const { return hot_; }
    int OldHotTab() const { return oldHot_; }
    int DragTab() const { return dragTab_; }
    bool Pressed() const { return pressed_; }
    bool Dragging() const { return dragging_; }
    int DragStartX() const { return dragStartX_; }
    int DragOffset() const { return dragOffset_; }

    // A tab was appended.
    void TabAdded() { ++count_; }
    // A tab is going (call before it leaves the list). Whatever tab is hot gets its leave, the
    // hot and previously hot indexes are reset and a press or drag ends: every index the
    // machine keeps would point at the wrong tab afterwards.
    void TabRemoving();
    void TabRemoved() { if (count_ > 0) --count_; }

    // Left button down: the tab under the point, or -1. On a tab the press begins (and, with
    // moveTabs, a drag may follow).
    int MouseDown(int x, int y, bool moveTabs);
    void MouseMove(int x, int y);
    void MouseLeave() { if (!dragging_) Hover(-1, -1); }
    // Left button up: ends a drag (moving the tab to its drop index) and answers -1; otherwise
    // answers the tab under the point (for the release event), or -1.
    int MouseUp(int x, int y);
    // The press or drag ends without a move: the mouse was taken away.
    void Cancel();

private:
    void Hover(int x, int y);
    void EndPress();

    TmnMDITabsHost& host_;
    int width_ = 0, height_ = 0, defaultTabWidth_ = 100;
    int count_ = 0;
    int hot_ = -1, oldHot_ = -1, dragTab_ = -1;
    bool pressed_ = false, dragging_ = false;
    int dragStartX_ = 0, dragOffset_ = 0;
    unsigned removals_ = 0;  // counts removals, so a handler that removes a tab stops a walk
};

}  // namespace fn
