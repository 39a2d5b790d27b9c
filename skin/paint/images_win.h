#pragma once
// Building skin images for a target size on platform bitmaps: nine-part images, the four border
// images of a frame and three-part strips.
#include "platform/win/graphics.h"
#include "skin/paint/plan_painter.h"
#include "skin/paint/tiling.h"

namespace fn {

// The pixels of a bitmap as a view for the plan painter (pending drawing is flushed first).
TPixelView View(TBitmap& bitmap);
// Carries out a copy plan from source into target, in order.
void DrawPlan(TBitmap& target, TBitmap& source, const TBlitPlan& plan);

// g: corner points and client rectangle of the picture region r; n: the same for aw x ah.
void BuildNinePartImage(const TFrameGeometry& g, const TFrameGeometry& n, TBitmap& target,
                        TBitmap& picture, const TSkinRect& r, int aw, int ah, bool drawClient,
                        TStretchFlags stretch, bool clientStretch, int stretchType);

void BuildBorderImages(const TFrameGeometry& g, const TFrameGeometry& n, TBitmap& left,
                       TBitmap& top, TBitmap& right, TBitmap& bottom, TBitmap& picture,
                       const TSkinRect& r, int aw, int ah, TStretchFlags stretch);

void BuildHStripImage(int lo, int ro, TBitmap& target, TBitmap& picture, const TSkinRect& r, int aw,
                      bool stretch);
void BuildVStripImage(int to, int bo, TBitmap& target, TBitmap& picture, const TSkinRect& r, int ah,
                      bool stretch);

}  // namespace fn
