#pragma once
// Geometry of the skin's resizable pictures: which source rectangle goes to which target
// rectangle when a nine-part picture, a frame border, a three-part strip or a frame mask is
// built for a new size. The result is a list of copies that a painter carries out in order;
// a copy whose source and target sizes differ is stretched, otherwise copied 1:1.
#include <vector>

#include "skin/paint/rects.h"

namespace fn {

struct TBlit {
    TSkinRect Src;   // in the source picture
    TSkinRect Dst;   // in the target image
    TSkinRect Clip;  // when not empty, drawing is clipped to it (drawing state saved around it)
    friend bool operator==(const TBlit&, const TBlit&) = default;
};
using TBlitPlan = std::vector<TBlit>;

struct TSpan {
    int Start = 0;
    int End = 0;  // exclusive
    friend bool operator==(const TSpan&, const TSpan&) = default;
};

// Tiles of length t laid over the target span s..e: tile k starts at s + k*t for
// k = 0 .. (e - s) div t (truncating; none when negative) and is cut at e. Each copies as many
// pixels from the start of the source span. A cut tile may be empty; t <= 0 gives no tiles.
std::vector<TSpan> TileSpans(int s, int e, int t);

struct TStretchFlags {
    bool Left = false, Top = false, Right = false, Bottom = false;  // false: tile
};

// The nine-part image of a picture region R (W x H) for a target of aw x ah. Empty when the
// frame is degenerate (RB.X = LT.X or RB.Y = LT.Y).
TBlitPlan NinePartPlan(const TFrameGeometry& g, const TFrameGeometry& n, const TSkinRect& r, int aw,
                       int ah, bool drawClient, TStretchFlags stretch, bool clientStretch,
                       int stretchType);

// One of the four separate images of a frame border (or of the mask strips).
struct TImagePlan {
    bool Built = false;  // false: the image is left as it was
    int Width = 0, Height = 0;
    TBlitPlan Plan;
    friend bool operator==(const TImagePlan&, const TImagePlan&) = default;
};

struct TBorderPlans {
    TImagePlan Left, Top, Right, Bottom;
};

// Border images of a frame of aw x ah. The side images take their height from the top and
// bottom images as they end up, so the current heights of those two are needed for the case
// that they are not rebuilt.
TBorderPlans BorderImagePlans(const TFrameGeometry& g, const TFrameGeometry& n, const TSkinRect& r,
                              int aw, int ah, TStretchFlags stretch, int topHeightBefore,
                              int bottomHeightBefore);

// Three-part strips: fixed ends, middle stretched or tiled. Target aw x height(R) or width(R) x ah.
TBlitPlan HStripPlan(int lo, int ro, const TSkinRect& r, int aw, bool stretch);
TBlitPlan VStripPlan(int to, int bo, const TSkinRect& r, int ah, bool stretch);

// The four border strips of a frame mask (mask of W x H) resized for a window aw wide.
TBorderPlans MaskStripPlans(const TFrameGeometry& g, const TFrameGeometry& n, int maskWidth,
                            int maskHeight, int aw);

// Source rectangle of glyph g (from 1) in a strip of count glyphs; empty when there is none.
TSkinRect GlyphFrameRect(int stripWidth, int stripHeight, int count, int g);

}  // namespace fn
