#include "skin/form/mdi_tabs_layout.h"

#include <algorithm>

#include "skin/paint/rects.h"

namespace fn {

std::vector<TSkinRect> TabRects(int count, int width, int height, int defaultTabWidth) {
    std::vector<TSkinRect> rects;
    if (count <= 0) return rects;
    width = std::max(width, 0);
    const int w = std::max(0, std::min(width / count, defaultTabWidth));
    rects.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) rects.push_back({i * w, 0, (i + 1) * w, height});
    if (w < defaultTabWidth) rects.back().Right = width;
    return rects;
}

TSkinRect DraggedTabRect(const TSkinRect& r, int offset, int width) {
    TSkinRect m = MovedRect(r, offset, 0);
    if (m.Right > width) m = MovedRect(m, width - m.Right, 0);
    if (m.Left < 0) m = MovedRect(m, -m.Left, 0);
    return m;
}

int TabAt(const std::vector<TSkinRect>& rects, int x, int y) {
    for (size_t i = 0; i < rects.size(); ++i)
        if (PointInsideRect({x, y}, rects[i])) return static_cast<int>(i);
    return -1;
}

int DropIndex(const std::vector<TSkinRect>& rects, int dragTab, int dragOffset) {
    const int count = static_cast<int>(rects.size());
    if (dragTab < 0 || dragTab >= count || dragOffset == 0) return -1;
    const TSkinRect& dragged = rects[static_cast<size_t>(dragTab)];
    auto middle = [](const TSkinRect& r) { return r.Left + r.Width() / 2; };
    int drop = -1;
    if (dragOffset > 0) {
        for (int i = dragTab + 1; i < count; ++i)
            if (middle(rects[static_cast<size_t>(i)]) < dragged.Right) drop = i;
    } else {
        for (int i = 0; i < dragTab && drop < 0; ++i)
            if (middle(rects[static_cast<size_t>(i)]) > dragged.Left) drop = i;
    }
    return drop;
}

int DropMarkerX(const TSkinRect& dropTab, int dragOffset) { return dragOffset < 1 ? dropTab.Left : dropTab.Right; }

std::vector<TTabsBackgroundCopy> BackgroundCopies(int width, int height, int imageWidth, int imageHeight) {
    std::vector<TTabsBackgroundCopy> copies;
    if (imageWidth <= 0 || imageHeight <= 0 || width <= 0 || height <= 0) return copies;
    const int h = std::min(imageHeight, height);
    for (int x = 0; x < width; x += imageWidth) copies.push_back({x, std::min(imageWidth, width - x), h});
    return copies;
}

TSkinRect ButtonTextArea(const TSkinRect& clientRect, const TSkinRect& skinRect, int tabWidth, int tabHeight,
                         int textHeight) {
    TSkinRect a{clientRect.Left, clientRect.Top, clientRect.Right + tabWidth - skinRect.Width(),
                clientRect.Bottom + tabHeight - skinRect.Height()};
    if (textHeight > a.Height()) {
        a.Top = (tabHeight - textHeight) / 2;
        a.Bottom = a.Top + textHeight;
    }
    return a;
}

// ---- the machine ----

namespace {
// Where index i ends up when the entry at from moves to to.
int MovedIndex(int i, int from, int to) {
    if (i == from) return to;
    if (from < to && i > from && i <= to) return i - 1;
    if (to < from && i >= to && i < from) return i + 1;
    return i;
}
}  // namespace

std::vector<TSkinRect> TmnMDITabsModel::Layout() const {
    std::vector<TSkinRect> rects = TabRects(count_, width_, height_, defaultTabWidth_);
    if (dragging_ && dragTab_ >= 0 && dragTab_ < static_cast<int>(rects.size())) {
        TSkinRect& r = rects[static_cast<size_t>(dragTab_)];
        r = DraggedTabRect(r, dragOffset_, width_);
    }
    return rects;
}

int TmnMDITabsModel::DropIndex() const {
    return dragging_ ? fn::DropIndex(Layout(), dragTab_, dragOffset_) : -1;
}

void TmnMDITabsModel::Hover(int x, int y) {
    const int now = TabAt(x, y);
    if (now == oldHot_) {
        hot_ = now;
        return;
    }
    const int old = oldHot_;
    hot_ = oldHot_ = -1;  // nothing is hot between the leave and the enter
    const unsigned removals = removals_;
    if (old >= 0 && old < count_) host_.TabMouseLeave(old);
    if (removals != removals_) return;  // the handler took a tab away: the index is stale
    hot_ = oldHot_ = now;
    if (now >= 0) host_.TabMouseEnter(now);
}

void TmnMDITabsModel::TabRemoving() {
    ++removals_;
    const int hot = hot_;
    hot_ = oldHot_ = -1;
    Cancel();
    if (hot >= 0 && hot < count_) host_.TabMouseLeave(hot);
}

int TmnMDITabsModel::MouseDown(int x, int y, bool moveTabs) {
    const int tab = TabAt(x, y);
    if (tab < 0) return -1;
    pressed_ = true;
    dragging_ = false;
    dragTab_ = moveTabs ? tab : -1;
    dragStartX_ = x;
    dragOffset_ = 0;
    host_.CaptureMouse();
    return tab;
}

void TmnMDITabsModel::MouseMove(int x, int y) {
    if (pressed_ && dragTab_ >= 0 && !dragging_ && x != dragStartX_) dragging_ = true;
    if (dragging_) {
        dragOffset_ = x - dragStartX_;
        host_.Repaint();
        return;
    }
    Hover(x, y);
}

int TmnMDITabsModel::MouseUp(int x, int y) {
    if (dragging_) {
        const int from = dragTab_, drop = DropIndex();
        EndPress();
        if (drop >= 0 && drop != from) {
            hot_ = MovedIndex(hot_, from, drop);
            oldHot_ = MovedIndex(oldHot_, from, drop);
            host_.MoveTab(from, drop);
        }
        host_.Repaint();
        return -1;
    }
    EndPress();
    return TabAt(x, y);
}

void TmnMDITabsModel::EndPress() {
    pressed_ = dragging_ = false;
    dragTab_ = -1;
    dragStartX_ = dragOffset_ = 0;
    host_.ReleaseMouse();
}

void TmnMDITabsModel::Cancel() {
    if (!pressed_ && !dragging_ && dragTab_ < 0) return;
    const bool wasDragging = dragging_;
    EndPress();
    if (wasDragging) host_.Repaint();
}

}  // namespace fn
