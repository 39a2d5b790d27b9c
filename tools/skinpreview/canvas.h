#pragma once
// Off-screen drawing for the skin preview: 24-bit effect buffers as canvases, copies and
// stretches between them (nearest pixel, as the platform's colour-on-colour stretch does), the
// blit plans of the skin painter, and PNG output.
#include <cstdint>
#include <string>

#include "platform/core/bitmap_data.h"
#include "platform/core/graph_types.h"
#include "skin/paint/effects.h"
#include "skin/paint/tiling.h"

namespace fn::preview {

using Image = TmnEffectBmp;

struct Colour {
    uint8_t r = 0, g = 0, b = 0;
};
// A skin colour (red in the low byte); system colour references are not resolved here.
Colour FromSkinColor(TColor c);

Image ImageFromBitmap(const TBitmapData& bmp);
Image Crop(const Image& src, const TSkinRect& r);

void Fill(Image& dst, const TSkinRect& r, Colour c);
// Copies src's rectangle s into dst's rectangle d, stretching when the sizes differ; the
// drawing is clipped to dst and, when clip is not empty, to clip.
void CopyRect(Image& dst, const TSkinRect& d, const Image& src, const TSkinRect& s,
              const TSkinRect& clip = {});
// Copies src to (x, y) skipping the pixels of the key colour.
void DrawTransparent(Image& dst, int x, int y, const Image& src, Colour key);
void Draw(Image& dst, int x, int y, const Image& src);
// Carries out a plan of the skin painter: every copy in order, from src to dst.
void RunPlan(Image& dst, const Image& src, const TBlitPlan& plan);
// An image of the plan's size built by it (nothing drawn when the plan was not built).
Image BuildImage(const Image& src, const TImagePlan& plan);

// Writes an RGB PNG (8 bits per channel, no interlace).
void WritePng(const Image& img, const std::string& path);
// The image enlarged by an integer factor (pixels repeated), for looking at small pictures.
Image Enlarge(const Image& img, int factor);

}  // namespace fn::preview
