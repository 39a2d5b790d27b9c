#include "skin/form/frame_layout.h"

#include <algorithm>

#include "skin/paint/rects.h"

namespace fn {

namespace {

// The commands laid out from the strip's outer edge inward, in this order.
constexpr int kStripCommands[] = {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray};

// Index of the first item with command, or -1.
int FirstOf(std::span<const TmnStripItem> items, int command) {
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].Command == command) return static_cast<int>(i);
    return -1;
}

// The strip's items in placing order: the first of each strip command, then every custom item.
std::vector<int> StripOrder(std::span<const TmnStripItem> items) {
    std::vector<int> order;
    for (int command : kStripCommands)
        if (int i = FirstOf(items, command); i >= 0) order.push_back(i);
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].Command == cmDefault) order.push_back(static_cast<int>(i));
    return order;
}

}  // namespace

TmnFrameGeometry ComputeFrameGeometry(const TmnSkinFormInfo& info, int pictureWidth, int pictureHeight, int width,
                                      int height) {
    const int dx = width - pictureWidth, dy = height - pictureHeight;
    // Corner points with the client rectangle, and hit-test points with the mask area, keep their
    // distances to the nearest outer edges as every nine-part geometry does.
    const TFrameGeometry frame = ResizeGeometry(
        {info.LeftTopPoint, info.RightTopPoint, info.LeftBottomPoint, info.RightBottomPoint, info.ClientRect}, dx, dy);
    const TFrameGeometry hit = ResizeGeometry({info.HitTestLeftTopPoint, info.HitTestRightTopPoint,
                                               info.HitTestLeftBottomPoint, info.HitTestRightBottomPoint,
                                               info.MaskRectArea},
                                              dx, dy);
    TmnFrameGeometry g;
    g.NewLT = frame.LT;
    g.NewRT = frame.RT;
    g.NewLB = frame.LB;
    g.NewRB = frame.RB;
    g.NewClientRect = frame.Cl;
    g.NewCaptionRect = info.CaptionRect;
    if (!g.NewCaptionRect.IsEmpty()) g.NewCaptionRect.Right += dx;
    g.NewButtonsRect = info.ButtonsRect;
    // Buttons in the right half of the picture stay with the right edge.
    if (!g.NewButtonsRect.IsEmpty() && g.NewButtonsRect.Left > pictureWidth / 2) {
        g.NewButtonsRect.Left += dx;
        g.NewButtonsRect.Right += dx;
    }
    g.ButtonsInLeft = info.ButtonsInLeft;
    g.ButtonsOffset = info.ButtonsOffset;
    g.HitLT = hit.LT;
    g.HitRT = hit.RT;
    g.HitLB = hit.LB;
    g.HitRB = hit.RB;
    g.NewMaskRect = hit.Cl;
    return g;
}

TmnFitSize FrameFitSize(const TmnSkinFormInfo& info, int pw, int ph) {
    const TSkinRect& cl = info.ClientRect;
    const TSkinRect& m = info.MaskRectArea;
    TmnFitSize fit;
    fit.Width = std::max({info.LeftTopPoint.X + pw - info.RightTopPoint.X,
                          info.LeftBottomPoint.X + pw - info.RightBottomPoint.X, cl.Left + pw - cl.Right, 0});
    fit.Height = std::max({info.LeftTopPoint.Y + ph - info.LeftBottomPoint.Y,
                           info.RightTopPoint.Y + ph - info.RightBottomPoint.Y, cl.Top + ph - cl.Bottom, 0});
    // A mask rectangle needs a pixel of its own to be a rectangle at all.
    if (!m.IsEmpty()) {
        fit.Width = std::max(fit.Width, m.Left + pw - m.Right + 1);
        fit.Height = std::max(fit.Height, m.Top + ph - m.Bottom + 1);
    }
    return fit;
}

TmnFitSize FoldFarParts(const TmnSkinFormInfo& info, int pw, int ph) {
    return {pw - std::min(info.RightTopPoint.X, info.RightBottomPoint.X), ph - info.ClientRect.Bottom};
}

std::vector<TmnFoldPart> FoldParts(int w, int h, int fitW, int fitH, int farW, int farH) {
    const int W = std::max(w, fitW), H = std::max(h, fitH);
    const int right = std::clamp(farW, 0, w / 2), bottom = std::clamp(farH, 0, h / 2);
    const int left = w - right, top = h - bottom;
    const int dx = w - W, dy = h - H;
    return {{{0, 0, left, top}, 0, 0},
            {{W - right, 0, W, top}, dx, 0},
            {{0, H - bottom, left, H}, 0, dy},
            {{W - right, H - bottom, W, H}, dx, dy}};
}

TmnStripLayout LayoutButtonStrip(const TmnFrameGeometry& g, std::span<const TmnStripItem> items) {
    TmnStripLayout out;
    out.Rects.resize(items.size());
    const bool inButtonsRect = !g.NewButtonsRect.IsEmpty();
    const TSkinRect strip = inButtonsRect ? g.NewButtonsRect : g.NewCaptionRect;
    if (strip.IsEmpty()) return out;
    const int y = strip.Top, offset = g.ButtonsOffset;
    const int sysMenu = FirstOf(items, cmSysMenu);

    if (!g.ButtonsInLeft) {
        int x = strip.Right;
        for (int i : StripOrder(items)) {
            const TmnStripItem& it = items[static_cast<size_t>(i)];
            out.Rects[static_cast<size_t>(i)] = {x - it.Width, y, x, y + it.Height};
            x -= it.Width + offset;
        }
        if (!inButtonsRect) {
            out.CaptionRightSet = true;
            out.CaptionRight = x + offset;
        }
        if (sysMenu >= 0) {
            const TmnStripItem& it = items[static_cast<size_t>(sysMenu)];
            const TSkinRect& cap = g.NewCaptionRect;
            const int left = cap.Left, top = cap.Top + (cap.Height() - it.Height) / 2;
            out.Rects[static_cast<size_t>(sysMenu)] = {left, top, left + it.Width, top + it.Height};
            out.CaptionLeftSet = true;
            out.CaptionLeft = left + it.Width;
        }
        return out;
    }

    int x = strip.Left;
    auto place = [&](int i) {
        const TmnStripItem& it = items[static_cast<size_t>(i)];
        out.Rects[static_cast<size_t>(i)] = {x, y, x + it.Width, y + it.Height};
        x += it.Width + offset;
    };
    for (int i : StripOrder(items)) place(i);
    if (!inButtonsRect) {
        if (sysMenu >= 0) place(sysMenu);
        out.CaptionLeftSet = true;
        out.CaptionLeft = x + offset;
    }
    return out;
}

TmnBuiltInFrame LayoutBuiltInFrame(int width, int height, bool toolWindow, std::span<const TmnStripItem> items,
                                   int iconWidth, int iconHeight) {
    TmnBuiltInFrame f;
    if (toolWindow) {
        f.CaptionHeight = 15;
        f.ButtonSize = 13;
    }
    const int b = TmnBuiltInFrame::Border, size = f.ButtonSize;
    f.Rects.resize(items.size());
    f.CaptionArea = {b, b, width - b, f.CaptionHeight};
    f.Client = {b, f.CaptionHeight + b, width - b, height - b};

    int x = width - b;
    for (int command : kStripCommands) {
        const int i = FirstOf(items, command);
        if (i < 0) continue;
        f.Rects[static_cast<size_t>(i)] = {x - size, 4, x, 4 + size};
        x -= size;
    }
    f.CaptionArea.Right = x;

    if (const int i = FirstOf(items, cmSysMenu); i >= 0) {
        const int w = iconWidth > 0 ? iconWidth : size, h = iconHeight > 0 ? iconHeight : size;
        f.Rects[static_cast<size_t>(i)] = {b, 4, b + w, 4 + h};
        f.CaptionArea.Left = b + w;
    }
    return f;
}

}  // namespace fn
